#include "frmabout.h"

#include "CentredDialog.h"
#include "DesignFont.h"
#include "DesignFrame.h"
#include "TextColour.h"
#include "Twips.h"
#include "Version.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace {

// Blanks between the author's name and e-mail address in the contact line.
constexpr int kContactGap = 18;

struct LabelSpec {
    const char *name;
    const char *text;
    int left, top, width, height;
};

constexpr std::array<LabelSpec, 3> kCaptions{{
    {"Label3", "Programming:", 150, 1125, 1500, 285},
    {"Label4", "Concept:", 150, 1530, 1500, 285},
    {"Label5", "Design:", 150, 1980, 1500, 285},
}};

constexpr std::array<LabelSpec, 3> kCredits{{
    {"lblprog", "", 1995, 1125, 2505, 285},
    {"lblconcept", "", 1995, 1575, 2505, 285},
    {"lbldesign", "", 1995, 2025, 2505, 285},
}};

QLabel *add_label(QWidget &container, const LabelSpec &spec)
{
    auto *label = new QLabel(QString::fromLatin1(spec.text), &container);
    label->setObjectName(QString::fromLatin1(spec.name));
    label->setGeometry(twips::rect(spec.left, spec.top, spec.width, spec.height));
    label->setTextFormat(Qt::PlainText);
    return label;
}

DesignFrame *add_frame(QWidget &form, const char *name, const QString &title, QRect geometry, const QColor &colour)
{
    auto *frame = new DesignFrame(title, &form);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(geometry);
    frame->set_caption_colour(colour);
    return frame;
}

} // namespace

frmabout::frmabout(QWidget *parent)
    : QDialog(parent, kFixedDialogFlags)
{
    setObjectName(QStringLiteral("frmabout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(version::kCompanyName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/dollar.ico")));
    setModal(true);
    setFont(form_font());
    setFixedSize(twips::size(4860, 3990));

    build_maker_frame();
    build_about_frame();
    build_credits();

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(1350, 3600, 2040, 330));
    Command1->setFocus();
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel *frmabout::lblappname() const
{
    return lblappname_;
}
QLabel *frmabout::lblprog() const
{
    return lblprog_;
}
QLabel *frmabout::lblconcept() const
{
    return lblconcept_;
}
QLabel *frmabout::lbldesign() const
{
    return lbldesign_;
}

void frmabout::build_about_frame()
{
    DesignFrame *frame = add_frame(*this, "Frame2", QStringLiteral("About:"), twips::rect(45, 135, 4740, 780),
                                   QColor(0x00, 0x80, 0x00));
    lblappname_ = add_label(*frame, {"lblappname", "", 225, 315, 4245, 285});
    lblappname_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblappname_->setFont(design_font(QStringLiteral("Times New Roman"), 9.75, true, true));
    set_text_colour(*lblappname_, QColor(0x00, 0x00, 0xC0));
}

void frmabout::build_credits()
{
    const QFont bold = design_font(QStringLiteral("MS Sans Serif"), 8.25, true);
    for (const LabelSpec &spec : kCaptions)
        add_label(*this, spec)->setFont(bold);

    std::array<QLabel *, 3> credits{};
    for (std::size_t i = 0; i < kCredits.size(); ++i) {
        credits[i] = add_label(*this, kCredits[i]);
        credits[i]->setFont(bold);
        credits[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        credits[i]->setLineWidth(1);
    }
    lblprog_ = credits[0];
    lblconcept_ = credits[1];
    lbldesign_ = credits[2];
}

void frmabout::build_maker_frame()
{
    const QString caption = QString::fromUtf8(version::kCompanyName) + QStringLiteral(" is:");
    DesignFrame *frame = add_frame(*this, "Frame1", caption, twips::rect(45, 2475, 4740, 1050),
                                   QColor(0xFF, 0x00, 0x00));

    QLabel *contact = add_label(*frame, {"Label1", "", 360, 315, 4005, 285});
    contact->setText(QString::fromUtf8(version::kAuthorName) + QString(kContactGap, QLatin1Char(' '))
                     + QString::fromUtf8(version::kAuthorEmail));

    // An invisible click area over the start of the contact line; clicking it does nothing.
    auto *imghot = new QLabel(frame);
    imghot->setObjectName(QStringLiteral("imghot"));
    imghot->setGeometry(twips::rect(315, 315, 870, 240));
    imghot->raise();
}
