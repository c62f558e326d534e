#pragma once

#include "gui/CVSTGUITimer.h"
#include "gui/CView.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {
namespace Animation {

// What an animation changes on its view, given positions from 0 to 1.
class IAnimationTarget : public CBaseObject
{
public:
    virtual void animationStart(CView* view, IdStringPtr name) = 0;
    virtual void animationTick(CView* view, IdStringPtr name, float pos) = 0;
    virtual void animationFinished(CView* view, IdStringPtr name, bool wasCanceled) = 0;
};

// Maps the time since the start onto a position.
class ITimingFunction : public CBaseObject
{
public:
    virtual float getPosition(uint32 milliseconds) = 0;
    virtual bool isDone(uint32 milliseconds) = 0;
};

class TimingFunctionBase : public ITimingFunction
{
public:
    explicit TimingFunctionBase(uint32 length) : length(length) {}
    uint32 getLength() const { return length; }
    bool isDone(uint32 milliseconds) override { return milliseconds >= length; }

protected:
    // Time as a fraction of the length, 0 to 1.
    float fraction(uint32 milliseconds) const;

    uint32 length; // milliseconds
};

class LinearTimingFunction : public TimingFunctionBase
{
public:
    using TimingFunctionBase::TimingFunctionBase;
    float getPosition(uint32 milliseconds) override { return fraction(milliseconds); }
};

// position = fraction ^ factor: factor above 1 starts slowly, below 1 ends slowly.
class PowerTimingFunction : public TimingFunctionBase
{
public:
    PowerTimingFunction(uint32 length, float factor) : TimingFunctionBase(length), factor(factor) {}
    float getPosition(uint32 milliseconds) override;

private:
    float factor;
};

// Moves a view's alpha value from where it is at the start to endValue.
class AlphaValueAnimation : public IAnimationTarget
{
public:
    explicit AlphaValueAnimation(float endValue, bool forceEndValueOnFinish = false)
        : endValue(endValue), forceEndValueOnFinish(forceEndValueOnFinish)
    {
    }

    void animationStart(CView* view, IdStringPtr name) override;
    void animationTick(CView* view, IdStringPtr name, float pos) override;
    // Sets the end value, unless canceled without forceEndValueOnFinish.
    void animationFinished(CView* view, IdStringPtr name, bool wasCanceled) override;

protected:
    float startValue = 0.f;
    float endValue;
    bool forceEndValueOnFinish;
};

// Runs the frame's animations from a 60 Hz timer while any exist.
class Animator : public CBaseObject
{
public:
    Animator();
    ~Animator() override;
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    // Takes over the references to target and timingFunction. An animation of
    // the same view and name is canceled first.
    void addAnimation(CView* view, IdStringPtr name, IAnimationTarget* target, ITimingFunction* timingFunction);
    void removeAnimation(CView* view, IdStringPtr name);
    void removeAnimations(CView* view);
    // Cancels everything (the frame closes).
    void removeAll();
    bool hasAnimations() const { return !animations.empty(); }

    static constexpr uint32 kFrameInterval = 16; // milliseconds, about 60 Hz

private:
    struct Entry
    {
        SharedPointer<CView> view;
        std::string name;
        SharedPointer<IAnimationTarget> target;
        SharedPointer<ITimingFunction> timing;
        uint64_t startTime = 0;
        bool started = false;
    };
    using EntryPtr = std::shared_ptr<Entry>;

    void onTimer();
    // Takes the entry by value: it is erased from the list it may refer to.
    void finish(EntryPtr entry, bool wasCanceled);
    bool contains(const EntryPtr& entry) const;
    void updateTimer();

    std::vector<EntryPtr> animations;
    SharedPointer<CVSTGUITimer> timer;
};

} // namespace Animation
} // namespace VSTGUI
