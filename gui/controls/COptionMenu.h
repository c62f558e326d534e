#pragma once

#include "gui/controls/CParamDisplay.h"

#include <string>
#include <vector>

namespace VSTGUI {

// Shows its current entry; a click opens the list of entries below it. The
// value is the index of the current entry.
class COptionMenu : public CParamDisplay
{
public:
    enum MenuStyle : int32
    {
        kPopupStyle = 1 << 11,
        kCheckStyle = 1 << 12,
    };

    COptionMenu(const CRect& size, IControlListener* listener = nullptr, int32 tag = 0, CBitmap* background = nullptr,
                int32 style = 0);

    void addEntry(const std::string& title) { entries.push_back(title); }
    void removeAllEntry() { entries.clear(); }
    int32 getNbEntries() const { return static_cast<int32>(entries.size()); }
    const std::string* getEntry(int32 index) const;
    int32 getCurrentIndex() const;
    // Makes entry index current (as the user would, without notifying).
    bool setCurrent(int32 index);

    // The current entry; empty when there is none.
    std::string getDisplayedText() override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    CLASS_METHODS(COptionMenu, CParamDisplay)

private:
    void select(int32 index);

    std::vector<std::string> entries;
};

} // namespace VSTGUI
