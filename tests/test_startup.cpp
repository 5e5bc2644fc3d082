#include "ModalAnswerer.h"
#include "SoundPlayer.h"
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
    void soundMenuFollowsTheDeviceAndToggles();
    void mainWindowWiderThanTheScreenGetsANegativeLeftEdge();
};

void TestStartup::startupRunsPlacementSplashThenMessage()
{
    Module1 settings;
    frmmain window(settings);
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
             (QStringList{"frmsplash: ", "Get Quiverline from the Help Menu!!: Quiverline is a newer more complete program"}));
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

void TestStartup::soundMenuFollowsTheDeviceAndToggles()
{
    Module1 settings;
    frmmain window(settings);
    ModalAnswerer answerer;
    window.Form_Load(10);
    auto *sound = window.findChild<QAction *>("mnusound");
    const bool device = has_wave_device();
    QCOMPARE(qEnvironmentVariableIsSet("OCHRE_EXPECT_NO_DEVICE"), !device);
    QCOMPARE(bool(settings.sound_on), device);
    QCOMPARE(sound->isChecked(), device);
    QCOMPARE(sound->isEnabled(), device);
    if (!device)
        return;
    sound->trigger();
    QVERIFY(!sound->isChecked());
    QVERIFY(!settings.sound_on);
    QCOMPARE(settings.sound_on.raw(), 0);
    sound->trigger();
    QVERIFY(sound->isChecked());
    QCOMPARE(settings.sound_on.raw(), -1);
}

void TestStartup::mainWindowWiderThanTheScreenGetsANegativeLeftEdge()
{
    Module1 settings;
    frmmain window(settings);
    const QRect screen = window.screen()->geometry();
    window.centralWidget()->setFixedWidth(screen.width() + 200); // the design's window on a small screen
    ModalAnswerer answerer;
    window.Form_Load(10);
    QVERIFY(window.frameGeometry().left() < screen.left());
    QCOMPARE(window.frameGeometry().top(), screen.top());
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
