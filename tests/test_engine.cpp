#include "Match.h"
#include "RecordingView.h"

#include <QTest>

#include <algorithm>
#include <random>

using Effects = std::vector<std::string>;

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void init();

    void startGameResetsEverySlotAndMarksOnlyPlayerOne();
    void flagsChoosePanelsAndRotation_data();
    void flagsChoosePanelsAndRotation();
    void firstTwoDartsPlayHitAndTouchOnlyTheTurnAndItsPanels();
    void turnIsSettledAfterTheThirdDart_data();
    void turnIsSettledAfterTheThirdDart();
    void bustAndWinShowTheirEffectsInOrder_data();
    void bustAndWinShowTheirEffectsInOrder();
    void dartsAreIgnoredWithoutAMatchInProgress_data();
    void dartsAreIgnoredWithoutAMatchInProgress();
    void adjustmentMovesOnlyTheCurrentScore();
    void randomPlayKeepsTheInvariants();

private:
    void startMatch(int players, std::int16_t startScore = 301);
    void throwDarts(std::initializer_list<int> darts);

    Module1 settings;
    RecordingView view;
    std::unique_ptr<Match> match;
};

void TestEngine::init()
{
    settings = Module1{};
    view = RecordingView{};
    match = std::make_unique<Match>(settings, view);
    match->game_over = true;
}

void TestEngine::startMatch(int players, std::int16_t startScore)
{
    settings.set_player_count(players);
    settings.start_score = startScore;
    match->start_game();
    view.take();
}

void TestEngine::throwDarts(std::initializer_list<int> darts)
{
    for (int points : darts)
        match->do_score(static_cast<std::int16_t>(points));
}

void TestEngine::startGameResetsEverySlotAndMarksOnlyPlayerOne()
{
    startMatch(3);
    throwDarts({60, 60, 60, 20});
    view.colour.fill(ScoreColour::LightRed); // a stale red from an earlier match
    startMatch(2, 501);

    for (int p = 1; p <= 4; ++p) {
        QCOMPARE(match->points_left(p), 501);
        QCOMPARE(view.score_text[p], std::string("501"));
        QCOMPARE(view.colour[p], p == 1 ? ScoreColour::LightRed : ScoreColour::LightBlue);
    }
    QCOMPARE(match->cur_player, 1);
    QCOMPARE(match->turn_total, 0);
    QCOMPARE(match->darts_thrown, 0);
    QCOMPARE(view.panel[4], std::string("0"));
    QCOMPARE(view.panel[6], std::string("0"));
    QVERIFY(view.adjustments_enabled);
    QVERIFY(!match->game_over);
}

void TestEngine::flagsChoosePanelsAndRotation_data()
{
    QTest::addColumn<QList<bool>>("flags"); // two, three, four
    QTest::addColumn<int>("shown");
    QTest::addColumn<QList<int>>("throwers");
    QTest::newRow("two") << QList<bool>{true, false, false} << 2 << QList<int>{1, 2, 1, 2, 1};
    QTest::newRow("three") << QList<bool>{false, true, false} << 3 << QList<int>{1, 2, 3, 1, 2, 3, 1};
    QTest::newRow("four") << QList<bool>{false, false, true} << 4 << QList<int>{1, 2, 3, 4, 1, 2};
    QTest::newRow("two wins over four") << QList<bool>{true, false, true} << 2 << QList<int>{1, 2, 1};
    QTest::newRow("no flag: no panels, four play")
        << QList<bool>{false, false, false} << 0 << QList<int>{1, 2, 3, 4, 1};
}

void TestEngine::flagsChoosePanelsAndRotation()
{
    QFETCH(QList<bool>, flags);
    QFETCH(int, shown);
    QFETCH(QList<int>, throwers);
    settings.two_players = flags[0];
    settings.three_players = flags[1];
    settings.four_players = flags[2];
    settings.start_score = 301;
    match->start_game();
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(view.panel_shown[p], p <= shown);
    for (int thrower : throwers) {
        QCOMPARE(match->cur_player, thrower);
        QCOMPARE(view.panel[2], "Player " + std::to_string(thrower));
        for (int p = 1; p <= 4; ++p)
            QCOMPARE(view.colour[p], p == thrower ? ScoreColour::LightRed : ScoreColour::LightBlue);
        throwDarts({1, 1, 1});
        QCOMPARE(view.panel[4], std::string("0"));
        QCOMPARE(view.panel[6], std::string("0"));
    }
}

