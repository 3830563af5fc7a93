#include "common/StateFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ReadDataLines, SkipsCommentsAndEmptyLinesAndCutsLongLines) {
    std::string longLine(3000, 'x');
    std::string content = ";c\r\n#c\r\n\r\n\n a\tb\r\n" + longLine + "\nlast";
    auto lines = readDataLines(content, LineEnds::CrSkipsNext);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " a\tb"); // a line beginning with a blank is data
    EXPECT_EQ(lines[1], std::string(2047, 'x'));
    EXPECT_EQ(lines[2], "last");
}

TEST(ReadDataLines, CrOnlyLineEndsLoseAFirstCharacterOnlyInQueueMode) {
    std::string content = "12\tflac\tA\r34\tflac\tB\r56\tflac\tC";
    auto queue = readDataLines(content, LineEnds::CrSkipsNext);
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[1], "4\tflac\tB");
    EXPECT_EQ(queue[2], "6\tflac\tC");

    auto any = readDataLines(content, LineEnds::Any);
    ASSERT_EQ(any.size(), 3u);
    EXPECT_EQ(any[1], "34\tflac\tB");
}

TEST(ReadDataLines, LinesThatAreNotUtf8AreReadInTheAnsiCodePage) {
    // "Fjörd" as an older build wrote it (Latin-1/Windows-1252), and as this one writes it.
    auto lines = readDataLines("1\twav\tD:\\Fj\xF6rd.wav\r\n1\twav\tD:\\Fj\xC3\xB6rd.wav\r\n", LineEnds::CrSkipsNext);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "1\twav\tD:\\Fj\xC3\xB6rd.wav");
    EXPECT_EQ(lines[1], lines[0]);
}

TEST(WriteFileAtomically, ReplacesWholeFileAndLeavesNoTemporary) {
    qvtest::TempDir dir;
    std::string path = dir.file("Queue.log");
    qvtest::writeFile(path, "old content that is longer");
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(qvtest::readFile(path), "new");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(WriteFileAtomically, FailsWithoutTouchingAnythingWhenADirectoryStandsInTheWay) {
    qvtest::TempDir dir;
    std::string path = dir.file("Queue.log");
    std::filesystem::create_directory(path);
    EXPECT_FALSE(writeFileAtomically(path, "data"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}
