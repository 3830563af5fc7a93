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

    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"1009", "1010"}, "usage: text <controlId>"},      {{"1009", "--caption", "x"}, "text takes no --caption"},
        {{"1009", "--timeout"}, "--timeout needs a value"}, {{"1009", "--timeout", "ten"}, "bad timeout ten"},
        {{"1009", "--wait", "1"}, "unknown option --wait"},
    };
    for (const auto& [words, message] : refused) {
        EXPECT_FALSE(parseInvocation(words, text, invocation, error));
        EXPECT_EQ(error, message);
    }
}

TEST(ProbeArgs, ReadsNumbersMessagesAndButtonsAsScriptsWriteThem) {
    const std::pair<const char*, std::optional<uint64_t>> numbers[] = {
        {"1009", 1009},        {"0x8013", 0x8013},         {"-1", UINT64_MAX},
        {"WM_APP+23", 0x8017}, {"WM_CLOSE", 0x10},         {"WM_COMMAND", 0x111},
        {"12a", std::nullopt}, {"WM_APP-1", std::nullopt}, {"WM_APPLE", std::nullopt},
    };
    for (const auto& [text, number] : numbers) {
        uint64_t value = 0;
        EXPECT_EQ(parseNumber(text, value) ? std::optional<uint64_t>(value) : std::nullopt, number) << text;
    }
    const std::pair<const char*, std::optional<int>> buttons[] = {{"ok", 1}, {"cancel", 2},  {"yes", 6},
                                                                  {"no", 7}, {"1001", 1001}, {"maybe", std::nullopt}};
    for (const auto& [text, button] : buttons) {
        int id = 0;
        EXPECT_EQ(parseButton(text, id) ? std::optional<int>(id) : std::nullopt, button) << text;
    }
    int id = 0;
    EXPECT_TRUE(parseControlId("65535", id));
    EXPECT_FALSE(parseControlId("65536", id));
}

TEST(ProbeArgs, ReadsTheProgramsBoxesUnlessToldACaptionAndPrintsThemOnOneLine) {
    EXPECT_TRUE(isWantedBoxCaption("Confirm exit", std::nullopt));
    EXPECT_FALSE(isWantedBoxCaption("Quorvane - v0.33 - Status", std::nullopt));
    EXPECT_EQ(escapeLineBreaks("Erase\r\n\r\nfrom\nthe\rqueue"), "Erase\\n\\nfrom\\nthe\\nqueue");
}
