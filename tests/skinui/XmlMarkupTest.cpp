#include "skinui/CXmlMarkup.h"

#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using SkinUI::CXmlMarkup;
using SkinUI::CXmlNode;

std::vector<std::string> ChildNames(const CXmlNode& node)
{
    std::vector<std::string> names;
    for (CXmlNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        names.emplace_back(child.GetName());
    }
    return names;
}

TEST(XmlMarkupTest, ElementsAttributesAndComments)
{
    CXmlMarkup markup;
    ASSERT_TRUE(markup.Load("<?xml version=\"1.0\"?>\n<Window size=\"300,160\" caption = \"0,0,0,30\">"
                            "<!-- 标题栏 --><Label name=\"a\"/>\t<!-- x -->\n<VBox><Button/></VBox >"
                            "<Edit\n/></Window>"));
    const CXmlNode root = markup.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_EQ("Window", root.GetName());
    EXPECT_EQ((std::vector<std::string>{"Label", "VBox", "Edit"}), ChildNames(root));
    ASSERT_EQ(2, root.GetAttributeCount());
    EXPECT_EQ("caption", root.GetAttributeName(1));
    EXPECT_EQ("0,0,0,30", root.GetAttributeValue(1));
    EXPECT_EQ("300,160", root.GetAttributeValue("size"));
    EXPECT_FALSE(root.GetAttributeValue("Size").has_value());
    EXPECT_EQ("", root.GetAttributeName(2));
    EXPECT_EQ("", root.GetAttributeValue(-1));
    EXPECT_FALSE(root.GetParent().IsValid());

    const CXmlNode vbox = root.GetChild().GetSibling();
    EXPECT_TRUE(vbox.HasChildren());
    EXPECT_EQ("Button", vbox.GetChild().GetName());
    EXPECT_EQ("VBox", vbox.GetChild().GetParent().GetName());
    EXPECT_FALSE(root.GetChild().HasChildren());
}

TEST(XmlMarkupTest, AttributeValues)
{
    CXmlMarkup markup;
    ASSERT_TRUE(markup.Load("<a x=\"&amp;b&nbsp;c\" y=\"&lt;&gt;&quot;&apos;\" z=\"\" w=\"a&amp\" v=\"中文\"/>"));
    const CXmlNode root = markup.GetRoot();
    EXPECT_EQ("&b&nbsp;c", root.GetAttributeValue("x"));
    EXPECT_EQ("<>\"'", root.GetAttributeValue("y"));
    EXPECT_EQ("", root.GetAttributeValue("z"));
    EXPECT_TRUE(root.GetAttributeValue("z").has_value());
    EXPECT_EQ("a&amp", root.GetAttributeValue("w"));

    char buffer[5];
    ASSERT_TRUE(root.GetAttributeValue("v", buffer, sizeof buffer));
    EXPECT_STREQ("中", buffer);  // never half a character
    ASSERT_TRUE(root.GetAttributeValue("y", buffer, sizeof buffer));
    EXPECT_STREQ("<>\"'", buffer);
    EXPECT_FALSE(root.GetAttributeValue("none", buffer, sizeof buffer));
    EXPECT_FALSE(root.GetAttributeValue("v", buffer, 0));

    CXmlMarkup collapsed;
    collapsed.SetPreserveWhitespace(false);
    ASSERT_TRUE(collapsed.Load("<a x=\"a  \t b\"/>"));
    EXPECT_EQ("a b", collapsed.GetRoot().GetAttributeValue("x"));
}

TEST(XmlMarkupTest, OnlyTheFirst64AttributesAreVisible)
{
    std::string text = "<a";
    for (int i = 0; i < 65; ++i) text += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    text += "/>";
    CXmlMarkup markup;
    ASSERT_TRUE(markup.Load(text));
    const CXmlNode root = markup.GetRoot();
    EXPECT_EQ(64, root.GetAttributeCount());
    EXPECT_EQ("63", root.GetAttributeValue("n63"));
    EXPECT_EQ("", root.GetAttributeValue(64));
    EXPECT_FALSE(root.GetAttributeValue("n64").has_value());
}

TEST(XmlMarkupTest, EndOfText)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", ""},
        {"<Window><Label/>", ""},            // the root's closing tag missing
        {"<Window><VBox>", ""},
        {"<Window><VBox>text", ""},
        {"<Window><VBox><Label/>", "Expected start tag"},
        {"<Window><VBox><Label>", "Expected end-tag start"},
        {"<Window><VBox><HBox><Label>", "Expected end-tag start"},
    };
    for (const auto& c : cases) {
        CXmlMarkup markup;
        EXPECT_EQ(*c.error == '\0', markup.Load(c.text)) << c.text;
        EXPECT_EQ(c.error, markup.GetLastErrorMessage()) << c.text;
        EXPECT_EQ("", markup.GetLastErrorLocation()) << c.text;
    }
}

