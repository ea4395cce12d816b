#include "skinui/CDialogBuilder.h"

#include "platform/HeadlessWindowSystem.h"
#include "platform/ResourceTable.h"
#include "skinui/CContainerUI.h"
#include "skinui/CControlUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CTabLayoutUI.h"
#include "skinui/IDialogBuilderCallback.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using SkinUI::CControlUI;
using SkinUI::CDialogBuilder;
using SkinUI::IContainerUI;

IContainerUI* Container(CControlUI* control)
{
    return control == nullptr ? nullptr : static_cast<IContainerUI*>(control->GetInterface("IContainer"));
}

std::vector<std::string> ChildNames(CControlUI* control)
{
    std::vector<std::string> names;
    IContainerUI* container = Container(control);
    for (int i = 0; container != nullptr && i < container->GetCount(); ++i) {
        names.push_back(container->GetItemAt(i)->GetName());
    }
    return names;
}

// Answers "Custom" elements with a plain control and counts what it was asked.
class CustomControls : public SkinUI::IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view name) override
    {
        asked.emplace_back(name);
        return name == "Custom" ? new CControlUI : nullptr;
    }
    std::vector<std::string> asked;
};

class DialogBuilderTest : public SkinTest::ProcessStateTest {
protected:
    void SetUp() override
    {
        ProcessStateTest::SetUp();
        auto system = std::make_unique<Platform::HeadlessWindowSystem>();
        headless_ = system.get();
        Platform::WindowSystem::Select(std::move(system));
        Platform::WindowParams params;
        params.rect = {10, 20, 110, 120};
        // Answers every message with 1, which lets creation go ahead.
        window_ = headless_->CreateWindow(params, [](uint32_t, uintptr_t, intptr_t) -> intptr_t { return 1; });
        ASSERT_NE(0u, window_);
        manager_ = std::make_unique<SkinUI::CManagerUI>();
        manager_->Init(window_);
    }
    void TearDown() override
    {
        manager_.reset();
        if (window_ != 0) headless_->DestroyWindow(window_);
        Platform::WindowSystem::Select(nullptr);
        ProcessStateTest::TearDown();
    }

    // Builds markup into the manager and attaches the tree there.
    CControlUI* Build(const std::string& markup, SkinUI::IDialogBuilderCallback* callback = nullptr)
    {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(markup, {}, callback, manager_.get());
        if (root != nullptr) manager_->AttachDialog(root);
        return root;
    }

    Platform::HeadlessWindowSystem* headless_ = nullptr;
    Platform::WindowId window_ = 0;
    std::unique_ptr<SkinUI::CManagerUI> manager_;
};

