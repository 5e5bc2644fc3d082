#include "IdleMeter.h"

#include "BenchFigures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

#include <thread>

IdleMeter::IdleMeter(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

IdleMeter::~IdleMeter()
{
    qApp->removeEventFilter(this);
}

IdleMeter::Result IdleMeter::measure(std::chrono::milliseconds period)
{
    QEventLoop loop;
    timer_events_ = 0;
    other_events_ = 0;
    const double cpu_before = bench::cpu_ms();
    const long wakeups_before = bench::context_switches();
    counting_ = true;
    std::thread waker([&loop, period] {
        std::this_thread::sleep_for(period);
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    counting_ = false;
    waker.join();
    const Result result{bench::cpu_ms() - cpu_before, timer_events_, other_events_,
                        bench::context_switches() - wakeups_before};
    return result;
}

bool IdleMeter::eventFilter(QObject *, QEvent *event)
{
    if (counting_)
        ++(event->type() == QEvent::Timer ? timer_events_ : other_events_);
    return false;
}
