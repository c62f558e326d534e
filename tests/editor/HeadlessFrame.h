#pragma once

// A frame without a window: a platform frame that records what was
// invalidated, and a run loop whose timers the test fires by hand.

#include "gui/CFrame.h"
#include "gui/IPlatformFrame.h"
#include "gui/x11/RunLoop.h"

#include <vector>

namespace GuiTest {

class RecordingPlatformFrame : public VSTGUI::IPlatformFrame
{
public:
    void invalidRect(const VSTGUI::CRect& rect) override { invalidated.push_back(rect); }
    bool getGlobalPosition(VSTGUI::CPoint& position) const override
    {
        position = VSTGUI::CPoint(0, 0);
        return true;
    }
    bool showPopupMenu(const VSTGUI::PopupMenuDescription& menu) override
    {
        popups.push_back(menu);
        return true;
    }

    std::vector<VSTGUI::CRect> invalidated;
    std::vector<VSTGUI::PopupMenuDescription> popups;
};

class ManualRunLoop : public VSTGUI::X11::IRunLoop
{
public:
    bool registerEventHandler(int, VSTGUI::X11::IEventHandler*) override { return true; }
    bool unregisterEventHandler(VSTGUI::X11::IEventHandler*) override { return true; }
    bool registerTimer(uint64_t interval, VSTGUI::X11::ITimerHandler* handler) override
    {
        timers.push_back({handler, interval});
        return true;
    }
    bool unregisterTimer(VSTGUI::X11::ITimerHandler* handler) override
    {
        for (auto it = timers.begin(); it != timers.end(); ++it)
        {
            if (it->handler == handler)
            {
                timers.erase(it);
                return true;
            }
        }
        return false;
    }
    void fireAll()
    {
        const auto snapshot = timers;
        for (const Timer& t : snapshot)
            for (const Timer& still : timers)
                if (still.handler == t.handler)
                {
                    t.handler->onTimer();
                    break;
                }
    }

    struct Timer
    {
        VSTGUI::X11::ITimerHandler* handler;
        uint64_t interval;
    };
    std::vector<Timer> timers;
};

// Lends a manual run loop to the library for one test.
struct LentRunLoop
{
    LentRunLoop() { VSTGUI::X11::RunLoop::init(loop); }
    ~LentRunLoop() { VSTGUI::X11::RunLoop::exit(loop); }
    VSTGUI::SharedPointer<ManualRunLoop> loop = VSTGUI::owned(new ManualRunLoop);
};

} // namespace GuiTest
