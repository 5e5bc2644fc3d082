#include "HelpViewer.h"
#include "MainWindowFixture.h"
#include "ModalAnswerer.h"
#include "SoundUnderTest.h"
#include "UrlRecorder.h"
#include "Version.h"
#include "frmplayers.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QToolTip>

// Hostile or broken input from the user and from the platform: each ends in a clear outcome
// and the match goes on.
class TestBadInput : public QObject, private MainWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void namesAreShownExactlyAsTypedInPlainText_data();
    void namesAreShownExactlyAsTypedInPlainText();
    void adjustmentsAtThe16BitEndsAreRefusedOrStored_data();
    void adjustmentsAtThe16BitEndsAreRefusedOrStored();
    void missingHelpFileIsReportedInTheViewer();
    void onlyTheWebPanelAndMenuItemReachAHandlerThatDoesNothing();
    void soundOnABrokenOrMissingDeviceReturnsInBoundedTime_data();
    void soundOnABrokenOrMissingDeviceReturnsInBoundedTime();

private:
    void newGame(int players, const QStringList &names);
    void enterDart(const QPoint &at) { QTest::mouseClick(board(), Qt::LeftButton, {}, at); }
    void verifyPlayGoesOn();
    static void verifyWholeNameAvailable(QLabel *label, const QString &name);

    QString startDirectory;
};

void TestBadInput::init()
{
    startDirectory = QDir::currentPath();
    openWindow();
}

void TestBadInput::cleanup()
{
    window.reset();
    QDir::setCurrent(startDirectory);
}

// Runs File > New Game and fills the dialog in as a person would: players, then one name per box.
void TestBadInput::newGame(int players, const QStringList &names)
{
    ModalAnswerer answerer([&](QWidget *modal) {
        if (modal->objectName() == QLatin1String("frmplayers")) {
            modal->findChild<QRadioButton *>(QStringLiteral("optplay_%1").arg(players))->click();
            for (int i = 0; i < names.size(); ++i)
                modal->findChild<QLineEdit *>(QStringLiteral("playname_%1").arg(i + 1))->setText(names[i]);
        }
        ModalAnswerer::answer(modal);
    });
    action("mnunew")->trigger();
    QCOMPARE(answerer.seen, QStringList{"frmplayers: Let's Play!"});
}

// A dart is entered and shown, and the turn passes on after the third.
void TestBadInput::verifyPlayGoesOn()
{
    Match &m = match();
    QVERIFY(window->isVisible());
    QVERIFY(!m.game_over);
    QCOMPARE(m.darts_thrown, 0);
    const int thrower = m.cur_player;
    ModalAnswerer answerer;      // a score moved to the lower end busts
    enterDart(QPoint(240, 147)); // treble 20
    QCOMPARE(m.darts_thrown, 1);
    QCOMPARE(statusBar()->panel_text(Match::kTotalPanel), QString("60"));
    enterDart(QPoint(-5, 490)); // outside the picture: no dart
    QCOMPARE(m.darts_thrown, 1);
    enterDart(QPoint(240, 30)); // number ring: a miss
    enterDart(QPoint(240, 30));
    QVERIFY(m.cur_player != thrower);
    QCOMPARE(m.darts_thrown, 0);
}

// The accessible name is the whole name; the tooltip of a shortened one shows it as text, never as markup,
// on lines of its own breaking and, when very long, ending in "…".
void TestBadInput::verifyWholeNameAvailable(QLabel *label, const QString &name)
{
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), name);
    QToolTip::hideText();
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(label, &hover);
    const bool shortened = qobject_cast<FittedLabel *>(label)->shown_text() != name;
    QCOMPARE(QToolTip::isVisible(), shortened);
    if (!shortened)
        return;
    auto letters = [](const QString &text) {
        QString kept;
        for (QChar c : text)
            kept += c.isSpace() ? QString() : QString(c);
        return kept;
    };
    QString tip = letters(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText());
    QVERIFY2(tip == letters(name) || (tip.endsWith(u'…') && letters(name).startsWith(tip.chopped(1))),
             qPrintable(tip.left(80)));
}

