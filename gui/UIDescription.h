#pragma once

#include "gui/CBitmap.h"
#include "gui/IResourceProvider.h"
#include "gui/IUIDescription.h"
#include "gui/UIAttributes.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {

class CView;
class ViewFactory;

// An editor description (XML, root "vstgui-ui-description"): bitmaps, fonts,
// colours, control tags, custom attributes and view templates. The description
// and its bitmaps are read from a resource provider by file name.
class UIDescription : public CBaseObject, public IUIDescription
{
public:
    // A description file; bitmap paths are relative to its folder.
    explicit UIDescription(const std::string& xmlPath, const ViewFactory* factory = nullptr);
    // The description xmlName and its bitmaps from resources.
    UIDescription(const std::string& xmlName, IResourceProvider* resources, const ViewFactory* factory = nullptr);
    ~UIDescription() override;
    UIDescription(const UIDescription&) = delete;
    UIDescription& operator=(const UIDescription&) = delete;

    // Reads the description; false if it is missing or not a valid description.
    bool parse();
    // Parses XML text directly (directory for bitmap paths given separately).
    bool parseText(const std::string& xml, const std::string& resourceDirectory);
    // Parses XML text directly; bitmaps come from the description's resources.
    bool parseText(const std::string& xml);

    // A new view tree for the template, or null. The caller owns the reference.
    CView* createView(UTF8StringPtr templateName, IController* controller);
    const UIAttributes* getViewAttributes(UTF8StringPtr templateName) const;
    std::vector<std::string> getTemplateNames() const;
    const std::map<std::string, int32>& getControlTags() const { return controlTags; }

    CBitmap* getBitmap(UTF8StringPtr name) const override;
    CFontRef getFont(UTF8StringPtr name) const override;
    bool getColor(UTF8StringPtr name, CColor& color) const override;
    int32 getTagForName(UTF8StringPtr name) const override;
    IControlListener* getControlListener(UTF8StringPtr name) const override;
    IController* getController() const override { return controller; }
    const UIAttributes* getCustomAttributes(UTF8StringPtr name) const override;

    // A bitmap file's name for the same picture at twice the pixels:
    // "skin.png" gives "skin_2x.png".
    static std::string doubleDensityName(const std::string& file);
    static constexpr const char* kDoubleDensitySuffix = "_2x";

    struct Node
    {
        std::string element;
        UIAttributes attributes;
        std::vector<std::unique_ptr<Node>> children;
    };

private:
    bool collect(const Node& root);
    CView* createViewFromNode(const Node& node);
    const Node* findTemplate(const std::string& name) const;

    std::string xmlName;
    SharedPointer<IResourceProvider> resources;
    const ViewFactory* factory;
    std::unique_ptr<Node> root;
    std::map<std::string, std::string> bitmapPaths;
    mutable std::map<std::string, SharedPointer<CBitmap>> bitmaps; // loaded on first use
    std::map<std::string, SharedPointer<CFontDesc>> fonts;
    std::map<std::string, CColor> colors;
    std::map<std::string, int32> controlTags;
    std::map<std::string, UIAttributes> customAttributes;
    IController* controller = nullptr; // the one views are being created for
};

} // namespace VSTGUI
