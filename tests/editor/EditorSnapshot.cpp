// Draws an editor description's template offscreen with the cairo side, as
// the editor window shows it before any parameter moves, and writes a PNG:
// the picture the Windows side's drawing is compared with.
//   kv_editor_snapshot <description file> <template> <output.png>

#include "gui/CFrame.h"
#include "gui/UIDescription.h"
#include "gui/x11/CairoDrawContext.h"

#include <cairo.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: %s <description> <template> <output.png>\n", argv[0]);
        return 2;
    }
    using namespace VSTGUI;
    auto description = owned(new UIDescription(argv[1]));
    if (!description->parse())
        return 1;
    CView* view = description->createView(argv[2], nullptr);
    if (!view)
        return 1;
    const CRect size = view->getViewSize();
    auto frame = owned(new CFrame(CRect(0, 0, size.getWidth(), size.getHeight())));
    frame->addView(view);

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(size.getWidth()),
                                                          static_cast<int>(size.getHeight()));
    cairo_t* cr = cairo_create(surface);
    {
        // As the window's paint: black under everything, then the frame.
        X11::CairoDrawContext context(cr);
        context.setFillColor(kBlackCColor);
        context.drawRect(frame->getViewSize(), kDrawFilled);
        frame->platformDrawRect(&context, frame->getViewSize());
    }
    cairo_destroy(cr);
    const bool written = cairo_surface_write_to_png(surface, argv[3]) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written ? 0 : 1;
}
