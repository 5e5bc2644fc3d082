#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

// The text a control shows: a frame's caption, a button's or label's text, a text box's contents, or else the
// window title.
inline QString caption_of(const QWidget &widget)
{
    if (auto *frame = qobject_cast<const QGroupBox *>(&widget))
        return frame->title();
    if (auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->text();
    if (auto *box = qobject_cast<const QLineEdit *>(&widget))
        return box->text();
    if (auto *label = qobject_cast<const QLabel *>(&widget))
        return label->text();
    return widget.windowTitle();
}
