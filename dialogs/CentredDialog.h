#pragma once

#include <QDialog>

// The fixed dialog border of the design: a title bar with a close button only, not resizable.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint
                                                     | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                     | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// What sets the centred dialogs apart from one another.
struct DialogLook {
    bool borderless = false;   // no frame at all, else the fixed dialog border
    bool off_taskbar = false;  // kept out of the taskbar, and untitled when its caption is empty
    bool escape_closes = true; // false where closing would act as the dialog's command
};

// A modal dialog centred on the main window's monitor by its outer size each time it is shown.
class CentredDialog : public QDialog {
    Q_OBJECT
public:
    CentredDialog(DialogLook look, QWidget *parent);

    void setVisible(bool visible) override;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    DialogLook look_;
    bool placed_before_mapping_ = false;
};
