#include "DesignFrame.h"

#include "Contrast.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace {

// The caption starts this far in from the frame's left edge, with a gap in the border either side.
constexpr int kCaptionIndent = 6;
constexpr int kCaptionGap = 2;

} // namespace

DesignFrame::DesignFrame(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
}

void DesignFrame::set_caption_colour(const QColor &design)
{
    caption_design_ = design;
    update();
}

QColor DesignFrame::caption_colour() const
{
    if (!caption_design_.isValid())
        return palette().color(foregroundRole());
    return contrast::legible(caption_design_, palette().color(backgroundRole()),
                             contrast::minimum_for(caption_design_, font()));
}

QRect DesignFrame::border() const
{
    return rect().adjusted(0, fontMetrics().height() / 2, 0, 0);
}

QRect DesignFrame::caption_rect() const
{
    const int available = width() - kCaptionIndent - kCaptionGap;
    const int text_width = qMin(fontMetrics().horizontalAdvance(title()), available);
    return {kCaptionIndent, 0, qMax(text_width, 0), fontMetrics().height()};
}

void DesignFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    qDrawShadeRect(&painter, border(), palette(), true, 1, 0);
    if (title().isEmpty())
        return;

    // The caption covers the border on the frame's own background, in its own text colour.
    const QRect caption = caption_rect();
    painter.fillRect(caption.adjusted(-kCaptionGap, 0, kCaptionGap, 0), palette().brush(backgroundRole()));
    QPalette colours = palette();
    colours.setColor(foregroundRole(), caption_colour());
    style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, colours,
                          isEnabled(), title(), foregroundRole());
}
