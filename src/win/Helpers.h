#pragma once
// Small Win32 helpers that several layers use.
#include <string>

namespace qv::win {

// A message box without owner, caption "Quorvane", one OK button; returns when it is closed.
void showMessageBox(const std::string& text);

// The variable's value; empty when it is not set or longer than a path.
std::string environmentVariable(const char* name);

// True for an existing file that is not a directory.
bool isExistingFile(const std::string& path);

// The temporary directory without its trailing backslash; empty when unknown.
std::string temporaryDirectory();

} // namespace qv::win
