#include "editor/EditorResources.h"

#ifdef _WIN32
#include "gui/win32/ModuleResourceProvider.h"
#else
#include "gui/FileResourceProvider.h"
#include "sdk/moduleentry.h"
#endif

namespace Steinberg {
namespace Vst {

VSTGUI::SharedPointer<VSTGUI::IResourceProvider> editorResources()
{
#ifdef _WIN32
    // No path: the module that holds this function holds the resources.
    return VSTGUI::Win32::ModuleResourceProvider::forModuleAt(reinterpret_cast<const void*>(&editorResources));
#else
    const std::string resources = getModuleResourcesPath();
    if (resources.empty())
        return nullptr;
    return VSTGUI::owned<VSTGUI::IResourceProvider>(new VSTGUI::FileResourceProvider(resources));
#endif
}

} // namespace Vst
} // namespace Steinberg
