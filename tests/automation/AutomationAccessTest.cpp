// Late-bound access against the real automation objects of the system.

#include <gtest/gtest.h>

#include <thread>

#include "automation/AutomationAccess.h"

namespace {

class AutomationAccessTest : public ::testing::Test {
protected:
    ScopedComInit com_;
};

AutomationObject Create(const Text& classText, const Text& libraryFile = {}) {
    AutomationObject object;
    EXPECT_TRUE(CreateObject(object, classText, libraryFile)) << classText;
    return object;
}

TEST_F(AutomationAccessTest, ScriptControlRunsDefinedFunctionThroughEval) {
    AutomationObject engine = Create("MSScriptControl.ScriptControl");
    EXPECT_TRUE(SetProperty(engine, "Language", "JScript"));
    EXPECT_EQ(GetProperty<Text>(engine, "Language"), "JScript");
    EXPECT_EQ(CallMethod<double>(engine, "AddCode", "function twice(n) { return n * 2; }"), 0.0);
    EXPECT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(CallMethod<Text>(engine, "Eval", "twice(21)"), "42");
    EXPECT_EQ(CallMethod<double>(engine, "Eval", "twice(1.25)"), 2.5);
    VariantHolder v = CallMethod<VariantHolder>(engine, "Eval", "'a' + 'b'");
    EXPECT_EQ(V_VT(v.get()), VT_BSTR);
    EXPECT_EQ(VariantToText(v), "ab");
}

TEST_F(AutomationAccessTest, ScriptErrorGivesEmptyValueAndErrorCode) {
    AutomationObject engine = Create("MSScriptControl.ScriptControl");
    ASSERT_TRUE(SetProperty(engine, "Language", "JScript"));
    EXPECT_EQ(CallMethod<Text>(engine, "Eval", "(function () { throw new Error('x'); })()"), "");
    EXPECT_LT(LastAutomationError(), 0);
    VariantHolder v = CallMethod<VariantHolder>(engine, "Eval", "no_such_function()");
    EXPECT_EQ(V_VT(v.get()), VT_EMPTY);
    EXPECT_LT(LastAutomationError(), 0);
    // The next good access clears the code.
    EXPECT_EQ(CallMethod<Text>(engine, "Eval", "1 + 1"), "2");
    EXPECT_EQ(LastAutomationError(), 0);
}

TEST_F(AutomationAccessTest, DoubleByteTextTravelsBothWays) {
    AutomationObject engine = Create("MSScriptControl.ScriptControl");
    ASSERT_TRUE(SetProperty(engine, "Language", "JScript"));
    const Text chinese = "\xD6\xD0\xCE\xC4";  // two characters in code page 936
    EXPECT_EQ(CallMethod<Text>(engine, "Eval", "'" + chinese + "'.length"), "2");
    EXPECT_EQ(CallMethod<Text>(engine, "Eval", "'" + chinese + "' + 'x'"), chinese + "x");
}

TEST_F(AutomationAccessTest, RegExpPropertiesExecuteMatchesAndReplace) {
    AutomationObject re = Create("VBScript.RegExp");
    EXPECT_TRUE(SetProperty(re, "Pattern", "(\\d+)-(\\w+)"));
    EXPECT_TRUE(SetProperty(re, "Global", true));
    EXPECT_TRUE(SetProperty(re, "IgnoreCase", false));
    EXPECT_TRUE(GetProperty<bool>(re, "Global"));
    EXPECT_FALSE(GetProperty<bool>(re, "IgnoreCase"));
    EXPECT_EQ(GetProperty<Text>(re, "Pattern"), "(\\d+)-(\\w+)");
    EXPECT_TRUE(CallMethod<bool>(re, "Test", "a 1-b"));

    // The match objects offer no type information: reached through their own name lookup.
    AutomationObject matches = CallMethod<AutomationObject>(re, "Execute", "x 12-ab y 7-c");
    ASSERT_FALSE(IsEmptyObject(matches));
    EXPECT_EQ(GetProperty<double>(matches, "Count"), 2.0);
    AutomationObject second = GetProperty<AutomationObject>(matches, "Item", 1);
    EXPECT_EQ(GetProperty<Text>(second, "Value"), "7-c");
    EXPECT_EQ(GetProperty<int32_t>(second, "FirstIndex"), 10);
    AutomationObject groups = GetProperty<AutomationObject>(second, "SubMatches");
    EXPECT_EQ(GetProperty<int32_t>(groups, "Count"), 2);
    EXPECT_EQ(GetProperty<Text>(groups, "Item", 0), "7");
    EXPECT_EQ(GetProperty<Text>(groups, "Item", 1), "c");
    EXPECT_EQ(GetProperty<Text>(groups, "Item", 5), "");
    EXPECT_LT(LastAutomationError(), 0);
    EXPECT_EQ(GetProperty<Text>(second, "NoSuchMember"), "");
    EXPECT_LT(LastAutomationError(), 0);

    VariantHolder replacement;
    ASSERT_TRUE(AssignVariant(replacement, "[$2]"));
    EXPECT_EQ(CallMethod<Text>(re, "Replace", "x 12-ab y 7-c", ByRef(replacement)), "x [ab] y [c]");
    EXPECT_EQ(VariantToText(replacement), "[$2]");
}

TEST_F(AutomationAccessTest, ResultThatCannotBeConvertedIsAFailure) {
    AutomationObject re = Create("VBScript.RegExp");
    ASSERT_TRUE(SetProperty(re, "Pattern", "abc"));
    EXPECT_EQ(GetProperty<double>(re, "Pattern"), 0.0);
    EXPECT_LT(LastAutomationError(), 0);
    EXPECT_TRUE(IsEmptyObject(GetProperty<AutomationObject>(re, "Pattern")));
    EXPECT_LT(LastAutomationError(), 0);
    // The member did run: a method whose result is refused still had its effect.
    AutomationObject engine = Create("MSScriptControl.ScriptControl");
    ASSERT_TRUE(SetProperty(engine, "Language", "JScript"));
    EXPECT_EQ(CallMethod<double>(engine, "Eval", "var ran = 1; 'not a number'"), 0.0);
    EXPECT_LT(LastAutomationError(), 0);
    EXPECT_EQ(CallMethod<Text>(engine, "Eval", "ran"), "1");
}

TEST_F(AutomationAccessTest, WrongArgumentsAndUnknownNamesFail) {
    AutomationObject re = Create("VBScript.RegExp");
    struct Case {
        const char* name;
        Text result;
    };
    const Case cases[] = {
        {"too many arguments", CallMethod<Text>(re, "Test", "a", "b")},
        {"unknown member", CallMethod<Text>(re, "NoSuchMethod")},
        {"empty name", GetProperty<Text>(re, "")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, "");
    }
    EXPECT_FALSE(SetProperty(re, "NoSuchProperty", 1));
    EXPECT_FALSE(SetProperty(re, "Pattern", "a", "an index it does not take"));
    EXPECT_LT(LastAutomationError(), 0);
}

TEST_F(AutomationAccessTest, EveryAccessOnAnEmptyHolderYieldsTheEmptyValue) {
    AutomationObject empty;
    EXPECT_TRUE(IsEmptyObject(empty));
    EXPECT_EQ(GetProperty<Text>(empty, "Path"), "");
    EXPECT_LT(LastAutomationError(), 0);
    EXPECT_EQ(GetProperty<double>(empty, "Count"), 0.0);
    EXPECT_TRUE(IsEmptyObject(GetProperty<AutomationObject>(empty, "Item", 0)));
    EXPECT_EQ(V_VT(GetProperty<VariantHolder>(empty, "Value").get()), VT_EMPTY);
    EXPECT_EQ(CallMethod<Text>(empty, "Eval", "1"), "");
    EXPECT_EQ(CallMethod<double>(empty, "Eval", "1"), 0.0);
    EXPECT_TRUE(IsEmptyObject(CallMethod<AutomationObject>(empty, "BrowseForFolder", 0, "t", 0x50, 0)));
    EXPECT_EQ(V_VT(CallMethod<VariantHolder>(empty, "Eval", "1").get()), VT_EMPTY);
    EXPECT_FALSE(SetProperty(empty, "Pattern", "x"));
    EXPECT_LT(LastAutomationError(), 0);
    // A chain that starts with a failed access ends in empty text, quietly.
    AutomationObject folder = CallMethod<AutomationObject>(empty, "BrowseForFolder", 0, "t", 0x50, 0);
    EXPECT_EQ(GetProperty<Text>(CallMethod<AutomationObject>(folder, "Self"), "Path"), "");
}

TEST_F(AutomationAccessTest, CreationByProgIdBracedClassAndFailure) {
    AutomationObject object;
    ASSERT_TRUE(CreateObject(object, "VBScript.RegExp"));
    ASSERT_TRUE(SetProperty(object, "Pattern", "kept"));
    // A class that does not exist leaves the holder with what it held.
    EXPECT_FALSE(CreateObject(object, "No.Such.Class"));
    EXPECT_FALSE(CreateObject(object, "{00000000-0000-0000-0000-00000000ABCD}"));
    EXPECT_FALSE(CreateObject(object, ""));
    EXPECT_EQ(GetProperty<Text>(object, "Pattern"), "kept");
    // A braced class text never goes through the library: the library file here does not even exist.
    ASSERT_TRUE(CreateObject(object, "{0D43FE01-F093-11CF-8940-00A0C9054228}", "Z:\\no\\such\\library.tlb"));
    EXPECT_TRUE(CallMethod<bool>(object, "FolderExists", "C:\\windows"));
    ReleaseObject(object);
    EXPECT_TRUE(IsEmptyObject(object));
}

TEST_F(AutomationAccessTest, TypeLibraryRouteCreatesShellObject) {
    struct Case {
        const char* name;
        Text classText;
        Text library;
    };
    const Case cases[] = {
        {"class named in the library, bare file name", "WshShell", "wshom.ocx"},
        {"class named in the library, full path", "WshShell", "C:\\windows\\system32\\wshom.ocx"},
        {"name missing from the library falls back to the ProgID", "WScript.Shell", "wshom.ocx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AutomationObject shell;
        ASSERT_TRUE(CreateObject(shell, c.classText, c.library));
        EXPECT_EQ(CallMethod<Text>(shell, "ExpandEnvironmentStrings", "[%OS%]"), "[Windows_NT]");
    }
}

TEST_F(AutomationAccessTest, ShellApplicationNamespaceChain) {
    AutomationObject shell = Create("Shell.Application");
    AutomationObject folder = CallMethod<AutomationObject>(shell, "NameSpace", "C:\\windows");
    ASSERT_FALSE(IsEmptyObject(folder));
    const Text path = GetProperty<Text>(CallMethod<AutomationObject>(folder, "Self"), "Path");
    EXPECT_EQ(_stricmp(path.c_str(), "C:\\windows"), 0) << path;
}

TEST_F(AutomationAccessTest, DictionaryIndexedAndByReferenceMembers) {
    AutomationObject dict = Create("Scripting.Dictionary");
    Text key = "k";
    // Add declares its parameters as references to VARIANTs.
    CallMethod<double>(dict, "Add", ByRef(key), "first");
    EXPECT_EQ(LastAutomationError(), 0);
    CallMethod<double>(dict, "Add", "n", 7);
    EXPECT_EQ(GetProperty<int32_t>(dict, "Count"), 2);
    EXPECT_EQ(GetProperty<Text>(dict, "Item", "k"), "first");
    EXPECT_EQ(GetProperty<int32_t>(dict, "Item", "n"), 7);
    // An indexed property write: the value, then the index.
    EXPECT_TRUE(SetProperty(dict, "Item", "second", "k"));
    EXPECT_EQ(GetProperty<Text>(dict, "Item", ByRef(key)), "second");
    EXPECT_EQ(key, "k");  // an input-only parameter leaves the caller's variable alone
    // Reading a method's name calls the method.
    EXPECT_TRUE(GetProperty<bool>(dict, "Exists", "n"));
    EXPECT_FALSE(GetProperty<bool>(dict, "Exists", "absent"));
    // Adding a key twice is refused by the object.
    CallMethod<double>(dict, "Add", "k", "again");
    EXPECT_LT(LastAutomationError(), 0);
}

TEST_F(AutomationAccessTest, LastAutomationErrorBelongsToItsThread) {
    AutomationObject empty;
    GetProperty<Text>(empty, "Anything");
    ASSERT_LT(LastAutomationError(), 0);
    int32_t seenAtStart = 1;
    int32_t seenAfterSuccess = 1;
    std::thread worker([&] {
        seenAtStart = LastAutomationError();
        ScopedComInit com;
        AutomationObject re;
        CreateObject(re, "VBScript.RegExp");
        SetProperty(re, "Pattern", "x");
        seenAfterSuccess = LastAutomationError();
    });
    worker.join();
    EXPECT_EQ(seenAtStart, 0);
    EXPECT_EQ(seenAfterSuccess, 0);
    EXPECT_LT(LastAutomationError(), 0);  // the worker's success did not clear this thread's code
}

}  // namespace
