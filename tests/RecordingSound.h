#pragma once

#include "SoundInterface.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <utility>

// The window's sound in its tests: records the sounds played and answers the device check with
// `device`, at once or when the test says.
class RecordingSound : public SoundInterface {
public:
    bool device = true;
    bool answer_at_once = true;
    QStringList played;

    void check_device(QObject *context, std::function<void(bool found)> answer) override
    {
        pending_ = [this, context = QPointer<QObject>(context), answer = std::move(answer)] {
            if (context)
                answer(device);
        };
        if (answer_at_once)
            answer_check();
    }
    void play(const QString &name) override { played << name; }

    void answer_check() { std::exchange(pending_, nullptr)(); }
    bool asked() const { return bool(pending_); }

private:
    std::function<void()> pending_;
};
