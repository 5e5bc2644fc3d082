#include "SoundDevice.h"

#include "PlatformLog.h"
#include "SdlLibrary.h"

#include <cstring>
#include <thread>
#include <utility>

namespace {

// 256 frames is about 23 ms at 11025 Hz: short enough that a sound starts and ends on time.
constexpr Uint16 kBufferFrames = 256;
// A PulseAudio null sink (a server without a sound card) renders up to 2 s ahead and holds a new
// stream's samples until then. A new device that stalls within this time is kept: reopening it
// would start the same wait again on every sound.
constexpr std::chrono::milliseconds kNewStreamWait{2500};
// How often a sound server's device that does not open is asked for within one call, and the pause
// between. Other drivers open a local device, which a moment's wait does not bring: a machine without
// a sound card would hold every notice for the pauses.
constexpr int kOpenAttempts = 3;
constexpr std::chrono::milliseconds kOpenRetryPause{100};
// PipeWire now and then loses the first cycle a new stream plays (1024 frames at 48 kHz, 21 ms: the
// start of a sound, in 3 opens of 80 on Debian 13's PipeWire 1.4 on a busy machine). A new
// stream plays two such cycles of silence before a sound is handed over, so that what is lost is silence.
constexpr std::chrono::milliseconds kNewStreamSilence{45};
// The format the default device is opened in when the device list is empty: that of the sounds.
constexpr SoundDevice::Format kProbeFormat{11025, AUDIO_S16SYS, 1};

} // namespace

SoundDevice::SoundDevice(QByteArray driver)
    : driver_(std::move(driver))
{
}

SoundDevice::~SoundDevice()
{
    release();
}

const SdlLibrary *SoundDevice::load_library()
{
    if (library_.load() == nullptr)
        library_ = SdlLibrary::load();
    return library_.load();
}

bool SoundDevice::find_device()
{
    bool found = start_audio() && library()->GetNumAudioDevices(0) > 0;
    // SDL's pipewire and alsa drivers list the devices on a thread of their own, and just after the
    // start the list may still be empty: the default device is then asked for by opening it.
    const bool probed = audio_started_ && !found && !is_open();
    if (probed) {
        found = open(kProbeFormat);
        qCDebug(lcPlatform, "SDL's device list is empty; the default device %s", found ? "opened" : "did not open");
    } else if (audio_started_ && !found) {
        found = is_open(); // a device that plays is there
    }
    if (audio_started_ && !found)
        qCWarning(lcPlatform, "sound off: SDL's %s driver reports no output device",
                  library()->GetCurrentAudioDriver());
    // Until a sound plays, let the subsystem go again: its device watcher would wake an idle program.
    if (!is_open() || probed)
        release();
    return found;
}

bool SoundDevice::open(const Format &format)
{
    if (!start_audio())
        return false;
    if (is_open() && format_ == format && !stopped())
        return true;
    close();
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
    listed_at_open_ = library()->GetNumAudioDevices(0);
    // No allowed changes: SDL converts to whatever the hardware wants, the callback sees our format.
    device_ = library()->OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    const int attempts = driver_is_a_sound_server() ? kOpenAttempts : 1;
    for (int attempt = 1; device_ == 0 && attempt < attempts; ++attempt) {
        // A server that has just started may refuse a stream while its graph is being set up
        // (PipeWire's PulseAudio service answers it with an input/output error until WirePlumber has
        // linked the sink): asked again a moment later, it takes it.
        qCDebug(lcPlatform, "the output device did not open (%s); asking again", library()->GetError());
        std::this_thread::sleep_for(kOpenRetryPause);
        device_ = library()->OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    }
    if (device_ == 0) {
        qCWarning(lcPlatform, "no sound: the output device did not open: %s", library()->GetError());
        return false;
    }
    qCDebug(lcPlatform, "output device opened at %d Hz", obtained.freq);
    format_ = format;
    opened_at_ = SoundFeed::Clock::now();
    played_ = false;
    silence_ = obtained.silence;
    // The device asks for samples before the sound is handed over: silence of this format meanwhile.
    feed_.start({}, silence_, 1);
    library()->PauseAudioDevice(device_, 0);
    if (driver_is("pipewire"))
        std::this_thread::sleep_for(kNewStreamSilence);
    return true;
}

bool SoundDevice::driver_is(const char *name) const
{
    const char *driver = library()->GetCurrentAudioDriver();
    return driver != nullptr && std::strcmp(driver, name) == 0;
}

bool SoundDevice::driver_is_a_sound_server() const
{
    return driver_is("pulseaudio") || driver_is("pipewire");
}

void SoundDevice::release()
{
    close();
    if (audio_started_) {
        library()->QuitSubSystem(SDL_INIT_AUDIO);
        audio_started_ = false;
        qCDebug(lcPlatform, "audio let go");
    }
}

void SoundDevice::leave_thread()
{
    if (library() != nullptr)
        library()->TLSCleanup();
}

bool SoundDevice::stopped() const
{
    // SDL 3 behind SDL 2's interface reports a device that has failed as playing and goes on taking
    // samples for it; it drops the device from its list, though.
    return library()->GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED
        || library()->GetNumAudioDevices(0) < listed_at_open_;
}

bool SoundDevice::waiting_for_new_stream() const
{
    return is_open() && !played_ && SoundFeed::Clock::now() - opened_at_ < kNewStreamWait;
}

bool SoundDevice::start_audio()
{
    if (audio_started_)
        return true;
    if (load_library() == nullptr)
        return false;
    // SDL would otherwise take over SIGINT and SIGTERM, and the program would no longer end on them.
    library()->SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    if (!driver_.isEmpty())
        library()->SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver_.constData(), SDL_HINT_OVERRIDE);
    // Tried again on every sound after a failure: a sound server may have come back.
    audio_started_ = library()->InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (audio_started_)
        qCDebug(lcPlatform, "SDL's %s audio driver started", library()->GetCurrentAudioDriver());
    else
        qCWarning(lcPlatform, "no sound: SDL's audio did not start: %s", library()->GetError());
    return audio_started_;
}

void SoundDevice::close()
{
    if (device_ != 0) {
        library()->CloseAudioDevice(device_);
        device_ = 0;
    }
    feed_.stop();
}
