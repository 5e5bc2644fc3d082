#include "frmmain.h"

#include "BoardPicture.h"
#include "Centring.h"
#include "DesignFont.h"
#include "FittedLabel.h"
#include "HelpViewer.h"
#include "InvertLine.h"
#include "MenuStyle.h"
#include "SoundInterface.h"
#include "StatusBar.h"
#include "TextColour.h"
#include "Twips.h"
#include "Version.h"
#include "WebLink.h"
#include "frmabout.h"
#include "frmnotice.h"
#include "frmplayers.h"
#include "frmpoints.h"
#include "frmsplash.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QWindow>

namespace {

constexpr QSize kClientTwips{10815, 7620};
constexpr twips::Rect kPicture1{1845, 45, 7200, 7200};
constexpr twips::Rect kStatusBar1{0, 7290, 10815, 330};
constexpr twips::Rect kLine1{0, 0, 10710, 30};

constexpr std::array<twips::Rect, Match::kMaxPlayers> kNameRects{{
    {45, 270, 1680, 420},
    {9090, 270, 1680, 420},
    {45, 4005, 1680, 420},
    {9090, 4005, 1680, 420},
}};
constexpr std::array<twips::Rect, Match::kMaxPlayers> kScoreRects{{
    {135, 1080, 1500, 780},
    {9180, 1080, 1500, 780},
    {135, 4770, 1500, 780},
    {9180, 4770, 1500, 780},
}};

constexpr QRgb kNameBackground = qRgb(255, 128, 255);
constexpr QRgb kFirstScoreColour = qRgb(255, 0, 0);
constexpr QRgb kOtherScoreColour = qRgb(0, 0, 192);
constexpr QRgb kLightRed = qRgb(255, 0, 0);
constexpr QRgb kLightBlue = qRgb(0, 0, 255);

constexpr char kHelpFile[] = "301.hlp";
constexpr char kAppName[] = "Ochreline for Win95 1.1";

QString from_utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

frmmain::frmmain(Module1 &settings, SoundInterface &sound, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , settings_(settings)
    , sound_(sound)
    , match_(settings, *this)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Ochreline for Windows"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/dart.ico")));
    build_client_area();
    build_menus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

frmmain::~frmmain() = default;

void frmmain::build_client_area()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips::size(kClientTwips.width(), kClientTwips.height()));
    setCentralWidget(client);

    Picture1_ = new BoardPicture(client);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setGeometry(twips::rect(kPicture1));
    connect(Picture1_, &BoardPicture::dart_entered, this, [this](std::int16_t points) { match_.do_score(points); });

    StatusBar1_ = new StatusBar(client);
    StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1_->setGeometry(twips::rect(kStatusBar1));
    StatusBar1_->set_panel_text(kWebPanel, QString::fromLatin1(version::kWebAddress));
    connect(StatusBar1_, &StatusBar::panel_clicked, this, &frmmain::StatusBar1_PanelClick);

    build_player_panels(client);

    auto *line = new InvertLine(client);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(twips::rect(kLine1));
}

void frmmain::build_player_panels(QWidget *client)
{
    for (int player = 1; player <= Match::kMaxPlayers; ++player) {
        const auto slot = static_cast<std::size_t>(player - 1);

        auto *name = new FittedLabel(FittedLabel::Fit::Elide, QStringLiteral("Player %1").arg(player), client);
        name->setObjectName(QStringLiteral("lblname_%1").arg(player));
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setIndent(0); // a framed label would otherwise start its text half an "x" below the frame
        name->setFrameStyle(QFrame::Box | QFrame::Plain);
        name->setFont(design_font(QStringLiteral("Times New Roman"), 12, true));
        name->setAutoFillBackground(true);
        QPalette palette = name->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(kNameBackground));
        palette.setColor(QPalette::WindowText, Qt::black);
        name->setPalette(palette);
        name->setGeometry(twips::rect(kNameRects[slot]));
        name->hide();
        lblname_[slot] = name;

        auto *score = new FittedLabel(FittedLabel::Fit::Shrink, QStringLiteral("301"), client);
        score->setObjectName(QStringLiteral("score_%1").arg(player));
        score->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        score->setFont(design_font(QStringLiteral("Arial"), 27.75, true));
        set_text_colour(*score, QColor::fromRgb(player == 1 ? kFirstScoreColour : kOtherScoreColour));
        score->setGeometry(twips::rect(kScoreRects[slot]));
        score->hide();
        score_[slot] = score;
    }
}

