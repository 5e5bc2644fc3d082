#pragma once

#include "StatusBar.h"
#include "frmmain.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <memory>

// A shown main window with no match in progress, and the look-ups the window tests share.
class MainWindowFixture {
protected:
    void openWindow()
    {
        settings = Module1{};
        settings.start_score = 301;
        window = std::make_unique<frmmain>(settings);
        window->match().game_over = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void startMatch(int players, std::int16_t startScore = 301)
    {
        settings.two_players = players == 2;
        settings.three_players = players == 3;
        settings.four_players = players == 4;
        settings.start_score = startScore;
        window->match().start_game();
    }

    Match &match() const { return window->match(); }
    QLabel *label(const QString &name) const { return window->findChild<QLabel *>(name); }
    QAction *action(const QString &name) const { return window->findChild<QAction *>(name); }
    StatusBar *statusBar() const { return window->findChild<StatusBar *>(QStringLiteral("StatusBar1")); }
    QString panel(int number) const { return statusBar()->panelText(number); }
    QWidget *board() const { return window->findChild<QWidget *>(QStringLiteral("Picture1")); }

    Module1 settings;
    std::unique_ptr<frmmain> window;
};
