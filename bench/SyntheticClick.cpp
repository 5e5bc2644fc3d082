#include "SyntheticClick.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

void synthetic_click(QWidget &target, const QPoint &at)
{
    const QPointF local(at);
    const QPointF global(target.mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &release);
}
