#pragma once
// Turns an argument text (a command line, or one dropped path) into one hand-off file in the program
// directory (or, where none can be written, a list in memory), walking directories recursively.
#include "engine/DecoderTable.h"
#include "logs/DiagnosticLog.h"
#include "queue/QueueFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

// Shows the user a text; the product passes win::showMessageBox, tests record the text instead.
using UserReporter = std::function<void(const std::string& text)>;

// What listing needs from the running program.
struct ListerSetup {
    std::string programDirectory;
    const DecoderTable& decoders;
    const DiagnosticLog& log;
    UserReporter report;
    uint32_t processId;
};

struct HandOffListing {
    // The hand-off file is complete under path.
    bool written = false;
    std::string path;
    uint32_t filesListed = 0;
};

// Lists every accepted file named by the arguments. Each argument is made absolute against the current
// directory first, so the running instance finds the files whatever its own current directory is.
HandOffListing listArguments(const ListerSetup& setup, const std::string& argumentText);

// The same listing into memory, for an instance whose program directory cannot be written: its own files
// must still reach its queue.
std::vector<QueueEntry> listArgumentsInMemory(const ListerSetup& setup, const std::string& argumentText);

} // namespace qv
