#pragma once

#include "CentredDialog.h"

#include <array>

class DesignFrame;
struct Module1;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The new game dialog: number of players, 301 or 501, and the players' names, written straight
// into the shared settings and the main window's name labels. Only hidden when dismissed.
class frmplayers : public CentredDialog {
    Q_OBJECT
public:
    frmplayers(Module1 &settings, std::array<QLabel *, 4> lblname, QWidget *parent = nullptr);

    // The name with its first character raised and every other one lowered.
    static QString Cap_it(const QString &text);

private:
    void build_player_frame();
    void build_name_boxes();
    void build_game_frame();
    void build_command();
    void set_tab_order();

    void optplay_Click(int index, bool checked);
    void optgame_Click(int index, bool checked);
    void Command1_Click();

    Module1 &settings_;
    std::array<QLabel *, 4> lblname_;

    DesignFrame *Frame1 = nullptr;
    QButtonGroup *optplay = nullptr;
    std::array<QLineEdit *, 4> playname{};
    QPushButton *Command1 = nullptr;
    DesignFrame *Frame2 = nullptr;
    QButtonGroup *optgame = nullptr;
};
