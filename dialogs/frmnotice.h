#pragma once

#include "CentredDialog.h"

class QPushButton;

// The borderless bust/win notice: one large button whose caption is the message; any press hides it.
class frmnotice : public CentredDialog {
    Q_OBJECT
public:
    explicit frmnotice(QWidget *parent = nullptr);

    void set_caption(const QString &text);
    QString caption() const;

private:
    QPushButton *Command1;
};
