#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Level and image statistics of a stereo signal, gathered block by block:
// peak and RMS per channel, the L/R correlation and the balance of mid
// (L+R)/2 against side (L-R)/2 energy.
class StereoStats
{
public:
    void add(const float* left, const float* right, size_t frames);
    void add(const double* left, const double* right, size_t frames);

    double peakLeft() const { return maxLeft; }
    double peakRight() const { return maxRight; }
    double rmsLeft() const;
    double rmsRight() const;
    // Pearson correlation about zero, in -1..1; NaN when a channel is silent.
    double correlation() const;
    // 10 log10(mid energy / side energy); +inf for a mono signal.
    double midSideDb() const;

private:
    template <typename Sample>
    void accumulate(const Sample* left, const Sample* right, size_t frames);

    double maxLeft = 0.0, maxRight = 0.0;
    double sumLeft2 = 0.0, sumRight2 = 0.0, sumLeftRight = 0.0;
    double sumMid2 = 0.0, sumSide2 = 0.0;
    size_t count = 0;
};

// A plain-text table, one row per named signal.
std::string formatStatsTable(const std::vector<std::pair<std::string, StereoStats>>& rows);
