#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QFile>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <thread>

namespace {

using Clock = SoundFeed::Clock;

// 256 frames is about 23 ms at 11025 Hz: short enough that a sound starts and ends on time.
constexpr Uint16 kBufferFrames = 256;
// A device that fails while playing must not hang the program: the wait ends after twice the
// sound's length plus this margin, however the device behaves.
constexpr std::chrono::milliseconds kFailureMargin{500};
// A device that takes no samples for this long is given up on for this sound: the caller never
// examines the result, and a dart must not wait for a server that has stalled or gone.
constexpr std::chrono::milliseconds kStall{250};
// A PulseAudio null sink (a server without a sound card) renders up to 2 s ahead and holds a new
// stream's samples until then. A new device that stalls within this time is kept: reopening it
// would start the same wait again on every sound.
constexpr std::chrono::milliseconds kNewStreamWait{2500};
constexpr std::chrono::milliseconds kStatusPoll{20};

struct FreeWave {
    void operator()(Uint8 *samples) const { SDL_FreeWAV(samples); }
};

struct Wave {
    SDL_AudioSpec spec{};
    std::unique_ptr<Uint8, FreeWave> samples;
    Uint32 size = 0;
};

std::optional<Wave> load_wave(QByteArrayView image)
{
    if (image.isEmpty() || image.size() > INT_MAX)
        return std::nullopt;
    SDL_RWops *source = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (source == nullptr)
        return std::nullopt;
    Wave wave;
    Uint8 *samples = nullptr;
    if (SDL_LoadWAV_RW(source, 1, &wave.spec, &samples, &wave.size) == nullptr)
        return std::nullopt;
    wave.samples.reset(samples);
    if (wave.size == 0)
        return std::nullopt;
    return wave;
}

int bytes_per_second(const SDL_AudioSpec &spec)
{
    return std::max(spec.freq * spec.channels * static_cast<int>(SDL_AUDIO_BITSIZE(spec.format)) / 8, 1);
}

std::chrono::nanoseconds length_of(const Wave &wave)
{
    return std::chrono::nanoseconds(static_cast<std::int64_t>(wave.size) * 1'000'000'000
                                    / bytes_per_second(wave.spec));
}

// Resource names are plain names; anything with a path separator could reach other resources.
bool is_plain_name(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/');
}

} // namespace

SoundPlayer &SoundPlayer::instance()
{
    static SoundPlayer player;
    return player;
}

SoundPlayer::~SoundPlayer()
{
    release();
}

bool SoundPlayer::has_device()
{
    const bool found = audio_ready() && SDL_GetNumAudioDevices(0) > 0;
    // Until a sound plays, let the subsystem go again: its device watcher would wake an idle program.
    if (device_ == 0)
        release();
    return found;
}

void SoundPlayer::play(const QString &name, std::int32_t &flags)
{
    flags |= kMemory;
    begin(flags);
    if (!is_plain_name(name))
        return;
    // Resource names are stored in capitals and looked up regardless of case.
    QFile resource(QStringLiteral(":/WAVE/") + name.toUpper());
    if (!resource.open(QIODevice::ReadOnly))
        return;
    const QByteArray image = resource.readAll();
    perform(image);
}

void SoundPlayer::play_image(QByteArrayView image)
{
    begin(kDefaultFlags);
    perform(image);
}

void SoundPlayer::release()
{
    close_device();
    // SDL's audio runs threads of its own (a device watcher); an idle program keeps none. A fresh
    // start also picks the driver again, for a sound server that has come back.
    if (audio_started_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audio_started_ = false;
    }
}

void SoundPlayer::begin(std::int32_t flags)
{
    called_at_ = Clock::now();
    playback_ = Playback{};
    playback_.flags = flags;
}

void SoundPlayer::perform(QByteArrayView image)
{
    if (!audio_ready())
        return;
    const std::optional<Wave> wave = load_wave(image);
    if (!wave)
        return;
    playback_.length = length_of(*wave);
    if (!open_device({wave->spec.freq, wave->spec.format, wave->spec.channels})) {
        release();
        return;
    }
    feed_.start({wave->samples.get(), wave->size}, silence_, bytes_per_second(wave->spec));
    const Outcome outcome = wait_until_played(playback_.length);
    playback_.completed = outcome == Outcome::Completed;
    if (const auto first = feed_.first_sample_at())
        playback_.first_sample = *first - called_at_;
    feed_.stop(); // before the samples are freed
    if (playback_.completed)
        device_played_ = true;
    else if (outcome == Outcome::Failed || !waiting_for_new_stream())
        release();
    close_later();
}

bool SoundPlayer::audio_ready()
{
    if (!audio_started_) {
        // SDL would otherwise take over SIGINT and SIGTERM, and the program would no longer end on them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // Tried again on every sound after a failure: a sound server may have come back.
        audio_started_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    return audio_started_;
}

bool SoundPlayer::open_device(const Format &format)
{
    if (device_ != 0 && device_format_ == format && !device_stopped())
        return true;
    close_device();
    SDL_AudioSpec wanted{};
    wanted.freq = format.frequency;
    wanted.format = format.encoding;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = kBufferFrames;
    wanted.callback = [](void *feed, Uint8 *stream, int length) {
        static_cast<SoundFeed *>(feed)->fill(stream, length);
    };
    wanted.userdata = &feed_;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the hardware wants, the callback sees our format.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0)
        return false;
    device_format_ = format;
    device_opened_at_ = Clock::now();
    device_played_ = false;
    silence_ = obtained.silence;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SoundPlayer::close_device()
{
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    feed_.stop();
}

SoundPlayer::Outcome SoundPlayer::wait_until_played(std::chrono::nanoseconds length)
{
    const auto deadline = Clock::now() + 2 * length + kFailureMargin;
    while (!feed_.wait_handed_over(std::min(deadline, Clock::now() + kStatusPoll))) {
        const auto now = Clock::now();
        if (device_stopped() || now >= deadline)
            return Outcome::Failed;
        if (now - feed_.last_taken_at() >= kStall)
            return Outcome::Stalled;
    }
    if (const auto end = feed_.last_sample_ends_at())
        std::this_thread::sleep_until(std::min(*end, deadline));
    return Outcome::Completed;
}

bool SoundPlayer::device_stopped() const
{
    return SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

bool SoundPlayer::waiting_for_new_stream() const
{
    return device_ != 0 && !device_played_ && Clock::now() - device_opened_at_ < kNewStreamWait;
}

// Restarted by every sound; needs the event loop, which the program runs while it waits for clicks.
void SoundPlayer::close_later()
{
    if (!audio_started_)
        return;
    if (close_timer_.isNull()) {
        QCoreApplication *application = QCoreApplication::instance();
        if (application == nullptr)
            return;
        close_timer_ = new QTimer(application);
        close_timer_->setSingleShot(true);
        close_timer_->setInterval(kKeepOpen);
        QObject::connect(close_timer_, &QTimer::timeout, close_timer_, [this] { release(); });
    }
    close_timer_->start();
}

bool has_wave_device()
{
    return SoundPlayer::instance().has_device();
}

void play_sound(const QString &name)
{
    std::int32_t flags = SoundPlayer::kDefaultFlags;
    play_sound(name, flags);
}

void play_sound(const QString &name, std::int32_t &flags)
{
    SoundPlayer::instance().play(name, flags);
}
