#pragma once
// A thread of its own that runs posted jobs in order, and a tick at a steady period between them: slow work
// (listing a large tree, saving a large queue) must never stall the status window or the heartbeat.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace qv {

class JobThread {
public:
    using Job = std::function<void()>;

    // tick, when given, runs every period, between jobs.
    explicit JobThread(Job tick = nullptr, std::chrono::milliseconds period = std::chrono::milliseconds(500));
    ~JobThread();
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    void start();
    // Runs job on the thread after the jobs posted before it; before start or after stop it runs nothing.
    void post(Job job);
    // Runs the jobs already posted, then ends the thread; waits for it.
    void stop();

private:
    void run();

    Job tick_;
    std::chrono::milliseconds period_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    bool accepting_ = false;
    std::thread thread_;
};

} // namespace qv
