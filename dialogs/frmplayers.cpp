#include "frmplayers.h"

#include "DesignFont.h"
#include "DesignFrame.h"
#include "Module1.h"
#include "Twips.h"

#include <QButtonGroup>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

struct OptionDesign {
    int index;
    const char *caption;
    int left, top, width, height;
};

constexpr std::array<OptionDesign, 3> kPlayerOptions{{
    {2, "2 Players", 225, 360, 1140, 330},
    {3, "3 Players", 225, 855, 1230, 330},
    {4, "4 Players", 225, 1395, 1095, 285},
}};

constexpr std::array<OptionDesign, 2> kGameOptions{{
    {1, "301", 765, 180, 690, 195},
    {2, "501", 2295, 180, 780, 195},
}};

constexpr std::array<int, 4> kNameBoxTops{720, 1215, 1710, 2205};

constexpr std::int16_t score_of_game(int index)
{
    return index == 1 ? 301 : 501;
}

QRadioButton *add_option(QButtonGroup &group, QWidget &frame, const char *array_name, const OptionDesign &spec)
{
    auto *option = new QRadioButton(QString::fromLatin1(spec.caption), &frame);
    option->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(array_name)).arg(spec.index));
    option->setGeometry(twips::rect(spec.left, spec.top, spec.width, spec.height));
    group.addButton(option, spec.index);
    return option;
}

} // namespace

frmplayers::frmplayers(Module1 &settings, std::array<QLabel *, 4> lblname, QWidget *parent)
    // Enter presses "Let's Play!"; Escape is no way out, as closing the dialog starts the match.
    : CentredDialog({.escape_closes = false}, parent)
    , settings_(settings)
    , lblname_(lblname)
{
    setObjectName(QStringLiteral("frmplayers"));
    setWindowTitle(QStringLiteral("Select Your Players!"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/smiley.ico")));
    setFont(form_font());
    setFixedSize(twips::size(4935, 3105));

    build_player_frame();
    build_name_boxes();
    build_command();
    build_game_frame();
    set_tab_order();
}

void frmplayers::build_player_frame()
{
    Frame1 = new DesignFrame(QStringLiteral("Number of Players"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips::rect(180, 630, 1500, 1860));

    optplay = new QButtonGroup(this);
    for (const OptionDesign &spec : kPlayerOptions)
        add_option(*optplay, *Frame1, "optplay", spec);
    connect(optplay, &QButtonGroup::idToggled, this, &frmplayers::optplay_Click);
}

void frmplayers::build_name_boxes()
{
    for (std::size_t i = 0; i < playname.size(); ++i) {
        const int player = static_cast<int>(i) + 1;
        auto *box = new QLineEdit(QStringLiteral("Player %1").arg(player), this);
        box->setObjectName(QStringLiteral("playname_%1").arg(player));
        box->setGeometry(twips::rect(1980, kNameBoxTops[i], 2715, 330));
        // Qt's own limit of 32767 characters stays: a box holding millions of them stops the program.
        box->setEnabled(player <= 2);
        playname[i] = box;
    }
}

void frmplayers::build_command()
{
    Command1 = new QPushButton(QStringLiteral("Let's Play!"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(1350, 2700, 2310, 330));
    Command1->setFont(design_font(QStringLiteral("MS Sans Serif"), 8.25, true, true));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmplayers::Command1_Click);
}

void frmplayers::build_game_frame()
{
    Frame2 = new DesignFrame(QStringLiteral("Game?"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twips::rect(765, 90, 3570, 465));

    optgame = new QButtonGroup(this);
    for (const OptionDesign &spec : kGameOptions)
        add_option(*optgame, *Frame2, "optgame", spec);
    optgame->button(1)->setChecked(true);
    connect(optgame, &QButtonGroup::idToggled, this, &frmplayers::optgame_Click);
}

void frmplayers::set_tab_order()
{
    QList<QWidget *> chain{optplay->button(2), optplay->button(3), optplay->button(4)};
    for (QLineEdit *box : playname)
        chain.append(box);
    chain << Command1 << optgame->button(1) << optgame->button(2);
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QString frmplayers::Cap_it(const QString &text)
{
    if (text.isEmpty())
        return text;

    // The first character is a whole code point, so a surrogate pair is never split. Its simple
    // title-case mapping is one code point: letters whose capital is longer (such as "ß") stay as they are.
    qsizetype head_length = 1;
    char32_t first = text.at(0).unicode();
    if (text.at(0).isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate()) {
        first = QChar::surrogateToUcs4(text.at(0), text.at(1));
        head_length = 2;
    }
    const char32_t raised = QChar::toTitleCase(first);
    const QString head = raised == first ? text.left(head_length) : QString::fromUcs4(&raised, 1);
    return head + text.mid(head_length).toLower();
}

void frmplayers::optplay_Click(int index, bool checked)
{
    if (!checked)
        return;
    settings_.set_player_count(index);
    playname[2]->setEnabled(index >= 3);
    playname[3]->setEnabled(index == 4);
}

void frmplayers::optgame_Click(int index, bool checked)
{
    if (checked)
        settings_.start_score = score_of_game(index);
}

void frmplayers::Command1_Click()
{
    // No player-count option chosen at all means a four-player match.
    const int chosen = optplay->checkedId();
    const int players = (chosen == 2 || chosen == 3) ? chosen : 4;
    settings_.set_player_count(players);

    for (int i = 0; i < players; ++i) {
        QLabel *label = lblname_[static_cast<std::size_t>(i)];
        if (!label)
            continue;
        label->setTextFormat(Qt::PlainText);
        label->setText(Cap_it(playname[static_cast<std::size_t>(i)]->text()));
    }
    accept();
}
