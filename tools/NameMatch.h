#pragma once

#include <string>
#include <vector>

// Finds what the user probably meant when a parameter or program name is
// unknown, so an error message can say "did you mean ...".
namespace NameMatch {

// Levenshtein distance, compared case-insensitively.
size_t editDistance(const std::string& a, const std::string& b);

// The candidate nearest to `name`, or "" when none is close enough to be a
// useful suggestion (more than half of the longer name would have to change).
std::string nearest(const std::string& name, const std::vector<std::string>& candidates);

// Case-insensitive equality, used for lookups by title.
bool equalsIgnoringCase(const std::string& a, const std::string& b);

} // namespace NameMatch
