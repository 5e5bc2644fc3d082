#include "FirstPaintProbe.h"

#include "BenchFigures.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

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
    if (painted_ns_ != 0)
        return false;
    if (started_ns_ == 0 && event->type() == QEvent::Paint) {
        const auto *widget = qobject_cast<const QWidget *>(watched);
        if (widget && widget->window() == &window_) {
            started_ns_ = bench::now_ns();
            // Where the paint pass does not run inside an expose or update request (below), the
            // event loop coming back after it is the nearest mark.
            QMetaObject::invokeMethod(
                this, [this] { painted_ns_ = painted_ns_ != 0 ? painted_ns_ : bench::now_ns(); }, Qt::QueuedConnection);
        }
    }
    // The window's paint pass, flush included, runs inside the delivery of an expose event or an
    // update request to its native window: deliver it here and note when the pass has returned.
    // Waiting for the event loop instead would also count whatever the program does next before
    // it returns there (the splash, shown modally right after the main window).
    const bool paint_pass = event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest;
    if (paint_pass && !delivering_ && watched == window_.windowHandle()) {
        delivering_ = true;
        watched->event(event);
        delivering_ = false;
        if (started_ns_ != 0)
            painted_ns_ = bench::now_ns();
        return true;
    }
    return false;
}
