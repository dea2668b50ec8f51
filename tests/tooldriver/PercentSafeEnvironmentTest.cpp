// A percent sign of an argument is placed outside the quotes, before a quote: the text the command
// interpreter could take for a variable's name after it starts with a double quote. A variable of
// such a name, made by hand in the environment the program was started with, must not reach the
// interpreter. Real commands through the real interpreter.

#include "tooldriver/PercentSafeEnvironment.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/portable/TextOps.h"
#include "tooldriver/CommandRunner.h"

namespace {

TEST(PercentSafeEnvironmentTest, NoVariableWhoseNameStartsWithAQuoteReachesACommand) {
    ASSERT_TRUE(SetEnvironmentVariableA("\"b\"", "EXPANDED"));
    ASSERT_TRUE(SetEnvironmentVariableA("EK_TEST_PLAIN", "kept"));

    // The line a name of "%b%" gives, as the runner hands it on.
    const Text out = RunConsoleCommand("echo \"\"%\"b\"%\"\"");
    EXPECT_EQ(FindText(out, "EXPANDED"), -1) << out;
    EXPECT_NE(FindText(out, "%\"b\"%"), -1) << out;

    char value[16] = {};
    EXPECT_EQ(GetEnvironmentVariableA("\"b\"", value, sizeof value), 0u);
    EXPECT_EQ(GetEnvironmentVariableA("EK_TEST_PLAIN", value, sizeof value), 4u) << "other variables stay";
    EXPECT_TRUE(MakePercentSafeEnvironment()) << "nothing more to remove";
    SetEnvironmentVariableA("EK_TEST_PLAIN", nullptr);
}

}  // namespace
