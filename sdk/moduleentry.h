#pragma once

// The module entry hooks and where the loaded module lives on disk.

#include <string>

// Hooks the product defines: module initialisation and release, run by
// ModuleEntry and ModuleExit (and by any other entry the product exports).
bool InitModule();
bool DeinitModule();

namespace Steinberg {

// The handle the host passed to ModuleEntry (Linux) or the instance handle
// DllMain received (Windows); null if neither came.
void* getModuleHandle();
void setModuleHandle(void* handle);

// Absolute path of the shared object or DLL that contains this code, in UTF-8;
// empty if unknown.
std::string getModulePath();

// The bundle's resource folder, "<bundle>/Contents/Resources", found from the
// shared object's place in "<bundle>/Contents/<architecture>/"; empty if unknown.
std::string getModuleResourcesPath();

} // namespace Steinberg
