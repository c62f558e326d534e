#include "tools/ScopeTap.h"

#include "sdk/hosting/HostOwned.h"

#include <chrono>
#include <cstring>

using namespace Steinberg;

ScopeTap::ScopeTap(Vst::IConnectionPoint* controllerConnection) : controller(controllerConnection) {}

std::vector<ScopeTap::Block> ScopeTap::takeBlocks()
{
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Block> taken;
    taken.swap(blocks);
    return taken;
}

uint64_t ScopeTap::received() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return receivedCount;
}

bool ScopeTap::waitFor(uint64_t count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex);
    return arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return receivedCount >= count; });
}

tresult PLUGIN_API ScopeTap::connect(Vst::IConnectionPoint* other)
{
    return other ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API ScopeTap::disconnect(Vst::IConnectionPoint*)
{
    return kResultOk;
}

tresult PLUGIN_API ScopeTap::notify(Vst::IMessage* message)
{
    if (!message)
        return kInvalidArgument;
    if (FIDStringsEqual(message->getMessageID(), ScopeBlock::kMessageId))
    {
        if (const uint8_t* data = ScopeBlock::read(*message))
        {
            Block block;
            std::memcpy(block.data(), data, block.size());
            {
                std::lock_guard<std::mutex> lock(mutex);
                blocks.push_back(block);
                ++receivedCount;
            }
            arrived.notify_all();
        }
        else
        {
            ++malformedCount;
        }
    }
    return controller ? controller->notify(message) : kResultOk;
}

tresult PLUGIN_API ScopeTap::queryInterface(const TUID iid, void** obj)
{
    return Hosting::queryOneInterface<Vst::IConnectionPoint>(this, iid, obj);
}

uint32 PLUGIN_API ScopeTap::addRef()
{
    return ++references;
}

uint32 PLUGIN_API ScopeTap::release()
{
    const uint32 left = --references;
    if (left == 0)
        delete this;
    return left;
}
