#include "common/Clock.h"

#include <ctime>

namespace qv {

int64_t nowSeconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::string localTimestamp() {
    return localTimestamp(nowSeconds());
}

std::string localTimestamp(int64_t secondsSinceEpoch) {
    std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &t);
#else
    localtime_r(&t, &parts);
#endif
    char buffer[32];
    if (std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &parts) == 0)
        return std::string();
    return buffer;
}

} // namespace qv
