#pragma once
// The shell link in the user's SendTo folder through which files and directories are sent to the program.
#include <string>

namespace qv {

inline constexpr const char* kSendToShortcutName = "Quorvane.lnk";

// The user's SendTo folder as the shell reports it, else "%USERPROFILE%\SendTo"; empty when neither is known.
std::string sendToFolder();

// Writes "<SendTo folder>\Quorvane.lnk" pointing at targetPath, replacing any file already there. Returns false
// when the link could not be written; the program runs on without it.
bool createSendToShortcut(const std::string& targetPath);

} // namespace qv
