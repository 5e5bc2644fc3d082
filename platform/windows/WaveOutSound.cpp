#include "WaveOutSound.h"

#include "EmbeddedSound.h"
#include "PlatformLog.h"
#include "WaveImage.h"
#include "WaveOutDevice.h"

#include <thread>

namespace {

constexpr std::chrono::milliseconds kBusyPoll{20};

} // namespace

WaveOutSound::WaveOutSound(unsigned device)
    : WaveOutSound(device, std::make_shared<WaveOutCalls>())
{
}

WaveOutSound::WaveOutSound(unsigned device, std::shared_ptr<WaveOutCalls> calls)
    : device_(std::make_shared<WaveOutDevice>(device, std::move(calls)))
{
}

// A call that has not come back by the end of the wait keeps the device alive and closes it itself.
WaveOutSound::~WaveOutSound()
{
    const auto until = Clock::now() + kBound;
    while (!thread_.run([device = device_] { device->release(); }, until) && Clock::now() < until)
        std::this_thread::sleep_for(kBusyPoll);
}

void WaveOutSound::check_device(QObject *context, std::function<void(bool found)> answer)
{
    if (!thread_.ask([device = device_] { return device->find_device(); }, context, std::move(answer)))
        qCWarning(lcPlatform, "sound off: the sound server has not answered an earlier call");
}

void WaveOutSound::play(const QString &name)
{
    playback_ = Playback{};
    const QByteArray image = load_embedded_sound(name);
    if (!image.isEmpty())
        perform(image);
}

void WaveOutSound::play_image(QByteArrayView image)
{
    playback_ = Playback{};
    perform(image);
}

void WaveOutSound::release()
{
    // Tried again later while the call in progress is out, or while the driver keeps a handle.
    const auto again = [this] {
        if (device_->is_open())
            close_later();
    };
    if (!thread_.start([device = device_] { device->release(); }, again))
        close_later();
}

bool WaveOutSound::is_open() const
{
    return device_->is_open();
}

void WaveOutSound::perform(QByteArrayView image)
{
    const auto called_at = Clock::now();
    std::optional<WaveImage> wave = WaveImage::read(image);
    if (!wave)
        return;
    wave->widen_to_16_bits();
    playback_.length = wave->length();
    const auto deadline = called_at + playback_.length + kBound;
    auto written = std::make_shared<bool>(false);
    const bool back = thread_.run(
        [device = device_, format = wave->format(), samples = wave->samples(), written] {
            device->open(format);
            *written = device->write(samples);
        },
        deadline);
    if (!back) {
        close_later(); // lets the device go once the call is back
        say_off();
        return;
    }
    say_on();
    playback_.completed = *written && device_->wait_played(called_at + playback_.length + kPlayedBound);
    close_later(); // from the end of every sound; needs the event loop, which runs between darts
    if (playback_.completed)
        given_up_in_a_row_ = 0;
    else if (*written)
        give_up();
    else
        release();
}

// A device that starts late, as a sound server's idle sink does with a new stream, costs this sound only:
// it stays open, warmed up for the next. One that misses twice in a row is closed and opened afresh, in
// case its server has gone.
void WaveOutSound::give_up()
{
    qCWarning(lcPlatform, "sound given up: the output device did not play it in time");
    if (++given_up_in_a_row_ < 2 && thread_.start([device = device_] { device->take_back(); }))
        return;
    given_up_in_a_row_ = 0;
    release();
}
