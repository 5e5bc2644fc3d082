#pragma once

#include <QWidget>

class QLabel;

// The reference for dart latency: a plain widget whose click writes a number into a label, the
// least any program can do between a click and a changed text.
class ReferenceClickPad : public QWidget {
public:
    explicit ReferenceClickPad(QWidget *parent = nullptr);

    QWidget &pad() const { return *pad_; }
    QLabel &label() const { return *label_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *pad_;
    QLabel *label_;
    int count_ = 0;
};
