#include "BoardGeometry.h"
#include "ModalAnswerer.h"
#include "StatusBar.h"
#include "Version.h"
#include "frmmain.h"

#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <memory>

// Window tests: the layout as designed, and what a match shows on it.
class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void clientAreaHasTheDesignedSize();
    void controlsStandAtTheirDesignedRectangles_data();
    void controlsStandAtTheirDesignedRectangles();
    void playerPanelsStartHidden();
    void statusBarPanelsStartWithTheirFixedTexts();
    void menuBarHasTheDesignedTree();
    void windowCannotBeResizedOrMaximised();
    void playerLabelsUseTheMetricCompatibleFaces();
    void statusBarReportsTheClickedPanel();

    void startedMatchShowsPanelsNamesAndColours();
    void namesAreShownAsPlainText();
    void bustNoticeShowsWhileTheOldScoreIsOnScreen();
    void twoPlayerMatchIsScoredFromBoardClicksAlone();
    void doubleClickEntersTwoDarts();
    void boardClicksBeforeAMatchChangeNothing();

private:
    QLabel *label(const QString &name) const { return window->findChild<QLabel *>(name); }
    QString panel(int number) const { return window->findChild<StatusBar *>("StatusBar1")->panelText(number); }
    QWidget *board() const { return window->findChild<QWidget *>("Picture1"); }
    void startMatch(int players, std::int16_t startScore = 301);
    void click(board::Ring ring, int number);

    Module1 settings;
    std::unique_ptr<frmmain> window;
};

void TestMainWindow::init()
{
    settings = Module1{};
    window = std::make_unique<frmmain>(settings);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestMainWindow::cleanup()
{
    window.reset();
}

void TestMainWindow::startMatch(int players, std::int16_t startScore)
{
    settings.two_players = players == 2;
    settings.three_players = players == 3;
    settings.four_players = players == 4;
    settings.start_score = startScore;
    window->match().start_game();
}

// Clicks the middle of a ring on a segment's centre line, as a scorer would.
void TestMainWindow::click(board::Ring ring, int number)
{
    using namespace board;
    static constexpr std::array<double, 8> kMiddle{0, 21.5, 57.5, 92.5, 131.5, 172, 210, 0};
    const double r = kMiddle[static_cast<std::size_t>(ring)];
    const auto at = std::find(kSegmentOrder.begin(), kSegmentOrder.end(), number == 0 ? 20 : number);
    const double degrees = kSegmentDegrees * double(at - kSegmentOrder.begin()) * M_PI / 180.0;
    const QPoint point(int(kCentre + r * std::sin(degrees)), int(kCentre - r * std::cos(degrees)));
    QTest::mouseClick(board(), Qt::LeftButton, {}, point);
}

void TestMainWindow::clientAreaHasTheDesignedSize()
{
    QCOMPARE(window->centralWidget()->size(), QSize(721, 508));
    QCOMPARE(window->windowTitle(), QString("Ochreline for Windows"));
    QVERIFY(!window->windowIcon().isNull());
}

void TestMainWindow::controlsStandAtTheirDesignedRectangles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Picture1") << "Picture1" << QRect(123, 3, 480, 480);
    QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 486, 721, 22);
    QTest::newRow("Line1") << "Line1" << QRect(0, 0, 714, 2);
    QTest::newRow("lblname_1") << "lblname_1" << QRect(3, 18, 112, 28);
    QTest::newRow("lblname_2") << "lblname_2" << QRect(606, 18, 112, 28);
    QTest::newRow("lblname_3") << "lblname_3" << QRect(3, 267, 112, 28);
    QTest::newRow("lblname_4") << "lblname_4" << QRect(606, 267, 112, 28);
    QTest::newRow("score_1") << "score_1" << QRect(9, 72, 100, 52);
    QTest::newRow("score_2") << "score_2" << QRect(612, 72, 100, 52);
    QTest::newRow("score_3") << "score_3" << QRect(9, 318, 100, 52);
    QTest::newRow("score_4") << "score_4" << QRect(612, 318, 100, 52);
}

void TestMainWindow::controlsStandAtTheirDesignedRectangles()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    auto *control = window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->parentWidget(), window->centralWidget());
}

