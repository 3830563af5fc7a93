#pragma once
// A resizable list of names with a CDDA share each ("Recent files", "Recent directories"). It copies its lists
// when opened and remembers its position, size and column widths in the registry.
#include "common/Version.h"
#include "ui/PercentLayout.h"
#include "ui/win/Dialog.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

class RegistryKey;

// What the rows are: files open their own spectrum; directories (or no row selected) first ask for a file in the
// standard Open dialog, in the selected directory when there is one.
enum class PercentRole { Files, Directories };

class PercentWindow : public Dialog {
public:
    // registryKeyPath names the key that holds the window's geometry.
    explicit PercentWindow(std::string registryKeyPath = kRegistryKeyPath);

    // Empty means no suffix in the caption.
    void setTitle(const std::string& title);
    // Pairs names with percentages in order; the longer list's surplus is dropped.
    void setLists(const std::vector<std::string>& names, const std::vector<int32_t>& percentages);
    // What Spectrum... and a double-click on a file's row do: request gets the chosen file. acceptedTypes are the
    // extensions (without dot) the Open dialog offers. Without a request the button is disabled.
    void setSpectrum(PercentRole role, std::vector<std::string> acceptedTypes,
                     std::function<void(const std::string& file)> request);

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
    void onSpectrum();
    // The file the standard Open dialog chose, starting in directory when not empty; empty when cancelled.
    std::string chooseAudioFile(const std::string& directory) const;
    int selectedRow() const;
    HWND list() const;

    std::string registryKeyPath_;
    std::string title_;
    std::vector<Row> rows_;
    PercentRole role_ = PercentRole::Files;
    std::vector<std::string> acceptedTypes_;
    std::function<void(const std::string& file)> spectrumRequest_;
    PercentLayout layout_{};
    bool layoutCaptured_ = false;
};

} // namespace qv
