#include "config/LocalTime.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

} // namespace

std::string localTimeStamp(std::chrono::system_clock::time_point at)
{
    using namespace std::chrono;
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    // The offset is the local clock's reading, taken as UTC, minus the true
    // time: portable, where strftime's %z is not.
    const long long localSeconds =
        daysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday)) *
            86400 +
        local.tm_hour * 3600LL + local.tm_min * 60LL + local.tm_sec;
    const long long offsetMinutes = (localSeconds - static_cast<long long>(seconds)) / 60;
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(milliseconds % 1000), offsetMinutes < 0 ? '-' : '+',
                  static_cast<int>(std::llabs(offsetMinutes) / 60),
                  static_cast<int>(std::llabs(offsetMinutes) % 60));
    return text;
}
