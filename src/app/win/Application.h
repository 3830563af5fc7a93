#pragma once
// The one object of a running instance: owns the queue, the worker and every long-lived part, and runs
// start-up and shut-down in order.
#include "engine/DecoderTable.h"
#include "engine/win/Worker.h"
#include "logs/DiagnosticLog.h"
#include "estimate/FileTypeStats.h"
#include "logs/DirectoryResults.h"
#include "logs/RecentDirectories.h"
#include "logs/ResultLog.h"
#include "queue/QueueStore.h"
#include "settings/Settings.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace qv {

class StatusDialog;

class Application : public WorkerHost {
public:
    // commandLine is the process's whole command line, program path first.
    explicit Application(const std::string& commandLine);
    ~Application() override;

    // Start-up, the status window's modal run, and shut-down. Returns the process exit code.
    int run();

    // Steering the worker, from the user-interface thread.
    void pauseWorker();
    void resumeWorker();
    void setWorkerPriority(int32_t level);
    bool paused() const { return paused_; }

    void setEraseQueue(bool erase) { eraseQueue_ = erase; }
    bool diagnosticMode() const { return diagnosticMode_; }

    QueueStore& queue() { return queue_; }
    DirectoryResults& results() { return results_; }
    RecentDirectories& recentDirectories() { return recent_; }
    FileTypeStats& stats() { return stats_; }
    SharedSettings& settings() { return settings_; }
    const DecoderTable& decoders() const { return decoders_; }
    const DiagnosticLog& log() const { return log_; }
    const std::string& programDirectory() const { return programDirectory_; }
    const std::string& arguments() const { return arguments_; }

    // The machine name whose COMPUTERNAME turns diagnostic mode on.
    static constexpr const char* kDiagnosticMachineName = "QV-DIAGNOSTICS";

private:
    // WorkerHost, called on the worker thread.
    void entryTaken(const QueueEntry& entry) override;
    void timingStarted(const QueueEntry& entry) override;
    void entryFinished(const QueueEntry& entry, int32_t passes, int32_t validPasses, int32_t average) override;
    void entryDropped(const QueueEntry& entry, bool timingWasStarted) override;
    void setStatus(const std::string& text) override;
    void queueDrained() override;

    bool startUp();
    void shutDown();
    void postToStatusWindow(UINT message);
    // After any entry leaves the queue: writes its directory's log when the new head lies elsewhere.
    void closeDirectoryIfEnded(const QueueEntry& removed);

    std::string programDirectory_;
    std::string programFileName_;
    std::string arguments_;
    std::string systemLogPath_;
    std::string detectLogPath_;
    std::string recentLogPath_;
    std::string queueLogPath_;
    std::string estimateLogPath_;
    std::string detectorPath_;
    bool diagnosticMode_ = false;
    bool paused_ = false;
    bool eraseQueue_ = false;

    DiagnosticLog log_;
    SharedSettings settings_;
    QueueStore queue_;
    DirectoryResults results_;
    RecentDirectories recent_;
    ResultLogWriter resultLog_;
    FileTypeStats stats_;
    DecoderTable decoders_;
    std::unique_ptr<Worker> worker_;
    std::unique_ptr<StatusDialog> statusDialog_;
    // The worker reaches the status window through this pointer; the lock keeps the window object alive
    // for the length of each call.
    std::mutex statusDialogMutex_;
    StatusDialog* liveStatusDialog_ = nullptr;
};

} // namespace qv