void TestEngine::firstTwoDartsPlayHitAndTouchOnlyTheTurnAndItsPanels()
{
    startMatch(2);
    settings.sound_on = true;
    throwDarts({60, 19});
    QCOMPARE(view.take(), (Effects{"sound HIT", "panel 4 60", "panel 6 60", "sound HIT", "panel 4 19", "panel 6 79"}));
    QCOMPARE(match->turn_total, 79);
    QCOMPARE(match->darts_thrown, 2);
    QCOMPARE(match->points_left(1), 301);
}

void TestEngine::turnIsSettledAfterTheThirdDart_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QList<int>>("darts");
    QTest::addColumn<int>("after");
    QTest::addColumn<QStringList>("notices");
    QTest::newRow("normal turn") << 301 << QList<int>{60, 60, 60} << 121 << QStringList{};
    QTest::newRow("remainder of one stands") << 2 << QList<int>{1, 0, 0} << 1 << QStringList{};
    QTest::newRow("negative score busts on three misses") << -10 << QList<int>{0, 0, 0} << -10 << QStringList{"Break!"};
    QTest::newRow("lowest score busts without wrapping")
        << -32768 << QList<int>{60, 60, 60} << -32768 << QStringList{"Break!"};
    QTest::newRow("zero by hand, three misses, wins") << 0 << QList<int>{0, 0, 0} << 0 << QStringList{"Winner!"};
    QTest::newRow("zero by hand, a bust, then wins")
        << 0 << QList<int>{5, 0, 0} << 0 << QStringList{"Break!", "Winner!"};
}

void TestEngine::turnIsSettledAfterTheThirdDart()
{
    QFETCH(int, before);
    QFETCH(QList<int>, darts);
    QFETCH(int, after);
    QFETCH(QStringList, notices);
    startMatch(2);
    match->points_left(1) = static_cast<std::int16_t>(before);
    for (int dart : darts)
        match->do_score(static_cast<std::int16_t>(dart));

    QCOMPARE(match->points_left(1), after);
    QCOMPARE(view.score_text[1], std::to_string(after));
    QStringList shown;
    for (const std::string &line : view.log) {
        if (line.rfind("notice ", 0) == 0)
            shown << QString::fromStdString(line.substr(7));
    }
    QCOMPARE(shown, notices);
    QCOMPARE(bool(match->game_over), notices.contains("Winner!"));
    QCOMPARE(match->cur_player, 2);
}

void TestEngine::bustAndWinShowTheirEffectsInOrder_data()
{
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("third");
    QTest::addColumn<Effects>("effects");
    const Effects next{"panel 4 0",     "panel 6 0",     "active 2",      "colour 1 blue",
                       "colour 2 blue", "colour 3 blue", "colour 4 blue", "colour 2 red"};
    Effects bust{"panel 4 1", "panel 6 41", "caption Break!", "sound SHOTGUN", "notice Break!", "score 1 40"};
    Effects win{"panel 4 0", "panel 6 40", "score 1 0", "caption Winner!", "sound EXPLOSION", "notice Winner!"};
    bust.insert(bust.end(), next.begin(), next.end());
    win.insert(win.end(), next.begin(), next.end()); // the player after the winner is marked
    // Sound is off: HIT stays silent, while the bust and win sounds play regardless.
    QTest::newRow("bust at 40 with 20, 20, 1") << 2 << 1 << bust;
    QTest::newRow("win at 40 with 20, 20, miss") << 3 << 0 << win;
}

void TestEngine::bustAndWinShowTheirEffectsInOrder()
{
    QFETCH(int, players);
    QFETCH(int, third);
    QFETCH(Effects, effects);
    startMatch(players);
    match->points_left(1) = 40;
    throwDarts({20, 20});
    view.take();
    throwDarts({third});
    QCOMPARE(view.take(), effects);
    QCOMPARE(bool(match->game_over), third == 0);
    QCOMPARE(match->cur_player, 2);
}

