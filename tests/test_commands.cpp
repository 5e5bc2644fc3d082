#include "ModalAnswerer.h"
#include "StatusBar.h"
#include "frmmain.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>

#include <memory>

// Records the web addresses the desktop would have been asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

// The main window's commands, driven through their menu items with the dialogs answered as a person would.
class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newGameHidesEveryPanelWhileTheDialogIsUp();
    void newGameClosedWithoutLetsPlayStillStartsAMatch();
    void pointsDialogFirstOkAppliesTheShownOne();
    void chosenAmountIsAddedThenSubtracted();
    void adjustmentBeyondSixteenBitsIsRefusedWithAMessage_data();
    void adjustmentBeyondSixteenBitsIsRefusedWithAMessage();
    void onlyTheWebPanelAndMenuItemOpenTheAddress();
    void aboutBoxIsBuiltFreshWithTheSameTexts();
    void helpContentsOpensTheViewer();
    void exitAndClosingEndTheEventLoop_data();
    void exitAndClosingEndTheEventLoop();

private:
    QAction *action(const char *name) const { return window->findChild<QAction *>(QString::fromLatin1(name)); }
    QLabel *label(const QString &name) const { return window->findChild<QLabel *>(name); }
    QString panel(int number) const { return window->findChild<StatusBar *>("StatusBar1")->panelText(number); }
    void startTwoPlayerMatch();

    Module1 settings;
    std::unique_ptr<frmmain> window;
};

void TestCommands::init()
{
    settings = Module1{};
    settings.start_score = 301;
    window = std::make_unique<frmmain>(settings);
    window->match().game_over = true;
    window->show();
}

void TestCommands::cleanup()
{
    window.reset();
}

void TestCommands::startTwoPlayerMatch()
{
    ModalAnswerer answerer([](QWidget *dialog) {
        dialog->findChild<QRadioButton *>("optplay_2")->click();
        ModalAnswerer::answer(dialog);
    });
    action("mnunew")->trigger();
}

void TestCommands::newGameHidesEveryPanelWhileTheDialogIsUp()
{
    settings.four_players = true;
    window->match().start_game();
    int panelsShownDuringDialog = -1;
    ModalAnswerer answerer([&](QWidget *dialog) {
        panelsShownDuringDialog = 0;
        for (int p = 1; p <= 4; ++p)
            panelsShownDuringDialog += label(QString("lblname_%1").arg(p))->isVisible()
                                       + label(QString("score_%1").arg(p))->isVisible();
        dialog->findChild<QRadioButton *>("optplay_3")->click();
        dialog->findChild<QRadioButton *>("optgame_2")->click();
        const QStringList names{"ann", "tom & jerry", "<b>sam</b>"};
        for (int p = 1; p <= 3; ++p)
            dialog->findChild<QLineEdit *>(QString("playname_%1").arg(p))->setText(names[p - 1]);
        ModalAnswerer::answer(dialog);
    });
    action("mnunew")->trigger();

    QCOMPARE(panelsShownDuringDialog, 0);
    const QStringList shown{"Ann", "Tom & jerry", "<b>sam</b>"};
    for (int p = 1; p <= 4; ++p) {
        QCOMPARE(label(QString("lblname_%1").arg(p))->isVisible(), p <= 3);
        QCOMPARE(label(QString("score_%1").arg(p))->text(), QString("501"));
    }
    for (int p = 1; p <= 3; ++p)
        QCOMPARE(label(QString("lblname_%1").arg(p))->text(), shown[p - 1]);
    QCOMPARE(panel(2), QString("Ann"));
    QCOMPARE(window->match().cur_player, 1);
}

void TestCommands::newGameClosedWithoutLetsPlayStillStartsAMatch()
{
    ModalAnswerer answerer([](QWidget *dialog) { dialog->close(); });
    action("mnunew")->trigger();
    QVERIFY(!window->match().game_over);
    QCOMPARE(window->match().cur_player, 1);
    QVERIFY(action("mnuadd")->isEnabled());
}

void TestCommands::pointsDialogFirstOkAppliesTheShownOne()
{
    startTwoPlayerMatch();
    ModalAnswerer answerer;
    action("mnuadd")->trigger();
    QCOMPARE(label("score_1")->text(), QString("302"));
    QCOMPARE(settings.points_pick, 1);
}

