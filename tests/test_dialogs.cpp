#include "CentredDialog.h"
#include "Fifo.h"
#include "HelpViewer.h"
#include "Module1.h"
#include "StandInWindowSystem.h"
#include "Twips.h"
#include "UrlRecorder.h"
#include "WidgetCaption.h"
#include "WebLink.h"
#include "frmabout.h"
#include "frmnotice.h"
#include "frmplayers.h"
#include "frmpoints.h"
#include "frmsplash.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QStyleOptionGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <memory>

namespace {

// Runs a modal dialog, the user's actions arriving from inside its event loop. A failed step
// leaves the dialog open, so a guard ends it rather than letting the test hang.
template <typename Action>
int run_modal(QDialog &dialog, Action action)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
    guard.start(10000);
    QTimer::singleShot(0, &dialog, action);
    return dialog.exec();
}

template <typename T = QWidget>
T *child(const QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

void click_button(const QWidget &parent, const char *name)
{
    QWidget *button = child(parent, name);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the middle of a link's text, as the user would.
void click_link(HelpViewer &viewer, const QString &text)
{
    const QTextCursor found = viewer.document()->find(text);
    QVERIFY(!found.isNull());
    QTextCursor middle(viewer.document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    QTest::mouseClick(viewer.viewport(), Qt::LeftButton, {}, viewer.cursorRect(middle).center());
}

void write_file(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

enum class Kind { Form, Frame, Option, TextBox, Button, Label, Picture };

// One control as the dialogs were designed: container and rectangle in twips, caption, tab order.
struct DesignedControl {
    QString form;
    QString name;      // the form's own row carries the form's name
    QString container; // empty for the form itself
    Kind kind;
    QString caption; // null where the program's caller sets it
    twips::Rect rect;
    int tab; // -1 where the design gives none
};

const QList<DesignedControl> &designed_controls()
{
    static const QList<DesignedControl> rows = [] {
        QList<DesignedControl> list{
            {"frmplayers", "frmplayers", "", Kind::Form, "Select Your Players!", {0, 0, 4935, 3105}, -1},
            {"frmplayers", "Frame1", "frmplayers", Kind::Frame, "Number of Players", {180, 630, 1500, 1860}, 0},
            {"frmplayers", "optplay_2", "Frame1", Kind::Option, "2 Players", {225, 360, 1140, 330}, 1},
            {"frmplayers", "optplay_3", "Frame1", Kind::Option, "3 Players", {225, 855, 1230, 330}, 2},
            {"frmplayers", "optplay_4", "Frame1", Kind::Option, "4 Players", {225, 1395, 1095, 285}, 3},
            {"frmplayers", "playname_1", "frmplayers", Kind::TextBox, "Player 1", {1980, 720, 2715, 330}, 4},
            {"frmplayers", "playname_2", "frmplayers", Kind::TextBox, "Player 2", {1980, 1215, 2715, 330}, 5},
            {"frmplayers", "playname_3", "frmplayers", Kind::TextBox, "Player 3", {1980, 1710, 2715, 330}, 6},
            {"frmplayers", "playname_4", "frmplayers", Kind::TextBox, "Player 4", {1980, 2205, 2715, 330}, 7},
            {"frmplayers", "Command1", "frmplayers", Kind::Button, "Let's Play!", {1350, 2700, 2310, 330}, 8},
            {"frmplayers", "Frame2", "frmplayers", Kind::Frame, "Game?", {765, 90, 3570, 465}, 9},
            {"frmplayers", "optgame_1", "Frame2", Kind::Option, "301", {765, 180, 690, 195}, 10},
            {"frmplayers", "optgame_2", "Frame2", Kind::Option, "501", {2295, 180, 780, 195}, 11},

            {"frmpoints", "frmpoints", "", Kind::Form, "Points!", {0, 0, 1710, 3960}, -1},
            {"frmpoints", "Frame1", "frmpoints", Kind::Frame, "How many points?", {45, 45, 1635, 3480}, 0},
            {"frmpoints", "Command1", "frmpoints", Kind::Button, "OK", {270, 3600, 1140, 330}, 23},

            {"frmabout", "frmabout", "", Kind::Form, "Vantorel Software", {0, 0, 4860, 3990}, -1},
            {"frmabout", "Frame2", "frmabout", Kind::Frame, "About:", {45, 135, 4740, 780}, 2},
            {"frmabout", "lblappname", "Frame2", Kind::Label, QString(), {225, 315, 4245, 285}, 3},
            {"frmabout", "Label3", "frmabout", Kind::Label, "Programming:", {150, 1125, 1500, 285}, 4},
            {"frmabout", "lblprog", "frmabout", Kind::Label, QString(), {1995, 1125, 2505, 285}, 7},
            {"frmabout", "Label4", "frmabout", Kind::Label, "Concept:", {150, 1530, 1500, 285}, 5},
            {"frmabout", "lblconcept", "frmabout", Kind::Label, QString(), {1995, 1575, 2505, 285}, 8},
            {"frmabout", "Label5", "frmabout", Kind::Label, "Design:", {150, 1980, 1500, 285}, 6},
            {"frmabout", "lbldesign", "frmabout", Kind::Label, QString(), {1995, 2025, 2505, 285}, 9},
            {"frmabout", "Frame1", "frmabout", Kind::Frame, "Vantorel Software is:", {45, 2475, 4740, 1050}, 0},
            {"frmabout", "imghot", "Frame1", Kind::Picture, QString(), {315, 315, 870, 240}, -1},
            {"frmabout", "Label1", "Frame1", Kind::Label, QString(), {360, 315, 4005, 285}, 1},
            {"frmabout", "Command1", "frmabout", Kind::Button, "OK", {1350, 3600, 2040, 330}, 10},

            {"frmnotice", "frmnotice", "", Kind::Form, QString(), {0, 0, 2775, 660}, -1},
            {"frmnotice", "Command1", "frmnotice", Kind::Button, "Winner!", {0, 0, 2760, 645}, 0},

            {"frmsplash", "frmsplash", "", Kind::Form, "", {0, 0, 6165, 1155}, -1},
            {"frmsplash", "Frame1", "frmsplash", Kind::Frame, "", {120, 0, 5955, 1335}, 0},
            {"frmsplash", "Image1", "Frame1", Kind::Picture, QString(), {120, 240, 5685, 1755}, -1},
        };
        // The points dialog's options, in tab order 1 to 22: amount, left, top; each 735 by 240.
        // Written out, not taken from the dialog's own table, so a wrong entry there fails here.
        constexpr int kPoints[22][3]{
            {1, 225, 360},   {2, 225, 630},   {3, 225, 900},   {4, 225, 1170},  {5, 225, 1440},  {6, 225, 1710},
            {7, 225, 1980},  {8, 225, 2250},  {9, 225, 2520},  {10, 225, 2790}, {11, 225, 3060}, {12, 855, 360},
            {13, 855, 675},  {14, 855, 945},  {15, 855, 1215}, {16, 855, 1485}, {17, 855, 1755}, {18, 855, 2025},
            {19, 855, 2295}, {20, 855, 2565}, {25, 855, 2835}, {50, 855, 3105}};
        for (int tab = 1; tab <= 22; ++tab) {
            const auto &[amount, left, top] = kPoints[tab - 1];
            list.append({"frmpoints",
                         QStringLiteral("optpoints_%1").arg(amount),
                         "Frame1",
                         Kind::Option,
                         QString::number(amount),
                         {left, top, 735, 240},
                         tab});
        }
        return list;
    }();
    return rows;
}

bool takes_focus(Kind kind)
{
    return kind == Kind::Option || kind == Kind::TextBox || kind == Kind::Button;
}

// The control that the design's tab order reaches next after this one, among those that take the focus.
QString designed_next(const DesignedControl &control)
{
    const DesignedControl *next = nullptr;
    const DesignedControl *first = nullptr;
    for (const DesignedControl &other : designed_controls()) {
        if (other.form != control.form || !takes_focus(other.kind))
            continue;
        if (!first || other.tab < first->tab)
            first = &other;
        if (other.tab > control.tab && (!next || other.tab < next->tab))
            next = &other;
    }
    return (next ? next : first)->name;
}

QWidget *next_in_tab_order(QWidget &widget)
{
    QWidget *next = widget.nextInFocusChain();
    while (next != &widget && !(next->focusPolicy() & Qt::TabFocus && widget.window()->isAncestorOf(next)))
        next = next->nextInFocusChain();
    return next;
}

// What a frame paints of itself, without its children, on its window's background: the pixels that
// differ clearly from that background are its border and caption.
QImage frame_ink(QWidget &frame)
{
    QImage image(frame.size(), QImage::Format_RGB32);
    image.fill(frame.palette().color(QPalette::Window));
    frame.render(&image, {}, {}, QWidget::RenderFlags());
    return image;
}

// Where a frame's top border shows: right of its caption where there is room (a wide face can run the
// caption to the frame's right edge), else left of it.
int border_column(const QGroupBox &box)
{
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.textAlignment = box.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    const QRect label = box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    return label.right() + 4 < box.width() - 4 ? box.width() - 4 : label.left() - 2;
}

bool is_ink(const QImage &image, int x, int y, QRgb background)
{
    const QRgb pixel = image.pixel(x, y);
    return qAbs(qRed(pixel) - qRed(background)) > 12 || qAbs(qGreen(pixel) - qGreen(background)) > 12
           || qAbs(qBlue(pixel) - qBlue(background)) > 12;
}

int ink_inside(const QImage &image, const QRect &area, QRgb background)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += is_ink(image, x, y, background);
    }
    return count;
}

// How a kept dialog is shown again, as Windows would show it.
enum class Reshown {
    Never,          // shown once
    AtAnotherScale, // made at another monitor's scale before each showing again
    BySeenFrame,    // DWM leaves invisible borders out of what the user sees
};

// Windows 10 and 11: a resize border of 7 pixels left, right and below, invisible, and none on top.
constexpr QMargins kInvisibleBorders(7, 0, 7, 7);

// Records which of a window's widgets are painted.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget &window)
        : window_(window)
    {
        window.installEventFilter(this);
        for (QWidget *child : window.findChildren<QWidget *>())
            child->installEventFilter(this);
    }

    // The widgets that should be seen and are hidden or not painted yet, by name.
    QStringList unseen() const
    {
        QStringList names;
        const QList<QWidget *> children = window_.findChildren<QWidget *>();
        if (!window_.isVisible() || !painted_.contains(&window_))
            names << window_.objectName();
        for (QWidget *child : children) {
            if (child->isVisibleTo(&window_) && (!child->isVisible() || !painted_.contains(child)))
                names << child->objectName();
        }
        return names;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted_.insert(watched);
        return false;
    }

private:
    QWidget &window_;
    QSet<QObject *> painted_;
};

} // namespace

