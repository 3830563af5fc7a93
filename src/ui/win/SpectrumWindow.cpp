#include "ui/win/SpectrumWindow.h"

#include "common/Text.h"
#include "common/Version.h"
#include "ui/win/DialogIds.h"
#include "win/Handles.h"

#include <wincodec.h>

#include <utility>

namespace qv {
namespace {

constexpr const char* kClassName = "QuorvaneSpectrum";
constexpr UINT WM_APP_SPECTRUM_DRAWN = WM_APP + 1;

bool registerClass() {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExA(&windowClass) != 0;
    }();
    return registered;
}

// The program's narrow strings are in the ANSI code page (UTF-8 under its manifest).
std::wstring widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

SpectrumWindow::SpectrumWindow(SpectrumTools tools, const std::string& file)
    : job_(std::make_unique<SpectrumJob>(std::move(tools), file)) {}

HWND SpectrumWindow::open(HWND owner, SpectrumTools tools, const std::string& file) {
    if (!registerClass())
        return nullptr;
    auto* window = new SpectrumWindow(std::move(tools), file);
    const std::string title = formatText("%s - Spectrum - %s", kProductName, fileNamePart(file).c_str());
    HWND hwnd = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 920,
                                680, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) {
        delete window;
        return nullptr;
    }
    window->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpectrumWindow::windowProc));
    window->message_ = CreateWindowExA(0, "STATIC", "Drawing...", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0, 0,
                                       0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SPECTRUM_MESSAGE)),
                                       GetModuleHandleA(nullptr), nullptr);
    SendMessageA(window->message_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    window->placeMessage();
    if (!window->job_->start(hwnd, WM_APP_SPECTRUM_DRAWN))
        window->showMessage("Cannot start drawing.");
    ShowWindow(hwnd, SW_SHOWNORMAL);
    return hwnd;
}

LRESULT CALLBACK SpectrumWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SpectrumWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete self;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT SpectrumWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP_SPECTRUM_DRAWN:
        onDrawn();
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SIZE:
        placeMessage();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_DESTROY:
        // Ends a child still drawing and removes the scratch files.
        job_.reset();
        return 0;
    default:
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

void SpectrumWindow::onDrawn() {
    if (job_->picturePath().empty()) {
        showMessage(job_->error());
    } else if (!loadPicture(job_->picturePath())) {
        showMessage("The picture could not be read.");
    } else {
        SetWindowTextA(message_, "");
        ShowWindow(message_, SW_HIDE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void SpectrumWindow::showMessage(const std::string& text) {
    SetWindowTextA(message_, text.c_str());
    ShowWindow(message_, SW_SHOW);
}

void SpectrumWindow::placeMessage() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    MoveWindow(message_, 8, client.bottom / 2 - 20, client.right > 16 ? client.right - 16 : 0, 60, TRUE);
}

bool SpectrumWindow::loadPicture(const std::string& path) {
    // First, so that it ends after every pointer below is released.
    win::ComApartment apartment;
    win::ComPtr<IWICImagingFactory> factory;
    win::ComPtr<IWICBitmapDecoder> decoder;
    win::ComPtr<IWICBitmapFrameDecode> frame;
    win::ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.replaceVoidAddress())) ||
        FAILED(factory->CreateDecoderFromFilename(widen(path).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.replaceAddress())) ||
        FAILED(decoder->GetFrame(0, frame.replaceAddress())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(converter.replaceAddress())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    std::vector<BYTE> pixels(static_cast<std::size_t>(width) * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data())))
        return false;
    pixels_ = std::move(pixels);
    pictureWidth_ = static_cast<int>(width);
    pictureHeight_ = static_cast<int>(height);
    return true;
}

void SpectrumWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (!pixels_.empty()) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = pictureWidth_;
        info.bmiHeader.biHeight = -pictureHeight_; // rows top to bottom
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(dc, HALFTONE);
        StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, pictureWidth_, pictureHeight_, pixels_.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
}

} // namespace qv
