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
    void setPanelText(int number, const QString &text);
    QString panelText(int number) const;
    QLabel *panel(int number) const;

signals:
    void panelClicked(int number);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int panelAt(const QPoint &point) const;
    void fitToText(int number);

    std::array<QLabel *, kPanelCount> panels_{};
    int pressedPanel_ = 0;
};
