#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// The longest the event loop went without running, from its construction on; the sound tests and the
// frozen-server bench both measure with it.
class BlockMeter {
public:
    BlockMeter()
    {
        QObject::connect(&timer_, &QTimer::timeout, &timer_,
                         [this] { longest_ = std::max(longest_, since_.restart()); });
        timer_.start(10);
        since_.start();
    }
    qint64 longest_ms() const { return std::max(longest_, since_.elapsed()); }

private:
    QTimer timer_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};
