#pragma once

#include <QGroupBox>

// A frame drawn as the dialogs were designed: an etched border whose top edge runs through the middle
// of the caption, so controls placed near the frame's top sit inside it.
class DesignFrame : public QGroupBox {
    Q_OBJECT
public:
    DesignFrame(const QString &title, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect border() const;
    QRect caption_rect() const;
};
