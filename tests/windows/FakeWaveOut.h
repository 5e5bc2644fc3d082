#pragma once

#include "WaveOutCalls.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <vector>

// A wave driver in memory for the wave player's tests. It answers as the system's does (a buffer in its
// queue can be neither unprepared nor closed under) and fails as a row tells it to, and it notes what
// the player does wrong: a buffer changed or freed before the driver gave it back, a buffer never
// unprepared, a handle closed twice or never opened.
class FakeWaveOut final : public WaveOutCalls {
public:
    static constexpr int kAlways = 1'000'000;

    // How many calls fail, from the first on.
    struct Failures {
        int resets = 0;           // keeping what is queued
        bool reset_keeps = false; // a reset that succeeds keeps what is queued all the same
        int unprepares = 0;       // of a buffer given back, answered "still playing"
        int closes = 0;
    };

    explicit FakeWaveOut(Failures failures)
        : failures_(failures)
    {
    }

    // While holding, what is written stays queued until give_back(); otherwise it is played at once.
    void hold(bool holding)
    {
        const std::lock_guard lock(mutex_);
        holding_ = holding;
    }

    // Plays every queued buffer and gives it back, as a late driver does.
    void give_back()
    {
        const std::lock_guard lock(mutex_);
        for (const Queued &queued : queued_)
            play(queued);
        queued_.clear();
    }

    int writes() const
    {
        const std::lock_guard lock(mutex_);
        return writes_;
    }

    // What the player did wrong, with the buffers and handles it has not let go of yet.
    QString faults() const
    {
        const std::lock_guard lock(mutex_);
        QStringList faults = faults_;
        if (!prepared_.empty())
            faults << QStringLiteral("%1 buffer(s) not unprepared").arg(prepared_.size());
        if (!open_.empty())
            faults << QStringLiteral("%1 handle(s) not closed").arg(open_.size());
        return faults.join(QLatin1String("; "));
    }

    UINT device_count() override { return 1; }

    MMRESULT open(HWAVEOUT *handle, UINT, const WAVEFORMATEX &, HANDLE done_event) override
    {
        const std::lock_guard lock(mutex_);
        *handle = reinterpret_cast<HWAVEOUT>(++handles_given_); // never the same twice
        open_.insert(*handle);
        done_event_ = done_event;
        return MMSYSERR_NOERROR;
    }

    MMRESULT prepare(HWAVEOUT handle, WAVEHDR &header) override
    {
        const std::lock_guard lock(mutex_);
        expect_open(handle, "prepare");
        if (!prepared_.emplace(&header, handle).second)
            faults_ << QStringLiteral("a header prepared again before it was unprepared");
        header.dwFlags |= WHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT write(HWAVEOUT handle, WAVEHDR &header) override
    {
        const std::lock_guard lock(mutex_);
        expect_open(handle, "write");
        ++writes_;
        header.dwFlags = (header.dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
        const Queued queued{&header, header.lpData, QByteArray(header.lpData, header.dwBufferLength), handle};
        if (holding_)
            queued_.push_back(queued);
        else
            play(queued);
        return MMSYSERR_NOERROR;
    }

    MMRESULT reset(HWAVEOUT handle) override
    {
        const std::lock_guard lock(mutex_);
        expect_open(handle, "reset");
        if (fails(failures_.resets))
            return MMSYSERR_NODRIVER;
        if (failures_.reset_keeps)
            return MMSYSERR_NOERROR;
        std::erase_if(queued_, [this, handle](const Queued &queued) {
            if (queued.handle == handle)
                play(queued);
            return queued.handle == handle;
        });
        return MMSYSERR_NOERROR;
    }

    MMRESULT unprepare(HWAVEOUT handle, WAVEHDR &header) override
    {
        const std::lock_guard lock(mutex_);
        expect_open(handle, "unprepare");
        if ((header.dwFlags & WHDR_INQUEUE) != 0 || fails(failures_.unprepares))
            return WAVERR_STILLPLAYING;
        prepared_.erase(&header);
        header.dwFlags &= ~WHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT close(HWAVEOUT handle) override
    {
        const std::lock_guard lock(mutex_);
        if (!open_.contains(handle)) {
            faults_ << QStringLiteral("a handle closed that was not open");
            return MMSYSERR_INVALHANDLE;
        }
        for (const Queued &queued : queued_) {
            if (queued.handle == handle)
                return WAVERR_STILLPLAYING;
        }
        if (fails(failures_.closes))
            return MMSYSERR_ERROR;
        for (const auto &[header, owner] : prepared_) {
            if (owner == handle)
                faults_ << QStringLiteral("a handle closed with a buffer still prepared");
        }
        open_.erase(handle);
        return MMSYSERR_NOERROR;
    }

private:
    struct Queued {
        WAVEHDR *header;
        const char *data;
        QByteArray written;
        HWAVEOUT handle;
    };

    static bool fails(int &failures)
    {
        if (failures <= 0)
            return false;
        --failures;
        return true;
    }

    void expect_open(HWAVEOUT handle, const char *call)
    {
        if (!open_.contains(handle))
            faults_ << QStringLiteral("%1 on a handle that is not open").arg(QLatin1String(call));
    }

    // The driver's last look at a buffer: it must still be the one written.
    void play(const Queued &queued)
    {
        WAVEHDR &header = *queued.header;
        if (header.lpData != queued.data || header.dwBufferLength != DWORD(queued.written.size())
            || QByteArrayView(header.lpData, header.dwBufferLength) != queued.written)
            faults_ << QStringLiteral("a buffer changed or freed before the driver gave it back");
        std::atomic_ref(header.dwFlags).store((header.dwFlags & ~WHDR_INQUEUE) | WHDR_DONE);
        SetEvent(done_event_);
    }

    mutable std::mutex mutex_;
    Failures failures_;
    bool holding_ = false;
    HANDLE done_event_ = nullptr;
    quintptr handles_given_ = 0;
    std::set<HWAVEOUT> open_;
    std::map<const WAVEHDR *, HWAVEOUT> prepared_;
    std::vector<Queued> queued_;
    int writes_ = 0;
    QStringList faults_;
};
