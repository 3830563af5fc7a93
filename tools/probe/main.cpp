// Looks at and drives the running program's status window and message boxes for the end-to-end scripts.
// Exit codes: 0 done, 1 failed or timed out (reason on stderr), 2 bad usage.
#include "ProbeArgs.h"
#include "WinSupport.h"

#include "common/Version.h"

#include <shellapi.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using qvprobe::Invocation;
using qvtools::narrow;
using qvtools::widen;

enum ExitCode { kDone = 0, kFailed = 1, kUsage = 2 };

const DWORD kReplyTimeoutMs = 2000;
const DWORD kSendTimeoutMs = 5000;
const std::chrono::milliseconds kPollInterval(50);
const int kMessageBoxTextId = 0xFFFF;

class ScopedKey {
public:
    ScopedKey(HKEY root, const char* path, REGSAM view) {
        if (RegOpenKeyExW(root, widen(path).c_str(), 0, KEY_QUERY_VALUE | view, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~ScopedKey() {
        if (key_)
            RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    bool readDword(const wchar_t* name, DWORD& value) const {
        DWORD type = 0;
        DWORD size = sizeof value;
        return key_ &&
               RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
               type == REG_DWORD && size == sizeof value;
    }

private:
    HKEY key_ = nullptr;
};

// Polls condition until it holds or the timeout has passed; the condition is tried once more at the deadline.
template <typename Condition> bool waitUntil(double timeoutSeconds, Condition condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (true) {
        bool expired = std::chrono::steady_clock::now() >= deadline;
        if (condition())
            return true;
        if (expired)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

void print(const std::string& line) {
    qvtools::writeAll(GetStdHandle(STD_OUTPUT_HANDLE), line + "\n");
}

int fail(const std::string& reason) {
    qvtools::reportError(reason);
    return kFailed;
}

std::wstring statusCaption() {
    return widen(std::string(qv::kProductName) + " - " + qv::kVersion + " - Status");
}

bool windowText(HWND window, std::string& text) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &length))
        return false;
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(&wide[0]), SMTO_ABORTIFHUNG,
                             kReplyTimeoutMs, &copied))
        return false;
    wide.resize(copied < wide.size() ? copied : 0);
    text = narrow(wide);
    return true;
}

// The window the program registered as its status window, while that handle is still its status window. A
// 32-bit program on 64-bit Windows writes to the 32-bit view, and the key may fall back to the user's hive.
HWND registeredStatusWindow() {
    const struct {
        HKEY root;
        REGSAM view;
    } places[] = {{HKEY_LOCAL_MACHINE, 0}, {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}, {HKEY_CURRENT_USER, 0}};
    for (const auto& place : places) {
        DWORD id = 0;
        if (!ScopedKey(place.root, qv::kRegistryKeyPath, place.view).readDword(L"Status Dialog ID", id) || id == 0)
            continue;
        // Window handles are 32-bit values that widen with sign extension.
        HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(id)));
        // After a crash the value names a window that is gone, and its handle may since belong to another.
        std::string caption;
        if (IsWindow(window) && windowText(window, caption) && widen(caption) == statusCaption())
            return window;
    }
    return nullptr;
}

HWND statusWindow() {
    HWND registered = registeredStatusWindow();
    return registered ? registered : FindWindowW(nullptr, statusCaption().c_str());
}

std::string className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return narrow(name);
}

// The window a command acts on: the status window, or with --window the top-level window of that caption.
HWND targetWindow(const Invocation& invocation) {
    return invocation.window ? FindWindowW(nullptr, widen(*invocation.window).c_str()) : statusWindow();
}

// Finds the target window within the invocation's timeout.
bool findStatusWindow(const Invocation& invocation, HWND& window) {
    return waitUntil(invocation.timeoutSeconds, [&] { return (window = targetWindow(invocation)) != nullptr; });
}

// Finds the status window and one of its controls within the invocation's timeout.
int findControl(const Invocation& invocation, const std::string& idText, HWND& window, HWND& control) {
    int id = 0;
    if (!qvprobe::parseControlId(idText, id)) {
        qvtools::reportError("bad control id " + idText);
        return kUsage;
    }
    bool found = waitUntil(invocation.timeoutSeconds, [&] {
        window = targetWindow(invocation);
        control = window ? GetDlgItem(window, id) : nullptr;
        return control != nullptr;
    });
    if (found)
        return kDone;
    return fail(window ? "the status window has no control " + idText : "no status window");
}

