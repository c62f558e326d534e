#include "tools/NameMatch.h"

#include <algorithm>
#include <cctype>

namespace NameMatch {

namespace {
char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
} // namespace

size_t editDistance(const std::string& a, const std::string& b)
{
    // One row of the dynamic-programming table is enough.
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
    {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j)
        {
            const size_t above = row[j];
            const size_t substitution = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, substitution});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string nearest(const std::string& name, const std::vector<std::string>& candidates)
{
    std::string best;
    size_t bestDistance = static_cast<size_t>(-1);
    for (const std::string& candidate : candidates)
    {
        const size_t distance = editDistance(name, candidate);
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = candidate;
        }
    }
    const size_t longer = std::max(name.size(), best.size());
    if (best.empty() || bestDistance * 2 > longer)
        return {};
    return best;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

} // namespace NameMatch
