#include "StatusBar.h"

#include "DesignFont.h"
#include "FittedLabel.h"
#include "Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {

enum class Sizing { FitsText, SharesFreeWidth, Fixed };

struct PanelDesign {
    const char *text;
    Sizing sizing;
    int width;    // twips
    int minWidth; // twips
    Qt::Alignment alignment;
};

constexpr std::array<PanelDesign, StatusBar::kPanelCount> kPanels{{
    {"Active Player:", Sizing::FitsText, 1440, 1440, Qt::AlignRight},
    {"", Sizing::SharesFreeWidth, 1800, 1800, Qt::AlignLeft},
    {"Hit:", Sizing::FitsText, 645, 650, Qt::AlignRight},
    {"", Sizing::SharesFreeWidth, 750, 750, Qt::AlignLeft},
    {"Total Hit:", Sizing::FitsText, 800, 800, Qt::AlignLeft},
    {"", Sizing::SharesFreeWidth, 750, 750, Qt::AlignLeft},
    {"", Sizing::Fixed, 4515, 1440, Qt::AlignHCenter},
}};

const PanelDesign &design(int number)
{
    return kPanels.at(static_cast<std::size_t>(number - 1));
}

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QWidget(parent)
{
    setFont(form_font());
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 0);
    row->setSpacing(1);
    for (int number = 1; number <= kPanelCount; ++number) {
        const PanelDesign &d = design(number);
        auto *label = new FittedLabel(FittedLabel::Fit::Elide, QString::fromLatin1(d.text), this);
        label->setObjectName(QStringLiteral("panel_%1").arg(number));
        label->setAlignment(d.alignment | Qt::AlignVCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMargin(1);
        panels_[static_cast<std::size_t>(number - 1)] = label;
        switch (d.sizing) {
        case Sizing::Fixed:
            label->setFixedWidth(twips::to_pixels(d.width));
            row->addWidget(label);
            break;
        case Sizing::SharesFreeWidth:
            label->setMinimumWidth(twips::to_pixels(d.minWidth));
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            row->addWidget(label, 1);
            break;
        case Sizing::FitsText:
            row->addWidget(label);
            fit_to_text(number);
            break;
        }
    }
}

QLabel *StatusBar::panel(int number) const
{
    return panels_.at(static_cast<std::size_t>(number - 1));
}

void StatusBar::set_panel_text(int number, const QString &text)
{
    panel(number)->setText(text);
    if (design(number).sizing == Sizing::FitsText)
        fit_to_text(number);
}

QString StatusBar::panel_text(int number) const
{
    return panel(number)->text();
}

void StatusBar::fit_to_text(int number)
{
    QLabel *label = panel(number);
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->frameWidth()
                          + 2 * label->margin() + 4;
    label->setFixedWidth(std::max(textWidth, twips::to_pixels(design(number).minWidth)));
}

int StatusBar::panel_at(const QPoint &point) const
{
    for (int number = 1; number <= kPanelCount; ++number) {
        if (panel(number)->geometry().contains(point))
            return number;
    }
    return 0;
}

void StatusBar::mousePressEvent(QMouseEvent *event)
{
    pressedPanel_ = event->button() == Qt::LeftButton ? panel_at(event->position().toPoint()) : 0;
}

// The second press of a double click reports nothing: its first press and release already did.
void StatusBar::mouseDoubleClickEvent(QMouseEvent *)
{
    pressedPanel_ = 0;
}

void StatusBar::mouseReleaseEvent(QMouseEvent *event)
{
    const int number = panel_at(event->position().toPoint());
    const bool sameButtonAndPanel = event->button() == Qt::LeftButton && number != 0 && number == pressedPanel_;
    pressedPanel_ = 0;
    if (sameButtonAndPanel)
        emit panel_clicked(number);
}
