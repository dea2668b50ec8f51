#include <gtest/gtest.h>
TEST(TextOpsTest, Placeholder) { SUCCEED(); }
