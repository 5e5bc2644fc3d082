#pragma once

#include <QObject>

#include <cstdint>

class QWidget;

// Notes when a window is first painted: when the first paint event for it or one of its
// children arrives, and when that paint pass, flush included, has returned.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(const QWidget &window, QObject *parent = nullptr);
    ~FirstPaintProbe() override;

    bool painted() const { return painted_ns_ != 0; }
    std::int64_t paint_started_ns() const { return started_ns_; }
    std::int64_t painted_ns() const { return painted_ns_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const QWidget &window_;
    std::int64_t started_ns_ = 0;
    std::int64_t painted_ns_ = 0;
    bool delivering_ = false;
};
