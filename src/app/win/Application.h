#pragma once
// The one object of a running instance: owns the queue, the worker and every long-lived part, and runs
// start-up and shut-down in order.
#include "app/CheckpointPacer.h"
#include "app/win/StatusView.h"
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
#include <vector>

namespace qv {

class NamedLock;

class Application : public WorkerHost {
public:
    // commandLine is the process's whole command line, program path first.
    explicit Application(const std::string& commandLine);
    ~Application() override;

    // False when this process ends at once: the detector is missing, or another instance runs and has
    // been handed this start's files.
    bool startUp();
    // Saves what must survive and stops the worker, after the status window has closed.
    void shutDown();
    // The status window that hears the worker's news, or null.
    void attachView(StatusView* view);

    // Steering the worker, from the user-interface thread.
    void pauseWorker();
    void resumeWorker();
    void setWorkerPriority(int32_t level);
    bool paused() const { return paused_; }

    void setEraseQueue(bool erase) { eraseQueue_ = erase; }

    // The status window is up and has written itself and a fresh time stamp into the instance record:
    // the next start may look for this instance now.
    void statusWindowReady();

    // Reads every hand-off file of the program directory into the queue.
    void pickUpHandOffFiles();
    // Lists one argument text (a command line, a dropped path) into a hand-off file.
    void listArguments(const std::string& argumentText);
    // Saves the queue, the current directory's results and the statistics when they changed since the
    // last time, so that a crash loses at most the file in work. Called about once a second.
    void checkpoint();

    // Points the queue's change notifications at a window (null to stop). Posts coalesce: while one is
    // waiting, further changes post nothing, so a big load cannot flood the window's message queue; the
    // window reads the count when it takes the message, so the count shown is always the latest.
    void attachQueueDisplay(HWND window, UINT message);
    // Called by the window when it takes the message: the count to show.
    int32_t takeQueueCount();
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
    bool nextEntry(QueueEntry& entry) override;
    void timingStarted(const QueueEntry& entry) override;
    void entryFinished(const QueueEntry& entry, int32_t passes, int32_t validPasses, int32_t average) override;
    void entryDropped(const QueueEntry& entry, bool timingWasStarted) override;
    void stateChanged(WorkerState state) override;
    void queueDrained() override;

    void formPaths();
    // False when another instance runs; this start's files are handed to it then.
    bool becomeRunningInstance();
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
    // This process is the running instance (it registered), not a start that hands its files over.
    bool registered_ = false;
    // Listed files that no hand-off file could take (the program directory cannot be written); the next
    // pick-up adds them. Used on the user-interface thread only.
    std::vector<QueueEntry> entriesWithoutHandOff_;
    // Held while an entry leaves the queue and its row is recorded, and while a checkpoint saves, so a
    // checkpoint never sees a file in neither place.
    std::mutex stateMutex_;
    uint64_t checkpointedChange_ = UINT64_MAX;
    CheckpointPacer checkpointPacer_;

    DiagnosticLog log_;
    SharedSettings settings_;
    QueueStore queue_;
    DirectoryResults results_;
    RecentDirectories recent_;
    ResultLogWriter resultLog_;
    FileTypeStats stats_;
    DecoderTable decoders_;
    std::atomic<bool> queueCountPosted_{false};
    std::unique_ptr<Worker> worker_;
    std::unique_ptr<NamedLock> startUpLock_;
    std::unique_ptr<NamedLock> instanceLock_;
    bool oleInitialised_ = false;
    // The worker reaches the status window through this pointer; the lock keeps the window object alive
    // for the length of each call.
    std::mutex viewMutex_;
    StatusView* view_ = nullptr;
};

} // namespace qv
