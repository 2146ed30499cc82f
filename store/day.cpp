#include "store/day.h"

#include "store/timestamp.h"

#include <QTime>

#include <cmath>

namespace quillmere {

namespace {

QDate epoch() {
    return QDate(1899, 12, 30);
}

// Days QDate can hold comfortably either side of the epoch.
constexpr double kMaxDays = 1.0e9;

}  // namespace

double dayFromDate(const QDate& date) {
    return date.isValid() ? static_cast<double>(epoch().daysTo(date)) : 0.0;
}

QDate dateFromDay(double day) {
    if (!std::isfinite(day) || std::fabs(day) > kMaxDays) {
        return QDate();
    }
    return epoch().addDays(static_cast<qint64>(std::trunc(day)));
}

double today() {
    return dayFromDate(QDate::currentDate());
}

double addDays(double day, int count) {
    return day + count;
}

double wholeDay(double value) {
    return std::trunc(value);
}

std::optional<double> dayFromIsoText(const QString& text) {
    if (text.size() != 10) {
        return std::nullopt;
    }
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) {
        return std::nullopt;
    }
    return dayFromDate(date);
}

QString isoTextOfDay(double day) {
    return dateFromDay(day).toString(QStringLiteral("yyyy-MM-dd"));
}

QString isoTextOfDayTime(double value) {
    const QString date = isoTextOfDay(value);
    const double fraction = std::fabs(value - wholeDay(value));
    if (fraction == 0.0) {
        return date;
    }
    const auto ms = static_cast<int>(std::llround(fraction * kMillisPerDay) % kMillisPerDay);
    return date + QLatin1Char(' ') +
           QTime::fromMSecsSinceStartOfDay(ms).toString(QStringLiteral("hh:mm:ss.zzz"));
}

}  // namespace quillmere
