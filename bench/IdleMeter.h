#pragma once

#include <QObject>

#include <chrono>

// Lets the event loop run with nothing happening and counts what the process did meanwhile.
class IdleMeter : public QObject {
public:
    struct Result {
        double cpu_ms = 0;
        long timer_events = 0;
        long other_events = 0;
        long wakeups = 0; // context switches of all threads
    };

    explicit IdleMeter(QObject *parent = nullptr);
    ~IdleMeter() override;

    // Runs the event loop for `period`; it is ended from another thread, so no timer of ours fires.
    Result measure(std::chrono::milliseconds period);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool counting_ = false;
    long timer_events_ = 0;
    long other_events_ = 0;
};
