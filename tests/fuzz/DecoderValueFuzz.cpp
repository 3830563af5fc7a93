// libFuzzer target: registry decoder values and subdirectory names through parseDecoderValue and
// rowForSubdirectory. Input: name, NUL, stored value, NUL, and a last text whose first byte, when odd,
// makes the decoder file present.
#include "FuzzSupport.h"

#include "engine/DecoderTable.h"

#include <optional>

using qvfuzz::require;

namespace {

const std::string kProgramDirectory = "C:\\Program Files\\Quorvane";

bool sameCommand(const qv::DecoderCommand& a, const qv::DecoderCommand& b) {
    return a.decoderFile == b.decoderFile && a.argumentTemplate == b.argumentTemplate;
}

void checkParse(const std::string& value) {
    const qv::DecoderCommand command = qv::parseDecoderValue(value);
    require(value.empty() == command.decoderFile.empty(), "a non-empty value names a decoder");
    require(value.find(command.decoderFile) != std::string::npos, "the decoder name is a piece of the value");
    require(value.size() >= command.argumentTemplate.size() &&
                value.compare(value.size() - command.argumentTemplate.size(), std::string::npos,
                              command.argumentTemplate) == 0,
            "the template is the value's tail");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = qvfuzz::nulSeparated(data, size, 3);
    const std::string& name = parts[0];
    const std::string& stored = parts[1];
    const bool decoderPresent = !parts[2].empty() && (parts[2][0] & 1) != 0;
    checkParse(stored);

    const std::string valueName = qv::decoderValueName(name);
    std::vector<std::string> written;
    std::vector<std::string> looked;
    qv::DecoderEnvironment environment{
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

    const qv::DecoderCommand command = stored.empty() ? qv::builtInDecoder(name) : qv::parseDecoderValue(stored);
    const bool decodes = !command.decoderFile.empty() && !command.argumentTemplate.empty();
    if (stored.empty() && decodes) {
        require(written.size() == 1, "a missing decoder value is written once");
        require(sameCommand(qv::parseDecoderValue(written[0]), command), "a written default reads back the same");
    } else {
        require(written.empty(), "a stored value, or a type without a decoder, writes nothing");
    }
    if (!decodes) {
        require(looked.empty() && row && !row->needsDecoding, "a type without a full command is taken as it is");
        require(row->decoderPath == command.decoderFile && row->argumentTemplate == command.argumentTemplate,
                "a type taken as it is keeps its value's parts");
    } else {
        const std::string decoderPath = kProgramDirectory + "\\" + name + "\\" + command.decoderFile;
        require(looked.size() == 1 && looked[0] == decoderPath, "the decoder is looked for in its subdirectory");
        require(row.has_value() == decoderPresent, "a type whose decoder is missing is left out");
        if (row)
            require(row->needsDecoding && row->decoderPath == decoderPath &&
                        row->argumentTemplate == command.argumentTemplate,
                    "a decoder type runs its decoder with its template");
    }
    require(!row || row->type == name, "a row carries the subdirectory's name");
    return 0;
}
