#pragma once

#include "gui/CBitmap.h"
#include "gui/CControl.h"
#include "gui/CVSTGUITimer.h"
#include "params/ScopeBlock.h"

#include <mutex>

#include <cstdint>

// The vector scope: plots the newest block of mid/side pairs into an
// offscreen bitmap whose older trace fades with every redraw, like a
// phosphor screen. Redrawn every 100 ms while attached.
class ScopeView : public VSTGUI::CControl
{
public:
    // dataMutex guards scopeData and newData against the controller's writer;
    // it must outlive the view (the controller owns it).
    explicit ScopeView(const VSTGUI::CRect& size, std::mutex* dataMutex = nullptr);
    ScopeView(const ScopeView& other);
    ~ScopeView() override;

    bool isTypeOf(VSTGUI::IdStringPtr s) const override;
    VSTGUI::CBaseObject* newCopy() const override;
    void draw(VSTGUI::CDrawContext* context) override;
    void setViewSize(const VSTGUI::CRect& rect, bool invalid = true) override;
    bool removed(VSTGUI::CView* parent) override;
    bool attached(VSTGUI::CView* parent) override;

    // Takes a block of ScopeBlock::kBytes bytes. Called with dataMutex held.
    void setScopeData(const uint8_t* block);

    static constexpr uint32_t kTimerInterval = 100; // milliseconds
    static constexpr VSTGUI::CColor plotColor{220, 255, 220, 255};

    uint8_t scopeData[ScopeBlock::kBytes] = {}; // the last block: mid, side, mid, side... signed
    bool newData = false;                       // scopeData holds a block not drawn yet

private:
    void makeOffscreen(const VSTGUI::CRect& rect);
    void releaseOffscreen();
    // Copies a fresh block into drawData; false when none arrived.
    bool takeNewData();
    bool fadeAndPlot(bool fresh);
    int mid(uint32_t pair) const { return static_cast<int8_t>(drawData[2 * pair]); }
    int side(uint32_t pair) const { return static_cast<int8_t>(drawData[2 * pair + 1]); }

    VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer> timer; // while attached and a run loop is lent
    VSTGUI::CBitmap* offscreen = nullptr;              // at deviceScale pixels per unit
    double deviceScale = 1.;                           // of the context last drawn into
    std::mutex* dataMutex;
    uint8_t drawData[ScopeBlock::kBytes] = {}; // what draw plots, copied under dataMutex
};
