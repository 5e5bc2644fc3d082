#include "MainWindowFixture.h"
#include "ModalAnswerer.h"

#include <QRadioButton>

// The main window's commands, driven through their menu items with the dialogs answered as a person would.
class TestCommands : public QObject, private MainWindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { window.reset(); }

    void newGameHidesEveryPanelWhileTheDialogIsUp();
    void newGameClosedWithoutLetsPlayStillStartsAMatch();
    void pointsDialogFirstOkAppliesTheShownOne();
    void aboutBoxIsBuiltFreshWithTheSameTexts();
    void exitAndClosingEndTheEventLoop_data();
    void exitAndClosingEndTheEventLoop();
};

void TestCommands::newGameHidesEveryPanelWhileTheDialogIsUp()
{
    startMatch(4);
    int panelsShownDuringDialog = -1;
    ModalAnswerer answerer([&](QWidget *dialog) {
        panelsShownDuringDialog = 0;
        for (int p = 1; p <= 4; ++p)
            panelsShownDuringDialog += label(QString("lblname_%1").arg(p))->isVisible()
                                       + label(QString("score_%1").arg(p))->isVisible();
        dialog->findChild<QRadioButton *>("optplay_3")->click();
        ModalAnswerer::answer(dialog);
    });
    action("mnunew")->trigger();

    QCOMPARE(panelsShownDuringDialog, 0);
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(label(QString("score_%1").arg(p))->isVisible(), p <= 3);
    QCOMPARE(match().cur_player, 1);
}

void TestCommands::newGameClosedWithoutLetsPlayStillStartsAMatch()
{
    ModalAnswerer answerer([](QWidget *dialog) { dialog->close(); });
    action("mnunew")->trigger();
    QVERIFY(!match().game_over);
    QCOMPARE(match().cur_player, 1);
    QVERIFY(action("mnuadd")->isEnabled());
}

void TestCommands::pointsDialogFirstOkAppliesTheShownOne()
{
    startMatch(2);
    ModalAnswerer answerer;
    action("mnuadd")->trigger();
    QCOMPARE(answerer.seen, QStringList{"frmpoints: OK"});
    QCOMPARE(label("score_1")->text(), QString("302"));
    QCOMPARE(settings.points_pick, 1);
}

void TestCommands::aboutBoxIsBuiltFreshWithTheSameTexts()
{
    QStringList texts;
    QList<QPointer<QWidget>> boxes;
    ModalAnswerer answerer([&](QWidget *about) {
        for (const char *name : {"lblappname", "Label1", "lblprog", "lblconcept", "lbldesign"})
            texts << about->findChild<QLabel *>(name)->text();
        boxes << about;
        ModalAnswerer::answer(about);
    });
    action("mnuabout")->trigger();
    action("mnuabout")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(texts.size(), 10);
    QCOMPARE(texts.mid(0, 5), texts.mid(5, 5));
    QCOMPARE(texts[0], QString("Ochreline for Win95 1.1"));
    QCOMPARE(texts[1], QString("Vantorel Software") + QString(18, ' ') + "info@vantorel.example");
    QCOMPARE(texts[2], QString("Vantorel Software"));
    QVERIFY(!boxes[0] && !boxes[1]); // destroyed by OK, so the second was built afresh
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
    startMatch(2);
    // Only the program's own quit may end the loop, not Qt's when the last window has closed.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, window.get(),
                       [this, viaMenu] { viaMenu ? action("mnuexit")->trigger() : void(window->close()); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    const int code = QCoreApplication::exec();
    QGuiApplication::setQuitOnLastWindowClosed(true);
    QCOMPARE(code, 0);
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
