#pragma once

#include "FittedLabel.h"
#include "RecordingSound.h"
#include "StatusBar.h"
#include "frmmain.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <map>
#include <memory>
#include <optional>

// A shown main window with no match in progress, and the look-ups the window tests share.
class MainWindowFixture {
public:
    // The colour most of the image's pixels have, those of `leftOut` not counted.
    static QRgb mostCommonColour(const QImage &image, std::optional<QRgb> leftOut = {})
    {
        std::map<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y)];
        if (leftOut)
            counts.erase(*leftOut);
        return std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) { return a.second < b.second; })
            ->first;
    }

protected:
    // With the recording sound, or `player` when given, which must outlive the window.
    void openWindow(SoundInterface *player = nullptr)
    {
        settings = Module1{};
        settings.start_score = 301;
        window = std::make_unique<frmmain>(settings, player != nullptr ? *player : sound);
        window->match().game_over = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void startMatch(int players, std::int16_t startScore = 301)
    {
        settings.set_player_count(players);
        settings.start_score = startScore;
        window->match().start_game();
    }

    Match &match() const { return window->match(); }
    QLabel *label(const QString &name) const { return window->findChild<QLabel *>(name); }
    QAction *action(const QString &name) const { return window->findChild<QAction *>(name); }
    StatusBar *statusBar() const { return window->findChild<StatusBar *>(QStringLiteral("StatusBar1")); }
    QString panel(int number) const { return statusBar()->panel_text(number); }
    QWidget *board() const { return window->findChild<QWidget *>(QStringLiteral("Picture1")); }

    // Where a label's text leaves ink inside its frame and margin, where the text is clipped: the pixels that
    // differ from the most common colour.
    static QRect inkOf(QLabel *label)
    {
        const int m = label->margin();
        const QImage image = label->grab(label->contentsRect().marginsRemoved({m, m, m, m})).toImage();
        const QRgb background = mostCommonColour(image);
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink |= image.pixel(x, y) == background ? QRect() : QRect(x, y, 1, 1);
        return ink;
    }

    // A label draws its text whole, or the text's start followed by "…", and no letter is cut by its sides.
    static void verifyDrawnFromTheStart(QLabel *label, const QString &text)
    {
        const QRect ink = inkOf(label);
        const int width = label->contentsRect().width() - 2 * label->margin();
        QVERIFY2(ink.isEmpty() || (ink.left() > 0 && ink.right() < width - 1),
                 qPrintable(QString("%1: ink from x = %2 to %3 of %4")
                                .arg(label->objectName())
                                .arg(ink.left())
                                .arg(ink.right())
                                .arg(width)));
        auto *fitted = qobject_cast<FittedLabel *>(label);
        const QString drawn = fitted ? fitted->shown_text() : label->text();
        QVERIFY2(drawn == text || (drawn.endsWith(u'…') && drawn.size() > 1 && text.startsWith(drawn.chopped(1))),
                 qPrintable(drawn.left(80)));
    }

    Module1 settings;
    RecordingSound sound;
    std::unique_ptr<frmmain> window;
};
