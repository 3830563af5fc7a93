#pragma once
// A thin base for dialogs built from templates: the static procedure stores the object at
// WM_INITDIALOG and forwards every later message to handleMessage, which reads like a message map.
#include <windows.h>

namespace qv {

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; returns what EndDialog was given, or -1 when it could not be created.
    INT_PTR runModal(HWND owner);
    HWND hwnd() const { return hwnd_; }

protected:
    // Return TRUE when the message was handled; FALSE lets the dialog manager's default processing run.
    virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    void setItemText(int id, const char* text) const;
    void showItem(int id, bool show) const;

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
};

} // namespace qv
