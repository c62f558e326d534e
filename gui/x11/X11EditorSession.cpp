#include "gui/PlatformEditorSession.h"
#include "gui/x11/HostRunLoop.h"
#include "gui/x11/LentRunLoops.h"

#include "pluginterfaces/gui/iplugview.h"

namespace VSTGUI {
namespace X11 {

namespace {

// Lends the host's run loop while the editor is open.
class X11EditorSession : public PlatformEditorSession
{
public:
    explicit X11EditorSession(Steinberg::Linux::IRunLoop* hostLoop) : runLoop(owned(new HostRunLoop(hostLoop)))
    {
        LentRunLoops::lend(runLoop);
    }
    ~X11EditorSession() override { LentRunLoops::giveBack(runLoop); }

private:
    SharedPointer<HostRunLoop> runLoop;
};

} // namespace

} // namespace X11

const char* PlatformEditorSession::windowType()
{
    return Steinberg::kPlatformTypeX11EmbedWindowID;
}

std::unique_ptr<PlatformEditorSession> PlatformEditorSession::open(Steinberg::FUnknown* plugFrame,
                                                                   Steinberg::FUnknown* hostContext)
{
    if (Steinberg::FUnknownPtr<Steinberg::Linux::IRunLoop> loop{plugFrame})
        return std::make_unique<X11::X11EditorSession>(loop);
    // Some hosts offer the run loop on their application context instead.
    if (Steinberg::FUnknownPtr<Steinberg::Linux::IRunLoop> loop{hostContext})
        return std::make_unique<X11::X11EditorSession>(loop);
    return nullptr;
}

} // namespace VSTGUI