TEST(XmlMarkupTest, ParseErrorsWithTheirContext)
{
    const std::string longTail(60, 'z');
    const struct {
        std::string text;
        const char* error;
        std::string context;
    } cases[] = {
        {"x<a/>", "Expected start tag", "x<a/>"},
        {"<a><b/>x</a>", "Expected start tag", "x</a>"},
        {"< a/>", "Error parsing element name", " a/>"},
        {"<a b=\"1\" c/>", "Error while parsing attributes", "/>"},
        {"<a b/>", "Error while parsing attributes", "/>"},
        {"<a b='x'/>", "Expected attribute value", "'x'/>"},
        {"<a b=\"x/>", "Error while parsing attribute string", ""},
        {"<a b=\"1\"", "Expected start-tag closing", ""},
        {"<a b=\"1\"x>", "Error while parsing attributes", ">"},
        {"<a / >", "Expected start-tag closing", "/ >"},
        {"<a><b></c></a>", "Unmatched closing tag", "c></a>"},
        {"<a><b></bb></a>", "Unmatched closing tag", "b></a>"},
        {"<a><b></b</a>", "Unmatched closing tag", "</a>"},
        {"<a><b></b>" + longTail + "</a>", "Expected start tag", std::string(49, 'z')},
        {"<a>标题栏<b></c></a>", "Unmatched closing tag", "c></a>"},
    };
    for (const auto& c : cases) {
        CXmlMarkup markup;
        EXPECT_FALSE(markup.Load(c.text)) << c.text;
        EXPECT_EQ(c.error, markup.GetLastErrorMessage()) << c.text;
        EXPECT_EQ(c.context, markup.GetLastErrorLocation()) << c.text;
        EXPECT_FALSE(markup.GetRoot().IsValid()) << c.text;
    }
}

TEST(XmlMarkupTest, ClosingTagsAndSpacing)
{
    const char* accepted[] = {
        "<a></a>", "<a></ a >", "<a ></a>", "<a><b></b><c/></a>", "<a>\n<!-- c --> <?pi x?>\n</a>",
        "<a><!-- unterminated", "<a:b x_y=\"1\"/>",
    };
    for (const char* text : accepted) {
        CXmlMarkup markup;
        EXPECT_TRUE(markup.Load(text)) << text << ": " << markup.GetLastErrorMessage();
    }
}

TEST(XmlMarkupTest, NestingIsBounded)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    CXmlMarkup markup;
    EXPECT_FALSE(markup.Load(deep));
    EXPECT_EQ("Elements nested too deeply", markup.GetLastErrorMessage());

    std::string fine;
    for (int i = 0; i < 200; ++i) fine += "<a>";
    for (int i = 0; i < 200; ++i) fine += "</a>";
    EXPECT_TRUE(markup.Load(fine));
}

TEST(XmlMarkupTest, Encodings)
{
    const std::string utf8 = "<a v=\"安装\"/>";
    const std::string utf16le("\xFF\xFE<\0a\0 \0v\0=\0\"\0\x89\x5B\xC5\x88\"\0/\0>\0", 24);
    const std::string utf16be("\xFE\xFF\0<\0a\0 \0v\0=\0\"\x5B\x89\x88\xC5\0\"\0/\0>", 24);
    const struct {
        std::string bytes;
        int encoding;
        bool ok;
    } cases[] = {
        {utf8, CXmlMarkup::kEncodingUtf8, true},
        {"\xEF\xBB\xBF" + utf8, CXmlMarkup::kEncodingUtf8, true},
        {utf16le, CXmlMarkup::kEncodingUnicode, true},
        {utf16be, CXmlMarkup::kEncodingUnicode, true},
        {utf16le.substr(2), CXmlMarkup::kEncodingUnicode, false},  // no byte-order mark
    };
    for (const auto& c : cases) {
        CXmlMarkup markup;
        EXPECT_EQ(c.ok, markup.LoadFromMem(c.bytes, c.encoding)) << c.encoding;
        if (c.ok) {
            EXPECT_EQ("安装", markup.GetRoot().GetAttributeValue("v"));
        }
    }
    CXmlMarkup ansi;
    EXPECT_TRUE(ansi.LoadFromMem("<a v=\"x\"/>", CXmlMarkup::kEncodingAnsi));
    EXPECT_EQ("x", ansi.GetRoot().GetAttributeValue("v"));

    CXmlMarkup broken;
    ASSERT_TRUE(broken.LoadFromMem(std::string("<a v=\"\xC3\"/>\0<b>", 13)));
    EXPECT_EQ("\xEF\xBF\xBD", broken.GetRoot().GetAttributeValue("v"));
}

class XmlMarkupFileTest : public SkinTest::ProcessStateTest {};

TEST_F(XmlMarkupFileTest, ReadingFailures)
{
    TempFolder folder;
    folder.Write("ok.xml", "<Window/>");
    folder.Write("empty.xml", "");
    folder.Write("limit.xml", "<a/>" + std::string(CXmlMarkup::kMaxFileBytes - 4, ' '));
    folder.Write("large.xml", "<a/>" + std::string(CXmlMarkup::kMaxFileBytes - 3, ' '));
    folder.Write("skin.7z", SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE));
    SkinUI::CResourceSettings::SetResourcePath(folder.Path());
    const struct {
        const char* archive;
        const char* name;
        const char* error;
    } cases[] = {
        {"", "ok.xml", ""},
        {"", "limit.xml", ""},
        {"", "missing.xml", "Error opening file"},
        {"", "empty.xml", "File is empty"},
        {"", "large.xml", "File too large"},
        {"skin.7z", "EXITTIPWND.xml", ""},
        {"skin.7z", "ok.xml", "Could not find ziped file"},
        {"none.7z", "ok.xml", "Error opening zip file"},
    };
    for (const auto& c : cases) {
        SkinUI::CResourceSettings::SetArchiveFromFile(c.archive, false);
        CXmlMarkup markup;
        EXPECT_EQ(*c.error == '\0', markup.LoadFromFile(c.name)) << c.name;
        EXPECT_EQ(c.error, markup.GetLastErrorMessage()) << c.name;
        EXPECT_EQ("", markup.GetLastErrorLocation());
    }
}

}  // namespace
