#pragma once

#include <QDialog>

class DesignFrame;
struct Module1;
class QButtonGroup;
class QPushButton;

// The borderless "How many points?" picker for the add and subtract commands; the chosen amount
// goes to the shared points_pick. Only hidden when dismissed, so it keeps its selection.
class frmpoints : public QDialog {
    Q_OBJECT
public:
    explicit frmpoints(Module1 &settings, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void optpoints_Click(int index, bool checked);

    Module1 &settings_;
    DesignFrame *Frame1;
    QButtonGroup *optpoints;
    QPushButton *Command1;
};
