#include "SoundPlayer.h"

#include "PlatformLog.h"
#include "SdlLibrary.h"

#include <QFile>
#include <QPointer>

#include <algorithm>
#include <climits>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = SoundFeed::Clock;

// A device that takes no samples for this long is given up on for this sound: the caller never
// examines the result, and a dart must not wait for a server that has stalled or gone.
constexpr std::chrono::milliseconds kStall{250};
constexpr std::chrono::milliseconds kStatusPoll{20};

struct Wave {
    SDL_AudioSpec spec{};
    std::shared_ptr<Uint8> samples;
    Uint32 size = 0;
};

// 8-bit wave samples are unsigned, with silence at 0x80. Some sound servers fill a stream with zero
// bytes where it has no samples, as when the device closes; in that format zero is a full-scale
// negative step, heard as a thump after every sound. Played as signed 16 bits, silence is zero.
void widen_to_16_bits(Wave &wave)
{
    if (wave.spec.format != AUDIO_U8)
        return;
    auto widened = std::make_shared<std::vector<Uint8>>(std::size_t{wave.size} * 2);
    for (Uint32 i = 0; i < wave.size; ++i) {
        const auto sample = static_cast<Sint16>((wave.samples.get()[i] - 0x80) * 0x100);
        std::memcpy(widened->data() + std::size_t{i} * 2, &sample, 2);
    }
    wave.samples = std::shared_ptr<Uint8>(widened, widened->data());
    wave.size *= 2;
    wave.spec.format = AUDIO_S16SYS;
}

std::optional<Wave> load_wave(const SdlLibrary &sdl, QByteArrayView image)
{
    if (image.isEmpty() || image.size() > INT_MAX)
        return std::nullopt;
    SDL_RWops *source = sdl.RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (source == nullptr)
        return std::nullopt;
    Wave wave;
    Uint8 *samples = nullptr;
    if (sdl.LoadWAV_RW(source, 1, &wave.spec, &samples, &wave.size) == nullptr) {
        qCDebug(lcPlatform, "not a wave image: %s", sdl.GetError());
        return std::nullopt;
    }
    wave.samples.reset(samples, sdl.FreeWAV);
    if (wave.size == 0)
        return std::nullopt;
    widen_to_16_bits(wave);
    return wave;
}

int bytes_per_second(const SDL_AudioSpec &spec)
{
    return std::max(spec.freq * spec.channels * static_cast<int>(SDL_AUDIO_BITSIZE(spec.format)) / 8, 1);
}

std::chrono::nanoseconds length_of(const Wave &wave)
{
    return std::chrono::nanoseconds(static_cast<std::int64_t>(wave.size) * 1'000'000'000 / bytes_per_second(wave.spec));
}

// Resource names are plain names; anything with a path separator could reach other resources.
bool is_plain_name(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/');
}

} // namespace

SoundPlayer::SoundPlayer(QByteArray driver)
    : device_(std::make_shared<SoundDevice>(std::move(driver)))
{
    close_timer_.setSingleShot(true);
    close_timer_.setInterval(kKeepOpen);
    QObject::connect(&close_timer_, &QTimer::timeout, &close_timer_, [this] { release(); });
}

SoundPlayer::~SoundPlayer()
{
    // The device goes before the feed it plays from; a call that has not come back by the end of the
    // wait keeps the device alive and lets it go itself.
    const auto until = Clock::now() + kBound;
    const auto last_call = [device = device_] {
        device->release();
        device->leave_thread();
    };
    while (!thread_.run(last_call, until) && Clock::now() < until)
        std::this_thread::sleep_for(kStatusPoll);
}

