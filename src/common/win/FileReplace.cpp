#include "common/StateFile.h"

#include <windows.h>

namespace qv {

// The C runtime's rename refuses to replace an existing file on Windows.
bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace qv
