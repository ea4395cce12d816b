#include "skinui/CXmlMarkup.h"

#include "SkinFuzz.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace {

using SkinUI::CXmlMarkup;
using SkinUI::CXmlNode;

// Reads every node and attribute; answers the number of nodes.
int Walk(const CXmlNode& node)
{
    int nodes = 0;
    for (CXmlNode child = node; child.IsValid(); child = child.GetSibling()) {
        ++nodes;
        EXPECT_FALSE(child.GetName().empty());
        for (int i = 0; i < child.GetAttributeCount(); ++i) {
            EXPECT_TRUE(child.GetAttributeValue(child.GetAttributeName(i)).has_value());
        }
        nodes += Walk(child.GetChild());
    }
    return nodes;
}

void ParseAndWalk(const std::string& text)
{
    for (bool preserve : {true, false}) {
        CXmlMarkup markup;
        markup.SetPreserveWhitespace(preserve);
        if (markup.Load(text)) {
            Walk(markup.GetRoot());
        } else {
            EXPECT_FALSE(markup.GetLastErrorMessage().empty());
            EXPECT_LE(markup.GetLastErrorLocation().size(), CXmlMarkup::kMaxErrorContextChars * 4);
        }
        for (int encoding : {CXmlMarkup::kEncodingUnicode, CXmlMarkup::kEncodingAnsi}) {
            if (markup.LoadFromMem(text, encoding)) Walk(markup.GetRoot());
        }
    }
}

TEST(MarkupFuzzTest, MutatedSkinsNeverBreakTheReader)
{
    const std::string seed = SkinTest::ReadFixture(SKIN_FIXTURE_DIR "/exitTipWnd.xml");
    SkinTest::SkinMutator mutator(20261211);
    for (int i = 0; i < 5000; ++i) ParseAndWalk(mutator.Mutate(seed));
}

TEST(MarkupFuzzTest, RandomTextNeverBreaksTheReader)
{
    SkinTest::SkinMutator mutator(7);
    for (int i = 0; i < 5000; ++i) ParseAndWalk(mutator.RandomText(200));
}

}  // namespace
