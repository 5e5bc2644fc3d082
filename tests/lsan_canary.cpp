#include <QObject>

#include <memory>

// Loses one object on purpose. Run in the sanitizer build, it proves that leak detection is on and
// that the suppressions in lsan.supp do not hide a leak made by our own code.
int main()
{
    QObject *lost = std::make_unique<QObject>().release();
    lost->setObjectName(QStringLiteral("lost on purpose"));
    lost = nullptr;
    return 0;
}