Q_DECLARE_METATYPE(Reshown)

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void letsPlaySetsUpTheChosenMatch_data();
    void letsPlaySetsUpTheChosenMatch();
    void choicesAreKeptAcrossShowingsAndClosingOnlyHides();
    void aPastedNameIsCutToWhatABoxHolds();
    void capItRaisesFirstCharacterOnly_data();
    void capItRaisesFirstCharacterOnly();

    void chosenAmountIsKeptAcrossShowings();

    void keysDoWhatEachDialogPromises_data();
    void keysDoWhatEachDialogPromises();
    void controlsStandWhereTheDesignPutsThem_data();
    void controlsStandWhereTheDesignPutsThem();

    void noticeIsReusedCentredAndHiddenByEveryWayOfDismissingIt();

    void splashClosesOnSecondTickNotFirst();

    void aboutBoxHotAreaDoesNothing();

    void helpFileIsNeverTakenFromTheCurrentDirectory();
    void helpViewerFollowsOnlyJumpsWithinTheFile();
    void helpViewerFindsTheDataDirectoryOfARelocatedInstall();
    void helpViewerShowsTheFileAndReadsNothingElse_data();
    void helpViewerShowsTheFileAndReadsNothingElse();
    void webAddressGoesOnlyToTheDesktopsWebHandler();

