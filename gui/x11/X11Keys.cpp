#include "gui/x11/X11Keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace VSTGUI {
namespace X11 {

namespace {

uint8_t virtualKeyOf(KeySym keysym)
{
    switch (keysym)
    {
    case XK_BackSpace: return VKEY_BACK;
    case XK_Tab: return VKEY_TAB;
    case XK_Return: return VKEY_RETURN;
    case XK_KP_Enter: return VKEY_ENTER;
    case XK_Escape: return VKEY_ESCAPE;
    case XK_Home:
    case XK_KP_Home: return VKEY_HOME;
    case XK_End:
    case XK_KP_End: return VKEY_END;
    case XK_Left:
    case XK_KP_Left: return VKEY_LEFT;
    case XK_Up:
    case XK_KP_Up: return VKEY_UP;
    case XK_Right:
    case XK_KP_Right: return VKEY_RIGHT;
    case XK_Down:
    case XK_KP_Down: return VKEY_DOWN;
    case XK_Page_Up:
    case XK_KP_Page_Up: return VKEY_PAGEUP;
    case XK_Page_Down:
    case XK_KP_Page_Down: return VKEY_PAGEDOWN;
    case XK_Insert:
    case XK_KP_Insert: return VKEY_INSERT;
    case XK_Delete:
    case XK_KP_Delete: return VKEY_DELETE;
    default: return 0;
    }
}

// Latin-1 key symbols are their code points, Unicode ones carry theirs.
int32 codePointOfKeysym(KeySym keysym)
{
    if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff))
        return static_cast<int32>(keysym);
    if ((keysym & 0xff000000) == 0x01000000)
        return static_cast<int32>(keysym & 0x00ffffff);
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
        return static_cast<int32>('0' + (keysym - XK_KP_0));
    switch (keysym)
    {
    case XK_KP_Decimal: return '.';
    case XK_KP_Add: return '+';
    case XK_KP_Subtract: return '-';
    case XK_KP_Multiply: return '*';
    case XK_KP_Divide: return '/';
    case XK_KP_Space: return ' ';
    default: return 0;
    }
}

// The first code point of UTF-8 text, 0 when it is malformed.
int32 firstCodePoint(const unsigned char* text, int length)
{
    if (length <= 0)
        return 0;
    const unsigned char lead = text[0];
    const int extra = lead < 0x80             ? 0
                      : (lead & 0xe0) == 0xc0 ? 1
                      : (lead & 0xf0) == 0xe0 ? 2
                      : (lead & 0xf8) == 0xf0 ? 3
                                              : -1;
    if (extra < 0 || extra >= length)
        return 0;
    int32 c = extra == 0 ? lead : lead & (0x3f >> extra);
    for (int i = 1; i <= extra; ++i)
    {
        if ((text[i] & 0xc0) != 0x80)
            return 0;
        c = (c << 6) | (text[i] & 0x3f);
    }
    return c;
}

} // namespace

VstKeyCode keyCodeOf(XKeyEvent& event, XIC inputContext, bool withText)
{
    VstKeyCode code;
    if (event.state & ShiftMask)
        code.modifier |= MODIFIER_SHIFT;
    if (event.state & ControlMask)
        code.modifier |= MODIFIER_CONTROL;
    if (event.state & Mod1Mask)
        code.modifier |= MODIFIER_ALTERNATE;
    KeySym keysym = NoSymbol;
    char latin1[8];
    XLookupString(&event, latin1, sizeof latin1, &keysym, nullptr);
    code.virt = virtualKeyOf(keysym);
    if (code.virt != 0 || !withText)
        return code;
    if (inputContext)
    {
        unsigned char text[16];
        Status status = 0;
        KeySym composed = NoSymbol;
        const int length =
            Xutf8LookupString(inputContext, &event, reinterpret_cast<char*>(text), sizeof text, &composed, &status);
        if (status == XLookupChars || status == XLookupBoth)
            code.character = firstCodePoint(text, length);
    }
    else
    {
        code.character = codePointOfKeysym(keysym);
    }
    // Control characters are keys, not text.
    if (code.character < 0x20 || code.character == 0x7f)
        code.character = 0;
    return code;
}

} // namespace X11
} // namespace VSTGUI
