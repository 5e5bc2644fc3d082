#include "FirstPaintProbe.h"

#include "BenchFigures.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

FirstPaintProbe::FirstPaintProbe(const QWidget &window, QObject *parent)
    : QObject(parent)
    , window_(window)
{
    qApp->installEventFilter(this);
}

FirstPaintProbe::~FirstPaintProbe()
{
    qApp->removeEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (started_ns_ == 0 && event->type() == QEvent::Paint) {
        const auto *widget = qobject_cast<const QWidget *>(watched);
        if (widget && widget->window() == &window_) {
            started_ns_ = bench::now_ns();
            // Runs once the whole paint pass, flush included, has returned to the event loop.
            QMetaObject::invokeMethod(
                this, [this] { painted_ns_ = bench::now_ns(); }, Qt::QueuedConnection);
        }
    }
    return false;
}
