#include "gui/x11/LentRunLoops.h"

#include <algorithm>
#include <vector>

namespace VSTGUI {
namespace X11 {

namespace {

// Only the UI thread touches the loops.
std::vector<SharedPointer<IRunLoop>>& lentLoops()
{
    static std::vector<SharedPointer<IRunLoop>> loops;
    return loops;
}

} // namespace

void LentRunLoops::lend(IRunLoop* loop)
{
    if (loop)
        lentLoops().emplace_back(loop);
}

void LentRunLoops::giveBack(IRunLoop* loop)
{
    auto& loops = lentLoops();
    auto it = std::find_if(loops.rbegin(), loops.rend(), [loop](const auto& p) { return p.get() == loop; });
    if (it != loops.rend())
        loops.erase(std::next(it).base());
}

IRunLoop* LentRunLoops::current()
{
    auto& loops = lentLoops();
    return loops.empty() ? nullptr : loops.back().get();
}

} // namespace X11
} // namespace VSTGUI
