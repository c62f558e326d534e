#include "gui/CVSTGUITimer.h"

namespace VSTGUI {

CVSTGUITimer::CVSTGUITimer(CallbackFunc callback, uint32 fireTime, bool doStart)
    : callback(std::move(callback)), fireTime(fireTime)
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
    if (loop)
        return true;
    X11::IRunLoop* current = X11::LentRunLoops::current();
    if (!current || !current->registerTimer(fireTime, this))
        return false;
    loop = current;
    return true;
}

bool CVSTGUITimer::stop()
{
    if (!loop)
        return false;
    SharedPointer<X11::IRunLoop> registered = std::move(loop);
    registered->unregisterTimer(this);
    return true;
}

void CVSTGUITimer::onTimer()
{
    if (!loop || !callback)
        return;
    // The callback may stop and release this timer.
    remember();
    callback(this);
    forget();
}

} // namespace VSTGUI
