#include "frmsplash.h"

#include "PictureResource.h"
#include "Twips.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QTimer>

namespace {

void paint_black(QWidget &widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

frmsplash::frmsplash(int interval_ms, QWidget *parent)
    : CentredDialog({.off_taskbar = true}, parent)
    , Frame1(new QGroupBox(this))
    , Image1(new QLabel(Frame1))
    , Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmsplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setWindowIcon(QIcon());
    setFixedSize(twips::size(6165, 1155));
    paint_black(*this);

    // The frame and the picture reach below the client area: only the picture's upper rows show.
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips::rect(120, 0, 5955, 1335));
    paint_black(*Frame1);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips::rect(120, 240, 5685, 1755));
    Image1->setPixmap(QPixmap::fromImage(load_picture(QStringLiteral(":/splash.jpg"), devicePixelRatioF())));

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(interval_ms);
    connect(Timer1, &QTimer::timeout, this, &frmsplash::Timer1_Timer);
    Timer1->start();
}

void frmsplash::hideEvent(QHideEvent *event)
{
    // However the splash goes away, its timer goes with it.
    Timer1->stop();
    QDialog::hideEvent(event);
}

void frmsplash::Timer1_Timer()
{
    if (first_tick_seen) {
        close();
        return;
    }
    first_tick_seen = true;
}