private:
    frmplayers &players();
    QDialog *build(const QString &form);
    QString install_beside(const QString &name, const QByteArray &contents);
    QLabel *label(int player) const { return labels_[static_cast<std::size_t>(player - 1)]; }
    QLineEdit *box(int player)
    {
        return child<QLineEdit>(players(), qPrintable(QStringLiteral("playname_%1").arg(player)));
    }

    Module1 settings_;
    std::unique_ptr<QWidget> main_;
    std::array<QLabel *, 4> labels_{};
    std::unique_ptr<frmplayers> players_;
    UrlRecorder browser_;
    QString previous_directory_;
    QTemporaryDir directory_;
    QStringList installed_;
};

void TestDialogs::init()
{
    settings_ = Module1{};
    settings_.start_score = 301;
    main_ = std::make_unique<QWidget>();
    for (std::size_t i = 0; i < labels_.size(); ++i)
        labels_[i] = new QLabel(QStringLiteral("old%1").arg(i + 1), main_.get());
    browser_.opened.clear();
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser_, "open");
    previous_directory_ = QDir::currentPath();
    QVERIFY(directory_.isValid());
}

void TestDialogs::cleanup()
{
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    QDir::setCurrent(previous_directory_);
    for (const QString &path : std::as_const(installed_))
        QFile::remove(path);
    installed_.clear();
    players_.reset();
    main_.reset();
}

