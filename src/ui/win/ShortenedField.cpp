#include "ui/win/ShortenedField.h"

#include <string>

#include "common/TextFit.h"

namespace qv {

void drawShortenedField(const DRAWITEMSTRUCT& item, Shortening shortening) {
    const int length = GetWindowTextLengthA(item.hwndItem);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(item.hwndItem, &text[0], length + 1)));

    HDC dc = item.hDC;
    const auto font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
    HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    const TextMeasure measure = [dc](const std::string& candidate) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, candidate.c_str(), static_cast<int>(candidate.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    RECT area = item.rcItem;
    const int width = area.right - area.left;
    const std::string shown =
        shortening == Shortening::Path ? fitPathToWidth(text, width, measure) : fitNameToWidth(text, width, measure);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(item.hwndItem) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (previousFont != nullptr)
        SelectObject(dc, previousFont);
}

} // namespace qv
