#include "editor/CorrelationMeter.h"

#include "gui/CDrawContext.h"

using namespace VSTGUI;

CorrelationMeter::CorrelationMeter(const CRect& size, std::mutex* dataMutex) : CView(size), dataMutex(dataMutex)
{
    // It lies over the scope's bezel and takes no clicks.
    setMouseEnabled(false);
}

std::unique_lock<std::mutex> CorrelationMeter::lockData() const
{
    // The controller adds blocks from the processor's sending thread.
    return dataMutex ? std::unique_lock<std::mutex>(*dataMutex) : std::unique_lock<std::mutex>();
}

void CorrelationMeter::addBlock(const uint8_t* block)
{
    estimate.addBlock(block);
    blockSinceTick = true;
}

void CorrelationMeter::tick()
{
    {
        auto lock = lockData();
        if (!blockSinceTick)
            estimate.addGap();
        blockSinceTick = false;
    }
    // Redraw only on a change: an idle meter costs no painting.
    if (reading() != shown)
        invalid();
}

std::optional<double> CorrelationMeter::reading() const
{
    auto lock = lockData();
    return estimate.reading();
}

bool CorrelationMeter::attached(CView* parent)
{
    if (!timer)
        timer = owned(new CVSTGUITimer([this](CVSTGUITimer*) { tick(); }, kTimerInterval, false));
    timer->start();
    return CView::attached(parent);
}

bool CorrelationMeter::removed(CView* parent)
{
    if (timer)
        timer->stop();
    return CView::removed(parent);
}

void CorrelationMeter::draw(CDrawContext* context)
{
    shown = reading();
    setDirty(false);
    if (!shown)
        return;
    context->setDrawMode(kAntiAliasing);
    context->setFillColor(trackColor);
    context->drawRect(size, kDrawFilled);

    const CCoord centre = size.left + size.getWidth() / 2;
    const CCoord reach = *shown * (size.getWidth() / 2);
    CRect bar(centre, size.top, centre + reach, size.bottom);
    if (reach < 0)
        bar = CRect(centre + reach, size.top, centre, size.bottom);
    context->setFillColor(reach < 0 ? negativeColor : positiveColor);
    context->drawRect(bar, kDrawFilled);

    context->setFillColor(markColor);
    context->drawRect(CRect(centre, size.top, centre + 1, size.bottom), kDrawFilled);
}
