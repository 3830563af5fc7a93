#pragma once
// The pure rules of listing files into hand-off files: names, accepted types, sizes and path limits.
#include "engine/DecoderTable.h"
#include "queue/QueueFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// The pattern under which the running instance picks hand-off files up.
inline constexpr const char* kHandOffPattern = "Queue_*_*.log";

// Paths formed while listing are held in buffers of this many bytes, terminator included.
inline constexpr std::size_t kPathBufferSize = 260;

// "<directory>\Queue_<process id>_<sequence>.log", both numbers in lower-case hexadecimal.
std::string handOffFileName(const std::string& directory, uint32_t processId, uint32_t sequence);

// The name a hand-off file is written under until it is complete; the pick-up pattern does not match it.
std::string handOffTemporaryName(const std::string& finalName);

// Size in kB as the queue keeps it: 1 under 1 kB, 2097152 from 2 GiB on, else rounded with halves up.
uint32_t sizeInKb(uint64_t sizeBytes);

// True when the path and its terminator fit a path buffer.
bool fitsPathBuffer(const std::string& path);

// True for "X:\..." (or "X:/...") and "\\..." paths; drive-relative and rooted paths are not absolute.
bool isAbsolutePath(const std::string& path);

// The queue entry for a file when its type is in the decoder table; the type keeps the path's letter case.
std::optional<QueueEntry> acceptedEntry(const std::string& path, uint64_t sizeBytes, const DecoderTable& decoders);

} // namespace qv
