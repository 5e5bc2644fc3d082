#pragma once

#include "Flag16.h"

#include "CentredDialog.h"

class QGroupBox;
class QLabel;
class QTimer;

// The black start-up splash with the maker's picture; it closes and destroys itself on the
// second tick of its timer.
class frmsplash : public CentredDialog {
    Q_OBJECT
public:
    explicit frmsplash(int interval_ms = 4000, QWidget *parent = nullptr);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void Timer1_Timer();

    QGroupBox *Frame1;
    QLabel *Image1;
    QTimer *Timer1;
    Flag16 first_tick_seen;
};
