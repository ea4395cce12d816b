#include "utils/Pipe.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(Pipe, EndsAreNotInheritedAndCloseOnce) {
    Utils::Pipe pipe;
    ASSERT_GE(pipe.ReadEnd(), 0);
    ASSERT_GE(pipe.WriteEnd(), 0);
    EXPECT_TRUE(::fcntl(pipe.ReadEnd(), F_GETFD) & FD_CLOEXEC);
    EXPECT_TRUE(::fcntl(pipe.WriteEnd(), F_GETFD) & FD_CLOEXEC);
    const int write = pipe.WriteEnd();
    pipe.CloseWrite();
    EXPECT_EQ(pipe.WriteEnd(), -1);
    EXPECT_EQ(::fcntl(write, F_GETFD), -1);
    pipe.CloseWrite();  // a second close must not hit a descriptor reused meanwhile
    char byte;
    EXPECT_EQ(::read(pipe.ReadEnd(), &byte, 1), 0);  // no writer left: end of data
}

}  // namespace
