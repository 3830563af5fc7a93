#pragma once
// Runs a real dialog modally on the test thread while a helper thread finds its window and works its controls the
// way a user would. The dialog posts to a sink window of the helper thread; nothing dispatches there, so the posted
// messages wait in the helper's queue to be read.
#include "ui/win/Dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace qvtest {

template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Windows exist only with a display (under Wine: an X server in DISPLAY).
inline bool windowsAvailable() {
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    return probe != nullptr && DestroyWindow(probe);
}

#define QV_REQUIRE_DIALOG(id)                                                                                          \
    if (!qvtest::windowsAvailable())                                                                                   \
        GTEST_SKIP() << "windows need a display (DISPLAY under Wine)";                                                 \
    ASSERT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << "dialog templates not linked in"

using Posted = std::tuple<UINT, WPARAM, LPARAM>;

class MessageSink {
public:
    MessageSink() : hwnd_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~MessageSink() { DestroyWindow(hwnd_); }
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Everything posted since the last call, oldest first.
    std::vector<Posted> take() {
        std::vector<Posted> taken;
        MSG msg;
        while (PeekMessageA(&msg, hwnd_, WM_APP, 0xBFFF, PM_REMOVE))
            taken.emplace_back(msg.message, msg.wParam, msg.lParam);
        return taken;
    }

private:
    HWND hwnd_;
};

inline std::string itemText(HWND window, int id) {
    char text[1024] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

inline bool itemVisible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

using WindowSearch = std::pair<const std::string*, HWND>; // caption wanted, window found

inline BOOL CALLBACK matchCaption(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (!IsWindowVisible(window) || *search->first != text)
        return TRUE;
    search->second = window;
    return FALSE;
}

// A visible top-level window of the thread with exactly this caption; null when there is none.
inline HWND findWindow(DWORD threadId, const std::string& caption) {
    WindowSearch search{&caption, nullptr};
    EnumThreadWindows(threadId, &matchCaption, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// One modal run: construct on the test thread, give the dialog sink() as its target, then run().
class ModalDriver {
public:
    using Drive = std::function<void(HWND dialog, MessageSink& sink)>;

    ModalDriver(std::string caption, Drive drive) : caption_(std::move(caption)), drive_(std::move(drive)) {
        std::promise<HWND> sinkReady;
        std::future<HWND> sink = sinkReady.get_future();
        // The promise moves into the helper, so it outlives set_value whatever this thread does meanwhile.
        helper_ = std::thread([this, ready = std::move(sinkReady), thread = GetCurrentThreadId()]() mutable {
            MessageSink sink;
            ready.set_value(sink.hwnd());
            HWND dialog = nullptr;
            waitUntil([&] { return finished_ || (dialog = findWindow(thread, caption_)) != nullptr; });
            if (dialog == nullptr)
                return;
            found_ = true;
            drive_(dialog, sink);
            if (IsWindow(dialog))
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); // closed the way Esc closes it
        });
        sink_ = sink.get();
    }
    ~ModalDriver() {
        finished_ = true;
        if (helper_.joinable())
            helper_.join();
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    HWND sink() const { return sink_; }

    void run(qv::Dialog& dialog) {
        dialog.runModal(nullptr);
        finished_ = true;
        helper_.join();
        EXPECT_TRUE(found_) << "no window captioned \"" << caption_ << "\" appeared";
    }

private:
    std::string caption_;
    Drive drive_;
    HWND sink_ = nullptr;
    std::atomic<bool> finished_{false};
    std::atomic<bool> found_{false};
    std::thread helper_;
};

} // namespace qvtest
