#pragma once

#include <QDialog>

class QPushButton;

// The borderless bust/win notice: one large button whose caption is the message; any press hides it.
class frmnotice : public QDialog {
    Q_OBJECT
public:
    explicit frmnotice(QWidget *parent = nullptr);

    void set_caption(const QString &text);
    QString caption() const;

protected:
    bool event(QEvent *event) override;

private:
    QPushButton *Command1;
};
