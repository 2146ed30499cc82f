#include "store/day_caption.h"

#include "store/day.h"

namespace quillmere {

QString DayCaption(const QDate& date, const QLocale& locale) {
    QString month = locale.monthName(date.month(), QLocale::LongFormat);
    if (month.isEmpty()) {
        month = QLocale(QLocale::English).monthName(date.month(), QLocale::LongFormat);
    }
    return QStringLiteral("%1 %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(month)
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString DayMessage(double day, const QString& message, const QLocale& locale) {
    const QDate date = dateFromDay(day);
    if (!date.isValid()) {
        return message;
    }
    return DayCaption(date, locale) + QStringLiteral(": ") + message;
}

}  // namespace quillmere
