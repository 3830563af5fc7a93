// libFuzzer target: any text split argument by argument, as the command line and listed arguments are.
#include "FuzzSupport.h"

#include "common/Text.h"

using qvfuzz::require;

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// One split of text: either the whole malformed text, or the (possibly quoted) first argument, the blanks
// after it, and a rest that is the input's own tail.
void checkSplit(const std::string& input, const std::string& text, const qv::SplitResult& split) {
    require(text.empty() || !split.first.empty(), "a non-empty text gives a non-empty first argument");
    require(input.find(split.first) != std::string::npos, "every argument is a piece of the input");
    require(endsWith(input, split.rest), "the rest is a tail of the input");
    if (split.first == text) {
        require(split.rest.empty(), "a text taken whole leaves no rest");
        return;
    }
    require(split.rest.empty() || split.rest[0] != ' ', "the rest starts after the blanks");
    const bool quoted = text[0] == '"';
    const std::string head = quoted ? "\"" + split.first + "\"" : split.first;
    require(text.compare(0, head.size(), head) == 0, "the first argument is where the text begins");
    require(split.rest.size() < text.size(), "every split takes something off");
    const std::string between = text.substr(head.size(), text.size() - head.size() - split.rest.size());
    require(between.find_first_not_of(' ') == std::string::npos && (quoted || !between.empty()),
            "only blanks lie between the first argument and the rest");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = qvfuzz::asText(data, size);
    std::string text = input;
    std::size_t steps = 0;
    for (qv::SplitResult split = qv::splitArgument(text); !split.first.empty(); split = qv::splitArgument(text)) {
        require(++steps <= input.size() + 1, "splitting ends within one step per character");
        checkSplit(input, text, split);
        text = split.rest;
    }
    require(text.empty(), "splitting stops only at the end of the text");
    return 0;
}
