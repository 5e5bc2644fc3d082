#pragma once

#include <QLabel>

// A one-line plain-text label that never cuts its text: text that does not fit is drawn shortened
// from its end with "…" (names) or in a smaller size of its font (scores). text() always stays whole.
class FittedLabel : public QLabel {
    Q_OBJECT
public:
    enum class Fit { Elide, Shrink };

    FittedLabel(Fit fit, const QString &text, QWidget *parent = nullptr);

    // What the label draws: its text, or the shortened form when the text does not fit.
    QString shown_text() const;
    // The font it draws with: its own, or the smaller size that makes the text fit.
    QFont shown_font() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect text_rect() const;
    int room() const;
    bool fits() const;

    Fit fit_;
};
