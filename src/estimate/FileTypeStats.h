#pragma once
// Per file type, how long detection takes: times each file (paused time left out), folds the result into
// the type's record, keeps the records in "Estimate.log" across runs, and answers the time estimates.
// The worker thread times files while the user-interface thread pauses, resumes and reads the estimates,
// so every operation holds the object's lock for its whole length.
#include "common/Clock.h"
#include "estimate/FileTiming.h"
#include "estimate/TimeEstimate.h"
#include "estimate/TypeRecord.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace qv {

class DiagnosticLog;

class FileTypeStats {
public:
    // log receives the scaling lines and may be null; now is replaced by tests.
    explicit FileTypeStats(const DiagnosticLog* log = nullptr, NowFunction now = nowSeconds);

    // Copies of "ETA Divide Count Exponent" and "ETA Divide Percent Value", taken at settings load.
    void setDivision(int32_t divideExponent, int32_t dividePercent);

    // Appends the records of the file at path, remembers path for saving and deletes the file.
    // A missing or unreadable file leaves the statistics as they are.
    void load(const std::string& path);
    // Writes every record to the remembered path, whole or not at all. False when nothing was written.
    [[nodiscard]] bool save();
    // The same write for periodic calls, done only when the records changed since the last write, so that
    // a crash loses at most the figures of the file in work.
    [[nodiscard]] bool checkpoint();

    // Begins timing a file; ignored while another file is timed or paused.
    void start(const std::string& type, uint32_t sizeKb);
    void pause();
    void resume();
    // Ends a running timing and records its time; ignored unless a file is timed and not paused.
    void finish();
    // Ends the timing of a file that left the queue unfinished, recording nothing, so the next start counts.
    void abandon();

    std::vector<TypeRecord> records() const;
    RunTotals runTotals() const;
    bool isTiming() const;
    bool isPaused() const;

    // Seconds left of the file being timed, from the estimates taken when it started.
    int32_t estimateCurrent(int level) const;
    // Seconds for count queued files of one type whose sizes add up to sizeKb.
    int32_t estimateQueuedType(int level, const std::string& type, uint32_t sizeKb, uint32_t count) const;

private:
    void computeSamples();
    bool writeFile();

    mutable std::mutex mutex_;
    const DiagnosticLog* log_;
    NowFunction now_;
    Division division_;
    FileTiming timing_;
    std::array<int32_t, 4> samples_{{-1, -1, -1, -1}}; // per level, fixed while the file runs
    std::vector<TypeRecord> records_;
    RunTotals totals_;
    std::string path_;
    bool unsaved_ = false;
};

} // namespace qv