struct MessageBoxWindow {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

struct BoxSearch {
    const std::optional<std::string>* requested;
    MessageBoxWindow found;
};

BOOL CALLBACK considerBox(HWND window, LPARAM context) {
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(context);
    std::string caption;
    if (!IsWindowVisible(window) || className(window) != "#32770" || !windowText(window, caption) ||
        !qvprobe::isWantedBoxCaption(caption, *search.requested))
        return TRUE;
    search.found.window = window;
    search.found.caption = caption;
    HWND text = GetDlgItem(window, kMessageBoxTextId);
    if (text)
        windowText(text, search.found.text);
    return FALSE;
}

bool findBox(const Invocation& invocation, MessageBoxWindow& box) {
    return waitUntil(invocation.timeoutSeconds, [&] {
        BoxSearch search = {&invocation.caption, {}};
        EnumWindows(considerBox, reinterpret_cast<LPARAM>(&search));
        box = search.found;
        return box.window != nullptr;
    });
}

std::string boxLine(const MessageBoxWindow& box) {
    return qvprobe::escapeLineBreaks(box.caption) + "\t" + qvprobe::escapeLineBreaks(box.text);
}

BOOL CALLBACK noteChildPaint(HWND child, LPARAM context) {
    if (GetUpdateRect(child, nullptr, FALSE))
        *reinterpret_cast<bool*>(context) = true;
    return TRUE;
}

bool paintPending(HWND window) {
    bool pending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    EnumChildWindows(window, noteChildPaint, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

// Parses "<message> <wParam> <lParam>" from the operands.
bool parseMessage(const Invocation& invocation, UINT& message, WPARAM& wParam, LPARAM& lParam) {
    uint64_t values[3];
    for (int i = 0; i < 3; ++i) {
        if (!qvprobe::parseNumber(invocation.operands[static_cast<std::size_t>(i)], values[i])) {
            qvtools::reportError("bad number " + invocation.operands[static_cast<std::size_t>(i)]);
            return false;
        }
    }
    if (values[0] > 0xFFFFFFFF) {
        qvtools::reportError("bad message " + invocation.operands[0]);
        return false;
    }
    message = static_cast<UINT>(values[0]);
    wParam = static_cast<WPARAM>(values[1]);
    lParam = static_cast<LPARAM>(values[2]);
    return true;
}

int findCommand(const Invocation& invocation) {
    HWND window = nullptr;
    if (!findStatusWindow(invocation, window))
        return fail("no status window");
    char handle[32];
    snprintf(handle, sizeof handle, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    print(handle);
    return kDone;
}

int textCommand(const Invocation& invocation) {
    HWND window = nullptr;
    HWND control = nullptr;
    int found = findControl(invocation, invocation.operands[0], window, control);
    if (found != kDone)
        return found;
    std::string text;
    if (!windowText(control, text))
        return fail("the status window does not answer");
    print(text);
    return kDone;
}

int waitTextCommand(const Invocation& invocation) {
    const std::string& expected = invocation.operands[1];
    int id = 0;
    if (!qvprobe::parseControlId(invocation.operands[0], id)) {
        qvtools::reportError("bad control id " + invocation.operands[0]);
        return kUsage;
    }
    std::string last;
    bool seen = false;
    bool matched = waitUntil(invocation.timeoutSeconds, [&] {
        HWND window = targetWindow(invocation);
        HWND control = window ? GetDlgItem(window, id) : nullptr;
        std::string text;
        if (!control || !windowText(control, text))
            return false;
        seen = true;
        last = text;
        return text == expected;
    });
    if (!matched) {
        return fail(seen ? "control " + invocation.operands[0] + " reads \"" + last + "\", not \"" + expected + "\""
                         : "no control " + invocation.operands[0] + " in a status window");
    }
    print(last);
    return kDone;
}

// Does what a user's click does: an automatic check box changes state, then the dialog is told. Posted, in
// that order, so that a click that opens a modal window does not block the probe.
int clickCommand(const Invocation& invocation) {
    HWND window = nullptr;
    HWND control = nullptr;
    int found = findControl(invocation, invocation.operands[0], window, control);
    if (found != kDone)
        return found;
    LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (className(control) == "Button" && (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE)) {
        DWORD_PTR checked = 0;
        SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &checked);
        PostMessageW(control, BM_SETCHECK, checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    WPARAM command = MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED); // STN_CLICKED for texts is the same 0
    if (!PostMessageW(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(control)))
        return fail("cannot post to the window");
    return kDone;
}

// Types a text into a control at once, as the file name of an Open dialog.
int setTextCommand(const Invocation& invocation) {
    HWND window = nullptr;
    HWND control = nullptr;
    int found = findControl(invocation, invocation.operands[0], window, control);
    if (found != kDone)
        return found;
    const std::wstring text = widen(invocation.operands[1]);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kReplyTimeoutMs, &result) ||
        result != TRUE)
        return fail("the control did not take the text");
    return kDone;
}

// A key pressed and released on a control (a list's VK_HOME selects its first row).
int keyCommand(const Invocation& invocation) {
    HWND window = nullptr;
    HWND control = nullptr;
    int found = findControl(invocation, invocation.operands[0], window, control);
    if (found != kDone)
        return found;
    uint64_t key = 0;
    if (!qvprobe::parseNumber(invocation.operands[1], key) || key > 0xFF)
        return fail("bad virtual key " + invocation.operands[1]);
    if (!PostMessageW(control, WM_KEYDOWN, static_cast<WPARAM>(key), 1) ||
        !PostMessageW(control, WM_KEYUP, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001)))
        return fail("cannot post to the control");
    return kDone;
}

// The message of a post or send command and the window it goes to; kDone when both are there.
struct MessageTarget {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

int findMessageTarget(const Invocation& invocation, MessageTarget& target) {
    if (!parseMessage(invocation, target.message, target.wParam, target.lParam))
        return kUsage;
    if (!findStatusWindow(invocation, target.window))
        return fail("no status window");
    return kDone;
}

int postCommand(const Invocation& invocation) {
    MessageTarget target;
    int found = findMessageTarget(invocation, target);
    if (found != kDone)
        return found;
    if (!PostMessageA(target.window, target.message, target.wParam, target.lParam))
        return fail("cannot post to the status window");
    return kDone;
}

int sendCommand(const Invocation& invocation) {
    MessageTarget target;
    int found = findMessageTarget(invocation, target);
    if (found != kDone)
        return found;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(target.window, target.message, target.wParam, target.lParam, SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result))
        return fail("the status window did not answer in time");
    print(std::to_string(static_cast<long long>(static_cast<LONG_PTR>(result))));
    return kDone;
}

int boxCommand(const Invocation& invocation) {
    MessageBoxWindow box;
    if (!findBox(invocation, box))
        return fail("no message box");
    print(boxLine(box));
    return kDone;
}

int answerCommand(const Invocation& invocation) {
    int id = 0;
    if (!qvprobe::parseButton(invocation.operands[0], id)) {
        qvtools::reportError("bad button " + invocation.operands[0]);
        return kUsage;
    }
    MessageBoxWindow box;
    if (!findBox(invocation, box))
        return fail("no message box");
    print(boxLine(box));
    HWND button = GetDlgItem(box.window, id);
    if (!button)
        return fail("the message box has no button " + invocation.operands[0]);
    if (!PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)))
        return fail("cannot post to the message box");
    if (!waitUntil(invocation.timeoutSeconds, [&] { return !IsWindow(box.window); }))
        return fail("the message box stayed open");
    return kDone;
}

