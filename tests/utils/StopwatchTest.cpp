#include "utils/Stopwatch.h"

#include <gtest/gtest.h>

namespace {

TEST(Stopwatch, ZeroUntilStartedAndAfterStop) {
    Utils::Stopwatch watch;
    EXPECT_EQ(watch.Elapsed(), 0.0f);
    watch.Start();
    EXPECT_TRUE(watch.running);
    EXPECT_GE(watch.Elapsed(), 0.0f);
    watch.Stop();
    EXPECT_EQ(watch.ElapsedAt(watch.startTick + 5000), 0.0f);
}

TEST(Stopwatch, TickWrapIsHarmless) {
    Utils::Stopwatch watch;
    watch.running = true;
    watch.startTick = 0xFFFFFF00u;
    EXPECT_FLOAT_EQ(watch.ElapsedAt(0x100u), 0.512f);
    EXPECT_FLOAT_EQ(watch.ElapsedAt(0xFFFFFF00u + 2500u), 2.5f);
}

}  // namespace
