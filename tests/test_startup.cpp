#include "ModalAnswerer.h"
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

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