int waitGoneCommand(const Invocation& invocation) {
    if (!waitUntil(invocation.timeoutSeconds, [&] { return targetWindow(invocation) == nullptr; }))
        return fail("the window is still there");
    return kDone;
}

int windowTextCommand(const Invocation& invocation) {
    HWND window = nullptr;
    std::string text;
    if (!findStatusWindow(invocation, window))
        return fail("no status window");
    if (!windowText(window, text))
        return fail("the status window does not answer");
    print(text);
    return kDone;
}

// Ready when the window is shown, its thread answers, and neither it nor a control waits to be painted.
int screenshotReadyCommand(const Invocation& invocation) {
    bool ready = waitUntil(invocation.timeoutSeconds, [&] {
        HWND window = targetWindow(invocation);
        DWORD_PTR ignored = 0;
        return window && IsWindowVisible(window) &&
               SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored) &&
               !paintPending(window);
    });
    return ready ? kDone : fail("the status window is not shown and painted");
}

// Prints "status" when the window's owner is the status window, "none" without an owner, else the owner's handle;
// and whether the window takes input.
int ownerCommand(const Invocation& invocation) {
    HWND window = nullptr;
    if (!findStatusWindow(invocation, window))
        return fail("no such window");
    HWND owner = GetWindow(window, GW_OWNER);
    char text[64];
    if (owner == nullptr)
        snprintf(text, sizeof text, "none");
    else if (owner == statusWindow())
        snprintf(text, sizeof text, "status");
    else
        snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(owner)));
    print(std::string(text) + (IsWindowEnabled(window) ? " enabled" : " disabled"));
    return kDone;
}

