#include "engine/DecoderTable.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace qv;

TEST(DecoderTable, ExpandTemplateQuotesEachPathWithABlankEitherSide) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"{F} {T} -d", "C:\\in.ape", "C:\\t.wav", " \"C:\\in.ape\"   \"C:\\t.wav\"  -d"},
        {"{F}{F}", "a", "t", " \"a\"  \"a\" "},
        {"{T} {F}", "D:\\{T}\\x.wv", "C:\\{F}.wav", " \"C:\\{F}.wav\"   \"D:\\{T}\\x.wv\" "},
        {"{f} {F", "a", "t", "{f} {F"},
    };
    for (const auto& [argumentTemplate, source, target, expanded] : cases)
        EXPECT_EQ(expandTemplate(argumentTemplate, source, target), expanded) << argumentTemplate;
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
        {"APE", "", "P:\\APE\\mac.exe", DecoderRow{false, "APE", "", ""}, ""},
        {"flac", "\"my flac.exe\" -d -o {T} {F}", "P:\\flac\\my flac.exe",
         DecoderRow{true, "flac", "P:\\flac\\my flac.exe", "-d -o {T} {F}"}, "\"my flac.exe\" -d -o {T} {F}"},
        {"flac", "flac.exe", "P:\\flac\\flac.exe", DecoderRow{false, "flac", "flac.exe", ""}, "flac.exe"},
        {"ogg", "oggdec.exe -o {T} {F}", "", std::nullopt, "oggdec.exe -o {T} {F}"},
    };
    auto fields = [](const std::optional<DecoderRow>& row) {
        return row ? std::make_tuple(row->needsDecoding, row->type, row->decoderPath, row->argumentTemplate)
                   : std::make_tuple(false, std::string("none"), std::string(), std::string());
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> values;
        if (*c.storedValue != '\0')
            values["." + std::string(c.name)] = c.storedValue;
        DecoderEnvironment environment{[&](const std::string& name) { return values[name]; },
                                       [&](const std::string& name, const std::string& value) { values[name] = value; },
                                       [&](const std::string& path) { return path == c.presentFile; }};
        EXPECT_EQ(fields(rowForSubdirectory("P:", c.name, environment)), fields(c.row)) << c.name << c.storedValue;
        EXPECT_EQ(values["." + std::string(c.name)], c.valueAfter) << c.name;
    }
}
