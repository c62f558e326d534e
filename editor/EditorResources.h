#pragma once

#include "gui/IResourceProvider.h"

namespace Steinberg {
namespace Vst {

// Where the loaded module keeps the editor description and its bitmaps: the
// module's own resources on Windows, the bundle's Contents/Resources folder
// elsewhere. Null when they cannot be found.
VSTGUI::SharedPointer<VSTGUI::IResourceProvider> editorResources();

} // namespace Vst
} // namespace Steinberg
