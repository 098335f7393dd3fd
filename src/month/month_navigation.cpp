#include "month_navigation.h"

#include <Qt>

int NavigateRow(int key, int row, int daysInMonth) {
    switch (key) {
    case Qt::Key_PageUp:
        return row > 11 ? row - 10 : 1;
    case Qt::Key_PageDown:
        return row >= daysInMonth - 10 ? daysInMonth : row + 10;
    case Qt::Key_Home:
        return 1;
    case Qt::Key_End:
        return daysInMonth;
    case Qt::Key_Up:
        return row <= 1 ? daysInMonth : 0;
    case Qt::Key_Down:
        return row >= daysInMonth ? 1 : 0;
    default:
        return 0;
    }
}
