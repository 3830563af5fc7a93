#include "ui/win/Dialog.h"

namespace qv {

INT_PTR Dialog::runModal(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, &Dialog::dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::setItemText(int id, const char* text) const {
    SetDlgItemTextA(hwnd_, id, text);
}

void Dialog::showItem(int id, bool show) const {
    ShowWindow(GetDlgItem(hwnd_, id), show ? SW_SHOW : SW_HIDE);
}

INT_PTR CALLBACK Dialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE;
    INT_PTR result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

} // namespace qv
