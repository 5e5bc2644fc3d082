// How the new game dialog answers once its name boxes are full: a huge paste, a key typed into a
// full box, the processor time of the open dialog while the cursor blinks in a full box, and
// "Let's Play!" with four full names until the main window has painted them; each against the same
// with an ordinary name, in the same run. Every step includes a synchronous repaint of what it
// changed, so the figures are what a person waits for.
// Usage: name_box_figures [PASTED_CHARACTERS] (default 10,000,000)

#include "BenchFigures.h"
#include "Module1.h"
#include "SoundPlayer.h"
#include "frmmain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>

namespace {

constexpr int kKeys = 40;
constexpr int kIdleMs = 3000;

double time_ms(const std::function<void()> &step)
{
    const std::int64_t start = bench::now_ns();
    step();
    return static_cast<double>(bench::now_ns() - start) / 1e6;
}

QLineEdit *name_box(QWidget &dialog, int player)
{
    return dialog.findChild<QLineEdit *>(QStringLiteral("playname_%1").arg(player));
}

double paste_ms(QLineEdit &box, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    box.selectAll();
    return time_ms([&box] {
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        box.repaint();
    });
}

// A character taken back and typed again at the end of the box, as a person correcting a name.
std::vector<double> key_ms(QLineEdit &box)
{
    box.end(false);
    std::vector<double> samples;
    for (int i = 0; i < kKeys; ++i) {
        samples.push_back(time_ms([&box] {
            QTest::keyClick(&box, Qt::Key_Backspace);
            QTest::keyClick(&box, Qt::Key_X);
            box.repaint();
        }));
    }
    return samples;
}

// Processor time while the dialog waits with the keyboard focus in the box.
double idle_cpu_ms(QLineEdit &box)
{
    box.setFocus();
    QCoreApplication::processEvents();
    const double before = bench::cpu_ms();
    QTest::qWait(kIdleMs);
    return bench::cpu_ms() - before;
}

// File > New Game with four players of the given name, timed from the click on "Let's Play!" to
// the main window painted with the match; the dialog's own figures are taken on the way.
double lets_play_ms(frmmain &window, const QString &name, const std::function<void(QWidget &)> &in_dialog)
{
    std::int64_t clicked = 0;
    QTimer::singleShot(0, &window, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        in_dialog(*dialog);
        dialog->findChild<QRadioButton *>(QStringLiteral("optplay_4"))->click();
        for (int player = 1; player <= 4; ++player)
            name_box(*dialog, player)->setText(name);
        clicked = bench::now_ns();
        dialog->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    });
    window.findChild<QAction *>(QStringLiteral("mnunew"))->trigger();
    window.repaint();
    return static_cast<double>(bench::now_ns() - clicked) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int pasted = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 10'000'000;

    SoundPlayer sound;
    Module1 settings;
    frmmain window(settings, sound);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    const QString full(32767, QLatin1Char('w'));
    const QString ordinary = QStringLiteral("Bartholomew");
    double huge_paste = 0, short_paste = 0;
    std::vector<double> full_keys, short_keys;
    double full_idle = 0, short_idle = 0;
    int held = 0;
    const double full_play = lets_play_ms(window, full, [&](QWidget &dialog) {
        huge_paste = paste_ms(*name_box(dialog, 1), QString(pasted, QLatin1Char('x')));
        held = static_cast<int>(name_box(dialog, 1)->text().size());
        short_paste = paste_ms(*name_box(dialog, 2), ordinary);
        full_keys = key_ms(*name_box(dialog, 1));
        short_keys = key_ms(*name_box(dialog, 2));
        full_idle = idle_cpu_ms(*name_box(dialog, 1));
        short_idle = idle_cpu_ms(*name_box(dialog, 2));
    });
    const double short_play = lets_play_ms(window, ordinary, [](QWidget &) {});

    bench::print_figure("name_paste", huge_paste, "ms", short_paste);
    bench::print_figure("name_paste_characters_held", held, "chars", pasted);
    bench::print_figure("name_key_full_box_p50", bench::median(full_keys), "ms", bench::median(short_keys));
    bench::print_figure("name_key_full_box_max", bench::percentile(full_keys, 100), "ms",
                        bench::percentile(short_keys, 100));
    bench::print_figure("name_idle_cpu_full_box", full_idle, "ms", short_idle);
    bench::print_figure("lets_play_four_full_names", full_play, "ms", short_play);
    return 0;
}