frmplayers &TestDialogs::players()
{
    if (!players_)
        players_ = std::make_unique<frmplayers>(settings_, labels_, main_.get());
    return *players_;
}

QDialog *TestDialogs::build(const QString &form)
{
    if (form == QLatin1String("frmplayers"))
        return new frmplayers(settings_, labels_, main_.get());
    if (form == QLatin1String("frmpoints"))
        return new frmpoints(settings_, main_.get());
    if (form == QLatin1String("frmabout"))
        return new frmabout(main_.get());
    if (form == QLatin1String("frmnotice"))
        return new frmnotice(main_.get());
    return new frmsplash(4000, main_.get());
}

// Puts a file beside the test program, where the viewer looks for the build tree's help file.
QString TestDialogs::install_beside(const QString &name, const QByteArray &contents)
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    write_file(path, contents);
    installed_ << path;
    return path;
}

void TestDialogs::letsPlaySetsUpTheChosenMatch_data()
{
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("box3_enabled");
    QTest::addColumn<bool>("box4_enabled");
    QTest::newRow("none chosen means four") << QList<int>{} << 4 << false << false;
    QTest::newRow("3 then 2") << QList<int>{3, 2} << 2 << false << false;
    QTest::newRow("4 then 3") << QList<int>{4, 3} << 3 << true << false;
    QTest::newRow("2 then 4") << QList<int>{2, 4} << 4 << true << true;
}

void TestDialogs::letsPlaySetsUpTheChosenMatch()
{
    QFETCH(QList<int>, options);
    QFETCH(int, count);
    QFETCH(bool, box3_enabled);
    QFETCH(bool, box4_enabled);
    frmplayers &dialog = players();
    box(3)->setText(QStringLiteral("zED"));
    box(4)->setText(QStringLiteral("kAY"));
    run_modal(dialog, [&] {
        for (int option : options)
            click_button(dialog, qPrintable(QStringLiteral("optplay_%1").arg(option)));
        click_button(dialog, "Command1");
    });

    QCOMPARE(bool(settings_.two_players), count == 2);
    QCOMPARE(bool(settings_.three_players), count == 3);
    QCOMPARE(settings_.four_players.raw(), std::int16_t(count == 4 ? -1 : 0));
    QCOMPARE(box(3)->isEnabled(), box3_enabled);
    QCOMPARE(box(4)->isEnabled(), box4_enabled);
    const QStringList copied{"Player 1", "Player 2", "Zed", "Kay"};
    for (int player = 1; player <= 4; ++player) {
        const QString expected = player <= count ? copied[player - 1] : QStringLiteral("old%1").arg(player);
        QCOMPARE(label(player)->text(), expected);
    }
}

void TestDialogs::choicesAreKeptAcrossShowingsAndClosingOnlyHides()
{
    frmplayers &dialog = players();
    QPointer<frmplayers> alive(&dialog);
    run_modal(dialog, [&] {
        click_button(dialog, "optgame_2");
        box(1)->clear();
        QTest::keyClicks(box(1), QStringLiteral("eVE"));
        QTest::keyClick(box(1), Qt::Key_Return); // Enter presses Let's Play!
    });
    QCOMPARE(label(1)->text(), QStringLiteral("Eve"));
    QCOMPARE(settings_.start_score, std::int16_t(501));

    run_modal(dialog, [&] {
        QVERIFY(child<QRadioButton>(dialog, "optgame_2")->isChecked());
        dialog.close();
    });
    QVERIFY(alive && dialog.isHidden());
    QCOMPARE(box(1)->text(), QStringLiteral("eVE"));
    QCOMPARE(settings_.start_score, std::int16_t(501));
    run_modal(dialog, [&] {
        click_button(dialog, "optgame_1");
        click_button(dialog, "Command1");
    });
    QCOMPARE(settings_.start_score, std::int16_t(301));
}

