#include <windows.h>

#include <gtest/gtest.h>

// Every other test assumes the product's setting: the ANSI code page is 936.
TEST(Cp936Test, TestsRunUnderCodePage936) {
    EXPECT_EQ(GetACP(), 936u);
}
