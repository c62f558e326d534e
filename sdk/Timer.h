#pragma once

// The SDK's periodic timer. Linux has no process-wide event loop, so timers
// run on a host's IRunLoop: whoever holds one (an attached editor) lends it
// with useRunLoop while it may be used, and timers register there.

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {

class Timer;

class ITimerCallback
{
public:
    virtual ~ITimerCallback() = default;
    virtual void onTimer(Timer* timer) = 0;
};

class Timer : public FObject
{
public:
    // A running timer that calls callback every intervalMilliseconds on the
    // run loop lent last; null when no run loop is lent or it refuses the timer.
    // The caller owns the returned reference: stop() it, then release() it.
    static Timer* create(ITimerCallback* callback, uint32 intervalMilliseconds);

    virtual void stop() = 0;

    // Lends loop to timers created from now on (it is referenced until the
    // matching releaseRunLoop). Loops stack: the one lent last is used.
    static void useRunLoop(Linux::IRunLoop* loop);
    static void releaseRunLoop(Linux::IRunLoop* loop);
    // The number of loops currently lent.
    static int32 lentRunLoops();
};

} // namespace Steinberg
