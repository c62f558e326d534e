#pragma once

#include "pluginterfaces/base/funknown.h"

#include <memory>

namespace VSTGUI {

// What an open editor holds of its host on this platform besides the parent
// window; the X11 side lends the host's run loop to windows and timers.
class PlatformEditorSession
{
public:
    virtual ~PlatformEditorSession() = default;

    // The VST 3 platform type of the host windows this side embeds in.
    static const char* windowType();
    // Null when the host lacks what this platform needs. plugFrame and
    // hostContext may be null.
    static std::unique_ptr<PlatformEditorSession> open(Steinberg::FUnknown* plugFrame,
                                                       Steinberg::FUnknown* hostContext);
};

} // namespace VSTGUI
