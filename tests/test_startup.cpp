#include "ModalAnswerer.h"
#include "PlatformChoice.h"
#include "RecordingSound.h"
#include "frmmain.h"

#include <QAction>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

// The start-up sequence, run for real with a short splash and the message box answered.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void startupRunsPlacementSplashThenMessage();
    void soundMenuFollowsTheDeviceAndToggles_data();
    void soundMenuFollowsTheDeviceAndToggles();
    void mainWindowWiderThanTheScreenGetsANegativeLeftEdge();
    void x11IsPreferredOnlyWhereTheUserChoseNoPlatform_data();
    void x11IsPreferredOnlyWhereTheUserChoseNoPlatform();
};

void TestStartup::startupRunsPlacementSplashThenMessage()
{
    Module1 settings;
    RecordingSound sound;
    frmmain window(settings, sound);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool windowShownFirst = false;
    ModalAnswerer answerer([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            icon = box->icon();
        ModalAnswerer::answer(modal);
    });
    answerer.onSeen = [&](QWidget *modal) {
        if (modal->objectName() == QLatin1String("frmsplash"))
            windowShownFirst = window.isVisible();
    };
    window.Form_Load(40);

    QCOMPARE(answerer.seen,
             (QStringList{"frmsplash: ",
                          "Get Quiverline from the Help Menu!!: Quiverline is a newer more complete program"}));
    QCOMPARE(icon, QMessageBox::Question);
    QVERIFY(windowShownFirst);
    QVERIFY(window.isVisible());
    QCOMPARE(window.frameGeometry().top(), window.screen()->geometry().top());
    const int centre = window.frameGeometry().left() + window.frameGeometry().width() / 2;
    QVERIFY(qAbs(centre - window.screen()->geometry().center().x()) <= 1);
    QCOMPARE(settings.start_score, 301);
    QCOMPARE(settings.points_pick, 0);
    QVERIFY(window.match().game_over);
    window.match().do_score(60);
    QCOMPARE(window.match().darts_thrown, 0); // no match in progress
}

void TestStartup::soundMenuFollowsTheDeviceAndToggles_data()
{
    QTest::addColumn<bool>("device");
    QTest::newRow("device") << true;
    QTest::newRow("no device") << false;
}

// The device check may take long: the window is shown without waiting for it, and the menu
// follows the answer when it comes.
void TestStartup::soundMenuFollowsTheDeviceAndToggles()
{
    QFETCH(bool, device);
    Module1 settings;
    RecordingSound sound;
    sound.device = device;
    sound.answer_at_once = false;
    frmmain window(settings, sound);
    bool shownBeforeAsking = false;
    ModalAnswerer answerer;
    answerer.onSeen = [&](QWidget *) {
        shownBeforeAsking = shownBeforeAsking || (window.isVisible() && sound.asked());
    };
    window.Form_Load(10);
    QVERIFY(shownBeforeAsking);
    auto *menu = window.findChild<QAction *>("mnusound");
    QVERIFY(!menu->isChecked());
    QVERIFY(menu->isEnabled());
    QVERIFY(!settings.sound_on);
    sound.answer_check();
    QCOMPARE(bool(settings.sound_on), device);
    QCOMPARE(menu->isChecked(), device);
    QCOMPARE(menu->isEnabled(), device);
    if (!device)
        return;
    menu->trigger();
    QVERIFY(!menu->isChecked());
    QVERIFY(!settings.sound_on);
    QCOMPARE(settings.sound_on.raw(), 0);
    menu->trigger();
    QVERIFY(menu->isChecked());
    QCOMPARE(settings.sound_on.raw(), -1);
}

void TestStartup::mainWindowWiderThanTheScreenGetsANegativeLeftEdge()
{
    Module1 settings;
    RecordingSound sound;
    frmmain window(settings, sound);
    const QRect screen = window.screen()->geometry();
    window.centralWidget()->setFixedWidth(screen.width() + 200); // the design's window on a small screen
    ModalAnswerer answerer;
    window.Form_Load(10);
    QVERIFY(window.frameGeometry().left() < screen.left());
    QCOMPARE(window.frameGeometry().top(), screen.top());
}

void TestStartup::x11IsPreferredOnlyWhereTheUserChoseNoPlatform_data()
{
    QTest::addColumn<QByteArray>("chosen");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QByteArrayList>("expected");
    const QByteArrayList plain{"ochreline"};
    const QByteArrayList named{"ochreline", "-platform", "offscreen"};
    QTest::newRow("X server, no choice: X11 first")
        << QByteArray() << QByteArray(":0") << plain << QByteArrayList{"ochreline", "-platform", "xcb;wayland"};
    QTest::newRow("QT_QPA_PLATFORM stands") << QByteArray("wayland") << QByteArray(":0") << plain << plain;
    QTest::newRow("-platform stands") << QByteArray() << QByteArray(":0") << named << named;
    QTest::newRow("no X server: Qt's own choice") << QByteArray() << QByteArray() << plain << plain;
}

void TestStartup::x11IsPreferredOnlyWhereTheUserChoseNoPlatform()
{
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, display);
    QFETCH(QByteArrayList, arguments);
    QFETCH(QByteArrayList, expected);
    const QByteArray platform_before = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display_before = qgetenv("DISPLAY");
    qputenv("QT_QPA_PLATFORM", chosen);
    qputenv("DISPLAY", display);
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    PlatformChoice choice(static_cast<int>(argv.size()), argv.data());
    qputenv("QT_QPA_PLATFORM", platform_before);
    qputenv("DISPLAY", display_before);

    QByteArrayList handed;
    for (int i = 0; i < choice.argc(); ++i)
        handed << choice.argv()[i];
    QCOMPARE(handed, expected);
    QCOMPARE(choice.argv()[choice.argc()], nullptr);
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
