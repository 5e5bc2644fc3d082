#include "MainWindowFixture.h"
#include "ModalAnswerer.h"
#include "ProcessCounters.h"
#include "UrlRecorder.h"
#include "frmplayers.h"
#include "frmpoints.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>

#include <limits>
#include <random>

namespace {

constexpr int kDefaultSeed = 20240301;
constexpr int kDefaultActions = 25000;
constexpr int kWarmUpActions = 3000;
constexpr int kSoundBursts = 12;
constexpr double kAllowedGrowthKiB = OCHRE_SOAK_ALLOWED_GROWTH_KIB;
constexpr int kPicturePixels = 480; // the board picture is square

// Names a box can hold, and what the name label must show for each: the first character raised where
// it has a one-character capital, the rest lowered, and text a label could misread shown as typed.
struct Name {
    QString typed;
    QString shown;
};

const QList<Name> &names()
{
    static const QList<Name> list{
        {"Player 1", "Player 1"},
        {"Player 2", "Player 2"},
        {"Player 3", "Player 3"},
        {"Player 4", "Player 4"},
        {"", ""},
        {"ann", "Ann"},
        {"BOB", "Bob"},
        {"o'NEIL", "O'neil"},
        {" ", " "},
        {"3RD", "3rd"},
        {"<b>ANN</b>", "<b>ann</b>"},
        {"<img src=x>", "<img src=x>"},
        {"&&amp;", "&&amp;"},
        {QString::fromUtf8("éLAN"), QString::fromUtf8("Élan")},
        {QString::fromUtf8("ßALL"), QString::fromUtf8("ßall")},
        {QString::fromUtf8("ǆEMAL"), QString::fromUtf8("ǅemal")}, // a title case apart from the capital
        {QString::fromUtf8("لاعب"), QString::fromUtf8("لاعب")},
        {QString::fromUtf8("🎯BOB"), QString::fromUtf8("🎯bob")},
        {"\tANN", "\tann"},
        {"ann\nBOB", "Ann\nbob"},
        {QString(QChar(0)) + "X", QString(QChar(0)) + "x"},
        {QChar(0x202E) + QString("ANN"), QChar(0x202E) + QString("ann")},
        {QChar(0xD83C) + QString("A"), QChar(0xD83C) + QString("a")}, // a lone surrogate
        {QString(20000, u'q'), "Q" + QString(19999, u'q')},
    };
    return list;
}

int positiveFromEnvironment(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// The offscreen platform warns at every dialog shown; thousands of those would bury the report.
QtMessageHandler defaultHandler = nullptr;

void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("does not support propagateSizeHints")))
        defaultHandler(type, context, message);
}

constexpr bool kAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

} // namespace

// Tens of thousands of seeded random user actions through the real main window, with every modal
// window answered; after each action the screen must agree with the match, and memory stays flat.
class TestSoak : public QObject, private MainWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void randomUseKeepsTheScreenTrueAndMemoryFlat();

private:
    void performRandomAction();
    QPoint pointOnPicture() { return {uniform(0, kPicturePixels - 1), uniform(0, kPicturePixels - 1)}; }
    void clickOffPicture();
    void clickWindow();
    void adjust(bool nearLimit);
    void soundBurst();
    void answer(QWidget *modal);
    void answerPlayers(QWidget *dialog);
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    void checkScreen();
    void checkNewGame();
    void checkAdjustment(Adjustment direction, int before);
    void countAndForgetRecords();
    static double residentKiB();
    QLabel *scoreLabel(int player) const { return label(QStringLiteral("score_%1").arg(player)); }

    std::unique_ptr<ModalAnswerer> answerer;
    UrlRecorder urls; // status bar clicks must not start a browser during the run
    std::mt19937 rng;
    int actions = 0;
    int pointsChosen = 0;
    int step = 0;
    int soundBursts = 0;
    qsizetype modalsAnswered = 0;
    qsizetype webAddresses = 0;
};

void TestSoak::initTestCase()
{
    defaultHandler = qInstallMessageHandler(dropPlatformNoise);
}

void TestSoak::init()
{
    openWindow();
    answerer = std::make_unique<ModalAnswerer>([this](QWidget *modal) { answer(modal); });
    for (const char *scheme : {"http", "https"})
        QDesktopServices::setUrlHandler(scheme, &urls, "open");
}

