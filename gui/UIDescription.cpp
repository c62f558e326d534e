#include "gui/UIDescription.h"

#include "gui/CViewContainer.h"
#include "gui/IController.h"
#include "gui/ViewFactory.h"

#include "gui/FileResourceProvider.h"
#include "gui/IXmlReader.h"

namespace VSTGUI {

namespace {

constexpr const char* kRootElement = "vstgui-ui-description";

// Far deeper than any editor; the tree and the view building recurse once per
// level, so a description nested without end must not reach them.
constexpr size_t kMaxDepth = 256;

// Builds the element tree while the reader reads.
struct TreeBuilder : IXmlContentHandler
{
    std::unique_ptr<UIDescription::Node> root;
    std::vector<UIDescription::Node*> open;

    bool startElement(const std::string& name, const Attributes& attributes) override
    {
        if (open.size() >= kMaxDepth)
            return false;
        auto node = std::make_unique<UIDescription::Node>();
        node->element = name;
        for (const auto& attribute : attributes)
            node->attributes.setAttribute(attribute.first, attribute.second);
        UIDescription::Node* raw = node.get();
        if (open.empty())
            root = std::move(node);
        else
            open.back()->children.push_back(std::move(node));
        open.push_back(raw);
        return true;
    }

    void endElement() override
    {
        if (!open.empty())
            open.pop_back();
    }
};

std::string directoryOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

UIDescription::UIDescription(const std::string& xmlPath, const ViewFactory* factory)
    : xmlName(fileNameOf(xmlPath)), resources(owned<IResourceProvider>(new FileResourceProvider(directoryOf(xmlPath)))),
      factory(factory ? factory : &ViewFactory::standard())
{
}

UIDescription::UIDescription(const std::string& xmlName, IResourceProvider* resources, const ViewFactory* factory)
    : xmlName(xmlName), resources(resources), factory(factory ? factory : &ViewFactory::standard())
{
}

UIDescription::~UIDescription() = default;

bool UIDescription::parse()
{
    std::string text;
    if (!resources || !resources->read(xmlName, text))
        return false;
    return parseText(text);
}

bool UIDescription::parseText(const std::string& xml, const std::string& resourceDirectory)
{
    resources = owned<IResourceProvider>(new FileResourceProvider(resourceDirectory));
    return parseText(xml);
}

bool UIDescription::parseText(const std::string& xml)
{
    TreeBuilder builder;
    auto reader = IXmlReader::create();
    if (!reader || !reader->read(xml, builder))
        return false;
    if (!builder.root || builder.root->element != kRootElement)
        return false;
    const std::string* version = builder.root->attributes.getAttributeValue("version");
    if (!version || *version != "1")
        return false;
    root = std::move(builder.root);
    return collect(*root);
}

bool UIDescription::collect(const Node& description)
{
    for (const auto& section : description.children)
    {
        for (const auto& item : section->children)
        {
            const UIAttributes& a = item->attributes;
            const std::string* name = a.getAttributeValue("name");
            if (!name)
                continue;
            if (section->element == "bitmaps" && item->element == "bitmap")
            {
                if (const std::string* file = a.getAttributeValue("path"))
                    bitmapPaths[*name] = *file;
            }
            else if (section->element == "fonts" && item->element == "font")
            {
                const std::string* family = a.getAttributeValue("font-name");
                double size = 12;
                a.getDoubleAttribute("size", size);
                int32 style = kNormalFace;
                auto flag = [&](const char* attribute, int32 bit)
                {
                    bool on = false;
                    if (a.getBooleanAttribute(attribute, on) && on)
                        style |= bit;
                };
                flag("bold", kBoldFace);
                flag("italic", kItalicFace);
                flag("underline", kUnderlineFace);
                flag("strike-through", kStrikethroughFace);
                fonts[*name] = owned(new CFontDesc(family ? *family : "Arial", size, style));
            }
            else if (section->element == "colors" && item->element == "color")
            {
                CColor color;
                const std::string* rgba = a.getAttributeValue("rgba");
                if (rgba && parseColorString(*rgba, color))
                    colors[*name] = color;
            }
            else if (section->element == "control-tags" && item->element == "control-tag")
            {
                int32 tag = 0;
                if (a.getIntegerAttribute("tag", tag))
                    controlTags[*name] = tag;
            }
            else if (section->element == "custom" && item->element == "attributes")
            {
                customAttributes[*name] = a;
            }
        }
    }
    return true;
}

const UIDescription::Node* UIDescription::findTemplate(const std::string& name) const
{
    if (!root)
        return nullptr;
    for (const auto& child : root->children)
    {
        const std::string* templateName = child->attributes.getAttributeValue("name");
        if (child->element == "template" && templateName && *templateName == name)
            return child.get();
    }
    return nullptr;
}

std::vector<std::string> UIDescription::getTemplateNames() const
{
    std::vector<std::string> names;
    if (!root)
        return names;
    for (const auto& child : root->children)
    {
        const std::string* name = child->attributes.getAttributeValue("name");
        if (child->element == "template" && name)
            names.push_back(*name);
    }
    return names;
}

const UIAttributes* UIDescription::getViewAttributes(UTF8StringPtr templateName) const
{
    const Node* node = templateName ? findTemplate(templateName) : nullptr;
    return node ? &node->attributes : nullptr;
}

CView* UIDescription::createView(UTF8StringPtr templateName, IController* viewController)
{
    const Node* node = templateName ? findTemplate(templateName) : nullptr;
    if (!node)
        return nullptr;
    IController* previous = controller;
    controller = viewController;
    CView* view = createViewFromNode(*node);
    controller = previous;
    return view;
}

CView* UIDescription::createViewFromNode(const Node& node)
{
    const UIAttributes& attributes = node.attributes;
    IController* previous = controller;
    IController* subController = nullptr;
    const std::string* subControllerName = attributes.getAttributeValue("sub-controller");
    if (subControllerName && controller)
    {
        subController = controller->createSubController(subControllerName->c_str(), this);
        if (subController)
            controller = subController;
    }

    CView* view = nullptr;
    const std::string* className = attributes.getAttributeValue("class");
    if (attributes.hasAttribute("custom-view-name") && controller)
    {
        view = controller->createView(attributes, this);
        if (view && className)
            factory->applyAttributes(view, *className, attributes, this);
    }
    if (!view)
        view = factory->createView(attributes, this);

    if (view)
    {
        if (auto* container = dynamic_cast<CViewContainer*>(view))
        {
            for (const auto& child : node.children)
            {
                if (child->element != "view")
                    continue;
                if (CView* childView = createViewFromNode(*child))
                    container->addView(childView);
            }
        }
        if (controller)
            view = controller->verifyView(view, attributes, this);
    }
    if (subController)
    {
        if (view)
            view->setAttachedController(subController);
        else
            delete subController;
    }
    controller = previous;
    return view;
}

std::string UIDescription::doubleDensityName(const std::string& file)
{
    const auto dot = file.find_last_of('.');
    const auto separator = file.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return file + kDoubleDensitySuffix;
    return file.substr(0, dot) + kDoubleDensitySuffix + file.substr(dot);
}

CBitmap* UIDescription::getBitmap(UTF8StringPtr name) const
{
    if (!name)
        return nullptr;
    auto loaded = bitmaps.find(name);
    if (loaded != bitmaps.end())
        return loaded->second;
    auto file = bitmapPaths.find(name);
    if (file == bitmapPaths.end())
        return nullptr;
    std::string png;
    SharedPointer<CBitmap> bitmap;
    if (resources && resources->read(file->second, png))
        bitmap = owned(new CBitmap(PngData{png.data(), png.size()}));
    if (bitmap && !bitmap->isLoaded())
        bitmap.reset();
    // The picture at twice the pixels, where there is one, for dense screens.
    if (bitmap && resources->read(doubleDensityName(file->second), png))
        bitmap->addBitmap(PngData{png.data(), png.size()}, 2.);
    bitmaps[name] = bitmap;
    return bitmap;
}

CFontRef UIDescription::getFont(UTF8StringPtr name) const
{
    if (!name)
        return nullptr;
    auto it = fonts.find(name);
    if (it != fonts.end())
        return it->second;
    return getStandardFont(name);
}

bool UIDescription::getColor(UTF8StringPtr name, CColor& color) const
{
    if (!name)
        return false;
    auto it = colors.find(name);
    if (it != colors.end())
    {
        color = it->second;
        return true;
    }
    return getStandardColor(name, color) || parseColorString(name, color);
}

int32 UIDescription::getTagForName(UTF8StringPtr name) const
{
    if (!name)
        return -1;
    auto it = controlTags.find(name);
    const int32 registered = it == controlTags.end() ? -1 : it->second;
    return controller ? controller->getTagForName(name, registered) : registered;
}

IControlListener* UIDescription::getControlListener(UTF8StringPtr name) const
{
    return controller ? controller->getControlListener(name) : nullptr;
}

const UIAttributes* UIDescription::getCustomAttributes(UTF8StringPtr name) const
{
    auto it = name ? customAttributes.find(name) : customAttributes.end();
    return it == customAttributes.end() ? nullptr : &it->second;
}

} // namespace VSTGUI
