#include "app/JobThread.h"

namespace qv {

JobThread::JobThread(Job tick, std::chrono::milliseconds period) : tick_(std::move(tick)), period_(period) {}

JobThread::~JobThread() {
    stop();
}

void JobThread::start() {
    std::lock_guard<std::mutex> guard(mutex_);
    if (thread_.joinable())
        return;
    accepting_ = true;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void JobThread::post(Job job) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (!accepting_)
            return;
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void JobThread::stop() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        accepting_ = false;
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void JobThread::run() {
    auto nextTick = std::chrono::steady_clock::now() + period_;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (!jobs_.empty()) {
            Job job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            lock.lock();
            continue;
        }
        if (stopping_)
            return;
        if (tick_ && std::chrono::steady_clock::now() >= nextTick) {
            nextTick = std::chrono::steady_clock::now() + period_;
            lock.unlock();
            tick_();
            lock.lock();
            continue;
        }
        if (tick_)
            wake_.wait_until(lock, nextTick);
        else
            wake_.wait(lock);
    }
}

} // namespace qv