void SoundPlayer::check_device(QObject *context, std::function<void(bool found)> answer)
{
    auto found = std::make_shared<bool>(false);
    const bool started = thread_.start([device = device_, found] { *found = device->find_device(); },
                                       [receiver = QPointer<QObject>(context), answer, found] {
                                           if (receiver)
                                               answer(*found);
                                       });
    if (started || context == nullptr)
        return;
    // A call that has not come back says nothing about the device: the check is made once it is
    // back, rather than answered "no" for good.
    qCDebug(lcPlatform, "device check waits for the sound library's call in progress");
    QTimer::singleShot(kStatusPoll, &close_timer_, [this, receiver = QPointer<QObject>(context), answer] {
        if (receiver)
            check_device(receiver, answer);
    });
}

void SoundPlayer::play(const QString &name)
{
    begin();
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
    begin();
    perform(image);
}

void SoundPlayer::release()
{
    if (!thread_.start([device = device_] { device->release(); }))
        close_later(); // tried again once the call in progress is back
}

void SoundPlayer::begin()
{
    called_at_ = Clock::now();
    playback_ = Playback{};
}

void SoundPlayer::perform(QByteArrayView image)
{
    if (!library_ready())
        return;
    const std::optional<Wave> wave = load_wave(*device_->library(), image);
    if (!wave)
        return;
    playback_.length = length_of(*wave);
    const auto deadline = called_at_ + playback_.length + kBound;
    const SoundDevice::Format format{wave->spec.freq, wave->spec.format, wave->spec.channels};
    const bool back = thread_.run([device = device_, format] { device->open(format); }, deadline);
    close_later();
    if (!back) {
        say_off();
        return;
    }
    said_off_ = false;
    // A device that did not open is asked for again by the next sound; SDL's audio is let go by the
    // idle timer, not at once: letting it go right after PipeWire's PulseAudio service had refused a
    // stream has held the sound thread past the next sounds, once for the rest of a test run.
    if (!device_->is_open())
        return;
    SoundFeed &feed = device_->feed();
    feed.start({wave->samples.get(), wave->size}, device_->silence(), bytes_per_second(wave->spec));
    finish(wait_until_played(deadline));
}

void SoundPlayer::finish(Outcome outcome)
{
    SoundFeed &feed = device_->feed();
    playback_.completed = outcome == Outcome::Completed;
    if (const auto first = feed.first_sample_at())
        playback_.first_sample = *first - called_at_;
    feed.stop(); // before the samples are freed
    if (playback_.completed)
        device_->mark_played();
    const bool stalled = outcome == Outcome::Stalled && !device_->waiting_for_new_stream();
    if (outcome == Outcome::Failed || stalled) {
        qCWarning(lcPlatform, "sound given up: the output device %s", stalled ? "stalled" : "failed");
        release();
    }
}

// Once per time the server stops answering; sound is on again by itself when it answers.
void SoundPlayer::say_off()
{
    if (!said_off_)
        qCWarning(lcPlatform, "sound off until the sound server answers");
    said_off_ = true;
}

// SDL is loaded by the first call that needs it, normally the device check at start-up.
bool SoundPlayer::library_ready()
{
    if (device_->library() != nullptr)
        return true;
    if (!thread_.run([device = device_] { device->load_library(); }, called_at_ + kBound)) {
        say_off();
        return false;
    }
    return device_->library() != nullptr;
}

SoundPlayer::Outcome SoundPlayer::wait_until_played(Clock::time_point deadline)
{
    SoundFeed &feed = device_->feed();
    while (!feed.wait_handed_over(std::min(deadline, Clock::now() + kStatusPoll))) {
        const auto now = Clock::now();
        if (device_->stopped())
            return Outcome::Failed;
        if (now - feed.last_taken_at() >= kStall)
            return Outcome::Stalled;
        if (now >= deadline)
            return Outcome::Cut;
    }
    if (const auto end = feed.last_sample_ends_at())
        std::this_thread::sleep_until(std::min(*end, deadline));
    return Outcome::Completed;
}

// Restarted by every sound; needs the event loop, which the program runs while it waits for clicks.
void SoundPlayer::close_later()
{
    close_timer_.start();
}
