#include "engine/PassPlan.h"

#include <algorithm>

namespace qv {

PassPlan::PassPlan(int32_t minimumValid, int32_t maximumTotal, int32_t sideBySide)
    : minimumValid_(minimumValid), maximumTotal_(maximumTotal), sideBySide_(std::max<int32_t>(sideBySide, 1)) {}

std::optional<int32_t> PassPlan::nextPass() {
    if (failedMode_ || running() >= sideBySide_ || done())
        return std::nullopt;
    const int32_t mode = started_;
    // Pass 0 always runs; a later one only when the passes before it cannot bring enough valid verdicts even
    // if every one still running brings one.
    if (mode > 0 && (mode >= maximumTotal_ || validEnded() + running() >= minimumValid_))
        return std::nullopt;
    passes_.emplace_back();
    ++started_;
    return mode;
}

void PassPlan::passEnded(int32_t mode, std::optional<int32_t> verdict) {
    if (mode < 0 || mode >= started_ || passes_[mode].result != Result::Running)
        return;
    passes_[mode].result = verdict ? Result::Verdict : Result::NoVerdict;
    passes_[mode].verdict = verdict.value_or(0);
    ++ended_;
}

void PassPlan::startFailed(int32_t mode) {
    if (mode < 0 || mode + 1 != started_ || passes_[mode].result != Result::Running)
        return;
    passes_.pop_back();
    --started_;
    failedMode_ = mode;
}

int32_t PassPlan::validEnded() const {
    return static_cast<int32_t>(
        std::count_if(passes_.begin(), passes_.end(), [](const Pass& p) { return p.result == Result::Verdict; }));
}

std::optional<int32_t> PassPlan::countingPasses() const {
    int32_t valid = 0;
    for (int32_t k = 0; k < started_; ++k) {
        if (passes_[k].result == Result::Running)
            return std::nullopt;
        if (passes_[k].result == Result::Verdict)
            ++valid;
        if (valid >= minimumValid_ || k + 1 >= maximumTotal_)
            return k + 1;
    }
    // Every started pass has ended without settling the file: it is settled only when no pass can follow.
    if (failedMode_)
        return started_;
    return std::nullopt;
}

bool PassPlan::done() const {
    return countingPasses().has_value();
}

int32_t PassPlan::passes() const {
    return countingPasses().value_or(started_);
}

std::vector<int32_t> PassPlan::verdicts() const {
    std::vector<int32_t> list;
    const int32_t counting = passes();
    for (int32_t k = 0; k < counting; ++k) {
        if (passes_[k].result == Result::Verdict)
            list.push_back(passes_[k].verdict);
    }
    return list;
}

} // namespace qv
