#pragma once

#include <QObject>

// Answers the program's modal windows as soon as they are shown: the notice by its button, a
// message box by its first button. The splash is left to close itself. Uses no timer.
class ModalCloser : public QObject {
public:
    explicit ModalCloser(QObject *parent = nullptr);
    ~ModalCloser() override;

    int answered() const { return answered_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int answered_ = 0;
};
