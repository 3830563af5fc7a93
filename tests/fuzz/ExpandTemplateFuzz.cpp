// libFuzzer target: decoder argument templates and paths (three texts cut at NUL bytes) through expandTemplate.
#include "FuzzSupport.h"

#include "engine/DecoderTable.h"

using qvfuzz::countOf;
using qvfuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = qvfuzz::nulSeparated(data, size, 3);
    const std::string& argumentTemplate = parts[0];
    const std::string& source = parts[1];
    const std::string& target = parts[2];
    const std::string expanded = qv::expandTemplate(argumentTemplate, source, target);

    // Placeholders cannot overlap one another, so these counts are exact.
    const std::size_t sources = countOf(argumentTemplate, "{F}");
    const std::size_t targets = countOf(argumentTemplate, "{T}");
    const std::size_t expectedSize = argumentTemplate.size() - 3 * (sources + targets) + sources * (source.size() + 4) +
                                     targets * (target.size() + 4);
    require(expanded.size() == expectedSize, "each placeholder gives way to its quoted path, nothing else changes");

    // An inserted path sits between a blank and a quote on either side, so a placeholder in the output can only
    // come from an inserted path: none survives from the template, and none inside a path is expanded again.
    for (const char* placeholder : {"{F}", "{T}"}) {
        require(countOf(expanded, placeholder) ==
                    sources * countOf(source, placeholder) + targets * countOf(target, placeholder),
                "placeholders in the output are exactly those inside the inserted paths");
    }
    require(countOf(expanded, " \"" + source + "\" ") >= sources, "the source is inserted quoted for each {F}");
    require(countOf(expanded, " \"" + target + "\" ") >= targets, "the target is inserted quoted for each {T}");
    return 0;
}