void TestEngine::dartsAreIgnoredWithoutAMatchInProgress_data()
{
    QTest::addColumn<bool>("afterWin");
    QTest::newRow("before the first match") << false;
    QTest::newRow("after a win") << true;
}

void TestEngine::dartsAreIgnoredWithoutAMatchInProgress()
{
    QFETCH(bool, afterWin);
    settings.sound_on = true;
    if (afterWin) {
        startMatch(2);
        match->points_left(1) = 3;
        throwDarts({1, 1, 1});
        QVERIFY(match->game_over);
        view.take();
    }
    const auto scores = std::array{match->points_left(1), match->points_left(2)};
    const auto thrower = match->cur_player;
    throwDarts({60, 60, 60, 60});
    QVERIFY(view.take().empty());
    QCOMPARE(match->turn_total, 0);
    QCOMPARE(match->darts_thrown, 0);
    QCOMPARE(match->cur_player, thrower);
    QCOMPARE(match->points_left(1), scores[0]);
    QCOMPARE(match->points_left(2), scores[1]);
}

void TestEngine::adjustmentMovesOnlyTheCurrentScore()
{
    startMatch(2);
    throwDarts({60, 60, 60, 7}); // player 2 has one dart in hand
    view.take();
    settings.points_pick = 25;
    QCOMPARE(match->adjust_points(Adjustment::Add), AdjustOutcome::Stored);
    QCOMPARE(view.take(), Effects{"score 2 326"});
    QCOMPARE(match->turn_total, 7);
    QCOMPARE(match->darts_thrown, 1);
    QCOMPARE(match->cur_player, 2);
    QCOMPARE(match->adjust_points(Adjustment::Subtract), AdjustOutcome::Stored);
    QCOMPARE(match->points_left(2), 301);
    throwDarts({3, 0}); // the dart before the adjustment still counts
    QCOMPARE(match->points_left(2), 291);
}

// Thousands of seeded random evenings of play, checked after every action.
void TestEngine::randomPlayKeepsTheInvariants()
{
    std::mt19937 random(20261207);
    auto below = [&random](unsigned n) { return static_cast<int>(random() % n); };
    int players = 0;
    for (int action = 0; action < 200000; ++action) {
        const int kind = below(100);
        if (kind < 2 || players == 0) {
            players = 2 + below(3);
            startMatch(players, below(2) ? 301 : 501);
        } else if (kind < 5) {
            settings.points_pick = static_cast<std::int16_t>(1 + below(50));
            match->adjust_points(below(2) ? Adjustment::Add : Adjustment::Subtract);
        } else {
            const int thrower = match->cur_player;
            const std::int16_t before = match->points_left(thrower);
            const std::int16_t darts = match->darts_thrown;
            const int total = match->turn_total;
            const int points = below(61);
            const bool wasOver = bool(match->game_over);
            match->do_score(static_cast<std::int16_t>(points));
            if (!wasOver && darts < 2) {
                QCOMPARE(match->points_left(thrower), before); // never changes mid-turn
            } else if (!wasOver) {
                const int settled = before - (total + points);
                QCOMPARE(int(match->points_left(thrower)), settled < 0 ? before : settled); // a bust restores exactly
            }
        }
        QVERIFY(match->cur_player >= 1 && match->cur_player <= players);
        QVERIFY(match->turn_total >= 0 && match->turn_total <= 180);
        QVERIFY(match->darts_thrown >= 0 && match->darts_thrown < 3);
        const auto red = std::count(view.colour.begin() + 1, view.colour.end(), ScoreColour::LightRed);
        QCOMPARE(red, 1);
        QCOMPARE(view.colour[static_cast<std::size_t>(match->cur_player)], ScoreColour::LightRed);
        for (int p = 1; p <= 4; ++p)
            QCOMPARE(view.score_text[p], std::to_string(match->points_left(p)));
        view.log.clear();
    }
}

QTEST_APPLESS_MAIN(TestEngine)
#include "test_engine.moc"
