#pragma once

#include "ParamId.h"

#include <cstdint>
#include <map>
#include <vector>

struct ParameterRecord
{
    double defaultNormalized = 0.0; // 0..1
    int32_t flags = 0;              // ParameterInfo flag bits
    bool inPreset = false;          // reset and possibly overridden by a program change
};

// The immutable vocabulary both halves of the plug-in build: every ID with its
// default, host flags and program membership.
class ParameterTable
{
public:
    ParameterTable();

    bool contains(uint32_t id) const;
    const ParameterRecord& record(uint32_t id) const { return records.at(id); }

    std::vector<uint32_t> ids;
    std::map<uint32_t, ParameterRecord> records;
};
