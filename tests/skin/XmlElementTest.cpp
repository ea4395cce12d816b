#include "XmlElement.h"

#include <gtest/gtest.h>

namespace {

TEST(XmlElement, ReadsElementsAttributesAndEntities)
{
    std::string error;
    const auto root = XmlElement::Parse(
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- 标题 -->\n"
        "<Window size=\"600,400\">\n  <Label text=\"a &amp; &quot;b&quot;\" />\n  <HBox><Control /></HBox>\n</Window>\n",
        &error);
    ASSERT_TRUE(root) << error;
    EXPECT_EQ(root->Name(), "Window");
    ASSERT_EQ(root->Children().size(), 2u);
    EXPECT_EQ(*root->Children()[0].Attribute("text"), "a & \"b\"");
    EXPECT_EQ(root->Children()[1].Children()[0].Name(), "Control");
    EXPECT_EQ(root->Attribute("missing"), nullptr);

    int count = 0;
    root->Visit([&](const XmlElement&) { ++count; });
    EXPECT_EQ(count, 4);
}

TEST(XmlElement, RejectsWhatTheSkinReaderWouldRejectOrMisread)
{
    const struct {
        const char* text;
        const char* fault;
    } cases[] = {
        {"<Window><Label></Window>", "mismatched closing tag"},
        {"<Window><Label>", "missing </Label>"},
        {"<Window a='1' />", "double-quoted"},
        {"<Window a=\"1\" a=\"2\" />", "duplicate attribute"},
        {"<Window a=\"1\"b=\"2\" />", "separated by blanks"},
        {"<Window a=\"x &nbsp; y\" />", "unknown entity"},
        {"<Window a=\"1 />", "unterminated value"},
        {"<Window a />", "expected '='"},
        {"<Window>text</Window>", "text content"},
        {"<Window /><Window />", "after the root"},
        {"<Window data-x=\"1\" />", "expected '='"},
        {"<Window a=\"\xFF\" />", "invalid UTF-8"},
        {"<!-- never closed <Window />", "unterminated comment"},
        {"", "expected an element"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(XmlElement::Parse(c.text, &error)) << c.text;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(XmlElement, DeepNestingIsAnErrorNotACrash)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "<A>";
    std::string error;
    EXPECT_FALSE(XmlElement::Parse(text, &error));
    EXPECT_NE(error.find("too deep"), std::string::npos);
}

}  // namespace
