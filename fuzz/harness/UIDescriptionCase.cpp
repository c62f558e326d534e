// Editor descriptions: malformed XML, unknown elements, attribute values of
// every wrong shape, views nested without end; each template is built and
// drawn offscreen.

#include "fuzz/harness/Harness.h"

#include "gui/CView.h"
#include "gui/UIDescription.h"
#include "gui/x11/CairoDrawContext.h"

#include <cairo.h>

#include <string>

namespace KalviorFuzz {

namespace {

// A folder that holds no bitmaps: relative bitmap paths find nothing.
constexpr const char* kNoResources = "/nonexistent-kalvior-resources";

void drawOffscreen(VSTGUI::CView* view)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
    cairo_t* cr = cairo_create(surface);
    {
        VSTGUI::X11::CairoDrawContext context(cr);
        view->draw(&context);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

} // namespace

void uiDescriptionCase(const uint8_t* data, size_t size)
{
    const std::string xml(reinterpret_cast<const char*>(data), size);
    VSTGUI::UIDescription description(std::string(kNoResources) + "/fuzz.uidesc");
    if (!description.parseText(xml, kNoResources))
        return;

    for (const std::string& name : description.getTemplateNames())
    {
        KV_FUZZ_CHECK(description.getViewAttributes(name.c_str()) != nullptr, "template without attributes");
        if (VSTGUI::CView* view = description.createView(name.c_str(), nullptr))
        {
            drawOffscreen(view);
            view->forget();
        }
    }
    for (const auto& tag : description.getControlTags())
        KV_FUZZ_CHECK(description.getTagForName(tag.first.c_str()) == tag.second, "control tag " + tag.first);
}

} // namespace KalviorFuzz
