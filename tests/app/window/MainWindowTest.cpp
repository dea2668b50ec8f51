// The main window as a user and the rest of the program meet it: a real window under the test
// display, on the test thread (which is therefore the window thread).

#include "app/window/MainWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/log/Log.h"
#include "app/window/ControlAccess.h"
#include "app/window/WindowThreadCall.h"
#include "common/PumpingWait.h"

namespace {

struct RecordingHandlers : MainWindowHandlers {
    std::vector<std::string> events;
    // What OnCreated found, and what it then did (as loading the settings will).
    bool visibleAtCreated = true;
    int stopDisabledAtCreated = -1;
    int option3AtCreated = -1;
    bool loadSettingsAtCreated = false;
    Text folderAtClosing;

    void OnCreated(HWND window) override {
        events.push_back("created");
        visibleAtCreated = IsWindowVisible(window) != FALSE;
        stopDisabledAtCreated = ReadControlInt(window, kStopButtonId, kPropDisabled);
        option3AtCreated = ReadControlInt(window, kOptionButton3Id, kPropSelected);
        if (loadSettingsAtCreated) {
            WriteControlText(window, kFolderFieldId, "D:\\saved backups");
            WriteControlInt(window, kOptionButton1Id, kPropSelected, 1);
            WriteControlText(window, kLogBoxId, "left over");
        }
    }
    void OnClosing(HWND window) override {
        events.push_back("closing");
        folderAtClosing = ReadControlText(window, kFolderFieldId);
    }
    void OnStart(HWND) override { events.push_back("start"); }
    void OnStop(HWND) override { events.push_back("stop"); }
    void OnRestore(HWND) override { events.push_back("restore"); }
    void OnBrowse(HWND) override { events.push_back("browse"); }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
        hwnd_ = window_.Handle();
    }
    void TearDown() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    // The control's place in the window's client coordinates.
    RECT Place(HWND control) const {
        RECT r = {};
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // Every control lies inside the client area and no two overlap.
    void ExpectControlsWholeAndApart() const {
        RECT client = {};
        GetClientRect(hwnd_, &client);
        std::vector<std::pair<int, RECT>> places;
        for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            places.emplace_back(GetDlgCtrlID(c), Place(c));
        for (size_t i = 0; i < places.size(); ++i) {
            const RECT& a = places[i].second;
            SCOPED_TRACE(testing::Message() << "control #" << i << " id " << std::hex << places[i].first);
            EXPECT_GT(a.right - a.left, 0);
            EXPECT_GT(a.bottom - a.top, 0);
            EXPECT_GE(a.left, 0);
            EXPECT_GE(a.top, 0);
            EXPECT_LE(a.right, client.right);
            EXPECT_LE(a.bottom, client.bottom);
            for (size_t j = i + 1; j < places.size(); ++j) {
                RECT overlap = {};
                EXPECT_FALSE(IntersectRect(&overlap, &a, &places[j].second)) << "overlaps control #" << j;
            }
        }
    }

    RecordingHandlers handlers_;
    MainWindow window_{&handlers_};
    HWND hwnd_ = nullptr;
};

TEST_F(MainWindowTest, ControlsAreRealChildWindowsWithTheirIds) {
    struct Case {
        const char* name;
        int id;
        const char* className;
        DWORD kind;  // button type, or ES_MULTILINE for an edit box (0 for single-line)
    };
    const Case cases[] = {
        {"StartButton", kStartButtonId, "Button", BS_DEFPUSHBUTTON},
        {"StopButton", kStopButtonId, "Button", BS_PUSHBUTTON},
        {"RestoreButton", kRestoreButtonId, "Button", BS_PUSHBUTTON},
        {"BrowseButton", kBrowseButtonId, "Button", BS_PUSHBUTTON},
        {"FolderField", kFolderFieldId, "Edit", 0},
        {"OptionButton1", kOptionButton1Id, "Button", BS_AUTORADIOBUTTON},
        {"OptionButton2", kOptionButton2Id, "Button", BS_AUTORADIOBUTTON},
        {"OptionButton3", kOptionButton3Id, "Button", BS_AUTORADIOBUTTON},
        {"LogBox", kLogBoxId, "Edit", ES_MULTILINE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND control = Control(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetDlgCtrlID(control), c.id);
        EXPECT_EQ(GetParent(control), hwnd_);
        char className[32] = {};
        GetClassNameA(control, className, sizeof(className));
        EXPECT_STRCASEEQ(className, c.className);
        LONG style = GetWindowLongA(control, GWL_STYLE);
        if (lstrcmpiA(c.className, "Button") == 0) {
            EXPECT_EQ(static_cast<DWORD>(style & BS_TYPEMASK), c.kind);
        } else {
            EXPECT_EQ(static_cast<DWORD>(style & ES_MULTILINE), c.kind);
        }
        EXPECT_TRUE(IsWindowVisible(control));
    }
}

TEST_F(MainWindowTest, OpensIdleWithTheIntroductionInTheLog) {
    char title[64] = {};
    GetWindowTextA(hwnd_, title, sizeof(title));
    EXPECT_STREQ(title, "Entry Keeper");
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_EQ(ReadControlInt(hwnd_, kStartButtonId, kPropDisabled), 0);
    EXPECT_EQ(ReadControlInt(hwnd_, kStopButtonId, kPropDisabled), 1);
    EXPECT_EQ(ReadControlInt(hwnd_, kRestoreButtonId, kPropDisabled), 0);
    EXPECT_EQ(ReadControlInt(hwnd_, kOptionButton1Id, kPropSelected), 0);
    EXPECT_EQ(ReadControlInt(hwnd_, kOptionButton2Id, kPropSelected), 0);
    EXPECT_EQ(ReadControlInt(hwnd_, kOptionButton3Id, kPropSelected), 1);
    EXPECT_EQ(ReadControlText(hwnd_, kLogBoxId), kLogIntroText);
    EXPECT_NE(SendMessageA(hwnd_, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_EQ(handlers_.events, std::vector<std::string>{"created"});
}

TEST_F(MainWindowTest, CreationEventRunsFirstAndTheIntroductionReplacesTheLog) {
    RecordingHandlers loading;
    loading.loadSettingsAtCreated = true;
    MainWindow window(&loading);
    ASSERT_TRUE(window.Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    HWND hwnd = window.Handle();

    // The handlers met the controls already in their start-up states, before the window showed.
    EXPECT_FALSE(loading.visibleAtCreated);
    EXPECT_EQ(loading.stopDisabledAtCreated, 1);
    EXPECT_EQ(loading.option3AtCreated, 1);
    // What they loaded stays; the log is the introduction alone.
    EXPECT_EQ(ReadControlText(hwnd, kFolderFieldId), "D:\\saved backups");
    EXPECT_EQ(ReadControlInt(hwnd, kOptionButton1Id, kPropSelected), 1);
    EXPECT_EQ(ReadControlInt(hwnd, kOptionButton3Id, kPropSelected), 0);
    EXPECT_EQ(ReadControlText(hwnd, kLogBoxId), kLogIntroText);
}

TEST_F(MainWindowTest, TextTypedIntoTheLogStaysInFrontOfLaterLines) {
    HWND log = Control(kLogBoxId);
    EXPECT_FALSE(GetWindowLongA(log, GWL_STYLE) & ES_READONLY);
    ASSERT_TRUE(WriteControlInt(hwnd_, kLogBoxId, kPropSelectionStart, -1));
    for (char c : std::string("my note"))
        SendMessageA(log, WM_CHAR, static_cast<WPARAM>(c), 0);

    const Text typed = ReadControlText(hwnd_, kLogBoxId);
    ASSERT_EQ(typed, Text(kLogIntroText) + "my note");

    // A worker appends a line through the log, as the passes do; the window thread serves it.
    std::atomic<bool> done{false};
    bool appended = false;
    std::thread worker([&] {
        appended = AppendLog(hwnd_, "a line");
        done = true;
    });
    while (!done)
        PumpingWait(5);
    worker.join();
    EXPECT_TRUE(appended);
    // The note, then the time of day (eight characters), the separator and the line.
    const Text after = ReadControlText(hwnd_, kLogBoxId);
    ASSERT_EQ(after.substr(0, typed.size()), typed);
    EXPECT_EQ(after.substr(typed.size() + 8), Text(kLogSeparator) + "a line\r\n");
}

TEST_F(MainWindowTest, ButtonClicksReachTheirHandlers) {
    EnableWindow(Control(kStopButtonId), TRUE);
    for (int id : {kStartButtonId, kStopButtonId, kRestoreButtonId, kBrowseButtonId, kOptionButton1Id})
        SendMessageA(Control(id), BM_CLICK, 0, 0);
    EXPECT_EQ(handlers_.events, (std::vector<std::string>{"created", "start", "stop", "restore", "browse"}));
    // Clicking an option selects it; it has no handler of its own.
    EXPECT_EQ(ReadControlInt(hwnd_, kOptionButton1Id, kPropSelected), 1);
    EXPECT_EQ(ReadControlInt(hwnd_, kOptionButton3Id, kPropSelected), 0);
}

TEST_F(MainWindowTest, ClosingRunsTheClosingEventWhileTheControlsStillExist) {
    WriteControlText(hwnd_, kFolderFieldId, "C:\\backups");
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    EXPECT_EQ(window_.RunMessageLoop(), 0);
    EXPECT_EQ(handlers_.events, (std::vector<std::string>{"created", "closing"}));
    EXPECT_EQ(handlers_.folderAtClosing, "C:\\backups");
    EXPECT_EQ(window_.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd_));
}

TEST_F(MainWindowTest, LogGrowsWithTheWindowWhileTheRowsAboveKeepTheirSize) {
    RECT before = {};
    GetWindowRect(hwnd_, &before);
    const RECT log = Place(Control(kLogBoxId));
    const RECT field = Place(Control(kFolderFieldId));
    const RECT browse = Place(Control(kBrowseButtonId));
    const RECT start = Place(Control(kStartButtonId));

    SetWindowPos(hwnd_, nullptr, 0, 0, before.right - before.left + 200, before.bottom - before.top + 150,
                 SWP_NOMOVE | SWP_NOZORDER);

    const RECT grownLog = Place(Control(kLogBoxId));
    EXPECT_EQ(grownLog.right - grownLog.left, log.right - log.left + 200);
    EXPECT_EQ(grownLog.bottom - grownLog.top, log.bottom - log.top + 150);
    EXPECT_EQ(grownLog.top, log.top);
    const RECT grownField = Place(Control(kFolderFieldId));
    EXPECT_EQ(grownField.right - grownField.left, field.right - field.left + 200);
    EXPECT_EQ(grownField.bottom - grownField.top, field.bottom - field.top);
    EXPECT_EQ(Place(Control(kBrowseButtonId)).left, browse.left + 200);
    const RECT startAfter = Place(Control(kStartButtonId));
    EXPECT_TRUE(EqualRect(&start, &startAfter));
    ExpectControlsWholeAndApart();
}

TEST_F(MainWindowTest, AtItsMinimumSizeEveryControlIsWholeAndApart) {
    ExpectControlsWholeAndApart();
    MINMAXINFO info = {};
    SendMessageA(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_GT(info.ptMinTrackSize.x, 200);
    ASSERT_GT(info.ptMinTrackSize.y, 150);
    SetWindowPos(hwnd_, nullptr, 0, 0, info.ptMinTrackSize.x, info.ptMinTrackSize.y, SWP_NOMOVE | SWP_NOZORDER);
    ExpectControlsWholeAndApart();
    // The log keeps a usable height even there.
    RECT log = Place(Control(kLogBoxId));
    EXPECT_GE(log.bottom - log.top, 3 * (Place(Control(kFolderFieldId)).bottom - Place(Control(kFolderFieldId)).top));
}

TEST_F(MainWindowTest, ControlsUseTheSystemMessageFont) {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        SCOPED_TRACE(testing::Message() << std::hex << GetDlgCtrlID(c));
        auto font = reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTA used = {};
        ASSERT_TRUE(GetObjectA(font, sizeof(used), &used));
        EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
    }
}

TEST_F(MainWindowTest, TabMovesThroughTheControlsInReadingOrder) {
    // The keys go through the window's own message loop, as the user's would; a helper thread
    // presses them and looks where the focus went.
    SetForegroundWindow(hwnd_);
    SetFocus(Control(kFolderFieldId));
    std::vector<int> visited;
    std::thread user([&] {
        auto focus = [this] {
            HWND f = nullptr;
            RunOnWindowThread(hwnd_, [&] { f = GetFocus(); });
            return f;
        };
        for (int i = 0; i < 6; ++i) {
            HWND from = focus();
            PostMessageA(from, WM_KEYDOWN, VK_TAB, 0);
            PostMessageA(from, WM_KEYUP, VK_TAB, 0xC0000001);
            // The keys queue behind this thread's calls, so wait for the focus to move.
            HWND to = from;
            for (DWORD start = GetTickCount(); to == from && GetTickCount() - start < 5000; Sleep(5))
                to = focus();
            visited.push_back(GetDlgCtrlID(to));
        }
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    });
    window_.RunMessageLoop();
    user.join();
    // Stop is disabled at start, so Tab passes over it; the option group is entered at its
    // selected button.
    ASSERT_EQ(visited.size(), 6u);
    EXPECT_EQ(visited[0], kBrowseButtonId);
    EXPECT_EQ(visited[1], kOptionButton3Id);
    EXPECT_EQ(visited[2], kStartButtonId);
    EXPECT_EQ(visited[3], kRestoreButtonId);
    EXPECT_EQ(visited[4], kLogBoxId);
    EXPECT_EQ(visited[5], kFolderFieldId);
}

// Alt with a label's underlined letter moves the focus to the control the label names, as in a
// dialog: the field with its text selected, the option group at its selected option, the log.
TEST_F(MainWindowTest, ALabelsAltKeyMovesTheFocusToItsControl) {
    SetForegroundWindow(hwnd_);
    const Text folder = "C:\\Backups";
    SetWindowTextA(Control(kFolderFieldId), folder.c_str());
    struct Case {
        const char* name;
        char letter;
        int focused;
    };
    const Case cases[] = {
        {"Alt+F, the folder field", 'f', kFolderFieldId},
        {"Alt+P, the options", 'p', kOptionButton3Id},
        {"Alt+L, the log", 'l', kLogBoxId},
    };
    std::vector<int> reached;
    DWORD selection = 0;
    std::thread user([&] {
        auto focus = [this] {
            HWND f = nullptr;
            RunOnWindowThread(hwnd_, [&] { f = GetFocus(); });
            return f;
        };
        for (const Case& c : cases) {
            RunOnWindowThread(hwnd_, [&] { SetFocus(Control(kStartButtonId)); });
            // Alt is down while the letter is typed (the context bit of the key's message).
            PostMessageA(Control(kStartButtonId), WM_SYSCHAR, c.letter, 1 | (1 << 29));
            HWND to = Control(kStartButtonId);
            for (DWORD start = GetTickCount(); to == Control(kStartButtonId) && GetTickCount() - start < 5000; Sleep(5))
                to = focus();
            reached.push_back(GetDlgCtrlID(to));
            if (c.focused == kFolderFieldId)
                RunOnWindowThread(hwnd_, [&] { selection = SendMessageA(Control(kFolderFieldId), EM_GETSEL, 0, 0); });
        }
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    });
    window_.RunMessageLoop();
    user.join();
    ASSERT_EQ(reached.size(), std::size(cases));
    for (size_t i = 0; i < reached.size(); ++i)
        EXPECT_EQ(reached[i], cases[i].focused) << cases[i].name;
    EXPECT_EQ(LOWORD(selection), 0) << "the whole folder is selected";
    EXPECT_EQ(HIWORD(selection), folder.size());
}

// Counts the messages posted to it, so another thread can tell when the window thread has handled
// everything posted before: a window of the test's own, on the window thread.
class QueueBarrier {
public:
    QueueBarrier() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_APP)
                ++reinterpret_cast<QueueBarrier*>(GetWindowLongPtrA(window, GWLP_USERDATA))->handled_;
            return DefWindowProcA(window, message, wParam, lParam);
        };
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "EntryKeeperTestQueueBarrier";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~QueueBarrier() { DestroyWindow(window_); }

    // From another thread: returns once the window thread has handled what was posted to it
    // before, and what that posted in turn.
    void Pass() {
        for (int round = 0; round < 2; ++round) {
            const int target = ++posted_;
            PostMessageA(window_, WM_APP, 0, 0);
            for (DWORD start = GetTickCount(); handled_ < target && GetTickCount() - start < 5000;)
                Sleep(5);
        }
    }

private:
    HWND window_ = nullptr;
    std::atomic<int> posted_{0};
    std::atomic<int> handled_{0};
};

// Enter presses the button that looks like the default one: Start while the focus is outside the
// push buttons, else the push button that has the focus; never a disabled one.
TEST_F(MainWindowTest, EnterPressesTheButtonTheDefaultLookPromises) {
    SetForegroundWindow(hwnd_);
    SetFocus(Control(kFolderFieldId));
    QueueBarrier barrier;
    struct Step {
        const char* name;
        UINT key;          // pressed in the control that has the focus
        bool startOn;      // Start enabled before the key
        int focusAfter;    // where the focus is after the key
        int looksDefault;  // the one push button drawn as the default one after the key
    };
    const Step steps[] = {
        {"Enter in the folder field", VK_RETURN, true, kFolderFieldId, kStartButtonId},
        {"Tab to Browse", VK_TAB, true, kBrowseButtonId, kBrowseButtonId},
        {"Enter on Browse", VK_RETURN, true, kBrowseButtonId, kBrowseButtonId},
        {"Tab to the options", VK_TAB, true, kOptionButton3Id, kStartButtonId},
        {"Enter on an option, Start disabled", VK_RETURN, false, kOptionButton3Id, kStartButtonId},
        {"Enter on an option", VK_RETURN, true, kOptionButton3Id, kStartButtonId},
    };
    std::vector<int> focus;
    std::vector<int> looks;
    std::thread user([&] {
        for (const Step& step : steps) {
            HWND from = nullptr;
            RunOnWindowThread(hwnd_, [&] {
                EnableWindow(Control(kStartButtonId), step.startOn);
                from = GetFocus();
            });
            PostMessageA(from, WM_KEYDOWN, step.key, 0);
            PostMessageA(from, WM_KEYUP, step.key, 0xC0000001);
            barrier.Pass();
            RunOnWindowThread(hwnd_, [&] {
                focus.push_back(GetDlgCtrlID(GetFocus()));
                int shown = 0;
                for (int id : {kBrowseButtonId, kStartButtonId, kStopButtonId, kRestoreButtonId}) {
                    if ((GetWindowLongA(Control(id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                        shown = shown ? -1 : id;
                }
                looks.push_back(shown);
            });
        }
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    });
    window_.RunMessageLoop();
    user.join();

    ASSERT_EQ(focus.size(), std::size(steps));
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].name);
        EXPECT_EQ(focus[i], steps[i].focusAfter);
        EXPECT_EQ(looks[i], steps[i].looksDefault);
    }
    EXPECT_EQ(handlers_.events, (std::vector<std::string>{"created", "start", "browse", "start", "closing"}));
}

}  // namespace
