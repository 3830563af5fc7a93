#pragma once
// Which file types are accepted and how each is turned into a WAV file the detector can read.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct DecoderRow {
    bool needsDecoding = false;
    std::string type;
    // Full path of the decoder for a row that needs decoding; otherwise the decoder name as stored.
    std::string decoderPath;
    // Decoder arguments with "{F}" for the queued file and "{T}" for the temporary WAV file.
    std::string argumentTemplate;
};

// A decoder command as kept in the registry: decoder file name and argument template.
struct DecoderCommand {
    std::string decoderFile;
    std::string argumentTemplate;
};

// The built-in command of a subdirectory name, matched with exact case; empty for types that need none.
DecoderCommand builtInDecoder(const std::string& type);

// Splits a non-empty registry value into decoder file name and template. A value beginning with a blank
// is all decoder name.
DecoderCommand parseDecoderValue(const std::string& value);

// The registry value of a command; a decoder name with blanks is quoted.
std::string formatDecoderValue(const DecoderCommand& command);

// Registry value name of a type: "." followed by the type.
std::string decoderValueName(const std::string& type);

// Replaces "{F}" and "{T}" by the quoted paths with a blank either side. Only the template's own text is
// searched, so a path that happens to contain a placeholder is inserted as it is.
std::string expandTemplate(const std::string& argumentTemplate, const std::string& source, const std::string& target);
// The row's decoder, quoted, with its arguments expanded: the command line that decodes source into target.
std::string decoderCommandLine(const DecoderRow& row, const std::string& source, const std::string& target);

// Reads and writes the registry values and tests for the decoder file while one subdirectory is considered.
struct DecoderEnvironment {
    std::function<std::string(const std::string& valueName)> readValue;
    std::function<void(const std::string& valueName, const std::string& value)> writeValue;
    std::function<bool(const std::string& path)> exists;
};

// The row a subdirectory of the program directory contributes; none when its decoder is missing.
// A missing registry value is written with the built-in command before the decoder is looked for.
std::optional<DecoderRow> rowForSubdirectory(const std::string& programDirectory, const std::string& name,
                                             const DecoderEnvironment& environment);

// Built once at start-up, read without a lock afterwards.
class DecoderTable {
public:
    void append(DecoderRow row) { rows_.push_back(std::move(row)); }
    // The first row whose type equals extension without regard to case; null when the type is not accepted.
    const DecoderRow* findRow(const std::string& extension) const;
    const std::vector<DecoderRow>& rows() const { return rows_; }

private:
    std::vector<DecoderRow> rows_;
};

} // namespace qv
