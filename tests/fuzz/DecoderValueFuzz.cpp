// libFuzzer target: a subdirectory name and its registry decoder value through rowForSubdirectory, and the
// value's template through expandTemplate. Input: name, stored value, source and target path, cut at NUL bytes;
// an odd input length makes the decoder file present.
#include "FuzzSupport.h"

#include "engine/DecoderTable.h"

#include <optional>

using qvfuzz::countOf;
using qvfuzz::require;

namespace {

const std::string kProgramDirectory = "C:\\Program Files\\Quorvane";

void checkExpansion(const std::string& argumentTemplate, const std::string& source, const std::string& target) {
    const std::string expanded = qv::expandTemplate(argumentTemplate, source, target);
    const std::size_t sources = countOf(argumentTemplate, "{F}");
    const std::size_t targets = countOf(argumentTemplate, "{T}");
    require(expanded.size() == argumentTemplate.size() + sources * (source.size() + 1) + targets * (target.size() + 1),
            "each placeholder gives way to its path in blanks and quotes, nothing else changes");
    // An inserted path sits between a blank and a quote, so no placeholder survives from the template and none
    // inside a path is expanded again.
    for (const char* placeholder : {"{F}", "{T}"})
        require(countOf(expanded, placeholder) ==
                    sources * countOf(source, placeholder) + targets * countOf(target, placeholder),
                "placeholders in the output are exactly those inside the inserted paths");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = qvfuzz::nulSeparated(data, size, 4);
    const std::string& name = parts[0];
    const std::string& stored = parts[1];
    const bool decoderPresent = size % 2 == 1;
    const qv::DecoderCommand command = stored.empty() ? qv::builtInDecoder(name) : qv::parseDecoderValue(stored);
    require(stored.empty() || (!command.decoderFile.empty() && stored.find(command.decoderFile) != std::string::npos &&
                               stored.size() >= command.argumentTemplate.size() &&
                               stored.compare(stored.size() - command.argumentTemplate.size(), std::string::npos,
                                              command.argumentTemplate) == 0),
            "a stored value is the decoder's name and then the template");
    checkExpansion(command.argumentTemplate, parts[2], parts[3]);

    const std::string valueName = qv::decoderValueName(name);
    std::vector<std::string> written;
    std::vector<std::string> looked;
    const qv::DecoderEnvironment environment{
        [&](const std::string& asked) { return asked == valueName ? stored : std::string(); },
        [&](const std::string& asked, const std::string& value) {
            require(asked == valueName, "only the subdirectory's own value is written");
            written.push_back(value);
        },
        [&](const std::string& path) {
            looked.push_back(path);
            return decoderPresent;
        }};
    const std::optional<qv::DecoderRow> row = qv::rowForSubdirectory(kProgramDirectory, name, environment);
    const bool decodes = !command.decoderFile.empty() && !command.argumentTemplate.empty();
    const bool writesDefault = stored.empty() && decodes;
    require(written.size() == (writesDefault ? 1u : 0u), "only a missing decoder value is written, once");
    if (writesDefault) {
        const qv::DecoderCommand back = qv::parseDecoderValue(written[0]);
        require(back.decoderFile == command.decoderFile && back.argumentTemplate == command.argumentTemplate,
                "a written default reads back the same");
    }
    const std::string decoderPath = kProgramDirectory + "\\" + name + "\\" + command.decoderFile;
    if (decodes)
        require(looked == std::vector<std::string>{decoderPath} && row.has_value() == decoderPresent,
                "a decoder type is kept exactly when its decoder is in its subdirectory");
    else
        require(looked.empty() && row && !row->needsDecoding, "a type without a full command is taken as it is");
    require(!row ||
                (row->type == name && row->argumentTemplate == command.argumentTemplate &&
                 row->decoderPath == (decodes ? decoderPath : command.decoderFile) && row->needsDecoding == decodes),
            "a row carries the subdirectory's name and its value's parts");
    return 0;
}
