#pragma once
// A window with one file's spectrum picture: "Drawing..." while the detector draws it in the background, then
// the picture scaled to the window, or the reason there is none. Modeless and resizable, the file's name in its
// title; it owns itself and goes when it is closed or its owner is destroyed. The message is a static child
// (IDC_SPECTRUM_MESSAGE), hidden once the picture shows.
#include "app/win/SpectrumJob.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qv {

class SpectrumWindow {
public:
    // Opens a window for file, owned by owner; null when no window could be made.
    static HWND open(HWND owner, SpectrumTools tools, const std::string& file);

private:
    SpectrumWindow(SpectrumTools tools, const std::string& file);
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onDrawn();
    [[nodiscard]] bool loadPicture(const std::string& path);
    void paint();
    void showMessage(const std::string& text);
    void placeMessage();

    HWND hwnd_ = nullptr;
    std::unique_ptr<SpectrumJob> job_;
    HWND message_ = nullptr;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    std::vector<BYTE> pixels_; // 32-bit BGRA, rows top to bottom
};

} // namespace qv
