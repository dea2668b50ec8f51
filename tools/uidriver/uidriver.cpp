// uidriver.exe: drives a running Entry Keeper window from scripts and tests, the way a user would.
//
// Usage: uidriver [OPTIONS] COMMAND [ARGS...]
// Options:
//   --title TEXT     the window's title (default "Entry Keeper")
//   --class NAME     the window's class (default "EntryKeeperMainWindow"); "" accepts any class
//   --pid N          only a window of process N
//   --timeout MS     how long to wait for the window and for conditions (default 10000)
// The window is the first visible top-level window that matches; every command first waits for it
// to appear. CONTROL is a control's name (StartButton, StopButton, RestoreButton, BrowseButton,
// FolderField, OptionButton1, OptionButton2, OptionButton3, LogBox) or its id (0x16018600 or decimal).
// Commands:
//   find                         print the window's handle in hex
//   list                         print one line per control: id, class, enabled, checked, text
//   click CONTROL                click it; returns at once (the click is posted, so a handler that
//                                opens a dialog does not block the driver). Fails on a disabled or
//                                hidden control, as a mouse click would do nothing there
//   get-text CONTROL             print the control's text as it is (no line break added)
//   set-text CONTROL TEXT        replace the control's text
//   enabled CONTROL              print 1 when enabled, else 0
//   checked CONTROL              print 1 when selected, else 0
//   wait CONTROL CONDITION [V]   wait until it holds: enabled, disabled, checked, unchecked,
//                                text-equals V, text-contains V, text-lacks V
//   settle                       wait until the window and its controls have painted (screenshots)
//   activate                     bring the window to the front, as a click on its title would; the
//                                window gives the focus to a control of its own choosing
//   focus CONTROL                bring the window to the front and give CONTROL the keyboard focus
//   focused                      print the name (or id) of the control that has the keyboard focus,
//                                "none" when no control of the window has it
//   keys KEY...                  bring the window to the front and press each key in turn, as the
//                                keyboard does (through the system's input queue): one character
//                                (a letter, digit or punctuation mark), or space, tab, enter, escape,
//                                backspace, up, down, left, right, home, end; "shift+" before a key
//                                holds Shift down for it. Returns once the keys are queued
//   close                        ask the window to close, as its close box does, and wait until it is gone
//   wait-gone                    wait until the window no longer exists
// Exit code: 0 done (or the condition holds), 1 failure or timeout (reason on stderr), 2 bad usage.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/window/portable/ControlIds.h"
#include "tools/windowdriving/ControlMessages.h"
#include "tools/windowdriving/PollingWait.h"
#include "tools/windowdriving/WindowSearch.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Options {
    std::string title = kMainWindowTitle;
    std::string className = kMainWindowClass;
    DWORD pid = 0;
    DWORD timeoutMs = 10000;
};

struct NamedControl {
    const char* name;
    int id;
};
constexpr NamedControl kControls[] = {
    {"StartButton", kStartButtonId},     {"StopButton", kStopButtonId},       {"RestoreButton", kRestoreButtonId},
    {"BrowseButton", kBrowseButtonId},   {"FolderField", kFolderFieldId},     {"OptionButton1", kOptionButton1Id},
    {"OptionButton2", kOptionButton2Id}, {"OptionButton3", kOptionButton3Id}, {"LogBox", kLogBoxId},
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "uidriver: %s\n", message.c_str());
    return kExitFailed;
}

int Usage(const std::string& message) {
    std::fprintf(stderr, "uidriver: %s (see the comment at the top of uidriver.cpp)\n", message.c_str());
    return kExitUsage;
}

bool ParseNumber(const std::string& text, long long* value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (*end != '\0')
        return false;
    *value = parsed;
    return true;
}

bool ParseControl(const std::string& text, int* id) {
    for (const NamedControl& c : kControls) {
        if (_stricmp(c.name, text.c_str()) == 0) {
            *id = c.id;
            return true;
        }
    }
    long long value = 0;
    if (!ParseNumber(text, &value) || value < INT_MIN || value > 0xFFFFFFFFLL)
        return false;
    *id = static_cast<int>(value);
    return true;
}

HWND FindTheWindow(const Options& options) {
    return FindVisibleWindow({options.pid, options.className, options.title});
}

void PrintText(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// The name of a control as the commands take it, or its id in hex.
std::string NameOf(HWND control) {
    const int id = GetDlgCtrlID(control);
    for (const NamedControl& c : kControls) {
        if (c.id == id)
            return c.name;
    }
    char hex[16] = {};
    std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(id));
    return hex;
}

// The control of `window` that has the keyboard focus, or null.
HWND FocusedControl(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        return nullptr;
    return IsChild(window, info.hwndFocus) ? info.hwndFocus : nullptr;
}

