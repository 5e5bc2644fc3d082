#include "SoundThread.h"

#include <QPointer>

#include <condition_variable>
#include <mutex>
#include <thread>

struct SoundThread::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> call;
    std::function<void()> then;
    QObject *receiver = nullptr; // cleared when the owner goes
    bool busy = false;
    bool ending = false;
    std::thread thread;

    void loop()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return call || ending; });
            if (!call)
                return;
            std::function<void()> current = std::move(call);
            std::function<void()> after = std::move(then);
            call = nullptr;
            then = nullptr;
            lock.unlock();
            current();
            current = nullptr; // what it holds is let go outside the lock
            lock.lock();
            busy = false;
            if (after && receiver != nullptr)
                QMetaObject::invokeMethod(receiver, std::move(after), Qt::QueuedConnection);
            changed.notify_all();
        }
    }
};

SoundThread::SoundThread()
    : state_(std::make_shared<State>())
{
    state_->receiver = &receiver_;
}

SoundThread::~SoundThread()
{
    std::unique_lock lock(state_->mutex);
    state_->receiver = nullptr;
    state_->ending = true;
    state_->changed.notify_all();
    if (!state_->thread.joinable())
        return;
    const bool idle = state_->changed.wait_for(lock, kEndWait, [this] { return !state_->busy; });
    lock.unlock();
    if (idle)
        state_->thread.join();
    else
        state_->thread.detach();
}

bool SoundThread::run(std::function<void()> call, Clock::time_point until)
{
    {
        // A call still out is waited for within the same bound rather than refused at once: letting
        // a device go takes a few milliseconds, and a sound asked for meanwhile would be lost.
        std::unique_lock lock(state_->mutex);
        if (!state_->changed.wait_until(lock, until, [this] { return !state_->busy; }))
            return false;
    }
    if (!hand_over(std::move(call), {}))
        return false;
    std::unique_lock lock(state_->mutex);
    return state_->changed.wait_until(lock, until, [this] { return !state_->busy; });
}

bool SoundThread::start(std::function<void()> call, std::function<void()> then)
{
    return hand_over(std::move(call), std::move(then));
}

bool SoundThread::ask(std::function<bool()> question, QObject *context, std::function<void(bool)> answer)
{
    auto found = std::make_shared<bool>(false);
    const QPointer<QObject> receiver(context);
    const bool started = start([question = std::move(question), found] { *found = question(); },
                               [receiver, answer, found] {
                                   if (receiver)
                                       answer(*found);
                               });
    if (!started && context != nullptr)
        QMetaObject::invokeMethod(
            context, [answer] { answer(false); }, Qt::QueuedConnection);
    return started;
}

bool SoundThread::busy() const
{
    const std::lock_guard lock(state_->mutex);
    return state_->busy;
}

bool SoundThread::hand_over(std::function<void()> call, std::function<void()> then)
{
    const std::lock_guard lock(state_->mutex);
    if (state_->busy)
        return false;
    if (!state_->thread.joinable()) {
        // The thread keeps the state alive, so that a call left running at the end touches nothing freed.
        state_->thread = std::thread([state = state_] { state->loop(); });
    }
    state_->call = std::move(call);
    state_->then = std::move(then);
    state_->busy = true;
    state_->changed.notify_all();
    return true;
}