void TestSoak::cleanup()
{
    for (const char *scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(scheme);
    answerer.reset();
    window.reset();
}

void TestSoak::randomUseKeepsTheScreenTrueAndMemoryFlat()
{
    const int seed = positiveFromEnvironment("OCHRE_SOAK_SEED", kDefaultSeed);
    actions = positiveFromEnvironment("OCHRE_SOAK_ACTIONS", kDefaultActions);
    qInfo("soak seed %d, %d actions (OCHRE_SOAK_SEED and OCHRE_SOAK_ACTIONS override)", seed, actions);
    rng.seed(std::uint32_t(seed));

    QElapsedTimer clock;
    clock.start();
    double warmKiB = 0;
    for (step = 1; step <= actions; ++step) {
        performRandomAction();
        if (QTest::currentTestFailed())
            return;
        checkScreen();
        if (QTest::currentTestFailed())
            return;
        countAndForgetRecords();
        if (step == std::min(kWarmUpActions, actions / 2))
            warmKiB = residentKiB();
    }
    const double endKiB = residentKiB();
    qInfo("%d actions in %lld ms; %zu modal windows answered, %d sound bursts, %d web addresses; "
          "VmRSS after warm-up %.0f KiB, at the end %.0f KiB (%+.0f KiB)",
          actions, clock.elapsed(), static_cast<std::size_t>(modalsAnswered), soundBursts,
          int(webAddresses), warmKiB, endKiB, endKiB - warmKiB);
    QVERIFY(match().has_player());
    // The sanitizer holds freed memory back in quarantine, so resident size says nothing there.
    if (!kAddressSanitizer)
        QVERIFY2(endKiB - warmKiB < kAllowedGrowthKiB, "resident memory grew during the run");
}

// Resident memory once the widgets deleted later are gone.
double TestSoak::residentKiB()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return double(bench::status_kb("VmRSS"));
}

void TestSoak::performRandomAction()
{
    if (soundBursts < kSoundBursts && uniform(1, actions) <= kSoundBursts)
        return soundBurst();
    const int roll = uniform(0, 999);
    if (roll < 600)
        return QTest::mouseClick(board(), Qt::LeftButton, {}, pointOnPicture());
    if (roll < 680)
        return clickOffPicture();
    if (roll < 830)
        return clickWindow();
    if (roll < 880)
        return QTest::mouseDClick(board(), Qt::LeftButton, {}, pointOnPicture());
    if (roll < 910) {
        action("mnunew")->trigger();
        return checkNewGame();
    }
    adjust(roll < 950);
}

// Events that land on the picture from a point outside it, as a drag off its edge delivers them.
void TestSoak::clickOffPicture()
{
    QPoint at(uniform(-200, kPicturePixels + 199), uniform(-200, kPicturePixels + 199));
    if (QRect(0, 0, kPicturePixels, kPicturePixels).contains(at))
        at.setX(at.x() < kPicturePixels / 2 ? -1 - at.x() : kPicturePixels + at.x());
    QTest::mouseClick(board(), Qt::LeftButton, {}, at);
}

// Anywhere in the client area: the board, a player panel, the status bar and its web panel.
void TestSoak::clickWindow()
{
    QWidget *client = window->centralWidget();
    const QPoint at(uniform(0, client->width() - 1), uniform(0, client->height() - 1));
    QWidget *target = client->childAt(at);
    if (!target)
        target = client;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(client, at));
}

// The current player's score is first moved near one end of the 16-bit range half of the time.
void TestSoak::adjust(bool nearLimit)
{
    Match &match = this->match();
    if (nearLimit && match.has_player()) {
        const int value = uniform(0, 1) ? std::numeric_limits<std::int16_t>::max() - uniform(0, 60)
                                        : std::numeric_limits<std::int16_t>::min() + uniform(0, 60);
        match.points_left(match.cur_player) = static_cast<std::int16_t>(value);
        scoreLabel(match.cur_player)->setText(QString::number(value));
    }
    const Adjustment direction = uniform(0, 1) ? Adjustment::Add : Adjustment::Subtract;
    const int before = match.has_player() ? match.points_left(match.cur_player) : 0;
    action(direction == Adjustment::Add ? "mnuadd" : "mnusub")->trigger();
    checkAdjustment(direction, before);
}

// Sound on for one to three darts, then off again: each dart plays for real on the test's device.
void TestSoak::soundBurst()
{
    ++soundBursts;
    QAction *sound = action("mnusound");
    sound->trigger();
    QVERIFY(settings.sound_on);
    for (int dart = uniform(1, 3); dart > 0; --dart)
        QTest::mouseClick(board(), Qt::LeftButton, {}, pointOnPicture());
    sound->trigger();
    QVERIFY(!settings.sound_on);
}

void TestSoak::answer(QWidget *modal)
{
    const QString name = modal->objectName();
    if (name == QLatin1String("frmplayers"))
        answerPlayers(modal);
    if (name == QLatin1String("frmpoints")) {
        const auto &options = frmpoints::kOptions;
        pointsChosen = options[static_cast<std::size_t>(uniform(0, int(options.size()) - 1))].amount;
        modal->findChild<QRadioButton *>(QStringLiteral("optpoints_%1").arg(pointsChosen))->click();
    }
    ModalAnswerer::answer(modal);
}

// Picks a player count (or leaves it), a game (or leaves it) and types into some enabled boxes.
void TestSoak::answerPlayers(QWidget *dialog)
{
    const int players = uniform(1, 4);
    if (players >= 2)
        dialog->findChild<QRadioButton *>(QStringLiteral("optplay_%1").arg(players))->click();
    const int game = uniform(0, 2);
    if (game >= 1)
        dialog->findChild<QRadioButton *>(QStringLiteral("optgame_%1").arg(game))->click();
    for (int player = 1; player <= 4; ++player) {
        auto *box = dialog->findChild<QLineEdit *>(QStringLiteral("playname_%1").arg(player));
        if (box->isEnabled() && uniform(0, 1))
            box->setText(names()[uniform(0, int(names().size()) - 1)].typed);
    }
}

