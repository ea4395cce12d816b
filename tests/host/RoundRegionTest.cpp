#include "platform/RoundRegion.h"

#include <gtest/gtest.h>

using Platform::Rect;
using Platform::RoundRegionSpans;
using Platform::Size;

namespace {

bool Covers(const std::vector<Rect>& spans, int x, int y)
{
    for (const Rect& span : spans) {
        if (span.Contains({x, y})) return true;
    }
    return false;
}

TEST(RoundRegionTest, CornersAreCutAndTheRestIsCovered)
{
    const auto spans = RoundRegionSpans(301, 201, Size{6, 6});
    EXPECT_FALSE(Covers(spans, 0, 0));
    EXPECT_FALSE(Covers(spans, 300, 200));
    EXPECT_TRUE(Covers(spans, 3, 0));
    EXPECT_TRUE(Covers(spans, 0, 3));
    EXPECT_TRUE(Covers(spans, 150, 100));
    EXPECT_LT(spans.size(), 12u);  // equal rows are merged
}

TEST(RoundRegionTest, DegenerateInputs)
{
    EXPECT_TRUE(RoundRegionSpans(0, 10, Size{4, 4}).empty());
    EXPECT_EQ(RoundRegionSpans(10, 10, Size{}), (std::vector<Rect>{{0, 0, 10, 10}}));
    // An ellipse larger than the window is cut to it and still leaves the middle row.
    const auto spans = RoundRegionSpans(10, 10, Size{100, 100});
    EXPECT_TRUE(Covers(spans, 5, 5));
    EXPECT_FALSE(Covers(spans, 0, 0));
}

}  // namespace
