#include "engine/DecoderTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace qv;

TEST(DecoderTable, ExpandTemplateQuotesEachPathWithABlankEitherSide) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"{F} {T} -d", "C:\\in.ape", "C:\\t.wav", " \"C:\\in.ape\"   \"C:\\t.wav\"  -d"},
        {"-d -f -o {T} {F}", "a.flac", "t.wav", "-d -f -o  \"t.wav\"   \"a.flac\" "},
        {"{F}{F}", "a", "t", " \"a\"  \"a\" "},
        {"{T} {F}", "D:\\{T}\\x.wv", "C:\\{F}.wav", " \"C:\\{F}.wav\"   \"D:\\{T}\\x.wv\" "},
        {"{f} {F", "a", "t", "{f} {F"},
    };
    for (const auto& [argumentTemplate, source, target, expanded] : cases)
        EXPECT_EQ(expandTemplate(argumentTemplate, source, target), expanded) << argumentTemplate;
}

TEST(DecoderTable, RegistryValuesSplitIntoDecoderNameAndTemplate) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"mac.exe {F} {T} -d", "mac.exe", "{F} {T} -d"},
        {"\"my flac.exe\" -d -o {T} {F}", "my flac.exe", "-d -o {T} {F}"},
        {"flac.exe", "flac.exe", ""},
        {" flac.exe -d {F}", " flac.exe -d {F}", ""},
        {"\"my flac.exe -d", "\"my flac.exe -d", ""},
    };
    for (const auto& [value, decoderFile, argumentTemplate] : cases) {
        DecoderCommand command = parseDecoderValue(value);
        EXPECT_EQ(command.decoderFile, decoderFile) << value;
        EXPECT_EQ(command.argumentTemplate, argumentTemplate) << value;
    }
    EXPECT_EQ(formatDecoderValue({"my flac.exe", "-d {F}"}), "\"my flac.exe\" -d {F}");
}

TEST(DecoderTable, DecoderTypesNeedTheirDecoderFileOtherTypesAreTakenAsTheyAre) {
    struct Case {
        const char* name;
        const char* storedValue;
        const char* presentFile;
        std::optional<DecoderRow> row;
        const char* valueAfter;
    };
    const Case cases[] = {
        {"flac", "", "P:\\flac\\flac.exe", DecoderRow{true, "flac", "P:\\flac\\flac.exe", "-d -f -o {T} {F}"},
         "flac.exe -d -f -o {T} {F}"},
        {"ape", "", "", std::nullopt, "mac.exe {F} {T} -d"},
        {"shn", "", "P:\\shn\\shortn32.exe", DecoderRow{true, "shn", "P:\\shn\\shortn32.exe", "-x {F} {T}"},
         "shortn32.exe -x {F} {T}"},
        {"APE", "", "P:\\APE\\mac.exe", DecoderRow{false, "APE", "", ""}, ""},
        {"wav", "", "", DecoderRow{false, "wav", "", ""}, ""},
        {"flac", "\"my flac.exe\" -d -o {T} {F}", "P:\\flac\\my flac.exe",
         DecoderRow{true, "flac", "P:\\flac\\my flac.exe", "-d -o {T} {F}"}, "\"my flac.exe\" -d -o {T} {F}"},
        {"flac", "flac.exe", "P:\\flac\\flac.exe", DecoderRow{false, "flac", "flac.exe", ""}, "flac.exe"},
        {"ogg", "oggdec.exe -o {T} {F}", "", std::nullopt, "oggdec.exe -o {T} {F}"},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> values;
        if (*c.storedValue != '\0')
            values["." + std::string(c.name)] = c.storedValue;
        std::vector<std::string> events;
        DecoderEnvironment environment{
            [&](const std::string& name) { return values.count(name) ? values[name] : std::string(); },
            [&](const std::string& name, const std::string& value) {
                values[name] = value;
                events.push_back("write");
            },
            [&](const std::string& path) {
                events.push_back("exists");
                return path == c.presentFile;
            }};
        std::optional<DecoderRow> row = rowForSubdirectory("P:", c.name, environment);
        ASSERT_EQ(row.has_value(), c.row.has_value()) << c.name << " " << c.storedValue;
        if (row) {
            EXPECT_EQ(row->type, c.row->type);
            EXPECT_EQ(row->needsDecoding, c.row->needsDecoding) << c.name;
            EXPECT_EQ(row->decoderPath, c.row->decoderPath) << c.name;
            EXPECT_EQ(row->argumentTemplate, c.row->argumentTemplate) << c.name;
        }
        EXPECT_EQ(values.count("." + std::string(c.name)) ? values["." + std::string(c.name)] : "", c.valueAfter);
        auto write = std::find(events.begin(), events.end(), "write");
        EXPECT_TRUE(write == events.end() || write == events.begin())
            << c.name << ": the default must be written before the decoder is sought";
    }
}

TEST(DecoderTable, FindsTheFirstRowOfATypeWithoutRegardToCase) {
    DecoderTable table;
    table.append({true, "flac", "P:\\flac\\flac.exe", "-d {F}"});
    table.append({false, "wav", "", ""});
    table.append({false, "FLAC", "", ""});
    EXPECT_EQ(table.findRow("FLAC"), &table.rows()[0]);
    EXPECT_EQ(table.findRow("Wav"), &table.rows()[1]);
    EXPECT_EQ(table.findRow("wv"), nullptr);
}
