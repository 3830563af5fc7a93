#include "logs/SavedResults.h"

#include "common/StateFile.h"
#include "common/Text.h"

namespace qv {

namespace {

struct RowFields {
    std::string percent;
    std::string validPasses;
    std::string totalPasses;
    std::string name;
};

// The first tab starts the second field, the second tab the third and the last of any further tabs the
// fourth; each field ends at the next tab. A field that no tab starts reads as the first field.
RowFields splitRowFields(const std::string& line) {
    std::vector<std::size_t> tabs;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t')
            tabs.push_back(i);
    }
    auto fieldAfter = [&](std::size_t tabIndex) {
        std::size_t start = tabs[tabIndex] + 1;
        std::size_t end = tabIndex + 1 < tabs.size() ? tabs[tabIndex + 1] : line.size();
        return line.substr(start, end - start);
    };
    RowFields fields;
    fields.percent = tabs.empty() ? line : line.substr(0, tabs[0]);
    fields.validPasses = tabs.size() >= 1 ? fieldAfter(0) : fields.percent;
    fields.totalPasses = tabs.size() >= 2 ? fieldAfter(1) : fields.percent;
    fields.name = tabs.size() >= 3 ? fieldAfter(tabs.size() - 1) : fields.percent;
    return fields;
}

} // namespace

std::string formatSavedResults(const ResultSet& results) {
    std::string out = stateFileHeader();
    out += results.directory + "\r\n";
    for (const ResultRow& row : results.rows) {
        out += formatText("%d\t%d\t%d\t", row.percent, row.validPasses, row.totalPasses);
        out += fileNamePart(row.path) + "\r\n";
    }
    out += ";\r\n";
    int32_t count = results.fileCount();
    out +=
        count == 0 ? std::string("; No files in queue") : formatText("; %d file%s listed", count, count > 1 ? "s" : "");
    out += "\r\n;\r\n";
    return out;
}

ResultSet parseSavedResults(const std::string& content) {
    ResultSet results;
    std::vector<std::string> lines = readDataLines(content, LineEnds::CrSkipsNext);
    if (lines.empty())
        return results;
    results.directory = lines[0].substr(0, lines[0].find('\t'));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        RowFields fields = splitRowFields(lines[i]);
        // A damaged percentage would reach the summary and the log's name: it counts as unknown.
        int32_t percent = parseDecimal(fields.percent);
        if (percent < 0 || percent > 100)
            percent = kUnknownPercent;
        results.add(results.directory + "\\" + fields.name, parseDecimal(fields.totalPasses),
                    parseDecimal(fields.validPasses), percent);
    }
    return results;
}

} // namespace qv
