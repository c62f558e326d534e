// The controller's one unit and its program list: the root unit owns every
// parameter, and its program list names the factory programs that the
// program-change parameter selects.
#include "controller/KVController.h"

#include "params/FactoryPresets.h"
#include "params/ParamId.h"

#include "pluginterfaces/base/fstrdefs.h"
#include "pluginterfaces/base/ustring.h"

namespace Steinberg {
namespace Vst {

namespace {

const TChar kRootUnitName[] = STR16("root unit");
const TChar kFactoryPresetsName[] = STR16("Factory Presets");
constexpr ProgramListID kFactoryPresetsListId = 0;

void copyName(String128 destination, const TChar* name)
{
    UString(destination, str16BufferSize(String128)).assign(name);
}

} // namespace

int32 PLUGIN_API KVController::getUnitCount()
{
    return 1;
}

tresult PLUGIN_API KVController::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
    if (unitIndex != 0)
        return kResultFalse;
    info.id = kRootUnitId;
    info.parentUnitId = kNoParentUnitId;
    copyName(info.name, kRootUnitName);
    info.programListId = kFactoryPresetsListId;
    return kResultOk;
}

int32 PLUGIN_API KVController::getProgramListCount()
{
    return 1;
}

tresult PLUGIN_API KVController::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
    if (listIndex != 0)
        return kResultFalse;
    info.id = kFactoryPresetsListId;
    copyName(info.name, kFactoryPresetsName);
    info.programCount = kNumPrograms;
    return kResultOk;
}

tresult PLUGIN_API KVController::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
    if (listId != kFactoryPresetsListId)
        return kResultFalse;
    if (!name)
        return kInvalidArgument;
    // program i is entry i of the program-change parameter, whose ID the list shares
    Parameter* programChange = getParameterObject(kProgSel);
    if (!programChange)
        return kResultFalse;
    programChange->toString(programChange->toNormalized(programIndex), name);
    return kResultOk;
}

tresult PLUGIN_API KVController::getProgramInfo(ProgramListID /*listId*/, int32 /*programIndex*/,
                                                CString /*attributeId*/, String128 /*attributeValue*/)
{
    return kResultFalse;
}

tresult PLUGIN_API KVController::hasProgramPitchNames(ProgramListID /*listId*/, int32 /*programIndex*/)
{
    return kResultFalse;
}

tresult PLUGIN_API KVController::getProgramPitchName(ProgramListID /*listId*/, int32 /*programIndex*/,
                                                     int16 /*midiPitch*/, String128 /*name*/)
{
    return kResultFalse;
}

UnitID PLUGIN_API KVController::getSelectedUnit()
{
    return kRootUnitId;
}

tresult PLUGIN_API KVController::selectUnit(UnitID unitId)
{
    return unitId == kRootUnitId ? kResultOk : kResultFalse;
}

tresult PLUGIN_API KVController::getUnitByBus(MediaType /*type*/, BusDirection /*dir*/, int32 /*busIndex*/,
                                              int32 /*channel*/, UnitID& /*unitId*/)
{
    return kResultFalse;
}

tresult PLUGIN_API KVController::setUnitProgramData(int32 /*listOrUnitId*/, int32 /*programIndex*/, IBStream* /*data*/)
{
    return kResultOk; // programs are applied by the processor, not from data
}

} // namespace Vst
} // namespace Steinberg
