#pragma once

#include "gui/CBaseObject.h"

#include <memory>

namespace VSTGUI {

class IPlatformTimerCallback
{
public:
    virtual ~IPlatformTimerCallback() = default;
    virtual void fire() = 0;
};

// A periodic timer on the host's UI thread, as the platform side provides it.
// fire may stop and destroy the timer; after it the timer touches nothing.
class IPlatformTimer
{
public:
    virtual ~IPlatformTimer() = default;
    // False when the platform has nowhere to run the timer now.
    virtual bool start(uint32 intervalMilliseconds) = 0;
    virtual void stop() = 0;

    static std::unique_ptr<IPlatformTimer> create(IPlatformTimerCallback* callback);
};

} // namespace VSTGUI
