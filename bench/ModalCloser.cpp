#include "ModalCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>

ModalCloser::ModalCloser(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

ModalCloser::~ModalCloser()
{
    qApp->removeEventFilter(this);
}

bool ModalCloser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show)
        return false;
    QAbstractButton *button = nullptr;
    if (auto *box = qobject_cast<QMessageBox *>(watched); box && !box->buttons().isEmpty())
        button = box->buttons().first();
    else if (watched->objectName() == QLatin1String("frmnotice"))
        button = watched->findChild<QAbstractButton *>(QStringLiteral("Command1"));
    if (button) {
        ++answered_;
        // Queued: the window's own modal loop is running by the time the click arrives.
        QMetaObject::invokeMethod(
            button,
            [target = QPointer(button)] {
                if (target)
                    target->click();
            },
            Qt::QueuedConnection);
    }
    return false;
}