// Makes `window` the foreground window, as a click on its title would; true once it is.
bool BringToFront(HWND window, DWORD timeoutMs) {
    if (GetForegroundWindow() == window)
        return true;
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, timeoutMs);
}

// Gives `control` the keyboard focus from outside its thread, as the user's click into it would.
bool GiveFocus(HWND window, HWND control, DWORD timeoutMs) {
    if (!BringToFront(window, timeoutMs))
        return false;
    const DWORD target = GetWindowThreadProcessId(window, nullptr);
    const DWORD self = GetCurrentThreadId();
    const bool attached = AttachThreadInput(self, target, TRUE) != FALSE;
    SetFocus(control);
    if (attached)
        AttachThreadInput(self, target, FALSE);
    return WaitUntil([&] { return FocusedControl(window) == control; }, timeoutMs);
}

struct NamedKey {
    const char* name;
    WORD key;
};
constexpr NamedKey kKeys[] = {
    {"space", VK_SPACE}, {"tab", VK_TAB},   {"enter", VK_RETURN}, {"escape", VK_ESCAPE},
    {"backspace", VK_BACK}, {"up", VK_UP},  {"down", VK_DOWN},    {"left", VK_LEFT},
    {"right", VK_RIGHT}, {"home", VK_HOME}, {"end", VK_END},
};

// The virtual key of one KEY argument (without its "shift+"), and whether the character needs Shift.
bool ParseKey(const std::string& text, WORD* key, bool* shift) {
    *shift = false;
    for (const NamedKey& k : kKeys) {
        if (_stricmp(k.name, text.c_str()) == 0) {
            *key = k.key;
            return true;
        }
    }
    if (text.size() != 1)
        return false;
    const SHORT scan = VkKeyScanA(text[0]);
    if (scan == -1)
        return false;
    *key = LOBYTE(scan);
    *shift = (HIBYTE(scan) & 1) != 0;
    return true;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

int PressKeys(HWND window, const std::vector<std::string>& keys, DWORD timeoutMs) {
    if (keys.empty())
        return Usage("keys needs at least one key");
    std::vector<INPUT> inputs;
    for (const std::string& arg : keys) {
        std::string name = arg;
        bool shift = false;
        if (_strnicmp(name.c_str(), "shift+", 6) == 0 && name.size() > 6) {
            shift = true;
            name = name.substr(6);
        }
        WORD key = 0;
        bool needsShift = false;
        if (!ParseKey(name, &key, &needsShift))
            return Usage("unknown key " + arg);
        shift = shift || needsShift;
        if (shift)
            inputs.push_back(KeyInput(VK_SHIFT, false));
        inputs.push_back(KeyInput(key, false));
        inputs.push_back(KeyInput(key, true));
        if (shift)
            inputs.push_back(KeyInput(VK_SHIFT, true));
    }
    if (!BringToFront(window, timeoutMs))
        return Fail("the window could not be brought to the front");
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size() ? kExitOk : Fail("the keys could not be sent");
}

bool HasPendingPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE))
        return true;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetUpdateRect(child, nullptr, FALSE))
            return true;
    }
    return false;
}

int ListControls(HWND window) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text;
        GetTextTimed(child, &text);
        bool checked = false;
        bool button = _stricmp(ClassOf(child).c_str(), "Button") == 0;
        if (button)
            GetCheckedTimed(child, &checked);
        if (text.size() > 60)
            text = text.substr(0, 57) + "...";
        for (char& c : text) {
            if (c == '\r' || c == '\n')
                c = ' ';
        }
        std::printf("0x%08x %-8s %s %s %s\n", static_cast<unsigned>(GetDlgCtrlID(child)), ClassOf(child).c_str(),
                    IsWindowEnabled(child) ? "enabled " : "disabled", button && checked ? "checked" : "-      ",
                    text.c_str());
    }
    return kExitOk;
}

int WaitFor(HWND window, int id, const std::vector<std::string>& args, DWORD timeoutMs) {
    if (args.empty())
        return Usage("wait needs a condition");
    const std::string& condition = args[0];
    const bool needsValue = condition.rfind("text-", 0) == 0;
    if (needsValue && args.size() < 2)
        return Usage(condition + " needs a value");
    const std::string value = needsValue ? args[1] : std::string();
    auto holds = [&] {
        HWND control = GetDlgItem(window, id);
        if (!control)
            return false;
        if (condition == "enabled")
            return IsWindowEnabled(control) != FALSE;
        if (condition == "disabled")
            return IsWindowEnabled(control) == FALSE;
        if (condition == "checked" || condition == "unchecked") {
            bool checked = false;
            return GetCheckedTimed(control, &checked) && checked == (condition == "checked");
        }
        std::string text;
        if (!GetTextTimed(control, &text))
            return false;
        if (condition == "text-equals")
            return text == value;
        if (condition == "text-contains")
            return text.find(value) != std::string::npos;
        return text.find(value) == std::string::npos;  // text-lacks
    };
    static const char* const kConditions[] = {"enabled",     "disabled",      "checked",   "unchecked",
                                              "text-equals", "text-contains", "text-lacks"};
    bool known = false;
    for (const char* c : kConditions)
        known = known || condition == c;
    if (!known)
        return Usage("unknown condition " + condition);
    if (!WaitUntil(holds, timeoutMs))
        return Fail("timed out waiting for " + condition + (needsValue ? " \"" + value + "\"" : std::string()));
    return kExitOk;
}

