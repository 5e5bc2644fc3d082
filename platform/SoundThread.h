#pragma once

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

// Runs calls into the sound library that can block on a thread of its own: a sound server that stops
// answering holds them for as long as it is stopped, and the caller must only wait with a bound.
// One call at a time; while one has not come back, a further call waits at most its bound and is
// then refused rather than queued, so nothing piles up behind a server that stays stopped. Used from
// one thread, its owner's.
class SoundThread {
public:
    using Clock = std::chrono::steady_clock;

    SoundThread();
    // Waits at most a quarter second for the call in progress; one that has not come back by then is
    // left to finish on its own (it keeps what it uses alive).
    ~SoundThread();
    SoundThread(const SoundThread &) = delete;
    SoundThread &operator=(const SoundThread &) = delete;

    // Runs `call` once the thread is free, waiting for a call in progress and then for `call` until
    // `until`; true when `call` has come back.
    bool run(std::function<void()> call, Clock::time_point until);
    // Starts `call` when the thread is free, without waiting; `then` runs on the owner's thread once it
    // has come back, unless this object is gone by then. False when the thread was busy.
    bool start(std::function<void()> call, std::function<void()> then = {});
    // Runs `question` when the thread is free, without waiting; `answer` gets its answer on the owner's
    // thread unless `context` is gone by then. While the thread is busy the answer is false, given later
    // all the same; false is then returned too.
    bool ask(std::function<bool()> question, QObject *context, std::function<void(bool)> answer);
    bool busy() const;

    static constexpr std::chrono::milliseconds kEndWait{250};

private:
    struct State;
    bool hand_over(std::function<void()> call, std::function<void()> then);

    std::shared_ptr<State> state_;
    QObject receiver_; // delivers `then` on the owner's thread
};