// The notification-area record of the status window's icon <id> (the first operand); only hWnd and uID identify
// it. kDone when both are there.
int findTrayRecord(const Invocation& invocation, NOTIFYICONDATAW& data) {
    data = NOTIFYICONDATAW{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    uint64_t id = 0;
    if (!qvprobe::parseNumber(invocation.operands[0], id) || id > 0xFFFFFFFF) {
        qvtools::reportError("bad icon id " + invocation.operands[0]);
        return kUsage;
    }
    data.uID = static_cast<UINT>(id);
    if (!findStatusWindow(invocation, data.hWnd))
        return fail("no status window");
    return kDone;
}

// Succeeds while the status window's icon <id> is in the notification area: only a present icon can be modified.
int trayIconCommand(const Invocation& invocation) {
    NOTIFYICONDATAW data;
    int found = findTrayRecord(invocation, data);
    if (found != kDone)
        return found;
    if (!waitUntil(invocation.timeoutSeconds, [&] { return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE; }))
        return fail("no such icon in the notification area");
    print("present");
    return kDone;
}

// Does to the status window what an Explorer restart does: its icon <id> is gone, and "TaskbarCreated" is
// broadcast.
int taskbarRestartCommand(const Invocation& invocation) {
    NOTIFYICONDATAW data;
    int found = findTrayRecord(invocation, data);
    if (found != kDone)
        return found;
    if (!Shell_NotifyIconW(NIM_DELETE, &data))
        return fail("the icon was not in the notification area");
    UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    if (message == 0 || !PostMessageW(HWND_BROADCAST, message, 0, 0))
        return fail("cannot broadcast TaskbarCreated");
    return kDone;
}

struct LayoutCheck {
    HFONT font;
    std::vector<std::string> problems;
    std::vector<std::pair<RECT, std::string>> texts;
};

// Text wider or taller than its control is clipped, unless the control shortens it with an ellipsis (a style
// of its own, or an owner-drawn field that does); two visible controls with text must not overlap (a pixel of
// rounding between neighbours in dialog units is allowed).
BOOL CALLBACK checkControlLayout(HWND control, LPARAM context) {
    LayoutCheck& check = *reinterpret_cast<LayoutCheck*>(context);
    std::string text;
    if (!IsWindowVisible(control) || !windowText(control, text) || text.empty())
        return TRUE;
    std::string kind = className(control);
    if (kind != "Static" && kind != "Button")
        return TRUE;
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, check.font);
    // Blanks at either end of a label are spacing, not text that must show.
    std::wstring wide = widen(text);
    wide.erase(0, wide.find_first_not_of(L' '));
    wide.erase(wide.find_last_not_of(L' ') + 1);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    // Buttons draw their caption inside an edge of two pixels on each side.
    const LONG margin = kind == "Button" ? 4 : 0;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool ellipsis = kind == "Static" && ((style & SS_ELLIPSISMASK) != 0 || (style & SS_TYPEMASK) == SS_OWNERDRAW);
    if ((extent.cx > client.right - margin && !ellipsis) || extent.cy > client.bottom)
        check.problems.push_back("clipped: " + std::to_string(GetDlgCtrlID(control)) + " \"" + text + "\" needs " +
                                 std::to_string(extent.cx) + "x" + std::to_string(extent.cy) + ", has " +
                                 std::to_string(client.right) + "x" + std::to_string(client.bottom));
    RECT bounds{};
    GetWindowRect(control, &bounds);
    for (const auto& [other, otherText] : check.texts) {
        RECT common{};
        if (IntersectRect(&common, &bounds, &other) && common.right - common.left > 1 && common.bottom - common.top > 1)
            check.problems.push_back("overlap: \"" + text + "\" and \"" + otherText + "\"");
    }
    check.texts.emplace_back(bounds, text);
    return TRUE;
}

int checkLayoutCommand(const Invocation& invocation) {
    HWND window = nullptr;
    if (!findStatusWindow(invocation, window))
        return fail("no such window");
    // Font handles belong to their process, so the dialogs' own font ("MS Sans Serif" 8) is made here anew.
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    LayoutCheck check{font, {}, {}};
    EnumChildWindows(window, checkControlLayout, reinterpret_cast<LPARAM>(&check));
    DeleteObject(font);
    for (const std::string& problem : check.problems)
        print(problem);
    return check.problems.empty() ? kDone : kFailed;
}

