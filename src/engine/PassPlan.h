#pragma once
// Which detector passes of one file run, and when the file is done. Passes may run side by side and end in
// any order, yet the file's passes and verdicts are exactly those of checking one pass after the other: pass
// i runs in mode i, the verdicts count in mode order, and a file is done after the first pass k at which
// passes 0..k have brought "minimum valid" verdicts or k + 1 reaches "maximum total" (pass 0 always runs).
// A pass starts only while the passes running could not yet bring enough valid verdicts, so no pass beyond
// k is ever started: every started pass counts, as in one-at-a-time checking.
#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

class PassPlan {
public:
    PassPlan(int32_t minimumValid, int32_t maximumTotal, int32_t sideBySide);

    // The mode of the pass to start now, or nothing; the caller starts it or reports startFailed.
    std::optional<int32_t> nextPass();
    // A started pass ended; verdict is its valid verdict, if any.
    void passEnded(int32_t mode, std::optional<int32_t> verdict);
    // The pass could not be started: one-at-a-time checking would stop there, after the passes before it.
    void startFailed(int32_t mode);

    // Whether the file's outcome is known: every pass that counts has ended.
    bool done() const;
    // False when a pass could not start: the file's time then says nothing of how long checking takes.
    bool allStarted() const { return !failedMode_; }
    int32_t running() const { return started_ - ended_; }
    // Passes that count: the number of passes one-at-a-time checking would have run. Valid once done.
    int32_t passes() const;
    // Their valid verdicts in mode order. Valid once done.
    std::vector<int32_t> verdicts() const;

private:
    enum class Result { Running, NoVerdict, Verdict };
    struct Pass {
        Result result = Result::Running;
        int32_t verdict = 0;
    };
    // The number of passes that count, once passes 0..n-1 have ended; nothing while one of them runs.
    std::optional<int32_t> countingPasses() const;
    int32_t validEnded() const;

    int32_t minimumValid_;
    int32_t maximumTotal_;
    int32_t sideBySide_;
    std::vector<Pass> passes_;
    int32_t started_ = 0;
    int32_t ended_ = 0;
    std::optional<int32_t> failedMode_;
};

} // namespace qv
