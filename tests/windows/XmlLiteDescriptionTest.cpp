// The editor description's reader on Windows (XmlLite behind the UI layer's
// reader interface): UTF-8 and entities read, malformed or unsafe documents
// refused as expat refuses them on Linux.

#include "gui/UIDescription.h"

#include <gtest/gtest.h>

namespace {

TEST(XmlLiteDescription, ReadsTheDescriptionAndRefusesWhatIsNotOne)
{
    struct Case
    {
        const char* what;
        const char* xml;
        bool valid;
    };
    const Case cases[] = {
        {"minimal", "<vstgui-ui-description version=\"1\"/>", true},
        {"entities and UTF-8",
         "<vstgui-ui-description version=\"1\"><control-tags><control-tag name=\"a&amp;b \xc3\xa4\" "
         "tag=\"7\"/></control-tags></vstgui-ui-description>",
         true},
        {"unclosed", "<vstgui-ui-description version=\"1\"><bitmaps>", false},
        {"two roots", "<vstgui-ui-description version=\"1\"/><x/>", false},
        {"document type", "<!DOCTYPE x [<!ENTITY e \"e\">]><vstgui-ui-description version=\"1\"/>", false},
        {"wrong root", "<description version=\"1\"/>", false},
        {"empty", "", false},
    };
    for (const Case& c : cases)
    {
        auto description = VSTGUI::owned(new VSTGUI::UIDescription("none.uidesc"));
        EXPECT_EQ(c.valid, description->parseText(c.xml)) << c.what;
    }
    auto description = VSTGUI::owned(new VSTGUI::UIDescription("none.uidesc"));
    ASSERT_TRUE(description->parseText(cases[1].xml));
    EXPECT_EQ(7, description->getControlTags().at("a&b \xc3\xa4"));
}

} // namespace