void frmmain::build_menus()
{
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption, void (frmmain::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addMenu = [this](const char *name, const QString &caption) {
        QMenu *menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        menu->setStyle(new MenuStyle(menu));
        return menu;
    };

    QMenu *file = addMenu("mnufile", tr("&File"));
    addItem(file, "mnunew", tr("&New Game"), &frmmain::mnunew_Click);
    mnusound_ = addItem(file, "mnusound", tr("Sound On"), &frmmain::mnusound_Click);
    mnusound_->setCheckable(true);
    file->addSeparator()->setObjectName(QStringLiteral("mnudash"));
    addItem(file, "mnuexit", tr("E&xit"), &frmmain::mnuexit_Click);

    QMenu *score = addMenu("mnuscore", tr("&Score"));
    mnuadd_ = addItem(score, "mnuadd", tr("Add Points"), &frmmain::mnuadd_Click);
    mnusub_ = addItem(score, "mnusub", tr("Subtract Points"), &frmmain::mnusub_Click);
    mnuadd_->setEnabled(false);
    mnusub_->setEnabled(false);

    QMenu *help = addMenu("mnuhelp", tr("&Help"));
    addItem(help, "mnu_getdart", tr("&GET QUIVERLINE"), &frmmain::mnu_getdart_Click);
    addItem(help, "mnucontents", tr("&Contents"), &frmmain::mnucontents_Click);
    addItem(help, "mnuabout", tr("&About"), &frmmain::mnuabout_Click);
}

void frmmain::Form_Load(int splash_interval_ms)
{
    const bool placed_before_mapping = place_at_top_of_screen();
    connect(windowHandle(), &QWindow::screenChanged, this, &frmmain::keep_own_size, Qt::QueuedConnection);
    settings_.start_score = 301;
    settings_.points_pick = 0;
    match_.game_over = true;

    show();
    place_once_mapped(*this, Placement::TopCentre, placed_before_mapping);
    QCoreApplication::processEvents();
    // Asking a sound server can take long: the window is painted first, and the answer comes while
    // the splash is up, before any dart can be thrown.
    sound_.check_device(this, [this](bool found) { set_sound_device(found); });

    auto *splash = new frmsplash(splash_interval_ms, this);
    splash->exec();
    show_startup_message();
}

void frmmain::set_sound_device(bool found)
{
    settings_.sound_on = found;
    if (settings_.sound_on)
        mnusound_->setChecked(true);
    else
        mnusound_->setEnabled(false);
}

// At the top of the primary monitor, centred across it; wider than the monitor gives a negative left edge.
bool frmmain::place_at_top_of_screen()
{
    layout()->activate(); // the window's own size, before it is created and shown
    return place_before_mapping(*this, Placement::TopCentre);
}

// Moved to a screen of another scale, a window keeps its size in the system's pixels on X11, which at
// that scale cuts the board off or leaves space around it: the window takes its own size again.
void frmmain::keep_own_size()
{
    resize(minimumSize());
}

void frmmain::show_startup_message()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Get Quiverline from the Help Menu!!"),
                    QStringLiteral("Quiverline is a newer more complete program"), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("startupMessage"));
    box.exec();
}

void frmmain::mnunew_Click()
{
    for (int player = 1; player <= Match::kMaxPlayers; ++player) {
        name_label(player)->hide();
        score_label(player)->hide();
    }
    if (!players_)
        players_ = new frmplayers(settings_, lblname_, this);
    players_->exec();
    match_.start_game();
}

// Qt has already flipped the check mark; the setting follows it.
void frmmain::mnusound_Click()
{
    settings_.sound_on = mnusound_->isChecked();
}

void frmmain::mnuexit_Click()
{
    QCoreApplication::quit();
}

void frmmain::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}

void frmmain::mnuadd_Click()
{
    adjust_points(Adjustment::Add);
}

void frmmain::mnusub_Click()
{
    adjust_points(Adjustment::Subtract);
}

// A result beyond 16 bits is refused with a message instead of ending the program; nothing is stored.
void frmmain::adjust_points(Adjustment direction)
{
    if (!points_)
        points_ = new frmpoints(settings_, this);
    points_->exec();
    switch (match_.adjust_points(direction)) {
    case AdjustOutcome::AboveMaximum:
        QMessageBox::warning(this, tr("Overflow"), tr("A score cannot go above 32767. The score was not changed."));
        break;
    case AdjustOutcome::BelowMinimum:
        QMessageBox::warning(this, tr("Overflow"), tr("A score cannot go below -32768. The score was not changed."));
        break;
    case AdjustOutcome::Stored:
    case AdjustOutcome::NoPlayer:
        break;
    }
}

void frmmain::mnu_getdart_Click()
{
    open_web_address(QString::fromLatin1(version::kWebAddress));
}

void frmmain::StatusBar1_PanelClick(int number)
{
    if (number == kWebPanel)
        open_web_address(QString::fromLatin1(version::kWebAddress));
}

void frmmain::mnucontents_Click()
{
    open_help_contents(*this, QString::fromLatin1(kHelpFile));
}

void frmmain::mnuabout_Click()
{
    auto *about = new frmabout(this);
    const QString author = QString::fromLatin1(version::kAuthorName);
    about->lblprog()->setText(author);
    about->lblconcept()->setText(author);
    about->lbldesign()->setText(author);
    about->lblappname()->setText(QString::fromLatin1(kAppName));
    about->exec();
}

QLabel *frmmain::name_label(int player) const
{
    return lblname_.at(static_cast<std::size_t>(player - 1));
}

QLabel *frmmain::score_label(int player) const
{
    return score_.at(static_cast<std::size_t>(player - 1));
}

frmnotice *frmmain::notice()
{
    if (!notice_)
        notice_ = new frmnotice(this);
    return notice_;
}

void frmmain::set_score_text(int player, std::string_view text)
{
    score_label(player)->setText(from_utf8(text));
}

void frmmain::set_score_colour(int player, ScoreColour colour)
{
    set_text_colour(*score_label(player), QColor::fromRgb(colour == ScoreColour::LightRed ? kLightRed : kLightBlue));
}

void frmmain::show_player_panel(int player)
{
    name_label(player)->show();
    score_label(player)->show();
}

void frmmain::show_active_player(int player)
{
    StatusBar1_->set_panel_text(2, name_label(player)->text());
}

void frmmain::set_panel_text(int panel, std::string_view text)
{
    StatusBar1_->set_panel_text(panel, from_utf8(text));
}

void frmmain::enable_adjustments()
{
    mnuadd_->setEnabled(true);
    mnusub_->setEnabled(true);
}

void frmmain::play_sound(std::string_view name)
{
    sound_.play(from_utf8(name));
}

void frmmain::set_notice_caption(std::string_view caption)
{
    notice()->set_caption(from_utf8(caption));
}

void frmmain::show_notice()
{
    notice()->exec();
}
