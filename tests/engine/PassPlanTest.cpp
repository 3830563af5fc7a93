#include "engine/PassPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace qv;

namespace {

constexpr int32_t kNone = -1; // a pass without a valid verdict

// A file's passes and its valid verdicts.
using Outcome = std::pair<int32_t, std::vector<int32_t>>;

// Runs a file's passes: answers[mode] is what the pass in that mode brings, and the pass in mode failsToStart
// cannot start. Of the passes running, the latest started ends first when latestFirst, so passes end out of
// mode order. mostSideBySide: the most passes that ran at once.
Outcome check(int32_t minimumValid, int32_t maximumTotal, int32_t sideBySide, const std::vector<int32_t>& answers,
              bool latestFirst, int32_t failsToStart, int32_t& mostSideBySide) {
    PassPlan plan(minimumValid, maximumTotal, sideBySide);
    std::vector<int32_t> running;
    mostSideBySide = 0;
    while (!plan.done()) {
        while (auto mode = plan.nextPass()) {
            if (*mode == failsToStart)
                plan.startFailed(*mode);
            else
                running.push_back(*mode);
        }
        mostSideBySide = std::max(mostSideBySide, plan.running());
        if (running.empty())
            break;
        const int32_t mode = latestFirst ? running.back() : running.front();
        running.erase(std::find(running.begin(), running.end(), mode));
        const int32_t answer = answers[static_cast<std::size_t>(mode) % answers.size()];
        plan.passEnded(mode, answer == kNone ? std::nullopt : std::optional<int32_t>(answer));
    }
    EXPECT_TRUE(plan.done());
    EXPECT_TRUE(running.empty()) << "no pass may run beyond those that count";
    return {plan.passes(), plan.verdicts()};
}

// The worker's loop before passes ran side by side, the reference: pass 0 always runs, unless it cannot start;
// a pass that cannot start ends the file after the passes before it.
Outcome oneAtATime(int32_t minimumValid, int32_t maximumTotal, const std::vector<int32_t>& answers,
                   int32_t failsToStart) {
    Outcome outcome{0, {}};
    do {
        if (outcome.first == failsToStart)
            break;
        const int32_t answer = answers[static_cast<std::size_t>(outcome.first++) % answers.size()];
        if (answer != kNone)
            outcome.second.push_back(answer);
    } while (outcome.first < maximumTotal && static_cast<int32_t>(outcome.second.size()) < minimumValid);
    return outcome;
}

} // namespace

TEST(PassPlan, PassesSideBySideGiveWhatPassesOneAtATimeGiveWhateverTheAnswersAndTheirOrder) {
    for (int32_t pattern = 0; pattern < 64; ++pattern) {
        std::vector<int32_t> answers;
        for (int bit = 0; bit < 6; ++bit)
            answers.push_back((pattern >> bit & 1) != 0 ? 10 * bit : kNone);
        for (int32_t minimumValid = 0; minimumValid <= 3; ++minimumValid) {
            for (int32_t maximumTotal = 0; maximumTotal <= 6; ++maximumTotal) {
                for (int32_t failsToStart : {-1, 0, 2}) {
                    const Outcome sequential = oneAtATime(minimumValid, maximumTotal, answers, failsToStart);
                    for (int32_t sideBySide = 1; sideBySide <= 4; ++sideBySide) {
                        for (bool latestFirst : {false, true}) {
                            int32_t most = 0;
                            EXPECT_EQ(
                                check(minimumValid, maximumTotal, sideBySide, answers, latestFirst, failsToStart, most),
                                sequential)
                                << pattern << " " << minimumValid << "/" << maximumTotal << " x" << sideBySide
                                << " fails " << failsToStart;
                            // As many start together as can count, and no more.
                            if (failsToStart < 0) {
                                EXPECT_EQ(most,
                                          std::min({sideBySide, std::max(minimumValid, 1), std::max(maximumTotal, 1)}));
                            }
                        }
                    }
                }
            }
        }
    }
}