void TestDialogs::aPastedNameIsCutToWhatABoxHolds()
{
    QGuiApplication::clipboard()->setText(QString(100'000, u'x'));
    QLineEdit *name = box(1);
    name->selectAll();
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(name->text().size(), 32767);
}

void TestDialogs::capItRaisesFirstCharacterOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mixed case") << "jOHN smith"
                                << "John smith";
    QTest::newRow("apostrophe") << "o'neil"
                                << "O'neil";
    QTest::newRow("leading blank") << " ann"
                                   << " ann";
    QTest::newRow("leading digit") << "3rd MAN"
                                   << "3rd man";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("accented first") << QStringLiteral("éLODIE") << QStringLiteral("Élodie");
    QTest::newRow("sharp s kept") << QStringLiteral("ßEN") << QStringLiteral("ßen");
    QTest::newRow("digraph title case") << QStringLiteral("ǆEMAL") << QStringLiteral("ǅemal");
    QTest::newRow("emoji first") << QStringLiteral("\U0001F600BOB") << QStringLiteral("\U0001F600bob");
    QTest::newRow("supplementary letter")
        << QStringLiteral("\U00010428\U00010400") << QStringLiteral("\U00010400\U00010428");
    QTest::newRow("lone surrogate kept") << QString(QChar(0xD800)) + "ABC" << QString(QChar(0xD800)) + "abc";
    QTest::newRow("markup") << "<b>Ann</b>"
                            << "<b>ann</b>";
    QTest::newRow("ampersand") << "Tom & Jerry"
                               << "Tom & jerry";
}

void TestDialogs::capItRaisesFirstCharacterOnly()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QCOMPARE(frmplayers::Cap_it(typed), shown);
}

void TestDialogs::chosenAmountIsKeptAcrossShowings()
{
    frmpoints dialog(settings_);
    run_modal(dialog, [&] {
        click_button(dialog, "optpoints_25");
        QCOMPARE(settings_.points_pick, std::int16_t(25));
        click_button(dialog, "optpoints_50");
        click_button(dialog, "Command1");
    });
    QVERIFY(dialog.isHidden());
    run_modal(dialog, [&] {
        QVERIFY(child<QRadioButton>(dialog, "optpoints_50")->isChecked());
        click_button(dialog, "Command1");
    });
    QCOMPARE(settings_.points_pick, std::int16_t(50));
}

void TestDialogs::keysDoWhatEachDialogPromises_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<Reshown>("reshown");
    QTest::newRow("new game: Enter presses Let's Play!")
        << "frmplayers"
        << "playname_1" << int(Qt::Key_Return) << true << Reshown::Never;
    QTest::newRow("new game: Escape in a name box") << "frmplayers"
                                                    << "playname_1" << int(Qt::Key_Escape) << false << Reshown::Never;
    QTest::newRow("new game: Escape on an option") << "frmplayers"
                                                   << "optplay_2" << int(Qt::Key_Escape) << false << Reshown::Never;
    QTest::newRow("points: Enter on an option") << "frmpoints"
                                                << "optpoints_1" << int(Qt::Key_Return) << false << Reshown::Never;
    QTest::newRow("points: Escape on an option") << "frmpoints"
                                                 << "optpoints_1" << int(Qt::Key_Escape) << false << Reshown::Never;
    QTest::newRow("points: Enter on OK") << "frmpoints"
                                         << "Command1" << int(Qt::Key_Enter) << false << Reshown::Never;
    QTest::newRow("points: Escape on OK") << "frmpoints"
                                          << "Command1" << int(Qt::Key_Escape) << false << Reshown::Never;
    QTest::newRow("points: Space on OK") << "frmpoints"
                                         << "Command1" << int(Qt::Key_Space) << true << Reshown::Never;
    QTest::newRow("about box: Enter") << "frmabout"
                                      << "Command1" << int(Qt::Key_Return) << true << Reshown::Never;
    QTest::newRow("about box: Escape") << "frmabout"
                                       << "Command1" << int(Qt::Key_Escape) << true << Reshown::Never;
    QTest::newRow("new game at another scale: Enter presses Let's Play!")
        << "frmplayers"
        << "playname_1" << int(Qt::Key_Return) << true << Reshown::AtAnotherScale;
    QTest::newRow("points at another scale: Space on OK")
        << "frmpoints"
        << "Command1" << int(Qt::Key_Space) << true << Reshown::AtAnotherScale;
    QTest::newRow("notice at another scale: Enter")
        << "frmnotice"
        << "Command1" << int(Qt::Key_Return) << true << Reshown::AtAnotherScale;
    QTest::newRow("new game by its seen frame: Enter presses Let's Play!")
        << "frmplayers"
        << "playname_1" << int(Qt::Key_Return) << true << Reshown::BySeenFrame;
}

