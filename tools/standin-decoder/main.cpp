// Stand-in for the outside decoders: one program copied under each decoder's name. It "decodes" by copying the
// source byte for byte, unless the source's script has a decoder rule that asks for a delay, a short or missing
// output, another exit code or a hang.
#include "DecoderLayout.h"
#include "StandinScript.h"
#include "WinSupport.h"

#include <string>
#include <vector>

namespace {

using qvtools::ScopedHandle;

const std::size_t kScriptLimit = 1 << 20;
const DWORD kCopyBlock = 64 * 1024;

// Copies the first bytes of source to a new target; bytes == UINT64_MAX copies everything.
bool copyFile(const std::string& sourcePath, const std::string& targetPath, uint64_t bytes) {
    ScopedHandle source(CreateFileW(qvtools::widen(sourcePath).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.valid()) {
        qvtools::reportError("error: cannot open " + sourcePath);
        return false;
    }
    ScopedHandle target(CreateFileW(qvtools::widen(targetPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.valid()) {
        qvtools::reportError("error: cannot create " + targetPath);
        return false;
    }
    std::vector<char> block(kCopyBlock);
    while (bytes > 0) {
        DWORD want = bytes < kCopyBlock ? static_cast<DWORD>(bytes) : kCopyBlock;
        DWORD got = 0;
        if (!ReadFile(source.get(), block.data(), want, &got, nullptr)) {
            qvtools::reportError("error: cannot read " + sourcePath);
            return false;
        }
        if (got == 0)
            break;
        if (!qvtools::writeAll(target.get(), block.data(), got)) {
            qvtools::reportError("error: cannot write " + targetPath);
            return false;
        }
        bytes -= got;
    }
    return true;
}

bool fileSize(const std::string& path, uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(qvtools::widen(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

int decode(const qvstandin::DecoderCall& call) {
    std::string content;
    if (!qvtools::readFileHead(call.source, kScriptLimit, content)) {
        qvtools::reportError("error: cannot open " + call.source);
        return 2;
    }
    qvstandin::ScriptParse parsed = qvstandin::parseScript(content);
    if (!parsed.ok) {
        qvtools::reportError("error: " + call.source + ": " + parsed.error);
        return 2;
    }
    const qvstandin::DecoderRule& rule = parsed.script.decoder;
    if (rule.sleepMs > 0)
        Sleep(rule.sleepMs);

    uint64_t bytes = UINT64_MAX;
    if (rule.output == qvstandin::DecoderOutput::Partial) {
        if (!fileSize(call.source, bytes)) {
            qvtools::reportError("error: cannot open " + call.source);
            return 2;
        }
        bytes /= 2;
    }
    if (rule.output != qvstandin::DecoderOutput::None && !copyFile(call.source, call.target, bytes))
        return 2;
    if (rule.hang)
        qvtools::hangForever();
    return static_cast<int>(rule.exitCode);
}

} // namespace

int main() {
    std::string self = qvtools::modulePath();
    qvtools::appendCallLog(qvtools::directoryOf(self));

    std::vector<std::string> args = qvtools::commandLineArguments();
    if (!args.empty())
        args.erase(args.begin());
    qvstandin::DecoderCall call;
    switch (qvstandin::matchDecoderCall(qvtools::fileNameOf(self), args, call)) {
    case qvstandin::LayoutMatch::Ok:
        return decode(call);
    case qvstandin::LayoutMatch::UnknownProgram:
        qvtools::reportError("error: unknown decoder name " + qvtools::fileNameOf(self) +
                             " (known: " + qvstandin::decoderLayouts() + ")");
        return 2;
    case qvstandin::LayoutMatch::BadArguments:
        break;
    }
    qvtools::reportError("usage: " + qvstandin::decoderLayouts());
    return 2;
}
