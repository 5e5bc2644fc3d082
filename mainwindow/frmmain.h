#pragma once

#include "Match.h"
#include "MatchViewInterface.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class BoardPicture;
class QLabel;
class SoundInterface;
class StatusBar;
class frmnotice;
class frmplayers;
class frmpoints;

// The main window: the board, the player panels, the status bar and the menus; it owns the match.
class frmmain : public QMainWindow, public MatchViewInterface {
    Q_OBJECT
public:
    static constexpr int kSplashIntervalMs = 4000;
    static constexpr int kWebPanel = 7;

    frmmain(Module1 &settings, SoundInterface &sound, QWidget *parent = nullptr);
    ~frmmain() override;

    // The whole start-up: placement, settings, sound detection, splash and the start-up message.
    // "Sound On" follows the answer of the device check, which comes after the window is shown.
    void Form_Load(int splash_interval_ms = kSplashIntervalMs);

    Match &match() { return match_; }
    const Match &match() const { return match_; }

    void mnunew_Click();
    void mnusound_Click();
    void mnuexit_Click();
    void mnuadd_Click();
    void mnusub_Click();
    void mnu_getdart_Click();
    void mnucontents_Click();
    void mnuabout_Click();
    void StatusBar1_PanelClick(int number);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void set_score_text(int player, std::string_view text) override;
    void set_score_colour(int player, ScoreColour colour) override;
    void show_player_panel(int player) override;
    void show_active_player(int player) override;
    void set_panel_text(int panel, std::string_view text) override;
    void enable_adjustments() override;
    void play_sound(std::string_view name) override;
    void set_notice_caption(std::string_view caption) override;
    void show_notice() override;

    void build_client_area();
    void build_player_panels(QWidget *client);
    void build_menus();
    void set_sound_device(bool found);
    // Returns false where the placement is to be completed once the window is mapped.
    bool place_at_top_of_screen();
    void keep_own_size();
    void show_startup_message();
    void adjust_points(Adjustment direction);
    frmnotice *notice();
    QLabel *name_label(int player) const;
    QLabel *score_label(int player) const;

    Module1 &settings_;
    SoundInterface &sound_;
    Match match_;

    BoardPicture *Picture1_ = nullptr;
    StatusBar *StatusBar1_ = nullptr;
    std::array<QLabel *, Match::kMaxPlayers> lblname_{};
    std::array<QLabel *, Match::kMaxPlayers> score_{};
    QAction *mnusound_ = nullptr;
    QAction *mnuadd_ = nullptr;
    QAction *mnusub_ = nullptr;

    QPointer<frmnotice> notice_;
    QPointer<frmplayers> players_;
    QPointer<frmpoints> points_;
};
