#include "tools/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

ProgressBar::ProgressBar(const std::string& text, uint64_t totalFrames)
    : label(text), total(totalFrames), enabled(::isatty(STDERR_FILENO) == 1)
{
}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::update(uint64_t done)
{
    if (!enabled || finished || total == 0)
        return;
    const int permille = static_cast<int>(std::min<uint64_t>(1000, done * 1000 / total));
    if (permille / 5 == shownPermille / 5) // redraw every half percent
        return;
    shownPermille = permille;
    constexpr int kWidth = 40;
    const int filled = permille * kWidth / 1000;
    std::fprintf(stderr, "\r%s [%.*s%*s] %5.1f%%", label.c_str(), filled, "########################################",
                 kWidth - filled, "", permille / 10.0);
    std::fflush(stderr);
}

void ProgressBar::finish()
{
    if (!enabled || finished)
        return;
    finished = true;
    if (shownPermille >= 0)
    {
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
}
