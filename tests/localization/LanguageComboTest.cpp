#include "app/Localization.h"

#include "skinui/CLabelUI.h"
#include "tests/host/HostTestSupport.h"
#include "tests/localization/LocalizationTestSupport.h"
#include "tests/skinui/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using LocalizationTest::EnvironmentGuard;
constexpr auto Text = LocalizationTest::TableText;

// The smallest control that offers the combo box hooks: items 0 to 13.
class FakeLanguageCombo : public SkinUI::CControlUI, public ILanguageCombo {
public:
    void* GetInterface(std::string_view name) override
    {
        return name == kInterfaceName ? static_cast<ILanguageCombo*>(this) : CControlUI::GetInterface(name);
    }
    int GetCurSel() const override { return selected; }
    bool SelectItem(int index, bool, bool notify) override
    {
        if (index < 0 || index >= Localization::kLanguageCount) return false;
        if (index == selected) return true;
        selected = index;
        if (notify && GetManager()) GetManager()->SendNotify(this, "itemselect");
        return true;
    }

    int selected = -1;
};

constexpr const char* kSkinWithCombo = R"(<Window size="400,200">
  <VerticalLayout>
    <LanguageCombo name="languageCombo" height="30" />
    <HorizontalLayout height="30">
      <Label name="lbLanguage" text="%{2}" textpadding="4,0,0,0" width="10" />
      <Button name="backBtn" text="%{1}" width="10" />
      <Control />
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

constexpr const char* kSkinWithoutCombo = R"(<Window size="400,200">
  <VerticalLayout><Label name="lbInstallPath" text="%{1}" /></VerticalLayout>
</Window>)";

// A main window stand-in that routes "itemselect" the way the main window does.
class LanguageFrame : public SkinUI::CSkinFrame {
public:
    explicit LanguageFrame(const char* skin)
        : CSkinFrame(SkinUI::TSkinFrameParams{SkinUI::ResourceKind::File, 0, "", skin, "LanguageFrame"})
    {
    }
    SkinUI::CControlUI* CreateControl(std::string_view name) override
    {
        return name == "LanguageCombo" ? new FakeLanguageCombo : nullptr;
    }
    void Notify(SkinUI::TNotifyEvent& msg) override
    {
        if (msg.type == "itemselect" && msg.sender && msg.sender->GetName() == ILanguageCombo::kControlName) {
            ++itemSelects;
            Localization::OnLanguageItemSelect(paintManager_);
        }
        CSkinFrame::Notify(msg);
    }

    FakeLanguageCombo* Combo() { return static_cast<FakeLanguageCombo*>(paintManager_.FindControl("languageCombo")); }
    SkinUI::CLabelUI* Label(const char* name)
    {
        return static_cast<SkinUI::CLabelUI*>(paintManager_.FindControl(name)->GetInterface("Label"));
    }

    int itemSelects = 0;
};

class LanguageComboTest : public HostTest::HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        LocalizationTest::ClearLanguageState();
        SkinUI::CResourceSettings::SetResourcePath(LocalizationTest::kArchiveDir);
        SkinUI::CResourceSettings::SetArchiveFromFile("texts.7z", true);
    }
    void TearDown() override
    {
        if (frame_) frame_->Close();
        PumpIdle();
        frame_.reset();
        LocalizationTest::ClearLanguageState();
        HeadlessTest::TearDown();
    }

    LanguageFrame& Open(const char* skin)
    {
        frame_.emplace(skin);
        EXPECT_NE(frame_->Create(0, "Installer", SkinUI::UI_WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0), 0u);
        return *frame_;
    }

    // The width a label must have for its text in the current language.
    int FittedWidth(SkinUI::CLabelUI& label)
    {
        SkinUI::CManagerUI& manager = frame_->GetManager();
        const std::string text = manager.ReplaceTokens(label.GetText());
        return manager.MeasureText(label.GetFont(), text, label.GetTextStyle(), 0).cx + label.GetTextPadding().left;
    }

    std::optional<LanguageFrame> frame_;
    EnvironmentGuard environment_;
};

TEST_F(LanguageComboTest, LanguageOptionFiveSelectsGermanAndRefitsTheLabels)
{
    LaunchSettings::Instance().ApplyCommandLine({"installer", "-language=5"});
    LanguageFrame& frame = Open(kSkinWithCombo);
    Localization::SelectInitialLanguage(frame.GetManager());

    EXPECT_EQ(frame.Combo()->GetCurSel(), 5);
    EXPECT_EQ(frame.itemSelects, 1);
    EXPECT_EQ(Text(1), "Installieren");
    EXPECT_EQ(LaunchSettings::Instance().LanguageIndex, 5);
    EXPECT_EQ(Localization::CurrentLanguageTag(frame.GetManager()), "de-DE");
    for (const char* name : {"lbLanguage", "backBtn"}) {
        SkinUI::CLabelUI& label = *frame.Label(name);
        EXPECT_GT(label.GetFixedWidth(), 40) << name;
        EXPECT_EQ(label.GetFixedWidth(), FittedWidth(label)) << name;
    }
}

