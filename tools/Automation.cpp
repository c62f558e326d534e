#include "tools/Automation.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

std::string trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

bool parseSettingText(const std::string& argument, std::string& parameter, std::string& value, std::string& error)
{
    const size_t equals = argument.find('=');
    if (equals == std::string::npos)
    {
        error = "'" + argument + "' is not of the form TITLE=VALUE";
        return false;
    }
    parameter = trim(argument.substr(0, equals));
    value = trim(argument.substr(equals + 1));
    if (parameter.empty() || value.empty())
    {
        error = "'" + argument + "' is not of the form TITLE=VALUE";
        return false;
    }
    return true;
}

bool parseAutomationText(const std::string& argument, AutomationText& result, std::string& error)
{
    std::string points;
    if (!parseSettingText(argument, result.parameter, points, error))
    {
        error = "'" + argument + "' is not of the form TITLE=t0:v0,t1:v1,...";
        return false;
    }
    result.points.clear();
    size_t start = 0;
    while (start <= points.size())
    {
        const size_t comma = std::min(points.find(',', start), points.size());
        const std::string item = trim(points.substr(start, comma - start));
        const size_t colon = item.find(':');
        AutomationPointText point;
        if (colon == std::string::npos || !parseNumber(trim(item.substr(0, colon)), point.seconds) ||
            point.seconds < 0.0)
        {
            error = "breakpoint '" + item + "' of " + result.parameter +
                    " is not TIME:VALUE with TIME in seconds (0 or more)";
            return false;
        }
        point.value = trim(item.substr(colon + 1));
        if (point.value.empty())
        {
            error = "breakpoint '" + item + "' of " + result.parameter + " has no value";
            return false;
        }
        if (!result.points.empty() && point.seconds < result.points.back().seconds)
        {
            error = "the times of " + result.parameter + " must not decrease ('" + item + "')";
            return false;
        }
        result.points.push_back(point);
        start = comma + 1;
    }
    return true;
}

bool parseNormalizedText(const std::string& text, double& value, std::string& error)
{
    const std::string prefix = "norm(";
    if (text.compare(0, prefix.size(), prefix) != 0)
        return false;
    if (text.back() != ')' || !parseNumber(trim(text.substr(prefix.size(), text.size() - prefix.size() - 1)), value) ||
        value < 0.0 || value > 1.0)
    {
        error = "'" + text + "' is not a normalised value norm(x) with 0 <= x <= 1";
        value = -1.0;
        return false;
    }
    return true;
}

AutomationCurve::AutomationCurve(std::vector<Point> points) : sorted(std::move(points))
{
    std::stable_sort(sorted.begin(), sorted.end(), [](const Point& a, const Point& b) { return a.frame < b.frame; });
}

double AutomationCurve::valueAt(int64_t frame) const
{
    if (sorted.empty())
        return 0.0;
    // The last point at or before `frame` (the last of a step, so after it).
    const auto after =
        std::upper_bound(sorted.begin(), sorted.end(), frame, [](int64_t f, const Point& p) { return f < p.frame; });
    if (after == sorted.begin())
        return sorted.front().value;
    const Point& from = *(after - 1);
    if (after == sorted.end() || from.frame == frame)
        return from.value;
    const Point& to = *after;
    const double fraction = static_cast<double>(frame - from.frame) / static_cast<double>(to.frame - from.frame);
    return from.value + (to.value - from.value) * fraction;
}

double AutomationCurve::valueBefore(int64_t frame) const
{
    const auto first =
        std::lower_bound(sorted.begin(), sorted.end(), frame, [](const Point& p, int64_t f) { return p.frame < f; });
    if (first != sorted.end() && first->frame == frame)
        return first->value;
    return valueAt(frame);
}

void queuePointsForBlock(const AutomationCurve& curve, int64_t blockStart, int32_t length, double& current,
                         std::vector<QueuePoint>& points)
{
    if (length <= 0 || curve.points().empty())
        return;
    const size_t firstNew = points.size();
    const int64_t lastFrame = blockStart + length - 1;

    // The processor gives each frame the value interpolated between the
    // points around it, so a point on every breakpoint frame, and on the frame
    // before a step, puts every frame exactly on the curve. Hosts keep one
    // point per offset, so a step is never two points at one offset.
    int64_t previous = blockStart;
    auto addKnot = [&](int64_t frame)
    {
        if (frame <= previous || frame > lastFrame)
            return;
        points.push_back({static_cast<int32_t>(frame - blockStart), curve.valueAt(frame)});
        previous = frame;
    };

    if (length == 1)
    {
        // A lone point ramps from the previous value over the block, so the
        // frame keeps the previous block's value, which was this frame's;
        // the point carries the next frame's value.
        points.push_back({0, curve.valueAt(blockStart + 1)});
    }
    else
    {
        // A point at offset 0 followed by others makes the processor jump
        // there, so the block starts on the curve whatever came before.
        points.push_back({0, curve.valueAt(blockStart)});
    }
    for (const AutomationCurve::Point& point : curve.points())
    {
        if (length == 1)
            break;
        if (point.frame <= blockStart || point.frame > lastFrame)
            continue;
        if (curve.valueBefore(point.frame) != curve.valueAt(point.frame))
            addKnot(point.frame - 1);
        addKnot(point.frame);
    }
    addKnot(lastFrame);

    bool moves = false;
    for (size_t i = firstNew; i < points.size(); ++i)
        moves = moves || points[i].value != current;
    if (!moves)
    {
        points.resize(firstNew);
        return;
    }
    current = points.back().value;
}
