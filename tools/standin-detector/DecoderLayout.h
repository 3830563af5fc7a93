#pragma once
// The argument layouts of the four stand-in decoders. One program plays all four and learns which from its own file
// name, so the layout table is the only place that knows the decoders' command lines.
#include <string>
#include <vector>

namespace qvstandin {

struct DecoderCall {
    std::string source;
    std::string target;
};

enum class LayoutMatch { Ok, UnknownProgram, BadArguments };

// Matches the arguments (program name excluded) against the layout of the named decoder program (a bare file name
// such as "FLAC.EXE"; case is ignored). A source equal to the target is refused: copying a file onto itself would
// truncate it.
LayoutMatch matchDecoderCall(const std::string& programName, const std::vector<std::string>& args, DecoderCall& call);

// One line naming every decoder and its layout, for usage messages.
std::string decoderLayouts();

} // namespace qvstandin
