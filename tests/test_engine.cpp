#include "Match.h"
#include "RecordingView.h"

#include <QTest>

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void startGameResetsEveryScore();
};

void TestEngine::startGameResetsEveryScore()
{
    Module1 settings;
    RecordingView view;
    Match match(settings, view);
    settings.start_score = 501;
    settings.two_players = true;
    match.start_game();
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(match.points_left(p), 501);
}

QTEST_APPLESS_MAIN(TestEngine)
#include "test_engine.moc"
