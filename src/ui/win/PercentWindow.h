#pragma once
// A resizable list of names with a CDDA share each ("Recent files", "Recent directories"). It copies its lists
// when opened and remembers its position, size and column widths in the registry.
#include "common/Version.h"
#include "ui/PercentLayout.h"
#include "ui/win/Dialog.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class RegistryKey;

class PercentWindow : public Dialog {
public:
    // registryKeyPath names the key that holds the window's geometry.
    explicit PercentWindow(std::string registryKeyPath = kRegistryKeyPath);

    // Empty means no suffix in the caption.
    void setTitle(const std::string& title);
    // Pairs names with percentages in order; the longer list's surplus is dropped.
    void setLists(const std::vector<std::string>& names, const std::vector<int32_t>& percentages);

protected:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        std::string name;
        int32_t percent;
    };

    void onInitDialog();
    void captureLayout();
    void restoreGeometry(const RegistryKey& key);
    void insertColumns(const RegistryKey& key);
    void insertRows();
    void placeControls(int width, int height);
    void saveGeometry();
    HWND list() const;

    std::string registryKeyPath_;
    std::string title_;
    std::vector<Row> rows_;
    PercentLayout layout_{};
    bool layoutCaptured_ = false;
};

} // namespace qv
