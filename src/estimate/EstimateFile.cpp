#include "estimate/EstimateFile.h"

#include "common/StateFile.h"
#include "common/Text.h"

namespace qv {

TypeRecord parseEstimateLine(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t begin = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', begin)) {
        fields.push_back(line.substr(begin, tab - begin));
        begin = tab + 1;
    }
    fields.push_back(line.substr(begin));

    TypeRecord r;
    r.type = fields[0];
    const int32_t fromStart = parseDecimal(fields[0]);
    int32_t* numbers[] = {&r.count, &r.minSize, &r.minTime, &r.maxSize, &r.maxTime, &r.totalSize};
    for (std::size_t i = 0; i < 6; ++i)
        *numbers[i] = fields.size() > i + 1 ? parseDecimal(fields[i + 1]) : fromStart;
    r.totalTime = fields.size() >= 8 ? parseDecimal(fields.back()) : fromStart;
    return r;
}

std::vector<TypeRecord> parseEstimateFile(const std::string& content) {
    std::vector<TypeRecord> records;
    for (const std::string& line : readDataLines(content, LineEnds::Any))
        records.push_back(parseEstimateLine(line));
    return records;
}

std::string formatEstimateFile(const std::vector<TypeRecord>& records) {
    std::string text = stateFileHeader();
    for (const TypeRecord& r : records) {
        // The type is appended as it is, so an odd byte in it cannot end the line early.
        text += r.type;
        text += formatText("\t%d\t%d\t%d\t%d\t%d\t%d\t%d\r\n", r.count, r.minSize, r.minTime, r.maxSize, r.maxTime,
                           r.totalSize, r.totalTime);
    }
    text += ";\r\n";
    if (records.empty())
        text += "; No filetypes yet\r\n";
    else
        text +=
            formatText("; %d filetype%s listed\r\n", static_cast<int>(records.size()), records.size() == 1 ? "" : "s");
    text += ";\r\n";
    return text;
}

} // namespace qv
