#include "FittedLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Only this many characters of a text are ever measured, far more than any label shows, so that a name as long
// as a name box allows is drawn as quickly as a short one.
constexpr qsizetype kLongest = 512;
constexpr qreal kSmallestPoints = 6;
constexpr int kTooltipColumns = 60;
constexpr int kTooltipLines = 8;
constexpr QChar kEllipsis{0x2026};

// Where the painter would end the first line: at a line break, or at the "string terminator" that it reads
// as the start of another variant of the text. Never beyond kLongest, nor inside a surrogate pair.
qsizetype first_line_end(const QString &text)
{
    qsizetype end = std::min(text.size(), kLongest);
    if (end < text.size() && text.at(end - 1).isHighSurrogate())
        --end;
    for (qsizetype at = 0; at < end; ++at) {
        const char16_t c = text.at(at).unicode();
        if (c == u'\n' || c == 0x9C || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return at;
    }
    return end;
}

// The longest run of whole characters from the start of the first line that fits with "…" after it.
QString shortened(const QString &text, const QFontMetrics &metrics, int room)
{
    const QString line = text.left(first_line_end(text));
    std::vector<qsizetype> ends;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
    for (qsizetype end = characters.toNextBoundary(); end > 0; end = characters.toNextBoundary())
        ends.push_back(end);
    const auto fitting = std::partition_point(ends.begin(), ends.end(), [&](qsizetype end) {
        return metrics.horizontalAdvance(line.left(end) + kEllipsis) <= room;
    });
    QString head = fitting == ends.begin() ? QString() : line.left(*std::prev(fitting));
    while (!head.isEmpty() && head.back().isSpace())
        head.chop(1);
    return head + kEllipsis;
}

// The whole text on lines of a readable width, escaped so that it is never read as markup; a text too long
// for the lines ends in "…". Lines break between words, and inside a word only when it is longer than a line.
QString tooltip_for(const QString &text)
{
    QString head = text.left(kLongest * 2);
    head.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(head, QToolTip::font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal width = QFontMetricsF(QToolTip::font()).averageCharWidth() * kTooltipColumns;
    QStringList lines;
    qsizetype used = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && lines.size() < kTooltipLines;
         line = layout.createLine()) {
        line.setLineWidth(width);
        lines << head.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator);
        used = line.textStart() + line.textLength();
    }
    layout.endLayout();
    QString plain = lines.join(u'\n');
    if (used < text.size())
        plain += kEllipsis;
    return Qt::convertFromPlainText(plain, Qt::WhiteSpaceNormal);
}

} // namespace

FittedLabel::FittedLabel(Fit fit, const QString &text, QWidget *parent)
    : QLabel(text, parent)
    , fit_(fit)
{
    setTextFormat(Qt::PlainText);
}

// Where the label itself lays out its text: inside frame and margin, and indented from an aligned side when
// it has a frame but no indent of its own.
QRect FittedLabel::text_rect() const
{
    QRect rect = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    int inset = indent();
    if (inset < 0 && frameWidth() > 0)
        inset = fontMetrics().horizontalAdvance(u'x') / 2 - margin();
    if (inset <= 0)
        return rect;
    const Qt::Alignment align = QStyle::visualAlignment(text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight,
                                                        alignment());
    return rect.marginsRemoved(QMargins(align & Qt::AlignLeft ? inset : 0, align & Qt::AlignTop ? inset : 0,
                                        align & Qt::AlignRight ? inset : 0, align & Qt::AlignBottom ? inset : 0));
}

// Room for a text drawn by this class: a pixel is kept clear on either side, so that the edge of a letter
// is never clipped.
int FittedLabel::room() const
{
    return text_rect().width() - 2;
}

bool FittedLabel::fits() const
{
    const QString full = text();
    return first_line_end(full) == full.size() && fontMetrics().horizontalAdvance(full) <= text_rect().width();
}

QString FittedLabel::shown_text() const
{
    if (fit_ == Fit::Shrink || fits())
        return text();
    return shortened(text(), fontMetrics(), room());
}

QFont FittedLabel::shown_font() const
{
    QFont shown = font();
    if (fit_ == Fit::Elide || fits())
        return shown;
    const QString full = text();
    const int wide = std::max(1, fontMetrics().horizontalAdvance(full));
    qreal points = std::floor(4 * shown.pointSizeF() * room() / wide) / 4;
    for (; points > kSmallestPoints; points -= 0.25) {
        shown.setPointSizeF(points);
        if (QFontMetrics(shown, this).horizontalAdvance(full) <= room())
            break;
    }
    return shown;
}

bool FittedLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && !fits()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), tooltip_for(text()), this, rect());
        return true;
    }
    return QLabel::event(event);
}

void FittedLabel::paintEvent(QPaintEvent *event)
{
    if (fits()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(shown_font());
    const bool rightToLeft = text().isRightToLeft();
    const int flags = int(QStyle::visualAlignment(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, alignment()))
                      | (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    style()->drawItemText(&painter, text_rect(), flags, palette(), isEnabled(), shown_text(), foregroundRole());
}
