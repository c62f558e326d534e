#pragma once

#include "gui/x11/LentRunLoops.h"

#include <functional>

namespace VSTGUI {

// A periodic timer on the run loop lent last (see X11::LentRunLoops).
class CVSTGUITimer : public CBaseObject, private X11::ITimerHandler
{
public:
    using CallbackFunc = std::function<void(CVSTGUITimer*)>;

    CVSTGUITimer(CallbackFunc callback, uint32 fireTime = 100, bool doStart = true);
    ~CVSTGUITimer() override;
    CVSTGUITimer(const CVSTGUITimer&) = delete;
    CVSTGUITimer& operator=(const CVSTGUITimer&) = delete;

    // False when no run loop is lent or it refuses the timer.
    bool start();
    bool stop();
    bool isRunning() const { return static_cast<bool>(loop); }
    uint32 getFireTime() const { return fireTime; }

private:
    void onTimer() override;

    CallbackFunc callback;
    uint32 fireTime;
    SharedPointer<X11::IRunLoop> loop; // where the timer is registered
};

} // namespace VSTGUI
