#pragma once
// One file waiting for detection: what the queue holds and the worker works on.
#include <cstdint>
#include <string>

namespace qv {

// The largest size in kB a queue entry carries: files of 2 GiB and more are listed with it.
inline constexpr int32_t kMaxSizeKb = 2097152;

struct QueueEntry {
    std::string path;
    std::string type; // extension without the dot, in the letter case of the path
    uint32_t sizeKb = 0;
};

} // namespace qv
