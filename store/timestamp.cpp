#include "store/timestamp.h"

#include "store/dataset_error.h"

#include <cmath>
#include <limits>

#include <QCoreApplication>

namespace quillmere {

namespace {

// Days beyond this cannot be held exactly in whole milliseconds of a double.
constexpr double kMaxMillis = 9.0e15;

[[noreturn]] void invalid(long long days, long long millis) {
    throw DatasetError::plain(
        QCoreApplication::translate("quillmere::Store", "'%1.%2' is not a valid timestamp").arg(days).arg(millis));
}

}  // namespace

double DateTimeToStored(double value) {
    const double scaled = value * static_cast<double>(kMillisPerDay);
    if (!std::isfinite(scaled) || std::fabs(scaled) > kMaxMillis) {
        invalid(0, 0);
    }
    // nearbyint follows the current rounding mode: to nearest, ties to even.
    const auto m = static_cast<int64_t>(std::nearbyint(scaled));
    const int64_t days = m / kMillisPerDay + kDayOffset;
    const int64_t millis = (m < 0 ? -m : m) % kMillisPerDay;
    if (days <= 0) {
        invalid(days, millis);
    }
    return static_cast<double>(days * kMillisPerDay + millis);
}

double StoredToDateTime(double stored) {
    if (!std::isfinite(stored) || std::fabs(stored) > kMaxMillis) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const auto r = static_cast<int64_t>(std::nearbyint(stored));
    const int64_t days = r / kMillisPerDay - kDayOffset;
    const double fraction = static_cast<double>(r % kMillisPerDay) / kMillisPerDay;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

}  // namespace quillmere
