#pragma once

// The platform's side of loading a plug-in module: dlopen and ModuleEntry on
// Linux, LoadLibraryW and InitDll on Windows.

#include <string>

namespace Steinberg {
namespace Hosting {
namespace SharedLibrary {

// The bundle folder for this machine ("x86_64-linux", "x86_64-win") and the
// binary's file name ending inside it (".so", ".vst3").
std::string architectureFolder();
const char* binarySuffix();
// The characters that end a folder name in a path: "/", and "\\" on Windows.
const char* pathSeparators();
// Whether `path` (UTF-8) names a file rather than a folder.
bool isFile(const std::string& path);

// Null with a reason in `error` when the library cannot be loaded. `path` is UTF-8.
void* open(const std::string& path, std::string& error);
void* symbol(void* handle, const char* name);
void close(void* handle);

// The module's initialisation export: its name, and calling it. False when it
// is missing (`found` false) or reports failure.
const char* entryName();
bool enter(void* handle, bool& found);
// Its release, when the module exports one.
void exit(void* handle);

} // namespace SharedLibrary
} // namespace Hosting
} // namespace Steinberg
