// libFuzzer targets for every reader of outside input, one per reader. A broken property aborts with its name, so
// libFuzzer keeps the input.
#include "common/StateFile.h"
#include "common/Text.h"
#include "engine/DecoderTable.h"
#include "engine/VerdictReader.h"
#include "estimate/EstimateFile.h"
#include "estimate/TimeEstimate.h"
#include "estimate/TypeRecord.h"
#include "logs/DirectoryResults.h"
#include "logs/SavedResults.h"
#include "queue/QueueFile.h"
#include "queue/QueueStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <sstream>
#include <tuple>
#include <unistd.h>

namespace {

void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

// Occurrences of a needle that cannot overlap itself.
std::size_t countOf(const std::string& text, const std::string& needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size()))
        ++count;
    return count;
}

// "Queue.log" and hand-off file content through the parser and QueueStore::loadFile.
void queueFile(const std::string& content) {
    const auto sameRows = [](const std::vector<qv::QueueEntry>& a, const std::vector<qv::QueueEntry>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const qv::QueueEntry& x, const qv::QueueEntry& y) {
            return std::tie(x.path, x.type, x.sizeKb) == std::tie(y.path, y.type, y.sizeKb);
        });
    };
    const std::vector<qv::QueueEntry> parsed = qv::parseQueueFile(content);
    std::vector<qv::QueueEntry> fitting; // rows longer than a data line cannot read back
    uint32_t totalKb = 0;
    for (const qv::QueueEntry& entry : parsed) {
        require((entry.type + entry.path).find_first_of("\t\r\n") == std::string::npos,
                "fields hold no tab or line end");
        totalKb += entry.sizeKb;
        if (qv::formatQueueRow(entry).size() <= qv::kMaxDataLine + 2)
            fitting.push_back(entry);
    }
    require(sameRows(qv::parseQueueFile(qv::formatQueueFile(fitting)), fitting), "written rows read back unchanged");

    static const std::string path = "fuzz-queue-" + std::to_string(getpid()) + ".log";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file && std::fwrite(content.data(), 1, content.size(), file) == content.size(), "scratch file written");
    std::fclose(file);
    qv::QueueStore store;
    require(store.loadFile(path) && access(path.c_str(), F_OK) != 0, "a queue file loads and is deleted");
    require(store.count() == static_cast<int32_t>(parsed.size()) && store.totalSizeKb() == totalKb,
            "the store counts every row and sums their sizes");
    std::vector<qv::QueueEntry> drained;
    for (qv::QueueEntry head; store.head(head); store.removeHead())
        drained.push_back(head);
    require(sameRows(drained, parsed) && store.isEmpty() && store.totalSizeKb() == 0, "rows come out in file order");
}

// "Recent.log" content through the saved-results reader and what is done with its rows.
void savedResults(const std::string& content) {
    const qv::ResultSet set = qv::parseSavedResults(content);
    require(set.directory.find_first_of("\t\r\n") == std::string::npos, "the directory holds no tab or line end");
    int32_t unknown = 0;
    bool fits = !set.directory.empty(); // an empty directory line, or a cut one, cannot read back
    for (const qv::ResultRow& row : set.rows) {
        require(row.path.compare(0, set.directory.size() + 1, set.directory + "\\") == 0, "rows lie in the directory");
        unknown += row.percent == qv::kUnknownPercent;
        fits = fits && qv::formatText("%d\t%d\t%d\t", row.percent, row.validPasses, row.totalPasses).size() +
                               qv::fileNamePart(row.path).size() <=
                           qv::kMaxDataLine;
    }
    require(set.unknownCount == unknown, "unknown rows are counted");
    require(unknown < static_cast<int32_t>(set.rows.size()) || set.average() == qv::kUnknownPercent,
            "no known row gives an unknown average");
    std::string text;
    set.writeRows(text, 2);
    require(countOf(text, "\r\n") >= set.rows.size(), "every row gets a result-log line");
    if (!fits)
        return;
    const qv::ResultSet back = qv::parseSavedResults(qv::formatSavedResults(set));
    require(back.directory == set.directory && back.rows.size() == set.rows.size(), "saved results read back");
    for (std::size_t i = 0; i < back.rows.size(); ++i) {
        const qv::ResultRow& was = set.rows[i];
        const qv::ResultRow& is = back.rows[i];
        require(is.path == set.directory + "\\" + qv::fileNamePart(was.path) && is.percent == was.percent &&
                    is.validPasses == was.validPasses && is.totalPasses == was.totalPasses,
                "a row reads back unchanged, its name's own backslashes aside");
    }
}

// Sizes around each figure of every record, where the estimates change their form, and the extremes.
void checkEstimates(const std::vector<qv::TypeRecord>& records) {
    const qv::RunTotals totals[] = {{0, 0}, {std::numeric_limits<int64_t>::max() / 2, 3}};
    for (const qv::TypeRecord& r : records) {
        std::vector<int64_t> sizes = {0, std::numeric_limits<int32_t>::max(), std::numeric_limits<uint32_t>::max(),
                                      std::numeric_limits<int32_t>::min()};
        for (int64_t figure :
             {int64_t{r.minSize}, int64_t{r.maxSize}, r.count != 0 ? int64_t{r.totalSize} / r.count : 0})
            sizes.insert(sizes.end(), {figure - 1, figure, figure + 1});
        for (int64_t size : sizes) {
            for (int level = 0; level <= 4; ++level) {
                for (const qv::RunTotals& run : totals) {
                    const int32_t seconds = qv::estimateFileSeconds(records, run, level, size, r.type);
                    require(level < 4 ? !qv::estimateText(seconds, false, level % 2 == 0).empty() : seconds == -2,
                            "every estimate has a text; a level outside 0..3 gives none");
                }
                for (uint32_t count : {2u, std::numeric_limits<uint32_t>::max()})
                    (void)qv::estimateQueuedType(records, totals[1], level, r.type, static_cast<uint32_t>(size), count);
            }
        }
    }
}

