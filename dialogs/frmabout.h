#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: application name, credits and contact line; "OK" closes and destroys it.
class frmabout : public QDialog {
    Q_OBJECT
public:
    explicit frmabout(QWidget *parent = nullptr);

    QLabel *lblappname() const;
    QLabel *lblprog() const;
    QLabel *lblconcept() const;
    QLabel *lbldesign() const;

private:
    void build_about_frame();
    void build_credits();
    void build_maker_frame();

    QLabel *lblappname_ = nullptr;
    QLabel *lblprog_ = nullptr;
    QLabel *lblconcept_ = nullptr;
    QLabel *lbldesign_ = nullptr;
    QPushButton *Command1 = nullptr;
};