int Run(const Options& options, const std::string& command, const std::vector<std::string>& args) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTheWindow(options)) != nullptr; }, options.timeoutMs);
    if (command == "wait-gone") {
        if (!window)
            return kExitOk;
        return WaitUntil([&] { return !IsWindow(window); }, options.timeoutMs) ? kExitOk
                                                                                : Fail("the window is still there");
    }
    if (!window)
        return Fail("no window titled \"" + options.title + "\" appeared");

    if (command == "find") {
        std::printf("0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
        return kExitOk;
    }
    if (command == "list")
        return ListControls(window);
    if (command == "settle") {
        // A round trip through the window's queue first, so that what it was asked to draw is queued.
        DWORD_PTR ignored = 0;
        if (!SendWithTimeout(window, WM_NULL, 0, 0, &ignored))
            return Fail("the window does not answer");
        if (!WaitUntil([&] { return !HasPendingPaint(window); }, options.timeoutMs))
            return Fail("the window did not finish painting");
        return kExitOk;
    }
    if (command == "activate") {
        return BringToFront(window, options.timeoutMs) ? kExitOk
                                                       : Fail("the window could not be brought to the front");
    }
    if (command == "focused") {
        HWND focus = FocusedControl(window);
        PrintText((focus ? NameOf(focus) : std::string("none")) + "\n");
        return kExitOk;
    }
    if (command == "keys")
        return PressKeys(window, args, options.timeoutMs);
    if (command == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return WaitUntil([&] { return !IsWindow(window); }, options.timeoutMs) ? kExitOk
                                                                                : Fail("the window did not close");
    }

    // The rest address one control.
    if (args.empty())
        return Usage(command + " needs a control");
    int id = 0;
    if (!ParseControl(args[0], &id))
        return Usage("unknown control " + args[0]);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "wait")
        return WaitFor(window, id, rest, options.timeoutMs);
    HWND control = GetDlgItem(window, id);
    if (!control)
        return Fail("the window has no control " + args[0]);

    if (command == "focus")
        return GiveFocus(window, control, options.timeoutMs) ? kExitOk : Fail("the focus did not move to " + args[0]);
    if (command == "click") {
        if (!IsWindowVisible(control) || !IsWindowEnabled(control))
            return Fail(args[0] + " is disabled or hidden");
        return PostMessageA(control, BM_CLICK, 0, 0) ? kExitOk : Fail("the click could not be posted");
    }
    if (command == "get-text") {
        std::string text;
        if (!GetTextTimed(control, &text))
            return Fail("the window does not answer");
        PrintText(text);
        return kExitOk;
    }
    if (command == "set-text") {
        if (rest.empty())
            return Usage("set-text needs the text");
        if (!SetTextTimed(control, rest[0]))
            return Fail("the text was not taken");
        return kExitOk;
    }
    if (command == "enabled") {
        PrintText(IsWindowEnabled(control) ? "1\n" : "0\n");
        return kExitOk;
    }
    if (command == "checked") {
        bool checked = false;
        if (!GetCheckedTimed(control, &checked))
            return Fail("the window does not answer");
        PrintText(checked ? "1\n" : "0\n");
        return kExitOk;
    }
    return Usage("unknown command " + command);
}

}  // namespace

int main(int argc, char** argv) {
    // Texts are printed byte for byte, line breaks included.
    _setmode(_fileno(stdout), _O_BINARY);
    Options options;
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc)
            return Usage(option + " needs a value");
        std::string value = argv[++i];
        long long number = 0;
        if (option == "--title") {
            options.title = value;
        } else if (option == "--class") {
            options.className = value;
        } else if (option == "--pid" && ParseNumber(value, &number) && number > 0) {
            options.pid = static_cast<DWORD>(number);
        } else if (option == "--timeout" && ParseNumber(value, &number) && number >= 0) {
            options.timeoutMs = static_cast<DWORD>(number);
        } else {
            return Usage("bad option " + option + " " + value);
        }
    }
    if (i >= argc)
        return Usage("no command");
    std::string command = argv[i++];
    std::vector<std::string> args(argv + i, argv + argc);
    return Run(options, command, args);
}
