#include "ui/win/DroppedFiles.h"

namespace qv {

void queueDroppedFiles(HDROP drop, const std::function<void(const std::string& argumentText)>& queueOne) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[2048] = {};
        if (DragQueryFileA(drop, i, path, sizeof path) > 0)
            queueOne(std::string("\"") + path + "\"");
    }
    DragFinish(drop);
}

} // namespace qv
