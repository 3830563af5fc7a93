#pragma once
// UTF-8, the program's text encoding: validity, display width, and reading text of the older ANSI files.
#include <cstdint>
#include <string>

namespace qv {

// True when text is well-formed UTF-8 (no stray continuation bytes, overlong forms, surrogates or values
// beyond U+10FFFF).
bool isValidUtf8(const std::string& text);

// Columns the text takes in a monospaced viewer: East Asian wide and fullwidth characters take two,
// combining marks none, every other character one. A byte that is not part of valid UTF-8 takes one.
int32_t displayColumns(const std::string& text);

// Text in the system's ANSI code page (files written by older builds or other programs) as UTF-8.
// Each platform has its own: the system's code page on Windows, Latin-1 natively.
std::string ansiToUtf8(const std::string& text);

} // namespace qv
