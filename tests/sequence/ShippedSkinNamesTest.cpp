#include "skinui/CDialogBuilder.h"
#include "skinui/CManagerUI.h"
#include "skinui/CSequenceButtonUI.h"
#include "skinui/CSequenceLabelUI.h"
#include "skinui/IDialogBuilderCallback.h"
#include "tests/skinui/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The main window's builder callback for the two sequence elements.
class SequenceControls : public SkinUI::IDialogBuilderCallback {
public:
    SkinUI::CControlUI* CreateControl(std::string_view elementName) override
    {
        if (elementName == "SequenceLabel") return new SkinUI::CSequenceLabelUI;
        if (elementName == "SequenceButton") return new SkinUI::CSequenceButtonUI;
        return nullptr;
    }
};

class ShippedSkinNamesTest : public SkinTest::ProcessStateTest {
protected:
    void SetUp() override
    {
        ProcessStateTest::SetUp();
        ASSERT_TRUE(SkinUI::CResourceSettings::UseArchiveResource(147));
    }

    // Builds a skin file of the archive into the manager; false when it does not build.
    bool Build(const std::string& file, SkinUI::CManagerUI& manager)
    {
        SkinUI::CDialogBuilder builder;
        SkinUI::CControlUI* root = builder.Create(file, {}, &callback_, &manager);
        if (root == nullptr) ADD_FAILURE() << file << ": " << builder.GetLastErrorMessage();
        return root != nullptr && manager.AttachDialog(root);
    }

    SequenceControls callback_;
};

TEST_F(ShippedSkinNamesTest, EverySkinFileHasTheControlsItsWindowLooksUp)
{
    struct Window {
        const char* file;
        std::vector<const char*> names;
    };
    const std::vector<Window> windows = {
        {"MainWnd.xml",
         {"mainTabLt", "titleTabLt", "winCtn", "titleGrpCtn", "defaultInstallBtn", "customeBtn", "treatyCb",
          "treatyBtn", "tipLbl", "backBtn", "installDirEdit", "chDirBtn", "createDSCb", "createQSCb",
          "customeInstallBtn", "progressLb", "installPrg", "finishedLbl", "openProduceBtn", "minbtn", "closebtn"}},
        {"MessageBox1Wnd.xml", {"captionLbl", "textLbl", "closebtn"}},
        {"MessageBox2Wnd.xml", {"captionLbl", "textLbl", "closebtn"}},
        {"InstalledPathTipWnd.xml", {"okBtn", "cancelBtn", "closebtn"}},
        {"NetworkTipWnd.xml", {"okBtn", "cancelBtn", "closebtn"}},
        {"ExitTipWnd.xml", {"okBtn", "cancelBtn", "closebtn"}},
    };
    for (const Window& window : windows) {
        SkinUI::CManagerUI manager;
        ASSERT_TRUE(Build(window.file, manager));
        for (const char* name : window.names) EXPECT_NE(manager.FindControl(name), nullptr) << window.file << ": " << name;
    }
}

TEST_F(ShippedSkinNamesTest, ControlsHaveTheKindsTheWindowCodeCastsTo)
{
    SkinUI::CManagerUI manager;
    ASSERT_TRUE(Build("MainWnd.xml", manager));
    const std::vector<std::pair<const char*, const char*>> kinds = {
        {"mainTabLt", "TabLayout"},   {"titleTabLt", "TabLayout"},  {"winCtn", "VerticalLayout"},
        {"treatyCb", "CheckBox"},     {"treatyBtn", "CheckBox"},    {"createDSCb", "CheckBox"},
        {"createQSCb", "CheckBox"},   {"installDirEdit", "Edit"},   {"installPrg", "Progress"},
        {"progressLb", "Label"},      {"tipLbl", "Label"},          {"finishedLbl", "SequenceLabel"},
        {"defaultInstallBtn", "Button"}, {"openProduceBtn", "Button"},
    };
    for (const auto& [name, kind] : kinds) {
        SkinUI::CControlUI* control = manager.FindControl(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_NE(control->GetInterface(kind), nullptr) << name << " is not a " << kind;
    }
}

TEST_F(ShippedSkinNamesTest, EveryFinishFrameIsInTheArchive)
{
    SkinUI::CManagerUI manager;
    ASSERT_TRUE(Build("MainWnd.xml", manager));
    auto* finished = static_cast<SkinUI::CSequenceLabelUI*>(manager.FindControl("finishedLbl")->GetInterface("SequenceLabel"));
    ASSERT_NE(finished, nullptr);
    SkinUI::CFrameSequence& sequence = finished->GetSequence();
    EXPECT_EQ(sequence.GetCount(), 34);
    EXPECT_EQ(sequence.GetPattern(), "res\\mainWnd\\finishedAnimate\\%.3d.png");
    for (int frame = 0; frame < sequence.GetCount(); ++frame) {
        EXPECT_NE(manager.GetImageEx(sequence.FrameName(frame)), nullptr) << sequence.FrameName(frame);
    }
}

}  // namespace