void TestBadInput::namesAreShownExactlyAsTypedInPlainText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown"); // the first character raised, the rest lowered
    QString longName(32767, u'w');      // the most a name box holds
    longName[0] = u'M';
    QTest::newRow("32,767 characters") << longName << longName;
    QTest::newRow("29 characters") << "bartholomew featherstonehaugh"
                                   << "Bartholomew featherstonehaugh";
    QTest::newRow("bold markup") << "<b>Ann</b>"
                                 << "<b>ann</b>";
    QTest::newRow("image markup, too long to fit") << "<img src=x> bartholomew featherstonehaugh"
                                                   << "<img src=x> bartholomew featherstonehaugh";
    QTest::newRow("entity") << "&lt;Bob&gt; &amp;"
                            << "&lt;bob&gt; &amp;";
    QTest::newRow("ampersand") << "Tom & Jerry"
                               << "Tom & jerry";
    QTest::newRow("mnemonic ampersands") << "&&"
                                         << "&&";
    QTest::newRow("Arabic") << QString::fromUtf8("لاعب السهام") << QString::fromUtf8("لاعب السهام");
    QTest::newRow("Hebrew") << QString::fromUtf8("שחקן ראשון") << QString::fromUtf8("שחקן ראשון");
    QTest::newRow("emoji first") << QString::fromUtf8("🎯 bULLSEYE 👍🏽")
                                 << QString::fromUtf8("🎯 bullseye 👍🏽");
    QTest::newRow("tab") << "ann\tlee"
                         << "Ann\tlee";
    QTest::newRow("newline") << "ann\nlee"
                             << "Ann\nlee";
    QTest::newRow("NUL inside") << QString::fromUtf16(u"ann\0lee", 7) << QString::fromUtf16(u"Ann\0lee", 7);
    QTest::newRow("right-to-left override")
        << QString::fromUtf16(u"\u202Eeve.exe") << QString::fromUtf16(u"\u202Eeve.exe");
    QTest::newRow("empty") << QString() << QString();
}

void TestBadInput::namesAreShownExactlyAsTypedInPlainText()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    const QSize windowSize = window->size();
    const QRect webPanel = statusBar()->panel(frmmain::kWebPanel)->geometry();
    newGame(2, {name, "bob"});

    auto *box = window->findChild<frmplayers *>()->findChild<QLineEdit *>("playname_1");
    QCOMPARE(box->text(), name);
    QCOMPARE(label("lblname_1")->text(), shown);
    QCOMPARE(label("lblname_1")->textFormat(), Qt::PlainText);
    QCOMPARE(statusBar()->panel_text(2), shown);
    QCOMPARE(statusBar()->panel(2)->textFormat(), Qt::PlainText);
    QCOMPARE(label("lblname_2")->text(), QString("Bob"));
    verifyDrawnFromTheStart(label("lblname_1"), shown);
    verifyDrawnFromTheStart(statusBar()->panel(2), shown);
    verifyWholeNameAvailable(label("lblname_1"), shown);

    // Whatever its length, a name neither resizes the window nor moves the web panel.
    QCOMPARE(window->size(), windowSize);
    QCOMPARE(statusBar()->panel(frmmain::kWebPanel)->geometry(), webPanel);
    verifyPlayGoesOn();
    QCOMPARE(statusBar()->panel_text(2), QString("Bob"));
    verifyPlayGoesOn();
    QCOMPARE(statusBar()->panel_text(2), shown);
}

void TestBadInput::adjustmentsAtThe16BitEndsAreRefusedOrStored_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("amount");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("refused");
    QTest::newRow("add 1 to 32767") << "mnuadd" << 32767 << 1 << 32767 << true;
    QTest::newRow("add 50 to 32760") << "mnuadd" << 32760 << 50 << 32760 << true;
    QTest::newRow("add 1 to 32766") << "mnuadd" << 32766 << 1 << 32767 << false;
    QTest::newRow("add 50 to -32768") << "mnuadd" << -32768 << 50 << -32718 << false;
    QTest::newRow("subtract 1 from -32768") << "mnusub" << -32768 << 1 << -32768 << true;
    QTest::newRow("subtract 25 from -32750") << "mnusub" << -32750 << 25 << -32750 << true;
    QTest::newRow("subtract 1 from -32767") << "mnusub" << -32767 << 1 << -32768 << false;
    QTest::newRow("subtract 50 from 32767") << "mnusub" << 32767 << 50 << 32717 << false;
    QTest::newRow("subtract 1 from -9998, sign and four digits") << "mnusub" << -9998 << 1 << -9999 << false;
    QTest::newRow("subtract 50 from 40, below zero") << "mnusub" << 40 << 50 << -10 << false;
}

