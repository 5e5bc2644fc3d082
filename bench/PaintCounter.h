#pragma once

#include <QObject>

// Counts the paint events one widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject &watched, QObject *parent = nullptr);

    int count() const { return count_; }
    // Processes events until the widget has been painted again; false after `timeout_ms`.
    bool wait_for_paint(int timeout_ms = 1000);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int count_ = 0;
};
