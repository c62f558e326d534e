#pragma once

#include "gui/CBaseObject.h"

#include <cstdint>

namespace VSTGUI {
namespace X11 {

class IEventHandler
{
public:
    virtual ~IEventHandler() = default;
    virtual void onEvent() = 0;
};

class ITimerHandler
{
public:
    virtual ~ITimerHandler() = default;
    virtual void onTimer() = 0;
};

// The event loop the library's windows and timers run on; the host provides it.
class IRunLoop : public CBaseObject
{
public:
    virtual bool registerEventHandler(int fd, IEventHandler* handler) = 0;
    virtual bool unregisterEventHandler(IEventHandler* handler) = 0;
    virtual bool registerTimer(uint64_t intervalMilliseconds, ITimerHandler* handler) = 0;
    virtual bool unregisterTimer(ITimerHandler* handler) = 0;
};

} // namespace X11
} // namespace VSTGUI
