#include "ui/win/PercentWindow.h"

#include "common/Text.h"
#include "ui/PercentRows.h"
#include "settings/SettingsTable.h"
#include "settings/win/RegistryKey.h"
#include "ui/win/DialogIds.h"
#include "ui/win/ResourceIds.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <utility>

namespace qv {

namespace {

struct Column {
    const char* header;
    int format;
    int defaultWidth;
    const char* widthValue;
};

constexpr std::array<Column, 3> kColumns = {{
    {"#", LVCFMT_LEFT, 24, kValuePercentWindowNumberWidth},
    {"Name", LVCFMT_LEFT, 288, kValuePercentWindowNameWidth},
    {"%", LVCFMT_RIGHT, 48, kValuePercentWindowPercentWidth},
}};

void loadCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

void setCellText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace

PercentWindow::PercentWindow(std::string registryKeyPath)
    : Dialog(IDD_PERCENT), registryKeyPath_(std::move(registryKeyPath)) {
    loadCommonControls();
}

void PercentWindow::setTitle(const std::string& title) {
    title_ = title;
}

void PercentWindow::setLists(const std::vector<std::string>& names, const std::vector<int32_t>& percentages) {
    rows_.clear();
    std::size_t count = std::min(names.size(), percentages.size());
    for (std::size_t i = 0; i < count; ++i)
        rows_.push_back({names[i], percentages[i]});
}

void PercentWindow::setSpectrum(PercentRole role, std::vector<std::string> acceptedTypes,
                                std::function<void(const std::string& file)> request) {
    role_ = role;
    acceptedTypes_ = std::move(acceptedTypes);
    spectrumRequest_ = std::move(request);
}

INT_PTR PercentWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        return TRUE;
    case WM_SIZE:
        if (layoutCaptured_)
            placeControls(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_PERCENT_LIST || header->code != NM_DBLCLK)
            return FALSE;
        // A double-click opens a file's row; a directory's row needs a file chosen first.
        if (role_ == PercentRole::Files && selectedRow() >= 0)
            onSpectrum();
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PERCENT_SPECTRUM) {
            onSpectrum();
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_PERCENT_CLOSE || LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(hwnd(), IDOK);
        return TRUE;
    case WM_DESTROY:
        saveGeometry();
        return FALSE;
    default:
        return FALSE;
    }
}

void PercentWindow::onInitDialog() {
    std::string caption = formatText("%s - %s", kProductName, kVersion);
    if (!title_.empty())
        caption += " - " + title_;
    SetWindowTextA(hwnd(), caption.c_str());
    EnableWindow(GetDlgItem(hwnd(), IDC_PERCENT_SPECTRUM), spectrumRequest_ ? TRUE : FALSE);
    // Captured before the stored geometry is applied, so the resize below already keeps the layout.
    captureLayout();
    RegistryKey key(registryKeyPath_);
    restoreGeometry(key);
    insertColumns(key);
    insertRows();
}

HWND PercentWindow::list() const {
    return GetDlgItem(hwnd(), IDC_PERCENT_LIST);
}

void PercentWindow::captureLayout() {
    RECT client{};
    RECT list{};
    RECT close{};
    RECT spectrum{};
    GetClientRect(hwnd(), &client);
    GetWindowRect(this->list(), &list);
    GetWindowRect(GetDlgItem(hwnd(), IDC_PERCENT_CLOSE), &close);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&close), 2);
    GetWindowRect(GetDlgItem(hwnd(), IDC_PERCENT_SPECTRUM), &spectrum);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&spectrum), 2);
    layout_.client = {client.right - client.left, client.bottom - client.top};
    layout_.list = {list.right - list.left, list.bottom - list.top};
    layout_.close = {close.left, close.top};
    layout_.spectrum = {spectrum.left, spectrum.top};
    layoutCaptured_ = true;
}

void PercentWindow::restoreGeometry(const RegistryKey& key) {
    // A stored zero pair means "not stored".
    int32_t x = key.readNumber(kValuePercentWindowX, 0);
    int32_t y = key.readNumber(kValuePercentWindowY, 0);
    if (x != 0 || y != 0)
        SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    int32_t width = key.readNumber(kValuePercentWindowWidth, 0);
    int32_t height = key.readNumber(kValuePercentWindowHeight, 0);
    if (width != 0 || height != 0)
        SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PercentWindow::insertColumns(const RegistryKey& key) {
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const Column& column = kColumns[i];
        int32_t stored = key.readNumber(column.widthValue, 0);
        LVCOLUMNA header{};
        header.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
        header.fmt = column.format;
        header.cx = stored != 0 ? stored : column.defaultWidth;
        header.pszText = const_cast<char*>(column.header);
        SendMessageA(list(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&header));
    }
}

void PercentWindow::insertRows() {
    HWND view = list();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        std::string number = rowNumberText(i);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(number.c_str());
        int row = static_cast<int>(SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0)
            continue;
        setCellText(view, row, 1, rows_[i].name);
        setCellText(view, row, 2, percentCellText(rows_[i].percent));
    }
}

void PercentWindow::placeControls(int width, int height) {
    PercentPlacement placement = placePercentControls(layout_, {width, height});
    SetWindowPos(list(), nullptr, 0, 0, placement.list.width, placement.list.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(hwnd(), IDC_PERCENT_CLOSE), nullptr, placement.close.x, placement.close.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(hwnd(), IDC_PERCENT_SPECTRUM), nullptr, placement.spectrum.x, placement.spectrum.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int PercentWindow::selectedRow() const {
    const auto row = static_cast<int>(SendMessageA(list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? row : -1;
}

void PercentWindow::onSpectrum() {
    if (!spectrumRequest_)
        return;
    const int row = selectedRow();
    if (role_ == PercentRole::Files && row >= 0) {
        spectrumRequest_(rows_[row].name);
        return;
    }
    const std::string file = chooseAudioFile(role_ == PercentRole::Directories && row >= 0 ? rows_[row].name : "");
    if (!file.empty())
        spectrumRequest_(file);
}

std::string PercentWindow::chooseAudioFile(const std::string& directory) const {
    std::string patterns;
    for (const std::string& type : acceptedTypes_)
        patterns += (patterns.empty() ? "*." : ";*.") + type;
    // Two strings per filter, each ending with a zero, and one more zero after the last.
    std::string filter = "Audio files (" + patterns + ")";
    filter.push_back('\0');
    filter += patterns;
    filter.push_back('\0');
    char file[MAX_PATH * 4] = {};
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = hwnd();
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = file;
    open.nMaxFile = sizeof file;
    open.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameA(&open) ? std::string(file) : std::string();
}

void PercentWindow::saveGeometry() {
    RECT window{};
    if (!GetWindowRect(hwnd(), &window))
        return;
    RegistryKey key(registryKeyPath_);
    key.writeNumber(kValuePercentWindowX, window.left);
    key.writeNumber(kValuePercentWindowY, window.top);
    key.writeNumber(kValuePercentWindowWidth, window.right - window.left);
    key.writeNumber(kValuePercentWindowHeight, window.bottom - window.top);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        auto width = static_cast<int32_t>(SendMessageA(list(), LVM_GETCOLUMNWIDTH, i, 0));
        key.writeNumber(kColumns[i].widthValue, width);
    }
}

} // namespace qv
