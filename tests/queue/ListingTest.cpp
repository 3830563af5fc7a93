#include "queue/Listing.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(Listing, SizeInKbRoundsHalvesUpWithinItsLimits) {
    const std::pair<uint64_t, uint32_t> cases[] = {
        {0, 1},
        {1023, 1},
        {1535, 1},
        {1536, 2},
        {2560, 3},
        {(uint64_t{1} << 31) - 1, 2097152},
        {uint64_t{1} << 31, 2097152},
        {uint64_t{3} << 30, 2097152},
        {(uint64_t{1} << 32) + 1024, 2097152}}; // the low 32 bits alone would read as 1 kB
    for (const auto& [bytes, kb] : cases)
        EXPECT_EQ(sizeInKb(bytes), kb) << bytes;
}

TEST(Listing, OnlyTypesOfTheDecoderTableAreAcceptedAndKeepTheirCase) {
    DecoderTable decoders;
    decoders.append({true, "flac", "C:\\P\\flac\\flac.exe", "-d {F} {T}"});
    decoders.append({false, "wav", "", ""});
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\A\\x.FLAC", "FLAC"}, {"C:\\A\\x.tar.Wav", "Wav"}, {"C:\\A\\.wav", "wav"},        {"x.wav", "wav"},
        {"C:\\A\\x.mp3", nullptr}, {"C:\\A\\x.", nullptr},      {"C:\\A\\x.flac.bak", nullptr}};
    for (const auto& [path, type] : cases) {
        std::optional<QueueEntry> entry = acceptedEntry(path, 1536, decoders);
        ASSERT_EQ(entry.has_value(), type != nullptr) << path;
        EXPECT_EQ(entry ? entry->type : "", type ? type : "");
    }
}

TEST(Listing, OnlyDrivePathsAndUncPathsAreAbsolute) {
    for (const char* path : {"C:\\A\\x.wav", "d:/x.wav", "\\\\server\\share\\x.wav", "D:\\"})
        EXPECT_TRUE(isAbsolutePath(path)) << path;
    for (const char* path : {"C:x.wav", "\\A\\x.wav", "x.wav", "..\\x.wav", "1:\\x.wav", ""})
        EXPECT_FALSE(isAbsolutePath(path)) << path;
}

TEST(Listing, HandOffNamesUseLowerCaseHexadecimal) {
    EXPECT_EQ(handOffFileName("C:\\P", 0xFFFFFFFF, 0x1A), "C:\\P\\Queue_ffffffff_1a.log");
}
