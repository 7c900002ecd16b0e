#include "app/MonthCalendar.h"

#include <algorithm>

namespace karvel {

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(false);
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    // The calendar's place is small; a slightly smaller font keeps all seven days in it.
    QFont compact = font();
    compact.setPointSizeF(compact.pointSizeF() * 0.85);
    setFont(compact);
    connect(this, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        const QDate selected = selectedDate();
        if (selected.year() == year && selected.month() == month) return;
        const int lastDay = QDate(year, month, 1).daysInMonth();
        setSelectedDate(QDate(year, month, std::min(selected.day(), lastDay)));
    });
}

}  // namespace karvel