// Asks the status window for WM_NULL again and again for the given seconds and prints the longest answer time:
// how long a user would have waited on the window at the worst moment.
int answerTimesCommand(const Invocation& invocation) {
    const double seconds = std::atof(invocation.operands[0].c_str());
    HWND window = nullptr;
    if (!findStatusWindow(invocation, window))
        return fail("no status window");
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    double longestMs = 0;
    unsigned answers = 0;
    while (GetTickCount64() < end) {
        LARGE_INTEGER before{}, after{};
        QueryPerformanceCounter(&before);
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored))
            return fail("the status window did not answer within " + std::to_string(kSendTimeoutMs) + " ms");
        QueryPerformanceCounter(&after);
        const double ms = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) / frequency.QuadPart;
        longestMs = ms > longestMs ? ms : longestMs;
        ++answers;
        Sleep(5); // a steady sampling rate, not a wait for a condition
    }
    print("longest " + std::to_string(static_cast<long>(longestMs + 0.5)) + " ms of " + std::to_string(answers) +
          " answers");
    return kDone;
}

struct Command {
    qvprobe::CommandSyntax syntax;
    int (*run)(const Invocation&);
};

using qvprobe::kCaptionOption;
using qvprobe::kTimeoutOption;
using qvprobe::kWindowOption;

const Command kCommands[] = {
    {{"find", 0, kTimeoutOption, "find [--timeout S]"}, findCommand},
    {{"text", 1, kTimeoutOption | kWindowOption, "text <controlId> [--window C] [--timeout S]"}, textCommand},
    {{"wait-text", 2, kTimeoutOption | kWindowOption, "wait-text <controlId> <expected> [--window C] [--timeout S]"},
     waitTextCommand},
    {{"click", 1, kTimeoutOption | kWindowOption, "click <controlId> [--window C] [--timeout S]"}, clickCommand},
    {{"set-text", 2, kTimeoutOption | kWindowOption, "set-text <controlId> <text> [--window C] [--timeout S]"},
     setTextCommand},
    {{"key", 2, kTimeoutOption | kWindowOption, "key <controlId> <virtualKey> [--window C] [--timeout S]"}, keyCommand},
    {{"post", 3, kTimeoutOption, "post <message> <wParam> <lParam> [--timeout S]"}, postCommand},
    {{"send", 3, kTimeoutOption, "send <message> <wParam> <lParam> [--timeout S]"}, sendCommand},
    {{"box", 0, kTimeoutOption | kCaptionOption, "box [--caption C] [--timeout S]"}, boxCommand},
    {{"answer", 1, kTimeoutOption | kCaptionOption, "answer <button> [--caption C] [--timeout S]"}, answerCommand},
    {{"wait-gone", 0, kTimeoutOption | kWindowOption, "wait-gone [--window C] [--timeout S]"}, waitGoneCommand},
    {{"window-text", 0, kTimeoutOption | kWindowOption, "window-text [--window C] [--timeout S]"}, windowTextCommand},
    {{"screenshot-ready", 0, kTimeoutOption | kWindowOption, "screenshot-ready [--window C] [--timeout S]"},
     screenshotReadyCommand},
    {{"check-layout", 0, kTimeoutOption | kWindowOption, "check-layout [--window C] [--timeout S]"},
     checkLayoutCommand},
    {{"answer-times", 1, kTimeoutOption, "answer-times <seconds> [--timeout S]"}, answerTimesCommand},
    {{"owner", 0, kTimeoutOption | kWindowOption, "owner [--window C] [--timeout S]"}, ownerCommand},
    {{"tray-icon", 1, kTimeoutOption, "tray-icon <iconId> [--timeout S]"}, trayIconCommand},
    {{"taskbar-restart", 1, kTimeoutOption, "taskbar-restart <iconId> [--timeout S]"}, taskbarRestartCommand},
};

int usage() {
    std::string text = "usage: qvprobe <command> ...; commands:";
    for (const Command& command : kCommands)
        text += "\r\n  " + std::string(command.syntax.usage);
    qvtools::reportError(text);
    return kUsage;
}

} // namespace

int main() {
    std::vector<std::string> args = qvtools::commandLineArguments();
    if (args.size() < 2)
        return usage();
    for (const Command& command : kCommands) {
        if (args[1] != command.syntax.name)
            continue;
        Invocation invocation;
        std::string error;
        if (!qvprobe::parseInvocation(std::vector<std::string>(args.begin() + 2, args.end()), command.syntax,
                                      invocation, error)) {
            qvtools::reportError(error);
            return kUsage;
        }
        return command.run(invocation);
    }
    return usage();
}
