// Apart from the rest of the support library, so that a program that splits its own arguments does not load the
// shell's library at every start.
#include "WinSupport.h"

#include <shellapi.h>

#include <memory>

namespace qvtools {

namespace {

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};

} // namespace

std::vector<std::string> commandLineArguments() {
    int count = 0;
    std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> args;
    for (int i = 0; argv && i < count; ++i)
        args.push_back(narrow(argv.get()[i]));
    return args;
}

} // namespace qvtools
