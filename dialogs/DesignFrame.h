#pragma once

#include <QGroupBox>

// A frame drawn as the dialogs were designed: an etched border whose top edge runs through the middle
// of the caption, so controls placed near the frame's top sit inside it.
class DesignFrame : public QGroupBox {
    Q_OBJECT
public:
    DesignFrame(const QString &title, QWidget *parent);

    // The caption's colour as designed; the frame's contents keep the style's colours.
    void set_caption_colour(const QColor &design);
    // The colour the caption is drawn in: the design's, or the style's text colour where none is set, made
    // legible on the frame's background.
    QColor caption_colour() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect border() const;
    QRect caption_rect() const;

    QColor caption_design_;
};
