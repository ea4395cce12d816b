#include "PngImage.h"
#include "SkinFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>

namespace {

// Image attributes of the controls the skins use.
const std::set<std::string> kImageAttributes = {
    "bkimage",       "normalimage",   "hotimage",         "pushedimage", "focusedimage", "disabledimage",
    "selectedimage", "selectedhotimage", "foreimage",     "hotforeimage", "fivestatusimage"};

struct ImageReference {
    std::string file;
    std::string dest;  // "" when the image fills the control
    bool nineGrid = false;
};

// Reads "res\x.png" or "file='res\x.png' dest='0,0,18,18' ..." the way the framework does.
ImageReference ParseDescriptor(const std::string& value)
{
    ImageReference reference;
    if (value.find('=') == std::string::npos) {
        reference.file = value;
        return reference;
    }
    static const std::regex pair(R"((\w+)\s*=\s*'([^']*)')");
    for (auto it = std::sregex_iterator(value.begin(), value.end(), pair); it != std::sregex_iterator(); ++it) {
        const std::string key = (*it)[1];
        if (key == "file")
            reference.file = (*it)[2];
        else if (key == "dest")
            reference.dest = (*it)[2];
        else if (key == "corner" || key == "scale9")
            reference.nineGrid = true;
    }
    return reference;
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + "," + std::to_string(height);
}

// "0,0,18,18" -> "18,18"
std::string DestSize(const std::string& dest)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    std::sscanf(dest.c_str(), "%d,%d,%d,%d", &left, &top, &right, &bottom);
    return SizeText(right - left, bottom - top);
}

class SkinFileTest : public testing::TestWithParam<std::string> {};

TEST_P(SkinFileTest, IsAWindowTheFrameworkCanRead)
{
    const auto root = SkinFiles::Load(GetParam());
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Name(), "Window");
    for (const char* attribute : {"size", "caption", "roundcorner", "showshadow", "shadowsize", "shadowsharpness",
                                  "shadowdarkness", "shadowposition", "shadowcolor"})
        EXPECT_TRUE(root->Attribute(attribute)) << attribute;

    root->Visit([](const XmlElement& element) {
        // The framework's element handle sees only the first 64 attributes.
        EXPECT_LE(element.Attributes().size(), 64u) << element.Name();
    });
}

TEST_P(SkinFileTest, ColoursCarryAlphaAndNamesAreUnique)
{
    const auto root = SkinFiles::Load(GetParam());
    ASSERT_TRUE(root);
    static const std::regex colour("#[0-9A-F]{8}");
    std::set<std::string> names;
    root->Visit([&](const XmlElement& element) {
        for (const auto& [key, value] : element.Attributes()) {
            // "#FFFFFF" would be read as alpha 0, which means "not set".
            if (key.find("color") != std::string::npos) {
                EXPECT_TRUE(std::regex_match(value, colour)) << element.Name() << " " << key << "=" << value;
            }
        }
        // A Font's "name" is its face, not a control name.
        const std::string* name = element.Attribute("name");
        if (name && element.Name() != "Font") {
            EXPECT_TRUE(names.insert(*name).second) << "duplicate control name " << *name;
        }
    });
}

TEST_P(SkinFileTest, FontsAreTheSkinFaceWithOneDefault)
{
    const auto root = SkinFiles::Load(GetParam());
    ASSERT_TRUE(root);
    std::set<std::string> ids;
    int defaults = 0;
    for (const XmlElement& child : root->Children()) {
        if (child.Name() != "Font")
            continue;
        ASSERT_TRUE(child.Attribute("id") && child.Attribute("size") && child.Attribute("name"));
        EXPECT_EQ(*child.Attribute("name"), "微软雅黑");
        EXPECT_TRUE(ids.insert(*child.Attribute("id")).second) << "font id " << *child.Attribute("id");
        const std::string* isDefault = child.Attribute("default");
        defaults += isDefault && *isDefault == "true";
    }
    EXPECT_EQ(defaults, 1);
    EXPECT_TRUE(ids.count("0"));
    root->Visit([&](const XmlElement& element) {
        if (const std::string* font = element.Attribute("font")) {
            EXPECT_TRUE(ids.count(*font)) << element.Name() << " uses missing font " << *font;
        }
    });
}

