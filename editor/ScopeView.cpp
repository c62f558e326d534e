#include "editor/ScopeView.h"

#include "gui/CDrawContext.h"

#include <mutex>

#include <cmath>
#include <cstring>

using namespace VSTGUI;

ScopeView::ScopeView(const CRect& size, std::mutex* dataMutex) : CControl(size), dataMutex(dataMutex)
{
    makeOffscreen(size);
}

ScopeView::ScopeView(const ScopeView& other) : CControl(other), newData(other.newData), dataMutex(other.dataMutex)
{
    std::memcpy(scopeData, other.scopeData, sizeof scopeData);
    makeOffscreen(size);
}

ScopeView::~ScopeView()
{
    releaseOffscreen();
}

bool ScopeView::isTypeOf(IdStringPtr s) const
{
    return std::strcmp(s, "ScopeView") == 0 || CControl::isTypeOf(s);
}

CBaseObject* ScopeView::newCopy() const
{
    return new ScopeView(*this);
}

void ScopeView::makeOffscreen(const CRect& rect)
{
    if (rect.getWidth() > 0 && rect.getHeight() > 0)
        offscreen = new CBitmap(rect.getWidth(), rect.getHeight(), deviceScale);
}

void ScopeView::releaseOffscreen()
{
    if (offscreen)
    {
        offscreen->forget();
        offscreen = nullptr;
    }
}

void ScopeView::setViewSize(const CRect& rect, bool inv)
{
    // A new size starts an empty trace.
    releaseOffscreen();
    makeOffscreen(rect);
    CControl::setViewSize(rect, inv);
}

bool ScopeView::attached(CView* parent)
{
    if (!timer)
        timer = owned(new CVSTGUITimer([this](CVSTGUITimer*) { invalid(); }, kTimerInterval, false));
    timer->start();
    return CControl::attached(parent);
}

bool ScopeView::removed(CView* parent)
{
    if (timer)
        timer->stop();
    return CControl::removed(parent);
}

void ScopeView::setScopeData(const uint8_t* block)
{
    std::memcpy(scopeData, block, sizeof scopeData);
    newData = true;
}

bool ScopeView::takeNewData()
{
    // The controller may write from the processor's sending thread.
    std::unique_lock<std::mutex> lock;
    if (dataMutex)
        lock = std::unique_lock<std::mutex>(*dataMutex);
    if (!newData)
        return false;
    std::memcpy(drawData, scopeData, sizeof drawData);
    newData = false;
    return true;
}

// Fades the trace and plots the fresh block; false without pixel access.
// The access is released on return, which writes the pixels back.
bool ScopeView::fadeAndPlot(bool fresh)
{
    CBitmapPixelAccess access(offscreen);
    if (!access.isValid())
        return false;
    // Phosphor decay: red and blue halve, green and alpha keep three quarters.
    CColor c;
    do
    {
        access.getColor(c);
        access.setColor(CColor(c.red / 2, c.green * 6 / 8, c.blue / 2, c.alpha * 6 / 8));
    } while (++access);

    if (fresh)
    {
        const int cx = static_cast<int>(access.getBitmapWidth() / 2);
        const int cy = static_cast<int>(access.getBitmapHeight() / 2);
        // A step of the signal spans a unit of the view, a point one device pixel.
        const double scale = offscreen->getScaleFactor();
        auto pixels = [scale](int units)
        {
            return static_cast<int>(std::lround(units * scale));
        };
        for (uint32_t i = 0; i < ScopeBlock::kFrames; ++i)
        {
            // Up is positive mid, left is positive side.
            const int x = cx - pixels(side(i));
            const int y = cy - pixels(mid(i));
            if (x >= 0 && y >= 0 && access.setPosition(static_cast<uint32_t>(x), static_cast<uint32_t>(y)))
                access.setColor(plotColor);
        }
    }
    return true;
}

void ScopeView::draw(CDrawContext* context)
{
    context->setFrameColor(kWhiteCColor);
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(5);
    context->setLineStyle(kLineSolid);

    const bool fresh = takeNewData();
    if (offscreen && context->getScaleFactor() != deviceScale)
    {
        // Plotted at the screen's pixels: a new density starts an empty trace.
        deviceScale = context->getScaleFactor();
        releaseOffscreen();
        makeOffscreen(size);
    }
    if (offscreen && fadeAndPlot(fresh))
    {
        context->drawBitmap(offscreen, size, CPoint(0, 0), 1.f);
    }
    else if (fresh)
    {
        // Without pixel access: the newest block as single points, not kept.
        const double cx = size.left + (size.right - size.left) * 0.5;
        const double cy = size.top + (size.bottom - size.top) * 0.5;
        for (uint32_t i = 0; i < ScopeBlock::kFrames; ++i)
            context->drawPoint(CPoint(cx - side(i), cy - mid(i)), plotColor);
    }
    setDirty(false);
}
