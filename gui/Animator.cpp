#include "gui/Animator.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace VSTGUI {
namespace Animation {

namespace {

uint64_t nowMilliseconds()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

float TimingFunctionBase::fraction(uint32 milliseconds) const
{
    if (length == 0)
        return 1.f;
    return std::min(1.f, static_cast<float>(milliseconds) / static_cast<float>(length));
}

float PowerTimingFunction::getPosition(uint32 milliseconds)
{
    return std::pow(fraction(milliseconds), factor);
}

void AlphaValueAnimation::animationStart(CView* view, IdStringPtr)
{
    startValue = view->getAlphaValue();
}

void AlphaValueAnimation::animationTick(CView* view, IdStringPtr, float pos)
{
    view->setAlphaValue(startValue + (endValue - startValue) * pos);
}

void AlphaValueAnimation::animationFinished(CView* view, IdStringPtr, bool wasCanceled)
{
    if (!wasCanceled || forceEndValueOnFinish)
        view->setAlphaValue(endValue);
}

Animator::Animator() = default;

Animator::~Animator()
{
    removeAll();
}

void Animator::addAnimation(CView* view, IdStringPtr name, IAnimationTarget* target, ITimingFunction* timingFunction)
{
    SharedPointer<IAnimationTarget> ownedTarget = owned(target);
    SharedPointer<ITimingFunction> ownedTiming = owned(timingFunction);
    if (!view || !name || !target || !timingFunction)
        return;
    removeAnimation(view, name);
    auto entry = std::make_shared<Entry>();
    entry->view = view;
    entry->name = name;
    entry->target = std::move(ownedTarget);
    entry->timing = std::move(ownedTiming);
    animations.push_back(std::move(entry));
    updateTimer();
}

void Animator::removeAnimation(CView* view, IdStringPtr name)
{
    auto it = std::find_if(animations.begin(), animations.end(),
                           [&](const EntryPtr& e) { return e->view.get() == view && e->name == name; });
    if (it != animations.end())
        finish(*it, true);
}

void Animator::removeAnimations(CView* view)
{
    const auto snapshot = animations;
    for (const EntryPtr& entry : snapshot)
    {
        if (entry->view.get() == view && contains(entry))
            finish(entry, true);
    }
}

void Animator::removeAll()
{
    while (!animations.empty())
        finish(animations.front(), true);
    timer.reset();
}

bool Animator::contains(const EntryPtr& entry) const
{
    return std::find(animations.begin(), animations.end(), entry) != animations.end();
}

// Removes the entry before telling its target, which may start new animations.
void Animator::finish(EntryPtr entry, bool wasCanceled)
{
    animations.erase(std::remove(animations.begin(), animations.end(), entry), animations.end());
    entry->target->animationFinished(entry->view, entry->name.c_str(), wasCanceled);
    updateTimer();
}

void Animator::onTimer()
{
    const uint64_t now = nowMilliseconds();
    const auto snapshot = animations;
    for (const EntryPtr& entry : snapshot)
    {
        if (!contains(entry))
            continue;
        if (!entry->started)
        {
            entry->started = true;
            entry->startTime = now;
            entry->target->animationStart(entry->view, entry->name.c_str());
        }
        const auto elapsed = static_cast<uint32>(now - entry->startTime);
        entry->target->animationTick(entry->view, entry->name.c_str(), entry->timing->getPosition(elapsed));
        if (entry->timing->isDone(elapsed) && contains(entry))
            finish(entry, false);
    }
}

void Animator::updateTimer()
{
    if (animations.empty())
    {
        if (timer)
            timer->stop();
        return;
    }
    if (!timer)
        timer = owned(new CVSTGUITimer([this](CVSTGUITimer*) { onTimer(); }, kFrameInterval, false));
    timer->start();
}

} // namespace Animation
} // namespace VSTGUI
