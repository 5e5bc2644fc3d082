// Takes the README's screenshot: the real main window on the running X server, mid-way through a match.
#include "ApplicationSetup.h"
#include "Module1.h"
#include "SoundPlayer.h"
#include "frmmain.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        qWarning("usage: ochreline_screenshot OUTPUT.png");
        return 2;
    }
    QApplication app(argc, argv);
    setup_application();
    SoundPlayer sound;
    Module1 settings;
    frmmain window(settings, sound);
    window.move(0, 0);
    window.show();

    const std::array<const char *, 3> names{"Ann", "Joe", "Sam"};
    for (int p = 1; p <= 3; ++p)
        window.findChild<QLabel *>(QStringLiteral("lblname_%1").arg(p))->setText(QString::fromLatin1(names[p - 1]));
    settings.set_player_count(3);
    settings.start_score = 501;
    window.match().start_game();
    for (int points : {60, 60, 20, 19, 57, 5, 60})
        window.match().do_score(static_cast<std::int16_t>(points));

    QTimer::singleShot(1500, &app, [&] {
        const QRect frame = window.frameGeometry();
        const bool saved = window.screen()
                               ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                               .save(QString::fromLocal8Bit(argv[1]));
        QCoreApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
