#include "ReferenceClickPad.h"

#include "Twips.h"

#include <QEvent>
#include <QLabel>

ReferenceClickPad::ReferenceClickPad(QWidget *parent)
    : QWidget(parent)
    , pad_(new QWidget(this))
    , label_(new QLabel(this))
{
    // The main window's client area, board and hit panel.
    setFixedSize(twips::size(10815, 7620));
    pad_->setGeometry(twips::rect(1845, 45, 7200, 7200));
    label_->setGeometry(twips::rect(3000, 7290, 750, 330));
    label_->setTextFormat(Qt::PlainText);
    pad_->installEventFilter(this);
}

bool ReferenceClickPad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == pad_ && event->type() == QEvent::MouseButtonRelease) {
        label_->setText(QString::number(count_++ % 61));
        return true;
    }
    return false;
}
