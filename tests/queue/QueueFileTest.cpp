#include "queue/QueueFile.h"

#include "common/StateFile.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qv;

namespace {

// The file without its time-stamped header.
std::string body(const std::string& file) {
    return file.substr(stateFileHeader().size());
}

} // namespace

TEST(QueueFileFormat, FootersSaySingularPluralOrNone) {
    EXPECT_EQ(body(formatQueueFile({})), "; No files in queue\r\n;\r\n");
    EXPECT_EQ(body(formatQueueFile({{"D:\\x.FLAC", "FLAC", 2048}})),
              "2048\tFLAC\tD:\\x.FLAC\r\n;\r\n; 1 file listed\r\n;\r\n");
    EXPECT_EQ(body(formatQueueFile({{"a", "wav", 1}, {"b", "wav", 2}})),
              "1\twav\ta\r\n2\twav\tb\r\n;\r\n; 2 files listed\r\n;\r\n");
}

TEST(QueueFileFormat, ParsesFieldsByTheTabRules) {
    const std::tuple<const char*, uint32_t, const char*, const char*> cases[] = {
        {"2048\tFLAC\tD:\\x.FLAC", 2048, "FLAC", "D:\\x.FLAC"},
        {"123", 123, "123", "123"},                                   // no tab: every field is the whole line
        {"5\twav", 5, "wav", "5"},                                    // missing path reads as the first field
        {"7\twav\tlost\tC:\\y.wav", 7, "wav", "C:\\y.wav"},           // text between the second and last tab is lost
        {"abc\twav\tC:\\z.wav", 0, "wav", "C:\\z.wav"},               // no digits give 0
        {"-5\twav\tC:\\n.wav", 0, "wav", "C:\\n.wav"},                // negative: would wrap the totals
        {"99999999999\twav\tC:\\h.wav", 2097152, "wav", "C:\\h.wav"}, // beyond 2 GiB: the listed maximum
    };
    for (const auto& [line, size, type, path] : cases) {
        auto entries = parseQueueFile(std::string(line) + "\r\n");
        ASSERT_EQ(entries.size(), 1u) << line;
        EXPECT_EQ(std::make_tuple(entries[0].sizeKb, entries[0].type, entries[0].path),
                  std::make_tuple(size, std::string(type), std::string(path)))
            << line;
    }
}

TEST(QueueFileFormat, HostileContentGivesClearRowsAndLosesNoneOfTheRest) {
    std::string content = std::string("1\twav\tC:\\a\0b.wav\r\n", 18) + std::string(3000, 'x') + "\r\n\t\t\t\r\n" +
                          "2\twav\tC:\\last.wav\r\n";
    auto entries = parseQueueFile(content);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].path, std::string("C:\\a\0b.wav", 10)); // a NUL is data, not an end of line
    EXPECT_EQ(entries[1].path.size(), 2047u);
    EXPECT_EQ(entries[2].path, "");
    EXPECT_EQ(entries[3].path, "C:\\last.wav");
}
