#include "BoardPicture.h"

#include "BoardGeometry.h"
#include "HitAreas.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QtMath>
#include <QPainter>

BoardPicture::BoardPicture(QWidget *parent)
    : QWidget(parent)
    , board_(QStringLiteral(":/board.bmp"))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Dart board"));
    setAccessibleDescription(tr("Click where each dart landed"));
}

QSize BoardPicture::sizeHint() const
{
    return {board::kPictureSize, board::kPictureSize};
}

void BoardPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), board_, event->rect());
}

const HitArea *BoardPicture::areaAt(const QPointF &pixel)
{
    return hit_test(twips::from_pixels(qFloor(pixel.x())), twips::from_pixels(qFloor(pixel.y())));
}

// A double click arrives as a second press: it enters a dart like any other click.
void BoardPicture::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton ? areaAt(event->position()) : nullptr;
}

void BoardPicture::mouseReleaseEvent(QMouseEvent *event)
{
    const HitArea *released = event->button() == Qt::LeftButton ? areaAt(event->position()) : nullptr;
    const HitArea *pressed = std::exchange(pressed_, nullptr);
    // Press and release on the same target, even if on two of its rectangles.
    if (released && pressed && released->group == pressed->group)
        emit dartEntered(released->value);
}