// Each showing: the dialog and its controls seen and painted, what the user sees of it centred at the size
// it had, and the key doing what it promises.
void TestDialogs::keysDoWhatEachDialogPromises()
{
    QFETCH(QString, form);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, closes);
    QFETCH(Reshown, reshown);
    StandInWindowSystem system;
    if (reshown == Reshown::BySeenFrame)
        system.invisible_borders = kInvisibleBorders;
    QPointer<QDialog> dialog = build(form);
    const QSize size = dialog->size();
    const QPoint screen_centre = dialog->screen()->geometry().center();
    const int showings = reshown == Reshown::Never ? 1 : 3;
    for (int showing = 1; showing <= showings && !QTest::currentTestFailed(); ++showing) {
        if (showing > 1 && reshown == Reshown::AtAnotherScale)
            system.mark_made_at_another_scale(*dialog);
        const PaintRecorder painted(*dialog);
        bool stayed_open = false;
        run_modal(*dialog, [&] {
            QTRY_VERIFY2(painted.unseen().isEmpty(), qPrintable("unseen: " + painted.unseen().join(", ")));
            QVERIFY2(!system.made_at_another_scale(*dialog, *dialog->screen()), "not made anew");
            QCOMPARE(dialog->size(), size);
            const QPoint off_centre = (dialog->frameGeometry() - system.invisible_borders).center() - screen_centre;
            QVERIFY2(!qobject_cast<CentredDialog *>(dialog) || (qAbs(off_centre.x()) <= 1 && qAbs(off_centre.y()) <= 1),
                     qPrintable(QStringLiteral("off the centre by %1, %2").arg(off_centre.x()).arg(off_centre.y())));
            QWidget *target = child(*dialog, qPrintable(focus));
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
            stayed_open = dialog && dialog->isVisible();
            if (stayed_open)
                dialog->done(0);
        });
        QCOMPARE(!stayed_open, closes);
    }
}

void TestDialogs::controlsStandWhereTheDesignPutsThem_data()
{
    QTest::addColumn<int>("row");
    const QList<DesignedControl> &rows = designed_controls();
    for (qsizetype i = 0; i < rows.size(); ++i)
        QTest::addRow("%s %s", qPrintable(rows[i].form), qPrintable(rows[i].name)) << int(i);
}

