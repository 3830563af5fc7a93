#pragma once
// Runs a real dialog modally on the test thread while a helper thread finds its window and works its controls the
// way a user would. The dialog posts to a sink window of the helper thread; nothing dispatches there, so the posted
// messages wait in the helper's queue until takePosted reads them.
#include "ui/win/Dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace qvtest {

template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Windows need a display (under Wine: an X server in DISPLAY); without one these tests fail rather than pass unseen.
#define QV_REQUIRE_DIALOG(id)                                                                                          \
    ASSERT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << "dialog templates not linked in"

inline std::string itemText(HWND window, int id) {
    char text[1024] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

inline bool itemVisible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

using Posted = std::tuple<UINT, WPARAM, LPARAM>;

// Everything posted to the sink since the last call, oldest first.
inline std::vector<Posted> takePosted(HWND sink) {
    std::vector<Posted> taken;
    MSG msg;
    while (PeekMessageA(&msg, sink, WM_APP, 0xBFFF, PM_REMOVE))
        taken.emplace_back(msg.message, msg.wParam, msg.lParam);
    return taken;
}

// A visible top-level window with exactly this caption (shown once its dialog is set up); null when there is none.
inline HWND findWindow(const std::string& caption) {
    HWND window = FindWindowA(nullptr, caption.c_str());
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

using Drive = std::function<void(HWND dialog, HWND sink)>;

// One modal run of the dialog that open(sink) makes, on this thread; drive works it from the helper thread, and a
// dialog that drive leaves open is closed the way Esc closes it.
inline void runModal(const std::string& caption, const std::function<qv::Dialog&(HWND sink)>& open, Drive drive) {
    std::promise<HWND> sinkMade;
    std::atomic<bool> finished{false};
    bool found = false;
    std::thread helper([&] {
        const std::unique_ptr<HWND__, BOOL(WINAPI*)(HWND)> sink(
            CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr), &DestroyWindow);
        sinkMade.set_value(sink.get());
        HWND dialog = nullptr;
        found = waitUntil([&] { return finished || (dialog = findWindow(caption)) != nullptr; }) && dialog;
        if (!found)
            return;
        drive(dialog, sink.get());
        if (IsWindow(dialog))
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    open(sinkMade.get_future().get()).runModal(nullptr);
    finished = true;
    helper.join();
    EXPECT_TRUE(found) << "no window captioned \"" << caption << "\" appeared";
}

} // namespace qvtest
