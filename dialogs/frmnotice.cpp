#include "frmnotice.h"

#include "DesignFont.h"
#include "Twips.h"

#include <QIcon>
#include <QPushButton>

frmnotice::frmnotice(QWidget *parent)
    : CentredDialog({.borderless = true, .off_taskbar = true}, parent)
    , Command1(new QPushButton(QStringLiteral("Winner!"), this))
{
    setObjectName(QStringLiteral("frmnotice"));
    setWindowIcon(QIcon());
    setFixedSize(twips::size(2775, 660));

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(0, 0, 2760, 645));
    Command1->setFont(design_font(QStringLiteral("Times New Roman"), 26.25, true, true));
    Command1->setDefault(true);
    Command1->setFocus();
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

void frmnotice::set_caption(const QString &text)
{
    Command1->setText(text);
}

QString frmnotice::caption() const
{
    return Command1->text();
}
