#include "BoardPicture.h"

#include "BoardGeometry.h"
#include "HitAreas.h"
#include "PictureResource.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QtMath>
#include <QPainter>

BoardPicture::BoardPicture(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Dart board"));
    setAccessibleDescription(tr("Click where each dart landed"));
}

QSize BoardPicture::sizeHint() const
{
    return {board::kPictureSize, board::kPictureSize};
}

// The picture is loaded at the first painting and again when the window moves to a screen of
// another pixel density, and drawn at its logical size whatever its own pixel count.
void BoardPicture::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    if (board_.isNull() || ratio != board_ratio_) {
        board_ = load_picture(QStringLiteral(":/board.bmp"), ratio);
        board_ratio_ = ratio;
    }
    const QRectF target = event->rect();
    const qreal scale = board_.devicePixelRatio();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform); // for ratios such as 1.5
    painter.drawImage(target, board_, QRectF(target.topLeft() * scale, target.size() * scale));
}

const HitArea *BoardPicture::area_at(const QPointF &pixel)
{
    return hit_test(twips::from_pixels(qFloor(pixel.x())), twips::from_pixels(qFloor(pixel.y())));
}

// A double click arrives as a second press: it enters a dart like any other click.
void BoardPicture::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton ? area_at(event->position()) : nullptr;
}

void BoardPicture::mouseReleaseEvent(QMouseEvent *event)
{
    const HitArea *released = event->button() == Qt::LeftButton ? area_at(event->position()) : nullptr;
    const HitArea *pressed = std::exchange(pressed_, nullptr);
    // Press and release on the same target, even if on two of its rectangles.
    if (released && pressed && released->group == pressed->group)
        emit dart_entered(released->value);
}
