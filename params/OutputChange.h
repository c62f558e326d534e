#pragma once

#include <cstdint>

// A parameter value the processor reports to the host (after a program change).
struct OutputChange
{
    uint32_t id;
    double value; // normalised
};