void TestMainWindow::playerPanelsStartHidden()
{
    for (int p = 1; p <= 4; ++p) {
        QVERIFY(!label(QString("lblname_%1").arg(p))->isVisible());
        QVERIFY(!label(QString("score_%1").arg(p))->isVisible());
        QCOMPARE(label(QString("lblname_%1").arg(p))->text(), QString("Player %1").arg(p));
        QCOMPARE(label(QString("score_%1").arg(p))->text(), QString("301"));
    }
    QVERIFY(board()->isVisible());
}

void TestMainWindow::statusBarPanelsStartWithTheirFixedTexts()
{
    const QStringList expected{"Active Player:", "", "Hit:", "", "Total Hit:", "", version::kWebAddress};
    for (int number = 1; number <= 7; ++number)
        QCOMPARE(panel(number), expected[number - 1]);
    auto *bar = window->findChild<StatusBar *>("StatusBar1");
    QCOMPARE(bar->panel(7)->width(), 301);
    for (int number = 1; number < 7; ++number)
        QVERIFY(bar->panel(number)->geometry().right() < bar->panel(number + 1)->geometry().left());
    QVERIFY(bar->panel(7)->geometry().right() < bar->width()); // nothing clipped at the right
}

void TestMainWindow::menuBarHasTheDesignedTree()
{
    QStringList tree;
    for (QAction *top : window->menuBar()->actions()) {
        tree << top->objectName() + "|" + top->text();
        for (QAction *item : top->menu()->actions())
            tree << "  " + item->objectName() + "|" + (item->isSeparator() ? "-" : item->text()) + "|"
                        + (item->isEnabled() ? "on" : "off") + (item->isChecked() ? "|checked" : "");
    }
    const QStringList expected{
        "mnufile|&File",
        "  mnunew|&New Game|on",
        "  mnusound|Sound On|on",
        "  mnudash|-|on",
        "  mnuexit|E&xit|on",
        "mnuscore|&Score",
        "  mnuadd|Add Points|off",
        "  mnusub|Subtract Points|off",
        "mnuhelp|&Help",
        "  mnu_getdart|&GET QUIVERLINE|on",
        "  mnucontents|&Contents|on",
        "  mnuabout|&About|on",
    };
    QCOMPARE(tree, expected);
}

void TestMainWindow::windowCannotBeResizedOrMaximised()
{
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(window->minimumSize(), window->maximumSize());
}

void TestMainWindow::playerLabelsUseTheMetricCompatibleFaces()
{
    const QFontInfo name(label("lblname_1")->font());
    const QFontInfo score(label("score_1")->font());
    QCOMPARE(name.family(), QString("Liberation Serif"));
    QVERIFY(name.bold());
    QCOMPARE(score.family(), QString("Liberation Sans"));
    QCOMPARE(label("score_1")->font().pointSizeF(), 27.75);
}

void TestMainWindow::statusBarReportsTheClickedPanel()
{
    auto *bar = window->findChild<StatusBar *>("StatusBar1");
    QList<int> clicked;
    connect(bar, &StatusBar::panelClicked, this, [&clicked](int number) { clicked << number; });
    for (int number = 1; number <= 7; ++number)
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->panel(number)->geometry().center());
    QCOMPARE(clicked, (QList<int>{1, 2, 3, 4, 5, 6, 7}));
}

void TestMainWindow::startedMatchShowsPanelsNamesAndColours()
{
    label("lblname_1")->setText("Ann");
    startMatch(3, 501);
    for (int p = 1; p <= 4; ++p) {
        QCOMPARE(label(QString("lblname_%1").arg(p))->isVisible(), p <= 3);
        QCOMPARE(label(QString("score_%1").arg(p))->text(), QString("501"));
        const QColor colour = label(QString("score_%1").arg(p))->palette().color(QPalette::WindowText);
        QCOMPARE(colour, p == 1 ? QColor(255, 0, 0) : QColor(0, 0, 255));
    }
    QCOMPARE(panel(2), QString("Ann"));
    QCOMPARE(panel(4), QString("0"));
    QCOMPARE(panel(6), QString("0"));
    QVERIFY(window->findChild<QAction *>("mnuadd")->isEnabled());
    QVERIFY(window->findChild<QAction *>("mnusub")->isEnabled());
}

