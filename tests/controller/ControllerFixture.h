#pragma once

// A bare edit controller from the built bundle, created through the factory as
// a host does, with a host context for messages and attribute lists.

#include "params/ParamId.h"
#include "tests/params/TextHelpers.h"
#include "tests/support/KalviorBundle.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <string>

namespace KalviorTest {

class ControllerTest : public BundleTest
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        ASSERT_TRUE(module);
        controller = createController();
        ASSERT_TRUE(controller);
    }

    void TearDown() override
    {
        if (controller && initialized)
            controller->terminate();
        controller = nullptr;
        BundleTest::TearDown();
    }

    Steinberg::IPtr<Steinberg::Vst::IEditController> createController()
    {
        using namespace Steinberg;
        const int32 index = module->findClass(kControllerClass);
        PClassInfo info;
        if (index < 0 || factory()->getClassInfo(index, &info) != kResultOk)
            return nullptr;
        Vst::IEditController* created = nullptr;
        if (factory()->createInstance(info.cid, Vst::IEditController::iid, reinterpret_cast<void**>(&created)) !=
            kResultOk)
            return nullptr;
        return owned(created);
    }

    void initialize()
    {
        ASSERT_EQ(Steinberg::kResultOk, controller->initialize(&host));
        initialized = true;
    }

    // The text a host shows for `id` at `normalized`.
    std::string text(Steinberg::Vst::ParamID id, double normalized)
    {
        Steinberg::Vst::String128 buffer = {};
        if (controller->getParamStringByValue(id, normalized, buffer) != Steinberg::kResultTrue)
            return "<refused>";
        return TestText::narrow(buffer);
    }

    // A message made by the host, as the processor's worker would make it.
    Steinberg::IPtr<Steinberg::Vst::IMessage> createMessage(const char* id)
    {
        return KalviorTest::createMessage(host, id);
    }

    Steinberg::Hosting::HostContext host{"Kalvior Controller Test"};
    Steinberg::IPtr<Steinberg::Vst::IEditController> controller;
    bool initialized = false;
};

} // namespace KalviorTest
