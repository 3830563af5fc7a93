// libFuzzer target: "Recent.log" content through the saved-results reader and what is done with its rows.
#include "FuzzSupport.h"

#include "common/StateFile.h"
#include "common/Text.h"
#include "logs/DirectoryResults.h"
#include "logs/SavedResults.h"

#include <algorithm>

using qvfuzz::require;

namespace {

void checkCounts(const qv::ResultSet& set) {
    int32_t unknown = 0;
    int32_t lowest = 100;
    int32_t highest = 0;
    bool known = false;
    bool inRange = true;
    for (const qv::ResultRow& row : set.rows) {
        if (row.percent == qv::kUnknownPercent) {
            ++unknown;
            continue;
        }
        known = true;
        inRange = inRange && row.percent >= 0 && row.percent <= 100;
        lowest = std::min(lowest, row.percent);
        highest = std::max(highest, row.percent);
    }
    require(set.unknownCount == unknown, "unknown rows are counted");
    const int32_t average = set.average();
    require(known || average == qv::kUnknownPercent, "no known row gives an unknown average");
    if (known && inRange)
        require(lowest <= average && average <= highest, "the average lies between the known percentages");

    std::string text;
    set.writeRows(text, 2);
    require(qvfuzz::countOf(text, "\r\n") >= set.rows.size(), "every row gets a result-log line");
}

// Saving what was read and reading it again keeps the directory and every row; only a name's own backslashes
// are lost, since a row keeps the file name alone. An empty directory would be written as an empty line,
// which reads as no line at all, and lines past the length limit are cut: such texts are left out.
void checkRoundTrip(const qv::ResultSet& set) {
    if (set.directory.empty())
        return;
    for (const qv::ResultRow& row : set.rows) {
        const std::string line =
            qv::formatText("%d\t%d\t%d\t", row.percent, row.validPasses, row.totalPasses) + qv::fileNamePart(row.path);
        if (line.size() > qv::kMaxDataLine)
            return;
    }
    const qv::ResultSet back = qv::parseSavedResults(qv::formatSavedResults(set));
    require(back.directory == set.directory, "the directory reads back unchanged");
    require(back.rows.size() == set.rows.size(), "every row reads back");
    for (std::size_t i = 0; i < back.rows.size(); ++i) {
        const qv::ResultRow& was = set.rows[i];
        const qv::ResultRow& is = back.rows[i];
        require(is.path == set.directory + "\\" + qv::fileNamePart(was.path), "a row's path reads back");
        require(is.percent == was.percent && is.validPasses == was.validPasses && is.totalPasses == was.totalPasses,
                "a row's numbers read back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qv::ResultSet set = qv::parseSavedResults(qvfuzz::asText(data, size));
    require(set.directory.find_first_of("\t\r\n") == std::string::npos, "the directory holds no tab or line end");
    for (const qv::ResultRow& row : set.rows)
        require(row.path.compare(0, set.directory.size() + 1, set.directory + "\\") == 0,
                "every row lies in the saved directory");
    checkCounts(set);
    checkRoundTrip(set);
    return 0;
}