// What every action must leave true: the current player's score alone is light red, the others light
// blue; the shown scores equal the remaining scores; the turn and the status bar agree.
void TestSoak::checkScreen()
{
    const Match &match = this->match();
    const QString where = QStringLiteral("step %1").arg(step);
    QVERIFY2(window->isVisible(), qPrintable(where));
    QVERIFY2(!QApplication::activeModalWidget(), qPrintable(where + ": a modal window was left open"));
    if (match.cur_player == 0) {
        QVERIFY2(match.darts_thrown == 0 && panel(Match::kHitPanel).isEmpty(), qPrintable(where));
        return;
    }
    const int players = settings.player_count();
    QVERIFY2(match.cur_player >= 1 && match.cur_player <= players,
             qPrintable(where + QStringLiteral(": cur_player %1 of %2").arg(match.cur_player).arg(players)));
    QVERIFY2(match.darts_thrown >= 0 && match.darts_thrown < Match::kDartsPerTurn, qPrintable(where));
    QVERIFY2(panel(Match::kTotalPanel) == QString::number(match.turn_total), qPrintable(where));
    for (int player = 1; player <= Match::kMaxPlayers; ++player) {
        QLabel *score = scoreLabel(player);
        const QColor colour = player == match.cur_player ? QColor(255, 0, 0) : QColor(0, 0, 255);
        QVERIFY2(score->palette().color(QPalette::WindowText) == colour,
                 qPrintable(where + QStringLiteral(": colour of score_%1").arg(player)));
        QVERIFY2(score->isVisible() == (player <= players), qPrintable(where));
        if (score->isVisible())
            QVERIFY2(score->text() == QString::number(match.points_left(player)),
                     qPrintable(where
                                + QStringLiteral(": score_%1 shows %2, points_left %3")
                                      .arg(player)
                                      .arg(score->text())
                                      .arg(match.points_left(player))));
    }
    QVERIFY2(panel(2) == label(QStringLiteral("lblname_%1").arg(match.cur_player))->text(),
             qPrintable(where + ": panel 2 names another player"));
}

// What the answerer and the web handler recorded is counted and let go after every action: kept for the
// whole run, their strings alone would make memory grow with the number of actions.
void TestSoak::countAndForgetRecords()
{
    modalsAnswered += answerer->seen.size();
    answerer->seen.clear();
    webAddresses += urls.opened.size();
    urls.opened.clear();
}

void TestSoak::checkNewGame()
{
    const Match &match = this->match();
    auto *dialog = window->findChild<frmplayers *>();
    const QString where = QStringLiteral("step %1 (new game)").arg(step);
    QVERIFY2(dialog && !dialog->isVisible(), qPrintable(where));
    const int chosen = dialog->findChild<QRadioButton *>("optgame_2")->isChecked() ? 501 : 301;
    QVERIFY2(!match.game_over && match.cur_player == 1 && match.darts_thrown == 0, qPrintable(where));
    for (int player = 1; player <= Match::kMaxPlayers; ++player)
        QVERIFY2(match.points_left(player) == chosen, qPrintable(where));
    for (int player = 1; player <= settings.player_count(); ++player) {
        const QString typed = dialog->findChild<QLineEdit *>(QStringLiteral("playname_%1").arg(player))->text();
        const auto name = std::ranges::find(names(), typed, &Name::typed);
        QVERIFY2(name != names().end() && label(QStringLiteral("lblname_%1").arg(player))->text() == name->shown,
                 qPrintable(where + QStringLiteral(": name of player %1").arg(player)));
    }
}

void TestSoak::checkAdjustment(Adjustment direction, int before)
{
    const Match &match = this->match();
    const QString where = QStringLiteral("step %1 (adjustment)").arg(step);
    const QStringList &shown = answerer->seen;
    if (!match.has_player()) {
        QVERIFY2(shown.isEmpty(), qPrintable(where + ": the command ran before any match"));
        return;
    }
    const int wanted = direction == Adjustment::Add ? before + pointsChosen : before - pointsChosen;
    const bool overflow = wanted > std::numeric_limits<std::int16_t>::max()
                          || wanted < std::numeric_limits<std::int16_t>::min();
    QVERIFY2(!shown.isEmpty() && shown.first() == QLatin1String("frmpoints: OK"), qPrintable(where));
    QVERIFY2(shown.size() == (overflow ? 2 : 1), qPrintable(where + ": " + shown.join(" | ")));
    if (overflow)
        QVERIFY2(shown.last().startsWith(QLatin1String("Overflow: ")), qPrintable(where));
    QVERIFY2(
        match.points_left(match.cur_player) == (overflow ? before : wanted),
        qPrintable(
            where
            + QStringLiteral(": %1 %2 %3").arg(before).arg(pointsChosen).arg(match.points_left(match.cur_player))));
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