void TestBadInput::adjustmentsAtThe16BitEndsAreRefusedOrStored()
{
    QFETCH(QString, command);
    QFETCH(int, before);
    QFETCH(int, amount);
    QFETCH(int, after);
    QFETCH(bool, refused);
    newGame(2, {"ann", "bob"});
    match().points_left(1) = static_cast<std::int16_t>(before);
    label("score_1")->setText(QString::number(before));

    QStringList seen;
    {
        ModalAnswerer answerer([amount](QWidget *modal) {
            if (modal->objectName() == QLatin1String("frmpoints"))
                modal->findChild<QRadioButton *>(QStringLiteral("optpoints_%1").arg(amount))->click();
            ModalAnswerer::answer(modal);
        });
        window->findChild<QAction *>(command)->trigger();
        seen = answerer.seen;
    }
    QCOMPARE(seen.size(), refused ? 2 : 1);
    QCOMPARE(seen.first(), QString("frmpoints: OK"));
    if (refused) {
        const QString limit = command == "mnuadd" ? "32767" : "-32768";
        QVERIFY2(seen.last().startsWith("Overflow: ") && seen.last().contains(limit), qPrintable(seen.last()));
    }
    QCOMPARE(settings.points_pick, amount);
    QCOMPARE(int(match().points_left(1)), after);
    QCOMPARE(label("score_1")->text(), QString::number(after));
    // Whole at every value, and in the design's size while it fits, as a sign and four digits do.
    verifyDrawnFromTheStart(label("score_1"), QString::number(after));
    const int designHeight = inkOf(label("score_2")).height();
    QVERIFY(inkOf(label("score_1")).height() * 5 >= designHeight * 4);
    if (std::abs(after) < 10000)
        QCOMPARE(inkOf(label("score_1")).height(), designHeight);
    QCOMPARE(match().cur_player, 1);
    verifyPlayGoesOn();
}

// The viewer looks beside the executable and in the installed data directory, so whether 301.hlp is
// found depends on the machine: either outcome must be the true one.
void TestBadInput::missingHelpFileIsReportedInTheViewer()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QStringList installed = HelpViewer::search_directories();
    HelpViewer::set_search_directories({empty.path()});
    const auto restore = qScopeGuard([&] { HelpViewer::set_search_directories(installed); });
    action("mnucontents")->trigger();
    auto *viewer = window->findChild<HelpViewer *>();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->toPlainText(), QString("The help file 301.hlp could not be found."));

    open_help_contents(*window, "no_such_help_file.hlp");
    QCOMPARE(viewer->toPlainText(), QString("The help file no_such_help_file.hlp could not be found."));
    newGame(3, {});
    verifyPlayGoesOn();
}

void TestBadInput::onlyTheWebPanelAndMenuItemReachAHandlerThatDoesNothing()
{
    UrlRecorder handler;
    for (const char *scheme : {"http", "https"})
        QDesktopServices::setUrlHandler(scheme, &handler, "open");
    newGame(2, {"ann", "bob"});
    for (int number = 1; number < frmmain::kWebPanel; ++number)
        QTest::mouseClick(statusBar(), Qt::LeftButton, {}, statusBar()->panel(number)->geometry().center());
    QVERIFY(handler.opened.isEmpty());
    action("mnu_getdart")->trigger();
    // One double click, as the window system reports it: press, release, double click, release.
    const QPoint webPanel = statusBar()->panel(frmmain::kWebPanel)->geometry().center();
    QTest::mouseClick(statusBar(), Qt::LeftButton, {}, webPanel);
    QTest::mouseDClick(statusBar(), Qt::LeftButton, {}, webPanel);
    QTest::mouseRelease(statusBar(), Qt::LeftButton, {}, webPanel);
    for (const char *scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(scheme);

    const QUrl address = QUrl::fromUserInput(QString::fromLatin1(version::kWebAddress));
    QCOMPARE(handler.opened, (QList<QUrl>{address, address}));
    verifyPlayGoesOn();
}

void TestBadInput::soundOnABrokenOrMissingDeviceReturnsInBoundedTime_data()
{
    SoundUnderTest::add_rows();
}

// The window's sound through the system's player on a device that works, none at all, and ones that
// fail (which devices, SoundUnderTest of each system says).
void TestBadInput::soundOnABrokenOrMissingDeviceReturnsInBoundedTime()
{
    QFETCH(QByteArray, device);
    QFETCH(bool, fails);
    SoundUnderTest player(device);
    openWindow(&player.sound());
    newGame(2, {"ann", "bob"});
    settings.sound_on = true;
    Match &m = match();
    m.points_left(1) = 40;
    label("score_1")->setText("40");

    QStringList seen;
    {
        ModalAnswerer answerer;
        // Three darts: HIT each time, then a bust with its notice and SHOTGUN.
        for (int dart = 1; dart <= 3; ++dart) {
            QElapsedTimer clock;
            clock.start();
            enterDart(QPoint(240, 147)); // treble 20
            // The longest sound is 1.45 s, and a sound holds a dart at most a quarter second longer.
            QVERIFY2(clock.elapsed() < 4000, qPrintable(QString("dart %1 took %2 ms").arg(dart).arg(clock.elapsed())));
        }
        seen = answerer.seen;
    }
    QCOMPARE(seen, QStringList{"frmnotice: Break!"});
    QCOMPARE(label("score_1")->text(), QString("40"));
    QCOMPARE(m.cur_player, 2);
    if (fails)
        QVERIFY(!player.completed());
    settings.sound_on = false;
    verifyPlayGoesOn();
    window.reset();
}

QTEST_MAIN(TestBadInput)
#include "test_bad_input.moc"
