#pragma once

#include "editor/CorrelationEstimate.h"
#include "gui/CColor.h"
#include "gui/CVSTGUITimer.h"
#include "gui/CView.h"

#include <mutex>
#include <optional>

#include <cstdint>

// A slim bar under the scope showing the left/right correlation of the last
// ~300 ms: filled from its centre mark to the right in green for positive
// readings, to the left in red for negative ones. Without a reading (nothing
// received, or a silent channel) it draws nothing at all.
class CorrelationMeter : public VSTGUI::CView
{
public:
    // dataMutex guards the estimate against the controller's writer; it must
    // outlive the view (the controller owns it).
    explicit CorrelationMeter(const VSTGUI::CRect& size, std::mutex* dataMutex = nullptr);

    void draw(VSTGUI::CDrawContext* context) override;
    bool attached(VSTGUI::CView* parent) override;
    bool removed(VSTGUI::CView* parent) override;

    // Takes a block of ScopeBlock::kBytes bytes. Called with dataMutex held.
    void addBlock(const uint8_t* block);
    // One block time passed: without a block since the last tick the window
    // moves on empty, so the reading goes ~300 ms after the audio stops.
    void tick();
    std::optional<double> reading() const;

    static constexpr uint32_t kTimerInterval = 100; // milliseconds, about one block time
    static constexpr VSTGUI::CColor trackColor{0, 0, 0, 140};
    static constexpr VSTGUI::CColor positiveColor{70, 205, 80, 255};
    static constexpr VSTGUI::CColor negativeColor{230, 60, 50, 255};
    static constexpr VSTGUI::CColor markColor{210, 220, 230, 255};

    CLASS_METHODS_NOCOPY(CorrelationMeter, CView)

private:
    std::unique_lock<std::mutex> lockData() const;

    CorrelationEstimate estimate; // guarded by dataMutex
    bool blockSinceTick = false;  // guarded by dataMutex
    std::optional<double> shown;  // what the last draw showed
    std::mutex* dataMutex;
    VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer> timer; // while attached and a run loop is lent
};
