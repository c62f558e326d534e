#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Automation from breakpoints given on the command line:
//   --automate "TITLE=t0:v0,t1:v1,..."
// Times are seconds from the start of the file (decimal point '.'), in
// non-decreasing order; each value is the parameter's display text (as for
// --set) or a normalised value written norm(x) with 0 <= x <= 1. The parameter
// holds the first value before the first time and the last value after the
// last one, and moves linearly (in normalised units, as host automation does)
// between consecutive times. Two breakpoints at the same time make a step.

struct AutomationPointText
{
    double seconds = 0.0;
    std::string value;
};

struct AutomationText
{
    std::string parameter;
    std::vector<AutomationPointText> points;
};

// The whole text as a finite decimal number, as strtod reads it.
bool parseNumber(const std::string& text, double& value);

// Splits "TITLE=t0:v0,..." into its parts; false with a message otherwise.
bool parseAutomationText(const std::string& argument, AutomationText& result, std::string& error);

// Splits "TITLE=TEXT" at the first '='.
bool parseSettingText(const std::string& argument, std::string& parameter, std::string& value, std::string& error);

// Reads "norm(x)"; false when `text` is not of that form. A malformed or
// out-of-range number inside norm() gives false and a message in `error`.
bool parseNormalizedText(const std::string& text, double& value, std::string& error);

// A parameter's path over time, on sample frames, in normalised values.
class AutomationCurve
{
public:
    struct Point
    {
        int64_t frame;
        double value;
    };

    // `points` sorted by frame (equal frames allowed: a step).
    explicit AutomationCurve(std::vector<Point> points);

    // The value at `frame`, after any step there.
    double valueAt(int64_t frame) const;
    // The value arriving at `frame`, before any step there.
    double valueBefore(int64_t frame) const;

    const std::vector<Point>& points() const { return sorted; }

private:
    std::vector<Point> sorted;
};

// One parameter-queue point as the host hands it to the processor.
struct QueuePoint
{
    int32_t offset;
    double value;
};

// The queue points, at most one per offset and in ascending order, that make
// the processor follow `curve` over the block of `length` frames starting at
// `blockStart`: the value at the block's first frame, at every breakpoint
// inside (and the frame before a step) and at its last frame, so that every
// frame gets the curve's own value (the processor interpolates linearly
// between points). A one-frame block can only ramp, so it carries the next
// frame's value; that is exact when the blocks before it were one frame long
// too. `current` is the processor's value of the parameter before the block;
// it is updated. Nothing is added while the parameter stays where it is.
void queuePointsForBlock(const AutomationCurve& curve, int64_t blockStart, int32_t length, double& current,
                         std::vector<QueuePoint>& points);