void TestCommands::chosenAmountIsAddedThenSubtracted()
{
    startTwoPlayerMatch();
    window->match().do_score(7); // a dart in hand stays in the turn
    {
        ModalAnswerer answerer([](QWidget *dialog) {
            dialog->findChild<QRadioButton *>("optpoints_25")->click();
            ModalAnswerer::answer(dialog);
        });
        action("mnuadd")->trigger();
    }
    QCOMPARE(label("score_1")->text(), QString("326"));
    ModalAnswerer answerer;
    action("mnusub")->trigger(); // OK at once: the same 25
    QCOMPARE(label("score_1")->text(), QString("301"));
    QCOMPARE(window->match().turn_total, 7);
    QCOMPARE(panel(6), QString("7"));
}

void TestCommands::adjustmentBeyondSixteenBitsIsRefusedWithAMessage_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("limit");
    QTest::newRow("add at the top") << 32767 << "mnuadd" << "32767";
    QTest::newRow("subtract at the bottom") << -32768 << "mnusub" << "-32768";
}

void TestCommands::adjustmentBeyondSixteenBitsIsRefusedWithAMessage()
{
    QFETCH(int, score);
    QFETCH(QString, command);
    QFETCH(QString, limit);
    startTwoPlayerMatch();
    window->match().points_left(1) = static_cast<std::int16_t>(score);
    label("score_1")->setText(QString::number(score));
    ModalAnswerer answerer;
    window->findChild<QAction *>(command)->trigger();

    QCOMPARE(answerer.seen.size(), 2);
    QVERIFY2(answerer.seen[1].startsWith("Overflow: ") && answerer.seen[1].contains(limit), qPrintable(answerer.seen[1]));
    QCOMPARE(int(window->match().points_left(1)), score);
    QCOMPARE(label("score_1")->text(), QString::number(score));
    window->match().do_score(0); // play goes on
    QCOMPARE(window->match().darts_thrown, 1);
}

void TestCommands::onlyTheWebPanelAndMenuItemOpenTheAddress()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("http", &recorder, "open");
    auto *bar = window->findChild<StatusBar *>("StatusBar1");
    for (int number = 1; number <= 6; ++number)
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->panel(number)->geometry().center());
    QVERIFY(recorder.opened.isEmpty());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->panel(7)->geometry().center());
    action("mnu_getdart")->trigger();
    QDesktopServices::unsetUrlHandler("http");

    const QUrl address(panel(7));
    QCOMPARE(recorder.opened, (QList<QUrl>{address, address}));
}

void TestCommands::aboutBoxIsBuiltFreshWithTheSameTexts()
{
    QStringList texts;
    QList<QPointer<QWidget>> boxes;
    ModalAnswerer answerer([&](QWidget *about) {
        for (const char *name : {"lblappname", "lblprog", "lblconcept", "lbldesign"})
            texts << about->findChild<QLabel *>(name)->text();
        boxes << about;
        ModalAnswerer::answer(about);
    });
    action("mnuabout")->trigger();
    action("mnuabout")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(texts.size(), 8);
    QCOMPARE(texts.mid(0, 4), texts.mid(4, 4));
    QCOMPARE(texts[0], QString("Ochreline for Win95 1.1"));
    QCOMPARE(texts[1], QString("Vantorel Software"));
    QVERIFY(!boxes[0] && !boxes[1]); // destroyed by OK
}

void TestCommands::helpContentsOpensTheViewer()
{
    action("mnucontents")->trigger();
    auto *viewer = window->findChild<QTextBrowser *>();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->toPlainText().isEmpty());
}

void TestCommands::exitAndClosingEndTheEventLoop_data()
{
    QTest::addColumn<bool>("viaMenu");
    QTest::newRow("File > Exit") << true;
    QTest::newRow("closing the window") << false;
}

void TestCommands::exitAndClosingEndTheEventLoop()
{
    QFETCH(bool, viaMenu);
    startTwoPlayerMatch();
    QTimer::singleShot(0, window.get(), [this, viaMenu] { viaMenu ? action("mnuexit")->trigger() : void(window->close()); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
