#include "CentredDialog.h"

#include "Centring.h"
#include "WindowManagerHints.h"

#include <QEvent>
#include <QKeyEvent>

CentredDialog::CentredDialog(DialogLook look, QWidget *parent)
    : QDialog(parent, look.borderless ? Qt::Dialog | Qt::FramelessWindowHint : kFixedDialogFlags)
    , look_(look)
{
    setModal(true);
}

void CentredDialog::setVisible(bool visible)
{
    if (visible)
        make_anew_at_screen_scale(*this);
    QDialog::setVisible(visible);
}

bool CentredDialog::event(QEvent *event)
{
    // Show comes when the window is created and about to be mapped, ShowToParent once it is mapped.
    // Placed first: placing may create the window, on the screen it goes to.
    if (event->type() == QEvent::Show && !event->spontaneous()) {
        placed_before_mapping_ = place_before_mapping(*this, Placement::Centre);
        if (look_.off_taskbar)
            keep_untitled_and_off_taskbar(*this);
    }
    if (event->type() == QEvent::ShowToParent)
        place_once_mapped(*this, Placement::Centre, placed_before_mapping_);
    return QDialog::event(event);
}

void CentredDialog::keyPressEvent(QKeyEvent *event)
{
    if (!look_.escape_closes && event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