TEST_P(SkinFileTest, EveryImageExistsAndFitsItsControl)
{
    const auto root = SkinFiles::Load(GetParam());
    ASSERT_TRUE(root);
    int checked = 0;
    root->Visit([&](const XmlElement& element) {
        const std::string* width = element.Attribute("width");
        const std::string* height = element.Attribute("height");
        for (const auto& [key, value] : element.Attributes()) {
            if (!kImageAttributes.count(key))
                continue;
            const ImageReference reference = ParseDescriptor(value);
            ASSERT_FALSE(reference.file.empty()) << key << "=" << value;
            EXPECT_EQ(reference.file.find('/'), std::string::npos) << "skin paths use backslashes: " << value;
            const auto image = PngImage::Load(SkinFiles::TreePath(reference.file));
            ASSERT_TRUE(image) << "missing or unreadable " << reference.file;
            EXPECT_TRUE(image->HasVisiblePixel()) << reference.file;
            ++checked;

            const std::string actual = SizeText(image->Width(), image->Height());
            if (!reference.dest.empty()) {
                EXPECT_EQ(actual, DestSize(reference.dest)) << reference.file;
            } else if (!reference.nineGrid && width && height) {
                EXPECT_EQ(actual, *width + "," + *height) << reference.file;
            }
        }
    });
    EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(AllSkins, SkinFileTest, testing::ValuesIn(SkinFiles::Names()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

// Finds the element whose "name" is name, or null.
const XmlElement* FindNamed(const XmlElement& root, const std::string& name)
{
    const XmlElement* found = nullptr;
    root.Visit([&](const XmlElement& element) {
        const std::string* value = element.Attribute("name");
        if (!found && value && *value == name)
            found = &element;
    });
    return found;
}

TEST(SkinFiles, WindowSizesAndShadows)
{
    const struct {
        const char* file;
        const char* size;
        const char* round;
        const char* darkness;
        const char* colour;
    } cases[] = {
        {"mainWnd.xml", "600,400", "2,2", "20", "#26003B76"},
        {"MessageBox1Wnd.xml", "360,180", "2,2", "20", "#26003B76"},
        {"MessageBox2Wnd.xml", "360,150", "2,2", "20", "#26003B76"},
        {"InstalledPathTipWnd.xml", "400,180", "1,0", "10", "#FFEDF0F4"},
        {"NetworkTipWnd.xml", "360,180", "2,2", "20", "#26003B76"},
        {"exitTipWnd.xml", "360,180", "2,2", "20", "#26003B76"},
    };
    for (const auto& c : cases) {
        const auto root = SkinFiles::Load(c.file);
        ASSERT_TRUE(root);
        EXPECT_EQ(*root->Attribute("size"), c.size) << c.file;
        EXPECT_EQ(*root->Attribute("roundcorner"), c.round) << c.file;
        EXPECT_EQ(*root->Attribute("shadowdarkness"), c.darkness) << c.file;
        EXPECT_EQ(*root->Attribute("shadowcolor"), c.colour) << c.file;
        EXPECT_EQ(*root->Attribute("showshadow"), "true") << c.file;
        EXPECT_EQ(*root->Attribute("shadowsize"), "6") << c.file;
        EXPECT_EQ(*root->Attribute("shadowsharpness"), "10") << c.file;
        EXPECT_EQ(*root->Attribute("shadowposition"), "1,1") << c.file;
    }
}

// The controls and texts the installer's code looks up or shows.
TEST(SkinFiles, ControlsAndTextsTheProgramReliesOn)
{
    const struct {
        const char* file;
        const char* name;
        const char* text;  // null: no text to check
    } cases[] = {
        {"mainWnd.xml", "winCtn", nullptr},
        {"mainWnd.xml", "titleTabLt", nullptr},
        {"mainWnd.xml", "titleGrpCtn", nullptr},
        {"mainWnd.xml", "minbtn", nullptr},
        {"mainWnd.xml", "closebtn", nullptr},
        {"mainWnd.xml", "mainTabLt", nullptr},
        {"mainWnd.xml", "defaultInstallBtn", nullptr},
        {"mainWnd.xml", "customeBtn", nullptr},
        {"mainWnd.xml", "treatyCb", "已同意"},
        {"mainWnd.xml", "treatyBtn", "《用户许可协议》"},
        {"mainWnd.xml", "tipLbl", nullptr},
        {"mainWnd.xml", "backBtn", nullptr},
        {"mainWnd.xml", "installDirEdit", nullptr},
        {"mainWnd.xml", "chDirBtn", nullptr},
        {"mainWnd.xml", "createDSCb", "创建桌面快捷方式"},
        {"mainWnd.xml", "createQSCb", "添加到快速启动栏"},
        {"mainWnd.xml", "customeInstallBtn", nullptr},
        {"mainWnd.xml", "installingTipLbl", "正在安装中，请耐心等待..."},
        {"mainWnd.xml", "progressLb", "正在安装中:0%，请稍候..."},
        {"mainWnd.xml", "installPrg", nullptr},
        {"mainWnd.xml", "finishedLbl", nullptr},
        {"mainWnd.xml", "openProduceBtn", nullptr},
        {"MessageBox1Wnd.xml", "captionLbl", "CAPTION"},
        {"MessageBox1Wnd.xml", "textLbl", "TEXT"},
        {"MessageBox1Wnd.xml", "closebtn", nullptr},
        {"MessageBox2Wnd.xml", "captionLbl", "CAPTION"},
        {"MessageBox2Wnd.xml", "textLbl", "TEXT"},
        {"MessageBox2Wnd.xml", "closebtn", nullptr},
        {"InstalledPathTipWnd.xml", "okBtn", "安装最新版本"},
        {"InstalledPathTipWnd.xml", "cancelBtn", "打开软件"},
        {"InstalledPathTipWnd.xml", "closebtn", nullptr},
        {"NetworkTipWnd.xml", "okBtn", "重新安装"},
        {"NetworkTipWnd.xml", "cancelBtn", "稍后再试"},
        {"NetworkTipWnd.xml", "closebtn", nullptr},
        {"exitTipWnd.xml", "okBtn", "是"},
        {"exitTipWnd.xml", "cancelBtn", "否"},
        {"exitTipWnd.xml", "closebtn", nullptr},
    };
    std::map<std::string, std::optional<XmlElement>> skins;
    for (const auto& c : cases) {
        auto& root = skins[c.file];
        if (!root)
            root = SkinFiles::Load(c.file);
        ASSERT_TRUE(root) << c.file;
        const XmlElement* control = FindNamed(*root, c.name);
        ASSERT_TRUE(control) << c.file << " lacks " << c.name;
        if (c.text) {
            EXPECT_EQ(control->Attribute("text") ? *control->Attribute("text") : "", c.text) << c.name;
        }
    }
}

TEST(SkinFiles, TipDialogsShowTheirFixedTexts)
{
    const struct {
        const char* file;
        const char* title;
        const char* question;
    } cases[] = {
        {"InstalledPathTipWnd.xml", "温馨提示", "检测到计算机中已存在此软件，是否为您更新为最新版本？"},
        {"NetworkTipWnd.xml", "温馨提示", "当前网络环境较差，请在网络通畅时进行重试"},
        {"exitTipWnd.xml", "温馨提示", "您确定要退出安装吗？"},
    };
    for (const auto& c : cases) {
        const auto root = SkinFiles::Load(c.file);
        ASSERT_TRUE(root);
        std::set<std::string> texts;
        root->Visit([&](const XmlElement& element) {
            if (const std::string* text = element.Attribute("text"))
                texts.insert(*text);
        });
        EXPECT_TRUE(texts.count(c.title)) << c.file;
        EXPECT_TRUE(texts.count(c.question)) << c.file;
    }
}

TEST(SkinFiles, SequenceFramesAreCompleteAndNoMore)
{
    const auto root = SkinFiles::Load("mainWnd.xml");
    ASSERT_TRUE(root);
    const XmlElement* finished = FindNamed(*root, "finishedLbl");
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->Name(), "SequenceLabel");
    EXPECT_EQ(*finished->Attribute("sequenceloop"), "false");
    const std::string pattern = *finished->Attribute("sequencebkimage");
    const int count = std::stoi(*finished->Attribute("sequencecount"));
    EXPECT_EQ(count, 34);

    for (int index = 0; index <= count; ++index) {
        char name[260];
        std::snprintf(name, sizeof name, pattern.c_str(), index);
        const auto frame = PngImage::Load(SkinFiles::TreePath(name));
        if (index == count) {
            EXPECT_FALSE(frame) << "frame beyond the count: " << name;
            continue;
        }
        ASSERT_TRUE(frame) << name;
        EXPECT_EQ(SizeText(frame->Width(), frame->Height()), *finished->Attribute("width") + "," + *finished->Attribute("height"));
        EXPECT_TRUE(frame->HasVisiblePixel()) << name;
    }
}

}  // namespace