void TestDialogs::controlsStandWhereTheDesignPutsThem()
{
    QFETCH(int, row);
    const DesignedControl &design = designed_controls().at(row);
    std::unique_ptr<QDialog> form(build(design.form));
    QWidget *control = design.kind == Kind::Form ? form.get() : child(*form, qPrintable(design.name));
    QVERIFY(control);
    QCOMPARE(control->objectName(), design.name);
    if (design.kind == Kind::Form) {
        QCOMPARE(control->size(), twips::rect(design.rect).size());
    } else {
        QCOMPARE(control->parentWidget()->objectName(), design.container);
        QCOMPARE(control->geometry(), twips::rect(design.rect));
    }
    if (!design.caption.isNull())
        QCOMPARE(caption_of(*control), design.caption);

    QCOMPARE(bool(control->focusPolicy() & Qt::TabFocus), takes_focus(design.kind));
    if (takes_focus(design.kind))
        QCOMPARE(next_in_tab_order(*control)->objectName(), designed_next(design));

    // A control inside a frame: the frame draws no border or caption across it.
    QWidget *container = control->parentWidget();
    if (qobject_cast<QGroupBox *>(container) && container->rect().contains(control->geometry())) {
        const QImage ink = frame_ink(*container);
        const QRgb background = container->palette().color(QPalette::Window).rgb();
        QCOMPARE(ink_inside(ink, control->geometry(), background), 0);
    }
    // A frame's caption stands on its top border line, which runs through the caption's height.
    if (design.kind == Kind::Frame && !design.caption.isEmpty()) {
        const QImage ink = frame_ink(*control);
        const QRgb background = control->palette().color(QPalette::Window).rgb();
        const int column = border_column(*qobject_cast<QGroupBox *>(control));
        int top = 0;
        while (top < ink.height() && !is_ink(ink, column, top, background))
            ++top;
        QVERIFY2(top < control->fontMetrics().height(), qPrintable(QStringLiteral("top border at row %1").arg(top)));
    }
}

void TestDialogs::noticeIsReusedCentredAndHiddenByEveryWayOfDismissingIt()
{
    frmnotice notice;
    const QPoint screen_centre = notice.screen()->geometry().center();
    const QStringList captions{QStringLiteral("Break!"), QStringLiteral("Winner!")};
    const std::array<int, 4> keys{0, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape}; // 0: a click
    for (std::size_t way = 0; way < keys.size(); ++way) {
        const QString caption = captions[way % 2];
        notice.set_caption(caption);
        notice.move(0, 0);
        run_modal(notice, [&] {
            auto *button = child<QPushButton>(notice, "Command1");
            QCOMPARE(button->text(), caption);
            QCOMPARE(notice.focusWidget(), button);
            QVERIFY2((notice.frameGeometry().center() - screen_centre).manhattanLength() <= 2, "not centred");
            keys[way] ? QTest::keyClick(button, Qt::Key(keys[way])) : QTest::mouseClick(button, Qt::LeftButton);
        });
        QVERIFY(notice.isHidden());
    }
}

void TestDialogs::splashClosesOnSecondTickNotFirst()
{
    constexpr int kInterval = 200;
    QPointer<frmsplash> splash = new frmsplash(kInterval);
    bool shown_between_ticks = false;
    QTimer::singleShot(kInterval * 3 / 2, [&] { shown_between_ticks = splash && splash->isVisible(); });
    QElapsedTimer clock;
    clock.start();
    splash->exec();
    QVERIFY(shown_between_ticks);
    QVERIFY(clock.elapsed() >= kInterval * 2 * 9 / 10);
    QVERIFY(splash.isNull());
}

void TestDialogs::aboutBoxHotAreaDoesNothing()
{
    QPointer<frmabout> about = new frmabout(main_.get());
    run_modal(*about, [&] {
        QWidget *hot = child(*about, "imghot");
        QVERIFY(hot && child(*about, "Label1")->geometry().contains(hot->geometry().center()));
        QTest::mouseClick(hot, Qt::LeftButton);
        QVERIFY(about->isVisible());
        click_button(*about, "Command1");
    });
    QVERIFY(about.isNull());
}

void TestDialogs::helpFileIsNeverTakenFromTheCurrentDirectory()
{
    const QString name = QStringLiteral("ochre_planted_test.hlp");
    QDir::setCurrent(directory_.path());
    write_file(directory_.filePath(name), "<p>planted</p>");
    QCOMPARE(HelpViewer::locate(name), QString());
    const QString ours = install_beside(name, "<p>ours</p>");
    QCOMPARE(HelpViewer::locate(name), QFileInfo(ours).absoluteFilePath());
}

void TestDialogs::helpViewerFindsTheDataDirectoryOfARelocatedInstall()
{
    // An install under any prefix keeps the program and its help folder where they stand to each other.
    QDir::setCurrent(directory_.path());
    const QString data = QCoreApplication::applicationDirPath() + QStringLiteral("/" OCHRELINE_HELP_DIR_FROM_PROGRAM);
    QVERIFY(QDir().mkpath(data));
    const QString path = QDir(data).filePath(QStringLiteral("ochre_relocated_test.hlp"));
    write_file(path, "<p>relocated</p>");
    const QString found = HelpViewer::locate(QStringLiteral("ochre_relocated_test.hlp"));
    QFile::remove(path);
    QDir().rmpath(data); // and its parents, as far as they are empty
    QCOMPARE(QFileInfo(found), QFileInfo(path));
}

