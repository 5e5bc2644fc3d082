#include "PaintCounter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>

PaintCounter::PaintCounter(QObject &watched, QObject *parent)
    : QObject(parent)
{
    watched.installEventFilter(this);
}

bool PaintCounter::wait_for_paint(int timeout_ms)
{
    const int before = count_;
    const QDeadlineTimer deadline(timeout_ms);
    while (count_ == before && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return count_ != before;
}

bool PaintCounter::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++count_;
    return false;
}
