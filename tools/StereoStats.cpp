#include "tools/StereoStats.h"

#include <cmath>
#include <cstdio>
#include <limits>

template <typename Sample>
void StereoStats::accumulate(const Sample* left, const Sample* right, size_t frames)
{
    for (size_t i = 0; i < frames; ++i)
    {
        const double l = left[i], r = right[i];
        maxLeft = std::max(maxLeft, std::fabs(l));
        maxRight = std::max(maxRight, std::fabs(r));
        sumLeft2 += l * l;
        sumRight2 += r * r;
        sumLeftRight += l * r;
        const double mid = 0.5 * (l + r), side = 0.5 * (l - r);
        sumMid2 += mid * mid;
        sumSide2 += side * side;
    }
    count += frames;
}

void StereoStats::add(const float* left, const float* right, size_t frames)
{
    accumulate(left, right, frames);
}

void StereoStats::add(const double* left, const double* right, size_t frames)
{
    accumulate(left, right, frames);
}

double StereoStats::rmsLeft() const
{
    return count ? std::sqrt(sumLeft2 / count) : 0.0;
}

double StereoStats::rmsRight() const
{
    return count ? std::sqrt(sumRight2 / count) : 0.0;
}

double StereoStats::correlation() const
{
    const double norm = std::sqrt(sumLeft2 * sumRight2);
    return norm > 0.0 ? sumLeftRight / norm : std::numeric_limits<double>::quiet_NaN();
}

double StereoStats::midSideDb() const
{
    if (sumSide2 <= 0.0)
        return sumMid2 > 0.0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    if (sumMid2 <= 0.0)
        return -std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(sumMid2 / sumSide2);
}

namespace {

std::string decibels(double linear)
{
    if (linear <= 0.0)
        return "-inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", 20.0 * std::log10(linear));
    return text;
}

std::string number(double value, const char* format)
{
    if (std::isnan(value))
        return "n/a";
    if (std::isinf(value))
        return value > 0 ? "+inf" : "-inf";
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

std::string formatStatsTable(const std::vector<std::pair<std::string, StereoStats>>& rows)
{
    size_t nameWidth = 7;
    for (const auto& row : rows)
        nameWidth = std::max(nameWidth, row.first.size());
    const char* header[] = {"Peak L", "Peak R", "RMS L", "RMS R", "Corr", "M/S"};
    const int width = 8;

    std::string table;
    char cell[64];
    auto addRow = [&](const std::string& name, const std::vector<std::string>& cells)
    {
        std::snprintf(cell, sizeof cell, "%-*s", static_cast<int>(nameWidth), name.c_str());
        table += cell;
        for (const std::string& text : cells)
        {
            std::snprintf(cell, sizeof cell, " %*s", width, text.c_str());
            table += cell;
        }
        table += '\n';
    };
    addRow("Signal", {header, header + 6});
    addRow("", {"dBFS", "dBFS", "dBFS", "dBFS", "L/R", "dB"});
    table += std::string(nameWidth + 6 * (width + 1), '-') + '\n';
    for (const auto& [name, stats] : rows)
        addRow(name,
               {decibels(stats.peakLeft()), decibels(stats.peakRight()), decibels(stats.rmsLeft()),
                decibels(stats.rmsRight()), number(stats.correlation(), "%+.3f"), number(stats.midSideDb(), "%+.1f")});
    return table;
}