TEST_F(DialogBuilderTest, BuildsTheTreeOfTheRootsChildren)
{
    CControlUI* root = Build("<Window><!-- 标题栏 --><VerticalLayout name=\"winCtn\">"
                             "<Label name=\"tipLbl\" text=\"hi\"/><Unknown name=\"u\"><Button name=\"inner\"/></Unknown>"
                             "<HBox name=\"row\"><Button name=\"okBtn\"/><Option name=\"o\"/><CheckBox name=\"c\"/>"
                             "</HBox><Progress name=\"installPrg\"/><Text name=\"t\"/><Control name=\"x\"/>"
                             "<Container name=\"y\"/><VBox name=\"v\"/><TabLayout name=\"tab\"/><Edit name=\"e\"/>"
                             "<horizontallayout name=\"lower\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ("winCtn", root->GetName());
    EXPECT_EQ((std::vector<std::string>{"tipLbl", "row", "installPrg", "t", "x", "y", "v", "tab", "e", "lower"}),
              ChildNames(root));
    EXPECT_EQ((std::vector<std::string>{"okBtn", "o", "c"}), ChildNames(manager_->FindControl("row")));
    EXPECT_EQ("hi", manager_->FindControl("tipLbl")->GetText());
    EXPECT_EQ(nullptr, manager_->FindControl("inner"));
    EXPECT_EQ("Label", manager_->FindControl("tipLbl")->GetClass().substr(0, 5));
}

TEST_F(DialogBuilderTest, AControlInsideANonContainerIsDropped)
{
    CControlUI* root = Build("<Window><VBox><Label name=\"a\"><Button name=\"b\"/><Button name=\"c\"/></Label>"
                             "<Button name=\"d\"/></VBox></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ((std::vector<std::string>{"a", "d"}), ChildNames(root));
    EXPECT_EQ(nullptr, manager_->FindControl("b"));
    EXPECT_EQ(nullptr, manager_->FindControl("c"));
}

TEST_F(DialogBuilderTest, AttributesApplyInDocumentOrderAfterTheChildren)
{
    CControlUI* root = Build("<Window><Default name=\"Button\" value=\"text=&quot;default&quot; "
                             "bkcolor=&quot;#FF000001&quot;\"/><VBox>"
                             "<Label name=\"twice\" bkcolor=\"#FF111111\" bkcolor=\"#FF222222\"/>"
                             "<Button name=\"plain\"/><Button name=\"own\" text=\"mine\"/>"
                             "<TabLayout name=\"tabs\" selectedid=\"2\"><Control/><Control/><Control/></TabLayout>"
                             "</VBox></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(0xFF222222u, manager_->FindControl("twice")->GetBkColor());
    EXPECT_EQ("default", manager_->FindControl("plain")->GetText());
    EXPECT_EQ(0xFF000001u, manager_->FindControl("plain")->GetBkColor());
    EXPECT_EQ("mine", manager_->FindControl("own")->GetText());
    auto* tabs = static_cast<SkinUI::CTabLayoutUI*>(manager_->FindControl("tabs"));
    ASSERT_NE(nullptr, tabs);
    EXPECT_EQ(2, tabs->GetCurSel());
}

TEST_F(DialogBuilderTest, WindowAttributesGoToTheManager)
{
    ASSERT_NE(nullptr, Build("<Window size=\"300,160\" caption=\"0,0,0,30\" roundcorner=\"4,4\" showshadow=\"true\" "
                             "showshadow=\"false\" shadowsize=\"\" mininfo=\"0,0\"><VBox/></Window>"));
    EXPECT_EQ(300, manager_->GetInitSize().cx);
    EXPECT_EQ(160, manager_->GetInitSize().cy);
    EXPECT_EQ((SkinUI::UIRect{0, 0, 0, 30}), manager_->GetCaptionRect());
    EXPECT_EQ(4, manager_->GetRoundCorner().cx);
    ASSERT_NE(nullptr, manager_->GetWindowCustomAttribute("showshadow"));
    EXPECT_EQ("true", *manager_->GetWindowCustomAttribute("showshadow"));
    EXPECT_EQ(nullptr, manager_->GetWindowCustomAttribute("shadowsize"));
    EXPECT_EQ(nullptr, manager_->GetWindowCustomAttribute("ShowShadow"));
    const Platform::Rect rect = headless_->GetWindowRect(window_);
    EXPECT_EQ(300, rect.right - rect.left);

    ASSERT_NE(nullptr, Build("<window caption=\"0,0\"><VBox/></window>"));
    EXPECT_EQ((SkinUI::UIRect{0, 0, 0, 0}), manager_->GetCaptionRect());

    // Not a Window root, or no native window yet: the attributes stay unused.
    ASSERT_NE(nullptr, Build("<Dialog caption=\"1,2,3,4\"><VBox/></Dialog>"));
    EXPECT_EQ((SkinUI::UIRect{0, 0, 0, 0}), manager_->GetCaptionRect());
    SkinUI::CManagerUI unbound;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create("<Window caption=\"1,2,3,4\"><VBox/></Window>", {}, nullptr, &unbound));
    EXPECT_NE(nullptr, root);
    EXPECT_EQ((SkinUI::UIRect{0, 0, 0, 0}), unbound.GetCaptionRect());
}

TEST_F(DialogBuilderTest, ResourceElementsRegisterFirst)
{
    TempFolder folder;
    SkinUI::CResourceSettings::SetResourcePath(folder.Path());
    static const std::string archive = SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE);
    SkinUI::CResourceSettings::SetArchiveFromMemory(archive.data(), archive.size());
    ASSERT_NE(nullptr, Build("<Window><VBox/>"
                             "<Font id=\"1\" name=\"Serif\" size=\"18\" BOLD=\"TRUE\" default=\"true\"/>"
                             "<Font id=\"2\" name=\"Mono\" shared=\"true\"/>"
                             "<Font id=\"-1\" name=\"Ignored\"/><Font id=\"3\"/><Font name=\"NoId\"/>"
                             "<Image name=\"res\\mainWnd\\cb1.png\" mask=\"FFFF0000\"/>"
                             "<Image name=\"80FF0000\" restype=\"*COLOR*\" shared=\"true\"/><Image/>"
                             "<MultiLanguage id=\"7\" value=\"七\"/><MultiLanguage id=\"8\"/>"
                             "<MultiLanguage value=\"none\"/></Window>"));
    SkinUI::CSkinResources& resources = manager_->GetResources();
    const SkinUI::TFontEntry* font = resources.GetFont(1);
    EXPECT_EQ("Serif", font->face);
    EXPECT_EQ(18, font->size);
    EXPECT_TRUE(font->bold);
    EXPECT_EQ(font->face, resources.GetFont(-1)->face);
    EXPECT_EQ(12, resources.GetFont(2)->size);
    EXPECT_EQ("Mono", SkinUI::CSkinResources().GetFont(2)->face);
    EXPECT_EQ(resources.GetDefaultFont(), resources.GetFont(3));

    const SkinUI::TImageEntry* image = resources.FindImage("res\\mainWnd\\cb1.png");
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(0u, image->pixels[0]);  // the opaque red pixel matched the mask
    EXPECT_NE(nullptr, SkinUI::CSkinResources().FindImage("80FF0000"));

    EXPECT_EQ("七", SkinUI::CMultiLanguage::GetString(7));
    EXPECT_FALSE(SkinUI::CMultiLanguage::GetString(8).has_value());
}

TEST_F(DialogBuilderTest, CustomElementsComeFromTheCallback)
{
    CustomControls callback;
    CControlUI* root = Build("<Window><VBox><Custom name=\"c\"/><Mystery name=\"m\"><Custom/></Mystery>"
                             "<Button name=\"b\"/></VBox></Window>",
                             &callback);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ((std::vector<std::string>{"c", "b"}), ChildNames(root));
    EXPECT_EQ((std::vector<std::string>{"Custom", "Mystery"}), callback.asked);
}

TEST_F(DialogBuilderTest, SourcesOfTheSkin)
{
    static const std::string archive = SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE);
    SkinUI::CResourceSettings::SetArchiveFromMemory(archive.data(), archive.size());
    CControlUI* fromArchive = Build("ExitTipWnd.xml");
    ASSERT_NE(nullptr, fromArchive);
    EXPECT_EQ((std::vector<std::string>{"tipLbl", "okBtn"}), ChildNames(fromArchive));

    static const std::string markup = "<Window><HBox name=\"fromResource\"/></Window>";
    Platform::ResourceTable::Register("xml", 501, markup.data(), markup.size());
    CControlUI* fromResource = Build("501");
    EXPECT_EQ(nullptr, fromResource);  // a resource needs its type
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> typed(builder.Create("501", "xml", nullptr, manager_.get()));
    ASSERT_NE(nullptr, typed);
    EXPECT_EQ("fromResource", typed->GetName());

    CDialogBuilder failing;
    EXPECT_EQ(nullptr, failing.Create("<Window><VBox a='1'/></Window>", {}, nullptr, manager_.get()));
    EXPECT_EQ("Expected attribute value", failing.GetLastErrorMessage());
    EXPECT_EQ("'1'/></Window>", failing.GetLastErrorLocation());
    EXPECT_EQ(nullptr, failing.Create("missing.xml", {}, nullptr, manager_.get()));
    EXPECT_EQ("Could not find ziped file", failing.GetLastErrorMessage());
    EXPECT_EQ(nullptr, failing.Create("<Window/>", {}, nullptr, manager_.get()));
    EXPECT_EQ(nullptr, failing.Create("", {}, nullptr, manager_.get()));
}

