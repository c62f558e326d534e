#include "gui/CVSTGUITimer.h"

namespace VSTGUI {

CVSTGUITimer::CVSTGUITimer(CallbackFunc callback, uint32 fireTime, bool doStart)
    : callback(std::move(callback)), fireTime(fireTime), platformTimer(IPlatformTimer::create(this))
{
    if (doStart)
        start();
}

CVSTGUITimer::~CVSTGUITimer()
{
    stop();
}

bool CVSTGUITimer::start()
{
    if (running)
        return true;
    if (!platformTimer || !platformTimer->start(fireTime))
        return false;
    running = true;
    return true;
}

bool CVSTGUITimer::stop()
{
    if (!running)
        return false;
    running = false;
    platformTimer->stop();
    return true;
}

void CVSTGUITimer::fire()
{
    if (!running || !callback)
        return;
    // The callback may stop and release this timer.
    remember();
    callback(this);
    forget();
}

} // namespace VSTGUI
