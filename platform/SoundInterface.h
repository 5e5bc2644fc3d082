#pragma once

#include <QString>

#include <functional>

class QObject;

// What the main window needs of sound: whether it can be heard, and playing an embedded sound.
class SoundInterface {
public:
    virtual ~SoundInterface() = default;

    // Finds out whether there is an output device without waiting for it; `answer` runs later on the
    // calling thread, unless `context` is gone by then.
    virtual void check_device(QObject *context, std::function<void(bool found)> answer) = 0;
    // Plays the embedded sound ":/WAVE/<name>" and returns when it has been heard or given up.
    virtual void play(const QString &name) = 0;
};
