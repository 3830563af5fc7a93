#include "common/Utf8.h"

#include <windows.h>

#include <vector>

namespace qv {
namespace {

// The program itself runs with the UTF-8 code page; files of older builds were written in the code page
// of the system's locale.
UINT systemAnsiCodePage() {
    DWORD codePage = 0;
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) == 0 ||
        codePage == 0 || codePage == CP_UTF8)
        return 1252;
    return codePage;
}

} // namespace

std::string ansiToUtf8(const std::string& text) {
    if (text.empty())
        return text;
    static const UINT codePage = systemAnsiCodePage();
    const int size = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (wideLength <= 0)
        return text;
    std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength));
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return text;
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &out[0], length, nullptr, nullptr);
    return out;
}

} // namespace qv