TEST_F(LanguageComboTest, LanguageOptionOutsideTheTableLoadsEnglishAndStoresZero)
{
    LaunchSettings::Instance().ApplyCommandLine({"installer", "-language=20"});
    LanguageFrame& frame = Open(kSkinWithCombo);
    Localization::SelectInitialLanguage(frame.GetManager());
    EXPECT_EQ(Text(1), "Install");
    EXPECT_EQ(LaunchSettings::Instance().LanguageIndex, 0);
    EXPECT_EQ(Localization::CurrentLanguageTag(frame.GetManager()), "en-US");
}

TEST_F(LanguageComboTest, WithoutAnOptionTheSystemLanguageIsSelected)
{
    environment_.Set("LC_ALL", nullptr);
    environment_.Set("LC_MESSAGES", "ja_JP.UTF-8");
    LanguageFrame& frame = Open(kSkinWithCombo);
    Localization::SelectInitialLanguage(frame.GetManager());
    EXPECT_EQ(frame.Combo()->GetCurSel(), 9);
    EXPECT_EQ(Text(2), "言語");
    EXPECT_EQ(LaunchSettings::Instance().LanguageIndex, 9);
}

TEST_F(LanguageComboTest, ItemSelectAppliesTheUsersChoice)
{
    LaunchSettings::Instance().ApplyCommandLine({"installer", "-language=0"});
    LanguageFrame& frame = Open(kSkinWithCombo);
    Localization::SelectInitialLanguage(frame.GetManager());
    const int englishWidth = frame.Label("backBtn")->GetFixedWidth();
    frame.Combo()->SelectItem(6, true, true);
    EXPECT_EQ(Text(1), "Installer");
    EXPECT_EQ(LaunchSettings::Instance().LanguageIndex, 6);
    EXPECT_EQ(Localization::CurrentLanguageTag(frame.GetManager()), "fr-FR");
    EXPECT_GT(frame.Label("backBtn")->GetFixedWidth(), englishWidth);
}

TEST_F(LanguageComboTest, WithoutAComboBoxTheHooksDoNothing)
{
    LaunchSettings::Instance().ApplyCommandLine({"installer", "-language=5"});
    LanguageFrame& frame = Open(kSkinWithoutCombo);
    Localization::SelectInitialLanguage(frame.GetManager());
    EXPECT_EQ(Text(1), "<none>");
    EXPECT_EQ(Localization::CurrentLanguageTag(frame.GetManager()), "");
    EXPECT_EQ(LaunchSettings::Instance().LanguageIndex, 5);
}

TEST_F(LanguageComboTest, InstallationLanguageComesFromItsConfigIni)
{
    struct Case {
        const char* config;  // nullptr: no config.ini at all
        int index;
        const char* text1;
    };
    const Case cases[] = {
        {"[Install]\nLanguage=ja-JP\n", 9, "インストール"},
        {"[Install]\nOther=1\n", 0, "Install"},
        {"[Install]\nLanguage=xx-XX\n", 0, "Install"},
        {nullptr, 0, "Install"},
    };
    LanguageFrame& frame = Open(kSkinWithoutCombo);
    for (const Case& c : cases) {
        TempFolder installation;
        if (c.config) installation.Write("config.ini", c.config);
        SkinUI::CMultiLanguage::RemoveAll();
        EXPECT_EQ(Localization::SelectInstallationLanguage(installation.Path(), frame.GetManager()), c.index)
            << (c.config ? c.config : "none");
        EXPECT_EQ(Text(1), c.text1);
    }
}

TEST_F(LanguageComboTest, InstallationLanguageIsSelectedInTheComboBox)
{
    LanguageFrame& frame = Open(kSkinWithCombo);
    TempFolder installation;
    installation.Write("config.ini", "[Install]\nLanguage=ja-JP\n");
    EXPECT_EQ(Localization::SelectInstallationLanguage(installation.Path(), frame.GetManager()), 9);
    EXPECT_EQ(frame.Combo()->GetCurSel(), 9);
    EXPECT_EQ(LaunchSettings::Instance().LanguageIndex, 9);
    EXPECT_EQ(Localization::CurrentLanguageTag(frame.GetManager()), "ja-JP");
}

}  // namespace
