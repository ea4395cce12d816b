#include "skinui/CDialogBuilder.h"

#include "platform/ResourceTable.h"
#include "skinui/CControlUI.h"
#include "skinui/CManagerUI.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ShippedSkinTest : public SkinTest::ProcessStateTest {};

TEST_F(ShippedSkinTest, IsLinkedInWithTheIcon)
{
    EXPECT_FALSE(Platform::ResourceTable::Find("ZIPRES", 147).empty());
    EXPECT_TRUE(Platform::ResourceTable::Find("ICON", 145).starts_with("\x89PNG"));
}

TEST_F(ShippedSkinTest, EveryWindowsSkinFileBuilds)
{
    ASSERT_TRUE(SkinUI::CResourceSettings::UseArchiveResource(147));
    // Named as the windows name them, whatever the case in the archive.
    for (const char* file : {"MainWnd.xml", "MessageBox1Wnd.xml", "MessageBox2Wnd.xml", "InstalledPathTipWnd.xml",
                             "NetworkTipWnd.xml", "ExitTipWnd.xml"}) {
        SkinUI::CManagerUI manager;
        SkinUI::CDialogBuilder builder;
        std::unique_ptr<SkinUI::CControlUI> root(builder.Create(file, {}, nullptr, &manager));
        EXPECT_NE(nullptr, root) << file << ": " << builder.GetLastErrorMessage() << " at "
                                 << builder.GetLastErrorLocation();
        EXPECT_NE(nullptr, manager.GetResources().GetFont(0)) << file;
    }
}

}  // namespace
