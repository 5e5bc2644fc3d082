#include "Module1.h"
#include "Version.h"
#include "frmmain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(version::kProductName));
    QApplication::setOrganizationName(QString::fromLatin1(version::kCompanyName));
    QApplication::setApplicationVersion(QString::fromLatin1(version::kVersion));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/dart.ico")));

    Module1 settings;
    frmmain window(settings);
    window.Form_Load();
    return QApplication::exec();
}
