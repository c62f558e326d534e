#pragma once

#include <cstdint>
#include <string>

// A one-line progress bar on standard error, drawn only when standard error
// is a terminal, so logs and pipes stay clean.
class ProgressBar
{
public:
    ProgressBar(const std::string& label, uint64_t total);
    ~ProgressBar(); // ends the line if one was drawn

    void update(uint64_t done);
    void finish();

private:
    std::string label;
    uint64_t total;
    bool enabled;
    int shownPermille = -1;
    bool finished = false;
};
