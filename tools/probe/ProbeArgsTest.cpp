// The probe's reading of its arguments: a misread message number, button or caption would make the end-to-end
// scenarios post, press or read something other than what they say.
#include "ProbeArgs.h"

#include <gtest/gtest.h>

using namespace qvprobe;

TEST(ProbeArgs, SplitsOperandsFromOptionsAndRefusesWhatACommandDoesNotTake) {
    const CommandSyntax answer = {"answer", 1, kTimeoutOption | kCaptionOption, "answer <button>"};
    const CommandSyntax text = {"text", 1, kTimeoutOption | kWindowOption, "text <controlId>"};
    Invocation invocation;
    std::string error;
    ASSERT_TRUE(parseInvocation({"--caption", "Confirm exit", "yes", "--timeout", "2.5"}, answer, invocation, error));
    EXPECT_EQ(invocation.operands, std::vector<std::string>{"yes"});
    EXPECT_EQ(invocation.caption, std::optional<std::string>("Confirm exit"));
    EXPECT_DOUBLE_EQ(invocation.timeoutSeconds, 2.5);
    ASSERT_TRUE(parseInvocation({"1037", "--window", "Configuration"}, text, invocation, error));
    EXPECT_EQ(invocation.window, std::optional<std::string>("Configuration"));
    EXPECT_DOUBLE_EQ(invocation.timeoutSeconds, 10);

    const struct {
        std::vector<std::string> words;
        const char* error;
    } refused[] = {
        {{"1009", "1010"}, "usage: text <controlId>"},      {{"1009", "--caption", "x"}, "text takes no --caption"},
        {{"1009", "--timeout"}, "--timeout needs a value"}, {{"1009", "--timeout", "ten"}, "bad timeout ten"},
        {{"1009", "--wait", "1"}, "unknown option --wait"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(parseInvocation(c.words, text, invocation, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(ProbeArgs, ReadsNumbersMessagesAndButtonsAsScriptsWriteThem) {
    const struct {
        const char* text;
        bool ok;
        uint64_t value;
    } numbers[] = {
        {"1009", true, 1009},        {"0x8013", true, 0x8013}, {"-1", true, UINT64_MAX},
        {"WM_APP+23", true, 0x8017}, {"WM_CLOSE", true, 0x10}, {"WM_COMMAND", true, 0x111},
        {"12a", false, 0},           {"WM_APP-1", false, 0},   {"WM_APPLE", false, 0},
    };
    for (const auto& c : numbers) {
        uint64_t value = 0;
        EXPECT_EQ(parseNumber(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    int id = 0;
    const std::pair<const char*, int> buttons[] = {{"ok", 1}, {"cancel", 2}, {"yes", 6}, {"no", 7}, {"1001", 1001}};
    for (const auto& [text, button] : buttons) {
        EXPECT_TRUE(parseButton(text, id)) << text;
        EXPECT_EQ(id, button) << text;
    }
    EXPECT_FALSE(parseButton("maybe", id));
    EXPECT_FALSE(parseControlId("65536", id));
}

TEST(ProbeArgs, ReadsTheProgramsBoxesUnlessToldACaptionAndPrintsThemOnOneLine) {
    EXPECT_TRUE(isWantedBoxCaption("Confirm exit", std::nullopt));
    EXPECT_FALSE(isWantedBoxCaption("Quorvane - v0.33 - Status", std::nullopt));
    EXPECT_FALSE(isWantedBoxCaption("Quorvane", std::string("About")));
    EXPECT_EQ(escapeLineBreaks("Erase\r\n\r\nfrom\nthe\rqueue"), "Erase\\n\\nfrom\\nthe\\nqueue");
}
