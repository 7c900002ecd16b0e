#include "app/MonthCalendar.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

#include "naming/DatePrefix.h"

namespace karvel {

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(false);
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    // File stamps reach from 1601 to 9999; no other date can become a modified date.
    setDateRange(QDate(kFirstYear, 1, 1), QDate(kLastYear, 12, 31));
    // The calendar's place is small; a slightly smaller font keeps all seven days in it.
    QFont compact = font();
    compact.setPointSizeF(compact.pointSizeF() * 0.85);
    setFont(compact);
    // The header's least column width follows the font's widest glyph, far wider than
    // a date: seven such columns run past the right edge and cut Saturday off.
    if (auto* days = findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"))) {
        days->horizontalHeader()->setMinimumSectionSize(0);
    }
    connect(this, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        const QDate selected = selectedDate();
        if (selected.year() == year && selected.month() == month) return;
        const int lastDay = QDate(year, month, 1).daysInMonth();
        setSelectedDate(QDate(year, month, std::min(selected.day(), lastDay)));
    });
}

}  // namespace karvel
