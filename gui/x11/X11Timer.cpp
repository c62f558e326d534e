#include "gui/IPlatformTimer.h"
#include "gui/x11/LentRunLoops.h"

namespace VSTGUI {
namespace X11 {

namespace {

// A timer on the run loop lent last (see LentRunLoops).
class X11Timer : public IPlatformTimer, private ITimerHandler
{
public:
    explicit X11Timer(IPlatformTimerCallback* callback) : callback(callback) {}
    ~X11Timer() override { stop(); }

    bool start(uint32 intervalMilliseconds) override
    {
        if (loop)
            return true;
        IRunLoop* current = LentRunLoops::current();
        if (!current || !current->registerTimer(intervalMilliseconds, this))
            return false;
        loop = current;
        return true;
    }

    void stop() override
    {
        if (!loop)
            return;
        SharedPointer<IRunLoop> registered = std::move(loop);
        registered->unregisterTimer(this);
    }

private:
    void onTimer() override
    {
        if (loop)
            callback->fire();
    }

    IPlatformTimerCallback* callback;
    SharedPointer<IRunLoop> loop; // where the timer is registered
};

} // namespace

} // namespace X11

std::unique_ptr<IPlatformTimer> IPlatformTimer::create(IPlatformTimerCallback* callback)
{
    return callback ? std::make_unique<X11::X11Timer>(callback) : nullptr;
}

} // namespace VSTGUI
