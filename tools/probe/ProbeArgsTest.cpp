#include "ProbeArgs.h"

#include <gtest/gtest.h>

using namespace qvprobe;

namespace {

const CommandSyntax kAnswer = {"answer", 1, kTimeoutOption | kCaptionOption, "answer <button>"};
const CommandSyntax kText = {"text", 1, kTimeoutOption, "text <controlId>"};

} // namespace

TEST(ProbeArgs, SplitsOperandsFromOptionsAnywhereOnTheLine) {
    Invocation invocation;
    std::string error;
    ASSERT_TRUE(parseInvocation({"--caption", "Confirm exit", "yes", "--timeout", "2.5"}, kAnswer, invocation, error))
        << error;
    EXPECT_EQ(invocation.operands, std::vector<std::string>{"yes"});
    EXPECT_EQ(invocation.caption, std::optional<std::string>("Confirm exit"));
    EXPECT_DOUBLE_EQ(invocation.timeoutSeconds, 2.5);

    ASSERT_TRUE(parseInvocation({"1009"}, kText, invocation, error));
    EXPECT_DOUBLE_EQ(invocation.timeoutSeconds, 10);
    EXPECT_FALSE(invocation.caption);
}

TEST(ProbeArgs, RefusesWhatACommandDoesNotTake) {
    const struct {
        std::vector<std::string> words;
        const char* error;
    } cases[] = {
        {{}, "usage: text <controlId>"},
        {{"1009", "1010"}, "usage: text <controlId>"},
        {{"1009", "--caption", "x"}, "text takes no --caption"},
        {{"1009", "--timeout"}, "--timeout needs a value"},
        {{"1009", "--timeout", "-1"}, "bad timeout -1"},
        {{"1009", "--timeout", "ten"}, "bad timeout ten"},
        {{"1009", "--timeout", "1e9"}, "bad timeout 1e9"},
        {{"1009", "--timeout", "100000"}, "bad timeout 100000"},
        {{"1009", "--wait", "1"}, "unknown option --wait"},
    };
    for (const auto& c : cases) {
        Invocation invocation;
        std::string error;
        EXPECT_FALSE(parseInvocation(c.words, kText, invocation, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(ProbeArgs, ReadsNumbersAsScriptsWriteThem) {
    const struct {
        const char* text;
        bool ok;
        uint64_t value;
    } cases[] = {
        {"0", true, 0},
        {"1009", true, 1009},
        {"0x8013", true, 0x8013},
        {"0XfF", true, 0xFF},
        {"-1", true, UINT64_MAX},
        {"WM_APP", true, 0x8000},
        {"WM_APP+23", true, 0x8017},
        {"WM_APP+0x13", true, 0x8013},
        {"WM_CLOSE", true, 0x10},
        {"WM_COMMAND+1", true, 0x112},
        {"", false, 0},
        {"0x", false, 0},
        {"12a", false, 0},
        {"WM_APP+", false, 0},
        {"WM_APP-1", false, 0},
        {"WM_APPLE", false, 0},
        {"wm_app", false, 0},
        {"18446744073709551616", false, 0},
    };
    for (const auto& c : cases) {
        uint64_t value = 0;
        EXPECT_EQ(parseNumber(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(ProbeArgs, ControlsAndButtonsStayWithinDialogIdentifiers) {
    int id = 0;
    EXPECT_TRUE(parseControlId("65535", id));
    EXPECT_EQ(id, 65535);
    EXPECT_FALSE(parseControlId("65536", id));
    EXPECT_FALSE(parseControlId("-1", id));

    const struct {
        const char* text;
        int id;
    } buttons[] = {{"ok", 1}, {"cancel", 2}, {"yes", 6}, {"no", 7}, {"1001", 1001}};
    for (const auto& b : buttons) {
        EXPECT_TRUE(parseButton(b.text, id)) << b.text;
        EXPECT_EQ(id, b.id) << b.text;
    }
    EXPECT_FALSE(parseButton("maybe", id));
}

TEST(ProbeArgs, PrintedTextsFitOnOneLine) {
    EXPECT_EQ(escapeLineBreaks("Erase 7 entries\r\n\r\nfrom\nthe\rqueue?"), "Erase 7 entries\\n\\nfrom\\nthe\\nqueue?");
    EXPECT_EQ(escapeLineBreaks("C:\\music\\x.flac"), "C:\\music\\x.flac");
}

TEST(ProbeArgs, LooksForTheProgramsBoxesUnlessToldACaption) {
    EXPECT_TRUE(isWantedBoxCaption("Quorvane", std::nullopt));
    EXPECT_TRUE(isWantedBoxCaption("Confirm exit", std::nullopt));
    EXPECT_FALSE(isWantedBoxCaption("Quorvane - v0.33 - Status", std::nullopt));
    EXPECT_TRUE(isWantedBoxCaption("About", std::string("About")));
    EXPECT_FALSE(isWantedBoxCaption("Quorvane", std::string("About")));
}

TEST(ParseInvocation, WindowOptionNamesAnotherDialogOnlyWhereTheCommandTakesIt) {
    const qvprobe::CommandSyntax text{"text", 1, qvprobe::kTimeoutOption | qvprobe::kWindowOption, "text"};
    const qvprobe::CommandSyntax post{"post", 3, qvprobe::kTimeoutOption, "post"};
    qvprobe::Invocation invocation;
    std::string error;
    ASSERT_TRUE(qvprobe::parseInvocation({"1037", "--window", "Quorvane - v0.33 - Configuration"}, text, invocation,
                                         error));
    EXPECT_EQ(invocation.window, std::optional<std::string>("Quorvane - v0.33 - Configuration"));
    EXPECT_EQ(invocation.operands, std::vector<std::string>{"1037"});
    EXPECT_FALSE(qvprobe::parseInvocation({"1", "2", "3", "--window", "X"}, post, invocation, error));
    EXPECT_FALSE(qvprobe::parseInvocation({"1037", "--window"}, text, invocation, error));
}
