#pragma once
// The timing of the file in work: idle, running or paused; time spent paused is left out.
#include <cstdint>
#include <string>

namespace qv {

class FileTiming {
public:
    // Begins timing a file; false, and nothing changes, while another file is being timed or paused.
    bool start(const std::string& type, int32_t sizeKb, int64_t now);
    void pause(int64_t now);
    void resume(int64_t now);
    // Ends a running timing and gives its seconds; false, and nothing changes, unless running.
    bool finish(int64_t now, int32_t& seconds);
    // Ends a running or paused timing without a result.
    void abandon();

    // Seconds counted so far; never negative, so a clock set back cannot produce a negative time.
    int32_t elapsed(int64_t now) const;

    bool active() const { return active_; }
    bool paused() const { return paused_; }
    const std::string& type() const { return type_; }
    int32_t sizeKb() const { return sizeKb_; }

private:
    bool active_ = false;
    bool paused_ = false;
    std::string type_;
    int32_t sizeKb_ = 0;
    int64_t startTime_ = 0;        // at the start or the last resume
    int64_t pausedOutSeconds_ = 0; // counted before the last pause
};

} // namespace qv
