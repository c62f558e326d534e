#include "gui/PlatformEditorSession.h"

#include "pluginterfaces/gui/iplugview.h"

namespace VSTGUI {

namespace {

// Windows needs nothing from the host but the parent window: the frame's
// window and its timers run on the thread that made them, the host's UI thread.
class Win32EditorSession : public PlatformEditorSession
{};

} // namespace

const char* PlatformEditorSession::windowType()
{
    return Steinberg::kPlatformTypeHWND;
}

std::unique_ptr<PlatformEditorSession> PlatformEditorSession::open(Steinberg::FUnknown*, Steinberg::FUnknown*)
{
    return std::make_unique<Win32EditorSession>();
}

} // namespace VSTGUI
