// libFuzzer target: "Recent.log" content through the saved-results reader and what is done with its rows.
#include "FuzzSupport.h"

#include "common/StateFile.h"
#include "common/Text.h"
#include "logs/DirectoryResults.h"
#include "logs/SavedResults.h"

using qvfuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qv::ResultSet set = qv::parseSavedResults(qvfuzz::asText(data, size));
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
    require(qvfuzz::countOf(text, "\r\n") >= set.rows.size(), "every row gets a result-log line");
    if (!fits)
        return 0;
    const qv::ResultSet back = qv::parseSavedResults(qv::formatSavedResults(set));
    require(back.directory == set.directory && back.rows.size() == set.rows.size(), "saved results read back");
    for (std::size_t i = 0; i < back.rows.size(); ++i) {
        const qv::ResultRow& was = set.rows[i];
        const qv::ResultRow& is = back.rows[i];
        require(is.path == set.directory + "\\" + qv::fileNamePart(was.path) && is.percent == was.percent &&
                    is.validPasses == was.validPasses && is.totalPasses == was.totalPasses,
                "a row reads back unchanged, its name's own backslashes aside");
    }
    return 0;
}