// "Estimate.log" content through the reader, and its records through the estimates and the folding-in of new
// files, which take the figures as they come.
void estimateFile(const std::string& content) {
    const std::vector<qv::TypeRecord> records = qv::parseEstimateFile(content);
    std::vector<qv::TypeRecord> fitting; // a type with seven numbers at their widest still fits one data line
    for (const qv::TypeRecord& record : records) {
        if (record.type.size() + 7 * 12 <= qv::kMaxDataLine)
            fitting.push_back(record);
    }
    require(qv::parseEstimateFile(qv::formatEstimateFile(fitting)) == fitting, "written records read back unchanged");
    // More records, or longer names, add only lookup time.
    std::vector<qv::TypeRecord> working(records.begin(), records.begin() + std::min<std::size_t>(records.size(), 6));
    for (qv::TypeRecord& record : working)
        record.type.resize(std::min<std::size_t>(record.type.size(), 8));
    checkEstimates(working);
    // Files of every record's figures folded into every type, with the record's times as the scaling settings.
    for (const qv::TypeRecord& source : std::vector<qv::TypeRecord>(working)) {
        for (const qv::TypeRecord& target : std::vector<qv::TypeRecord>(working)) {
            const qv::Division division{source.minTime, source.maxTime};
            (void)qv::recordFile(working, target.type, source.minSize, source.minTime, division);
            (void)qv::recordFile(working, target.type, source.maxSize, source.maxTime, division);
        }
    }
    checkEstimates(working);
}

// Any detector output through the verdict reader, against a line-by-line reading of the first deciding line (in
// 64 bits, so that the MPEG complement cannot overflow).
void verdictReader(const std::string& output) {
    std::optional<int64_t> expected;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(qv::kCddaPrefix, 0) == 0)
            expected = qv::parseDecimal(line.substr(std::strlen(qv::kCddaPrefix)));
        else if (line.rfind(qv::kMpegPrefix, 0) == 0)
            expected = 100 - int64_t{qv::parseDecimal(line.substr(std::strlen(qv::kMpegPrefix)))};
        else if (line.rfind(qv::kUnqualifiedPrefix, 0) != 0)
            continue;
        break;
    }
    const std::optional<int32_t> verdict = qv::readVerdict(output);
    require(verdict.has_value() == expected.has_value(), "a verdict is read exactly when a verdict line decides");
    if (verdict && *expected >= std::numeric_limits<int32_t>::min() && *expected <= std::numeric_limits<int32_t>::max())
        require(*verdict == *expected, "the verdict is the first verdict line's number or its complement");
    else if (verdict)
        require(*verdict < 0 || *verdict > 100, "a complement beyond 32 bits stays outside 0..100");
}

// Any text split argument by argument, as the command line and listed arguments are.
void splitArgument(const std::string& input) {
    std::string text = input;
    std::size_t steps = 0;
    for (qv::SplitResult split = qv::splitArgument(text); !split.first.empty(); split = qv::splitArgument(text)) {
        require(++steps <= input.size(), "splitting ends within one step per character");
        require(split.rest.size() < text.size() &&
                    text.compare(text.size() - split.rest.size(), std::string::npos, split.rest) == 0,
                "the rest is a shorter tail of the text");
        if (split.first == text) {
            require(split.rest.empty(), "a text taken whole leaves no rest");
        } else {
            const std::string head = text[0] == '"' ? "\"" + split.first + "\"" : split.first;
            const std::string between = text.substr(head.size(), text.size() - head.size() - split.rest.size());
            require(text.compare(0, head.size(), head) == 0, "the first argument is where the text begins");
            require(between.find_first_not_of(' ') == std::string::npos && (text[0] == '"' || !between.empty()) &&
                        (split.rest.empty() || split.rest[0] != ' '),
                    "only blanks lie between the first argument and the rest");
        }
        text = split.rest;
    }
    require(text.empty(), "splitting stops only at the end of the text");
}

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

// A subdirectory name and its registry decoder value through rowForSubdirectory, and the value's template through
// expandTemplate. Input: name, stored value, source and target path, cut at NUL bytes (they stand for the
// program's C strings, which hold no NUL); an odd input length makes the decoder file present.
void decoderValue(const std::string& input) {
    static const std::string kProgramDirectory = "C:\\Program Files\\Quorvane";
    std::vector<std::string> parts(4);
    std::size_t part = 0;
    for (char c : input) {
        if (c != '\0')
            parts[part] += c;
        else if (part < 3)
            ++part;
    }
    const std::string& name = parts[0];
    const std::string& stored = parts[1];
    const bool decoderPresent = input.size() % 2 == 1;
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
}

} // namespace

// Built once per reader: QV_FUZZ_READER is the reader's place in this list, so that each gets its own corpus and
// time, whatever the others cost.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static void (*const readers[])(const std::string&) = {queueFile,     savedResults,  estimateFile,
                                                          verdictReader, splitArgument, decoderValue};
    readers[QV_FUZZ_READER](std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
