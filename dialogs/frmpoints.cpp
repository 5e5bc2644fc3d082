#include "frmpoints.h"

#include "DesignFont.h"
#include "DesignFrame.h"
#include "Module1.h"
#include "Twips.h"

#include <QButtonGroup>
#include <QIcon>
#include <QPushButton>
#include <QRadioButton>

frmpoints::frmpoints(Module1 &settings, QWidget *parent)
    // "OK" is neither the default nor the cancel button: Escape must not close the dialog and apply the
    // amount. Enter does nothing, there being no default button.
    : CentredDialog({.borderless = true, .escape_closes = false}, parent)
    , settings_(settings)
    , Frame1(new DesignFrame(QStringLiteral("How many points?"), this))
    , optpoints(new QButtonGroup(this))
    , Command1(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frmpoints"));
    setWindowTitle(QStringLiteral("Points!"));
    setWindowIcon(QIcon());
    setFont(form_font());
    setFixedSize(twips::size(1710, 3960));

    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips::rect(45, 45, 1635, 3480));

    QWidget *previous = nullptr;
    for (const Option &spec : kOptions) {
        auto *option = new QRadioButton(QString::number(spec.amount), Frame1);
        option->setObjectName(QStringLiteral("optpoints_%1").arg(spec.amount));
        option->setGeometry(twips::rect(spec.left, spec.top, kOptionWidth, kOptionHeight));
        optpoints->addButton(option, spec.amount);
        if (previous)
            QWidget::setTabOrder(previous, option);
        previous = option;
    }
    optpoints->button(1)->setChecked(true);
    connect(optpoints, &QButtonGroup::idToggled, this, &frmpoints::optpoints_Click);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(270, 3600, 1140, 330));
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    QWidget::setTabOrder(previous, Command1);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

void frmpoints::showEvent(QShowEvent *event)
{
    // The option that shows as selected is the amount, the preselected "1" included.
    settings_.points_pick = static_cast<std::int16_t>(optpoints->checkedId());
    QDialog::showEvent(event);
}

void frmpoints::optpoints_Click(int index, bool checked)
{
    if (checked)
        settings_.points_pick = static_cast<std::int16_t>(index);
}
