#pragma once
// The running instance's heartbeat: how often its record is renewed, and the stamp it carries.
#include <cstdint>

namespace qv {

// How often the running instance renews its record, so a record cleared or overwritten while it runs heals
// and a start waiting for it goes on.
inline constexpr uint32_t kHeartbeatMilliseconds = 4567;

// Calendar seconds as the record keeps them: the low 32 bits, so the stamp wraps instead of breaking in 2038.
uint32_t recordStamp(int64_t secondsSinceEpoch);

} // namespace qv
