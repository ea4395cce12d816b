#include "skinui/CDialogBuilder.h"

#include "skinui/CControlUI.h"
#include "skinui/CManagerUI.h"
#include "SkinFuzz.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char kRichSkin[] =
    "<Window size=\"600,400\" caption=\"0,0,0,35\" roundcorner=\"4,4\" showshadow=\"true\">"
    "<Font id=\"0\" name=\"微软雅黑\" size=\"14\" bold=\"true\" default=\"true\"/>"
    "<Default name=\"Button\" value=\"textcolor=&quot;#FF333333&quot; height=&quot;30&quot;\"/>"
    "<Image name=\"FF00FF00\" restype=\"*COLOR*\"/><MultiLanguage id=\"1\" value=\"安装\"/>"
    "<VerticalLayout name=\"winCtn\" bkcolor=\"#FFFFFFFF\" inset=\"1,1,1,1\">"
    "<HorizontalLayout height=\"35\"><Label name=\"title\" text=\"%{1}\" float=\"true\" pos=\"10,0,200,35\"/>"
    "<Button name=\"closeBtn\" width=\"30\" normalimage=\"file='res\\close.png' source='0,0,30,30'\"/>"
    "</HorizontalLayout><TabLayout name=\"mainTabLt\" selectedid=\"1\"><VBox><CheckBox name=\"treatyCb\"/>"
    "<Edit name=\"installDirEdit\" text=\"/opt\"/></VBox><VBox><Progress name=\"installPrg\" min=\"0\" "
    "max=\"100\" value=\"40\"/><Option name=\"o\" group=\"g\" selected=\"true\"/><Text text=\"t\"/></VBox>"
    "</TabLayout><Include source=\"missing.xml\" count=\"2\"/></VerticalLayout></Window>";

class BuilderFuzzTest : public SkinTest::ProcessStateTest {};

TEST_F(BuilderFuzzTest, MutatedSkinsNeverBreakTheBuilder)
{
    const std::string seeds[] = {kRichSkin, SkinTest::ReadFixture(SKIN_FIXTURE_DIR "/exitTipWnd.xml")};
    SkinTest::SkinMutator mutator(42);
    for (int i = 0; i < 3000; ++i) {
        SkinUI::CManagerUI manager;
        SkinUI::CDialogBuilder builder;
        std::unique_ptr<SkinUI::CControlUI> root(
            builder.Create(mutator.Mutate(seeds[i % 2]), {}, nullptr, &manager));
        if (root == nullptr) continue;
        EXPECT_TRUE(builder.GetLastErrorMessage().empty());
    }
}

}  // namespace
