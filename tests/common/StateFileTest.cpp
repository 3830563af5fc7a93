#include "common/StateFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ReadDataLines, SkipsCommentsAndEmptyLinesCutsLongLinesReadsAnsiLinesAndSkipsAfterCr) {
    const std::string content =
        ";c\r\n#c\r\n\r\n\n a\tb\r\n" + std::string(3000, 'x') + "\nD:\\Fj\xF6rd.wav\r\nD:\\Fj\xC3\xB6rd.wav\r\nlast";
    EXPECT_EQ(readDataLines(content, LineEnds::CrSkipsNext),
              (std::vector<std::string>{" a\tb", std::string(2047, 'x'), "D:\\Fj\xC3\xB6rd.wav", "D:\\Fj\xC3\xB6rd.wav",
                                        "last"}));
    EXPECT_EQ(readDataLines("12\tA\r34\tB\r56\tC", LineEnds::CrSkipsNext),
              (std::vector<std::string>{"12\tA", "4\tB", "6\tC"}));
}

TEST(WriteFileAtomically, ReplacesTheWholeFileLeavingNoTemporaryOrFailsWithoutTouchingAnything) {
    qvtest::TempDir dir;
    qvtest::writeFile(dir.file("Queue.log"), "old content that is longer");
    ASSERT_TRUE(writeFileAtomically(dir.file("Queue.log"), "new"));
    EXPECT_EQ(qvtest::readFile(dir.file("Queue.log")), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    std::filesystem::create_directory(dir.file("Directory.log"));
    EXPECT_FALSE(writeFileAtomically(dir.file("Directory.log"), "data"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Directory.log")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}
