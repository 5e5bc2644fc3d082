#include "SoundPlayer.h"

#include "EmbeddedSound.h"
#include "PlatformLog.h"
#include "SdlLibrary.h"
#include "WaveImage.h"

#include <QPointer>

#include <algorithm>
#include <thread>

namespace {

// A device that takes no samples for this long is given up on for this sound: the caller never
// examines the result, and a dart must not wait for a server that has stalled or gone.
constexpr std::chrono::milliseconds kStall{250};
constexpr std::chrono::milliseconds kStatusPoll{20};

} // namespace

SoundPlayer::SoundPlayer(QByteArray driver)
    : device_(std::make_shared<SoundDevice>(std::move(driver)))
{
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
    QTimer::singleShot(kStatusPoll, lifetime(), [this, receiver = QPointer<QObject>(context), answer] {
        if (receiver)
            check_device(receiver, answer);
    });
}

void SoundPlayer::play(const QString &name)
{
    begin();
    const QByteArray image = load_embedded_sound(name);
    if (!image.isEmpty())
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
    std::optional<WaveImage> wave = WaveImage::read(image);
    if (!wave || !library_ready())
        return;
    wave->widen_to_16_bits();
    playback_.length = wave->length();
    const auto deadline = called_at_ + playback_.length + kBound;
    const WaveImage::Format &shape = wave->format();
    const SoundDevice::Format format{shape.frequency, AUDIO_S16LSB, shape.channels}; // widened above
    const bool back = thread_.run([device = device_, format] { device->open(format); }, deadline);
    close_later();
    if (!back) {
        say_off();
        return;
    }
    say_on();
    // A device that did not open is asked for again by the next sound; SDL's audio is let go by the
    // idle timer, not at once: letting it go right after PipeWire's PulseAudio service had refused a
    // stream has held the sound thread past the next sounds, once for the rest of a test run.
    if (!device_->is_open())
        return;
    SoundFeed &feed = device_->feed();
    const QByteArray &samples = wave->samples();
    feed.start({reinterpret_cast<const std::uint8_t *>(samples.constData()), std::size_t(samples.size())},
               device_->silence(), shape.bytes_per_second());
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
