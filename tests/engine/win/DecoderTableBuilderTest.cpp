#include "engine/win/DecoderTableBuilder.h"

#include "settings/win/ScratchKey.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qv;

TEST(DecoderTableBuilder, EverySubdirectoryIsATypeAndDecoderTypesNeedTheirDecoder) {
    qvtest::TempDir programDirectory;
    qvtest::ScratchKey scratch;
    RegistryKey key(scratch.path());
    for (const char* name : {"flac", "wav", "tools", "ape"})
        std::filesystem::create_directory(programDirectory.path() / name);
    qvtest::writeFile(programDirectory.file("flac\\flac.exe"), "MZ");
    qvtest::writeFile(programDirectory.file("aucdtect.exe"), "MZ");
    DecoderTable table = buildDecoderTable(programDirectory.str(), key);

    std::vector<std::string> types;
    for (const DecoderRow& row : table.rows())
        types.push_back(row.type);
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, (std::vector<std::string>{"flac", "tools", "wav"}));
    const DecoderRow* flac = table.findRow("flac");
    ASSERT_NE(flac, nullptr);
    EXPECT_TRUE(flac->needsDecoding);
    EXPECT_EQ(flac->decoderPath, programDirectory.str() + "\\flac\\flac.exe");
    EXPECT_FALSE(table.findRow("tools")->needsDecoding);

    EXPECT_EQ(key.readString(".ape"), "mac.exe {F} {T} -d");
    EXPECT_EQ(key.readString(".flac"), "flac.exe -d -f -o {T} {F}");
    EXPECT_EQ(key.readString(".wav"), "");

    EXPECT_TRUE(buildDecoderTable(programDirectory.str() + "\\absent", key).rows().empty());
}