void TestMainWindow::namesAreShownAsPlainText()
{
    label("lblname_1")->setText("<b>Ann</b>");
    label("lblname_2")->setText("Tom & Jerry");
    startMatch(2);
    QCOMPARE(label("lblname_1")->textFormat(), Qt::PlainText);
    QCOMPARE(panel(2), QString("<b>Ann</b>"));
    QCOMPARE(window->findChild<StatusBar *>("StatusBar1")->panel(2)->textFormat(), Qt::PlainText);
    window->match().do_score(0);
    window->match().do_score(0);
    window->match().do_score(0);
    QCOMPARE(panel(2), QString("Tom & Jerry"));
}

void TestMainWindow::bustNoticeShowsWhileTheOldScoreIsOnScreen()
{
    startMatch(2);
    window->match().points_left(1) = 40;
    label("score_1")->setText("40");
    QString scoreDuringNotice;
    QString hitDuringNotice;
    ModalAnswerer answerer([&](QWidget *modal) {
        scoreDuringNotice = label("score_1")->text();
        hitDuringNotice = panel(6);
        ModalAnswerer::answer(modal);
    });
    window->match().do_score(20);
    window->match().do_score(20);
    window->match().do_score(1);
    QCOMPARE(answerer.seen, QStringList{"frmnotice: Break!"});
    QCOMPARE(scoreDuringNotice, QString("40"));
    QCOMPARE(hitDuringNotice, QString("41"));
    QCOMPARE(label("score_1")->text(), QString("40"));
    QCOMPARE(panel(6), QString("0"));
}

void TestMainWindow::twoPlayerMatchIsScoredFromBoardClicksAlone()
{
    using board::Ring;
    startMatch(2);
    ModalAnswerer answerer;
    auto turn = [this](std::initializer_list<std::pair<Ring, int>> darts) {
        for (auto [ring, number] : darts)
            click(ring, number);
    };
    turn({{Ring::Treble, 20}, {Ring::Treble, 20}, {Ring::Treble, 20}}); // 1: 121
    QCOMPARE(label("score_1")->text(), QString("121"));
    turn({{Ring::InnerSingle, 5}, {Ring::OuterSingle, 1}, {Ring::NumberRing, 0}}); // 2: 295
    QCOMPARE(label("score_2")->text(), QString("295"));
    turn({{Ring::Treble, 19}, {Ring::Double, 16}, {Ring::InnerBull, 0}}); // 1: 121 - 139 bust
    QCOMPARE(answerer.seen, QStringList{"frmnotice: Break!"});
    QCOMPARE(label("score_1")->text(), QString("121"));
    turn({{Ring::OuterBull, 0}, {Ring::Double, 3}, {Ring::InnerSingle, 11}}); // 2: 295 - 42 = 253
    QCOMPARE(label("score_2")->text(), QString("253"));
    turn({{Ring::Treble, 19}, {Ring::Treble, 16}, {Ring::Double, 8}}); // 1: 121 - 121 = 0
    QCOMPARE(label("score_1")->text(), QString("0"));
    QCOMPARE(answerer.seen, (QStringList{"frmnotice: Break!", "frmnotice: Winner!"}));
    QVERIFY(window->match().game_over);
    QCOMPARE(panel(2), QString("Player 2"));
}

void TestMainWindow::doubleClickEntersTwoDarts()
{
    startMatch(2);
    const QPoint treble20(240, 147);
    // What the window system sends for a double click: press, release, double click, release.
    QTest::mouseClick(board(), Qt::LeftButton, {}, treble20);
    QTest::mouseDClick(board(), Qt::LeftButton, {}, treble20);
    QTest::mouseRelease(board(), Qt::LeftButton, {}, treble20);
    QCOMPARE(window->match().darts_thrown, 2);
    QCOMPARE(panel(6), QString("120"));
}

void TestMainWindow::boardClicksBeforeAMatchChangeNothing()
{
    window->match().game_over = true;
    click(board::Ring::Treble, 20);
    QCOMPARE(panel(4), QString());
    QCOMPARE(window->match().darts_thrown, 0);
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
