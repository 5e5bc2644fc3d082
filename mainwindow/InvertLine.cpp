#include "InvertLine.h"

#include <QPainter>

InvertLine::InvertLine(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void InvertLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillRect(rect(), Qt::black);
}
