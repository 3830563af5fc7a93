#pragma once
// When an instance record in the registry stands for a live running instance.
#include <cstdint>

namespace qv {

// A record whose heartbeat is this many seconds old or older is stale.
inline constexpr uint32_t kStaleAfterSeconds = 6;
// How often the running instance renews its record: well inside the staleness limit, so a busy moment
// never lets a later start take it for dead.
inline constexpr uint32_t kHeartbeatMilliseconds = 4567;
static_assert(kHeartbeatMilliseconds < kStaleAfterSeconds * 1000, "the heartbeat keeps the record fresh");

// Calendar seconds as the record keeps them: the low 32 bits, so the stamp wraps instead of breaking in 2038.
uint32_t recordStamp(int64_t secondsSinceEpoch);

// True when stamp is set and lies less than kStaleAfterSeconds before now. Both wrap modulo 2^32; a stamp
// after now (the clock was set back) is stale.
bool isFreshStamp(uint32_t stamp, uint32_t now);

// True when the record names another process whose heartbeat is fresh.
bool namesLiveInstance(uint32_t recordedProcessId, uint32_t ownProcessId, uint32_t stamp, uint32_t now);

} // namespace qv