TEST_F(DialogBuilderTest, Include)
{
    TempFolder folder;
    folder.Write("row.xml", "<Include><Font id=\"4\" name=\"Included\"/><Button name=\"r\"/><Label name=\"s\"/>"
                            "</Include>");
    folder.Write("self.xml", "<Include><Include source=\"self.xml\" count=\"2\"/><Button name=\"self\"/></Include>");
    SkinUI::CResourceSettings::SetResourcePath(folder.Path());
    CControlUI* root = Build("<Window><VBox><Include source=\"row.xml\" count=\"2\"/><Include source=\"row.xml\" "
                             "count=\"0\"/><Include source=\"missing.xml\"/><Include/><Include count=\"3\"/>"
                             "<Include source=\"row.xml\"/><Button name=\"end\"/></VBox></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ((std::vector<std::string>{"r", "s", "r", "s", "r", "s", "end"}), ChildNames(root));
    EXPECT_EQ("Included", manager_->GetResources().GetFont(4)->face);

    // An Include of itself, or a huge count, ends at the bound on included documents.
    CControlUI* self = Build("<Window><VBox><Include source=\"self.xml\"/></VBox></Window>");
    ASSERT_NE(nullptr, self);
    EXPECT_EQ(1000, Container(self)->GetCount());
    CControlUI* many = Build("<Window><VBox><Include source=\"row.xml\" count=\"2000000000\"/>"
                             "<Include source=\"row.xml\"/></VBox></Window>");
    ASSERT_NE(nullptr, many);
    EXPECT_EQ(2002, Container(many)->GetCount());
}

TEST_F(DialogBuilderTest, WithoutAParentOnlyTheFirstTopLevelControlSurvives)
{
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> first(
        builder.Create("<Window><Button name=\"one\"/><Button name=\"two\"/><Include source=\"&lt;x&gt;&lt;Label/&gt;&lt;/x&gt;\"/></Window>",
                       {}, nullptr, manager_.get()));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("one", first->GetName());
}

TEST_F(DialogBuilderTest, BuildsIntoAGivenParent)
{
    SkinUI::CContainerUI parent;
    CDialogBuilder builder;
    CControlUI* first = builder.Create("<Window><Button name=\"one\"/><Label name=\"two\"/></Window>", {}, nullptr,
                                       manager_.get(), &parent);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("one", first->GetName());
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), ChildNames(&parent));

    SkinUI::CControlUI notAContainer;
    EXPECT_EQ(nullptr, builder.Create("<Window><Button/></Window>", {}, nullptr, manager_.get(), &notAContainer));
}

}  // namespace
