#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>

struct HitArea;

// The board picture; a click on one of its invisible hit areas enters a dart of that area's value.
class BoardPicture : public QWidget {
    Q_OBJECT
public:
    explicit BoardPicture(QWidget *parent = nullptr);

    QSize sizeHint() const override;

signals:
    void dart_entered(std::int16_t points);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static const HitArea *area_at(const QPointF &pixel);

    QImage board_;
    qreal board_ratio_ = 0.0;
    const HitArea *pressed_ = nullptr;
};
