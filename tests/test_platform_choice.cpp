#include "PlatformChoice.h"

#include <QTest>

#include <vector>

// The window system handed to Qt on Linux: X11 wherever an X server is at hand, unless the user chose.
class TestPlatformChoice : public QObject {
    Q_OBJECT
private slots:
    void x11IsPreferredOnlyWhereTheUserChoseNoPlatform_data();
    void x11IsPreferredOnlyWhereTheUserChoseNoPlatform();
};

void TestPlatformChoice::x11IsPreferredOnlyWhereTheUserChoseNoPlatform_data()
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

void TestPlatformChoice::x11IsPreferredOnlyWhereTheUserChoseNoPlatform()
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

QTEST_MAIN(TestPlatformChoice)
#include "test_platform_choice.moc"
