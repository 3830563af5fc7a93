#include "engine/DecoderTable.h"

#include "common/Text.h"

namespace qv {

namespace {

struct BuiltInDecoder {
    const char* type;
    const char* decoderFile;
    const char* argumentTemplate;
};

constexpr BuiltInDecoder kBuiltInDecoders[] = {
    {"ape", "mac.exe", "{F} {T} -d"},
    {"flac", "flac.exe", "-d -f -o {T} {F}"},
    {"wv", "wvunpack.exe", "-q -y {F} {T}"},
    {"shn", "shortn32.exe", "-x {F} {T}"},
};

std::string quotedPath(const std::string& path) {
    return " \"" + path + "\" ";
}

} // namespace

DecoderCommand builtInDecoder(const std::string& type) {
    for (const BuiltInDecoder& decoder : kBuiltInDecoders) {
        if (type == decoder.type)
            return {decoder.decoderFile, decoder.argumentTemplate};
    }
    return {};
}

DecoderCommand parseDecoderValue(const std::string& value) {
    SplitResult split = splitArgument(value);
    return {split.first, split.rest};
}

std::string formatDecoderValue(const DecoderCommand& command) {
    bool quote = command.decoderFile.find(' ') != std::string::npos;
    std::string name = quote ? "\"" + command.decoderFile + "\"" : command.decoderFile;
    return name + " " + command.argumentTemplate;
}

std::string decoderValueName(const std::string& type) {
    return "." + type;
}

std::string expandTemplate(const std::string& argumentTemplate, const std::string& source, const std::string& target) {
    std::string out;
    std::size_t pos = 0;
    while (pos < argumentTemplate.size()) {
        if (argumentTemplate.compare(pos, 3, "{F}") == 0) {
            out += quotedPath(source);
            pos += 3;
        } else if (argumentTemplate.compare(pos, 3, "{T}") == 0) {
            out += quotedPath(target);
            pos += 3;
        } else {
            out += argumentTemplate[pos++];
        }
    }
    return out;
}

std::string decoderCommandLine(const DecoderRow& row, const std::string& source, const std::string& target) {
    return formatText("\"%s\" ", row.decoderPath.c_str()) + expandTemplate(row.argumentTemplate, source, target);
}

std::optional<DecoderRow> rowForSubdirectory(const std::string& programDirectory, const std::string& name,
                                             const DecoderEnvironment& environment) {
    std::string valueName = decoderValueName(name);
    std::string stored = environment.readValue(valueName);
    DecoderCommand command;
    bool needsDecoding = false;
    if (!stored.empty()) {
        command = parseDecoderValue(stored);
        needsDecoding = true;
    } else {
        command = builtInDecoder(name);
        needsDecoding = !command.decoderFile.empty();
        if (!command.decoderFile.empty() && !command.argumentTemplate.empty())
            environment.writeValue(valueName, formatDecoderValue(command));
    }
    if (needsDecoding && !command.decoderFile.empty() && !command.argumentTemplate.empty()) {
        std::string decoderPath = programDirectory + "\\" + name + "\\" + command.decoderFile;
        if (!environment.exists(decoderPath))
            return std::nullopt;
        return DecoderRow{true, name, decoderPath, command.argumentTemplate};
    }
    return DecoderRow{false, name, command.decoderFile, command.argumentTemplate};
}

const DecoderRow* DecoderTable::findRow(const std::string& extension) const {
    for (const DecoderRow& row : rows_) {
        if (equalsIgnoreCase(row.type, extension))
            return &row;
    }
    return nullptr;
}

} // namespace qv
