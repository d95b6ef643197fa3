#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace qx {
namespace {

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    const std::string name = "quorisdex-test-" + std::to_string(::getpid());
    {
        SingleInstance first(name);
        ASSERT_TRUE(first.acquired());
        SingleInstance second(name);
        EXPECT_FALSE(second.acquired());
    }
    SingleInstance again(name);
    EXPECT_TRUE(again.acquired());
}

}  // namespace
}  // namespace qx
