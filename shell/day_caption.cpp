#include "shell/day_caption.h"

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

}  // namespace quillmere
