#pragma once

#include <QWidget>

#include <array>

class QLabel;

// A status bar of seven numbered text panels that reports which panel was clicked.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 7;

    explicit StatusBar(QWidget *parent = nullptr);

    // Panels are numbered 1 to 7.
    void set_panel_text(int number, const QString &text);
    QString panel_text(int number) const;
    QLabel *panel(int number) const;

signals:
    void panel_clicked(int number);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int panel_at(const QPoint &point) const;
    void fit_to_text(int number);

    std::array<QLabel *, kPanelCount> panels_{};
    int pressedPanel_ = 0;
};