void TestDialogs::helpViewerFollowsOnlyJumpsWithinTheFile()
{
    install_beside(QStringLiteral("ochre_other_test.html"), "Another page");
    QByteArray html = "<h1>Scoring rules</h1><p><a href=\"ochre_other_test.html\">elsewhere</a> "
                      "<a href=\"http://example.invalid/\">web</a> <a href=\"#end\">to the end</a></p>";
    html += QByteArray("<p>filler line</p>").repeated(300);
    html += "<h2><a name=\"end\"></a>The end</h2>";
    install_beside(QStringLiteral("ochre_test_help.hlp"), html);
    open_help_contents(*main_, QStringLiteral("ochre_test_help.hlp"));
    open_help_contents(*main_, QStringLiteral("ochre_test_help.hlp"));
    QCOMPARE(main_->findChildren<HelpViewer *>().size(), 1);
    auto *viewer = main_->findChild<HelpViewer *>();
    QVERIFY(viewer->isWindow() && viewer->isVisible());
    const QString before = viewer->toPlainText();
    QVERIFY(before.startsWith(QStringLiteral("Scoring rules")));

    click_link(*viewer, QStringLiteral("elsewhere"));
    click_link(*viewer, QStringLiteral("web"));
    QCOMPARE(viewer->toPlainText(), before);
    QVERIFY(browser_.opened.isEmpty());

    QCOMPARE(viewer->verticalScrollBar()->value(), 0);
    click_link(*viewer, QStringLiteral("to the end"));
    QTRY_VERIFY(viewer->verticalScrollBar()->value() > 0);
    QCOMPARE(viewer->toPlainText(), before);
}

void TestDialogs::helpViewerShowsTheFileAndReadsNothingElse_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QString>("shown");
    const QByteArray fifo = QFile::encodeName(directory_.filePath("fifo"));
    QTest::newRow("picture beside it") << QByteArray("<p>Help</p><img src=\"ochre_tall_test.png\">") << "Help";
    QTest::newRow("picture from a FIFO") << "<p>Help</p><img src=\"" + fifo + "\">"
                                         << "Help";
    QTest::newRow("picture from /dev/zero") << QByteArray("<p>Help</p><img src=\"/dev/zero\">") << "Help";
    QTest::newRow("style sheet from /dev/zero")
        << QByteArray("<head><link rel=\"stylesheet\" type=\"text/css\" href=\"/dev/zero\"></head>"
                      "<p>Help</p>")
        << "Help";
    QTest::newRow("larger than a help file may be") << "<p>Help</p>" + QByteArray(1024 * 1024, ' ') << "The help file ";
}

void TestDialogs::helpViewerShowsTheFileAndReadsNothingElse()
{
    QFETCH(QByteArray, html);
    QFETCH(QString, shown);
    QVERIFY(make_fifo(directory_.filePath("fifo")));
    QImage tall(10, 3000, QImage::Format_RGB32);
    tall.fill(Qt::black);
    installed_ << QDir(QCoreApplication::applicationDirPath()).filePath("ochre_tall_test.png");
    QVERIFY(tall.save(installed_.last()));
    install_beside(QStringLiteral("ochre_hostile_test.hlp"), html);

    open_help_contents(*main_, QStringLiteral("ochre_hostile_test.hlp"));
    auto *viewer = main_->findChild<HelpViewer *>();
    QVERIFY2(viewer->toPlainText().startsWith(shown), qPrintable(viewer->toPlainText().left(200)));
    QVERIFY2(viewer->document()->size().height() < 1000, "something beyond the file was shown");
}

void TestDialogs::webAddressGoesOnlyToTheDesktopsWebHandler()
{
    open_web_address(QStringLiteral("https://www.vantorel.example/"));
    open_web_address(QStringLiteral("www.vantorel.example"));
    open_web_address(QStringLiteral("file:///etc/passwd"));
    const QList<QUrl> expected{QUrl("https://www.vantorel.example/"), QUrl("http://www.vantorel.example")};
    QCOMPARE(browser_.opened, expected);
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
