// libFuzzer target: any text split argument by argument, as the command line and listed arguments are.
#include "FuzzSupport.h"

#include "common/Text.h"

using qvfuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = qvfuzz::asText(data, size);
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
    return 0;
}
