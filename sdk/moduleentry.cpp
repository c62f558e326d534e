// The entry points Linux hosts call right after loading and before unloading
// the module. Built as an object library so the exports are always linked in.

#include "sdk/moduleentry.h"

#include "pluginterfaces/base/fplatform.h"

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle)
{
    if (sharedLibraryHandle && !Steinberg::getModuleHandle())
        Steinberg::setModuleHandle(sharedLibraryHandle);
    return InitModule();
}

SMTG_EXPORT_SYMBOL bool ModuleExit()
{
    return DeinitModule();
}

} // extern "C"
