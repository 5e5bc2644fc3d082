#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <functional>

// Answers modal windows as a person would, while a test drives code that opens them.
// Each modal window seen is recorded as "objectName: text"; by default it is answered by
// clicking its Command1 button or, for a message box, its first button.
class ModalAnswerer : public QObject {
public:
    using Answer = std::function<void(QWidget *modal)>;

    explicit ModalAnswerer(Answer answer = {}, QObject *parent = nullptr)
        : QObject(parent)
        , answer_(std::move(answer))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer_.start();
    }

    QStringList seen;
    // Called for every modal window when it is first seen, those left alone included.
    Answer onSeen;
    // Modal windows that close themselves (the splash) are only recorded.
    QStringList leaveAlone{QStringLiteral("frmsplash")};

    // A window owned by no other (no transient parent) is marked: a Wayland compositor centres a dialog
    // on its owner, the program itself can't.
    static QString describe(QWidget *modal)
    {
        const bool owned = modal->windowHandle() && modal->windowHandle()->transientParent();
        return text_of(modal) + (owned ? QString() : QStringLiteral(" (owned by no window)"));
    }

    static QString text_of(QWidget *modal)
    {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            return box->windowTitle() + QStringLiteral(": ") + box->text();
        if (auto *button = modal->findChild<QAbstractButton *>(QStringLiteral("Command1")))
            return modal->objectName() + QStringLiteral(": ") + button->text();
        return modal->objectName() + QStringLiteral(": ") + modal->windowTitle();
    }

    static void answer(QWidget *modal)
    {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->buttons().first()->click();
            return;
        }
        if (auto *button = modal->findChild<QAbstractButton *>(QStringLiteral("Command1")))
            button->click();
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == last_)
            return;
        last_ = modal;
        seen << describe(modal);
        if (onSeen)
            onSeen(modal);
        if (leaveAlone.contains(modal->objectName()))
            return;
        QTimer::singleShot(0, modal, [this, modal] {
            last_ = nullptr;
            answer_ ? answer_(modal) : answer(modal);
        });
    }

    Answer answer_;
    QTimer timer_;
    QPointer<QWidget> last_;
};
