#pragma once

#include "gui/IPlatformTimer.h"

#include <functional>

namespace VSTGUI {

// A periodic timer on the host's UI thread (the platform side decides how).
class CVSTGUITimer : public CBaseObject, private IPlatformTimerCallback
{
public:
    using CallbackFunc = std::function<void(CVSTGUITimer*)>;

    CVSTGUITimer(CallbackFunc callback, uint32 fireTime = 100, bool doStart = true);
    ~CVSTGUITimer() override;
    CVSTGUITimer(const CVSTGUITimer&) = delete;
    CVSTGUITimer& operator=(const CVSTGUITimer&) = delete;

    // False when the platform has nowhere to run the timer.
    bool start();
    bool stop();
    bool isRunning() const { return running; }
    uint32 getFireTime() const { return fireTime; }

private:
    void fire() override;

    CallbackFunc callback;
    uint32 fireTime;
    std::unique_ptr<IPlatformTimer> platformTimer;
    bool running = false;
};

} // namespace VSTGUI
