#pragma once

#include <QWidget>

// A rule drawn in invert mode: each pixel shows the inverse of what lies beneath it.
class InvertLine : public QWidget {
    Q_OBJECT
public:
    explicit InvertLine(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
