#include "engine/PassPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace qv;

namespace {

constexpr int32_t kNone = -1; // a pass without a valid verdict

struct Outcome {
    int32_t passes;
    std::vector<int32_t> verdicts;
    int32_t mostSideBySide;
    bool operator==(const Outcome& o) const { return passes == o.passes && verdicts == o.verdicts; }
};

// Runs a file's passes: answers[mode] is what the pass in that mode brings. Of the passes running, the
// latest started ends first when latestFirst, so passes end out of mode order.
Outcome check(int32_t minimumValid, int32_t maximumTotal, int32_t sideBySide, const std::vector<int32_t>& answers,
              bool latestFirst, int32_t failsToStart = -1) {
    PassPlan plan(minimumValid, maximumTotal, sideBySide);
    std::vector<int32_t> running;
    Outcome outcome{0, {}, 0};
    while (!plan.done()) {
        while (auto mode = plan.nextPass()) {
            if (*mode == failsToStart)
                plan.startFailed(*mode);
            else
                running.push_back(*mode);
        }
        outcome.mostSideBySide = std::max(outcome.mostSideBySide, plan.running());
        if (running.empty())
            break;
        const int32_t mode = latestFirst ? running.back() : running.front();
        running.erase(std::find(running.begin(), running.end(), mode));
        const int32_t answer = answers[static_cast<std::size_t>(mode) % answers.size()];
        plan.passEnded(mode, answer == kNone ? std::nullopt : std::optional<int32_t>(answer));
    }
    EXPECT_TRUE(plan.done());
    EXPECT_TRUE(running.empty()) << "no pass may run beyond those that count";
    outcome.passes = plan.passes();
    outcome.verdicts = plan.verdicts();
    return outcome;
}

// The worker's loop before passes ran side by side, the reference.
Outcome oneAtATime(int32_t minimumValid, int32_t maximumTotal, const std::vector<int32_t>& answers) {
    Outcome outcome{0, {}, 1};
    do {
        const int32_t answer = answers[static_cast<std::size_t>(outcome.passes++) % answers.size()];
        if (answer != kNone)
            outcome.verdicts.push_back(answer);
    } while (outcome.passes < maximumTotal && static_cast<int32_t>(outcome.verdicts.size()) < minimumValid);
    return outcome;
}

} // namespace

TEST(PassPlan, PassesSideBySideCountAsPassesOneAfterTheOther) {
    struct Case {
        const char* what;
        int32_t minimumValid, maximumTotal, sideBySide;
        std::vector<int32_t> answers;
        int32_t failsToStart;
        Outcome expected;
    };
    const Case cases[] = {
        {"the minimum passes start together", 2, 12, 4, {90, 80}, -1, {2, {90, 80}, 2}},
        {"no more side by side than allowed", 3, 12, 2, {90, 80, 70}, -1, {3, {90, 80, 70}, 2}},
        {"a pass without verdict brings the next", 2, 12, 2, {kNone, 80, 70}, -1, {3, {80, 70}, 2}},
        {"verdicts in mode order", 2, 12, 2, {10, kNone, kNone, 40}, -1, {4, {10, 40}, 2}},
        {"maximum total spent", 2, 3, 2, {kNone}, -1, {3, {}, 2}},
        {"pass 0 runs even with no pass wanted", 0, 0, 4, {55}, -1, {1, {55}, 1}},
        {"one side by side is one at a time", 2, 12, 1, {kNone, 5, 6}, -1, {3, {5, 6}, 1}},
        {"a pass that cannot start ends the file after the passes before it",
         2,
         12,
         2,
         {kNone, kNone, 1},
         2,
         {2, {}, 2}},
        {"no pass starts: nothing counts", 2, 12, 2, {1}, 0, {0, {}, 0}},
    };
    for (const Case& c : cases) {
        for (bool latestFirst : {false, true}) {
            Outcome got = check(c.minimumValid, c.maximumTotal, c.sideBySide, c.answers, latestFirst, c.failsToStart);
            EXPECT_EQ(got, c.expected) << c.what << (latestFirst ? ", latest first" : "");
            EXPECT_EQ(got.mostSideBySide, c.expected.mostSideBySide) << c.what;
        }
    }
}

TEST(PassPlan, EveryPatternOfAnswersGivesWhatOneAtATimeGives) {
    for (int32_t pattern = 0; pattern < 64; ++pattern) {
        std::vector<int32_t> answers;
        for (int bit = 0; bit < 6; ++bit)
            answers.push_back((pattern >> bit & 1) != 0 ? 10 * bit : kNone);
        for (int32_t minimumValid = 1; minimumValid <= 3; ++minimumValid) {
            for (int32_t maximumTotal = 1; maximumTotal <= 6; ++maximumTotal) {
                const Outcome sequential = oneAtATime(minimumValid, maximumTotal, answers);
                for (int32_t sideBySide = 1; sideBySide <= 4; ++sideBySide) {
                    for (bool latestFirst : {false, true})
                        EXPECT_EQ(check(minimumValid, maximumTotal, sideBySide, answers, latestFirst), sequential)
                            << pattern << " " << minimumValid << "/" << maximumTotal << " x" << sideBySide;
                }
            }
        }
    }
}
