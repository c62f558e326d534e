#pragma once

// A frame without a window: a platform frame that records what was
// invalidated, and a run loop whose timers the test fires by hand.

#include "TestRunLoop.h"

#include "gui/CFrame.h"
#include "gui/IPlatformFrame.h"
#include "gui/x11/HostRunLoop.h"
#include "gui/x11/LentRunLoops.h"

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

// Lends the library a run loop for one test: the product's adapter over a
// host run loop whose timers the test fires by hand.
struct LentRunLoop
{
    LentRunLoop() { VSTGUI::X11::LentRunLoops::lend(loop); }
    ~LentRunLoop() { VSTGUI::X11::LentRunLoops::giveBack(loop); }

    void fireAll()
    {
        for (auto interval : host.timerIntervals())
            host.fireTimers(interval);
    }

    EditorTest::TestRunLoop host;
    VSTGUI::SharedPointer<VSTGUI::HostRunLoop> loop = VSTGUI::owned(new VSTGUI::HostRunLoop(&host));
};

} // namespace GuiTest
