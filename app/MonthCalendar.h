#pragma once
// A one-month calendar whose selection follows when the user pages to another
// month: the same day, clamped to the month's last day, becomes the selection.

#include <QCalendarWidget>

namespace karvel {

class MonthCalendar : public QCalendarWidget {
    Q_OBJECT
  public:
    explicit MonthCalendar(QWidget* parent = nullptr);
};

}  // namespace karvel
