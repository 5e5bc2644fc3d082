#include "SoundSynth.h"

#include "Prng.h"
#include "WaveFile.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRate = WaveFile::kSampleRate;

// One-pole low-pass filter; the cut-off may move from sample to sample.
class LowPass {
public:
    double step(double input, double cutoffHz)
    {
        const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / kRate);
        state_ += a * (input - state_);
        return state_;
    }

private:
    double state_ = 0.0;
};

double decay(double t, double tau)
{
    return std::exp(-t / tau);
}

double attack(double t, double rise)
{
    return t >= rise ? 1.0 : t / rise;
}

// Sine whose frequency glides exponentially from `from` to `to` with time constant `tau`.
class Glide {
public:
    Glide(double from, double to, double tau)
        : from_(from)
        , to_(to)
        , tau_(tau)
    {
    }

    double step(double t)
    {
        const double freq = to_ + (from_ - to_) * decay(t, tau_);
        phase_ += 2.0 * std::numbers::pi * freq / kRate;
        return std::sin(phase_);
    }

private:
    double from_, to_, tau_;
    double phase_ = 0.0;
};

} // namespace

std::vector<std::uint8_t> SoundSynth::hit()
{
    Prng noise(0x48495431u);
    LowPass body;
    Glide thump(190.0, 85.0, 0.03);
    std::vector<double> signal(kHitSamples);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double n = noise.bipolar();
        const double click = 0.5 * n * decay(t, 0.003);
        const double wood = 0.7 * body.step(n, 900.0) * decay(t, 0.025) * 3.0;
        const double low = 0.9 * thump.step(t) * attack(t, 0.001) * decay(t, 0.045);
        signal[i] = click + wood + low;
    }
    return quantise(std::move(signal));
}

std::vector<std::uint8_t> SoundSynth::shotgun()
{
    Prng noise(0x53484F54u);
    LowPass blast;
    LowPass blast2;
    Glide boom(110.0, 45.0, 0.08);
    std::vector<double> signal(kShotgunSamples);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double cutoff = 250.0 + 4200.0 * decay(t, 0.06);
        const double filtered = blast2.step(blast.step(noise.bipolar(), cutoff), cutoff);
        const double envelope = attack(t, 0.002) * (decay(t, 0.07) + 0.22 * decay(t, 0.3));
        const double low = 0.6 * boom.step(t) * decay(t, 0.12);
        signal[i] = 2.2 * filtered * envelope + low * attack(t, 0.004);
    }
    return quantise(std::move(signal));
}

std::vector<std::uint8_t> SoundSynth::explosion()
{
    Prng noise(0x45585031u);
    LowPass rumble;
    LowPass rumble2;
    LowPass crackleTone;
    Glide boom(70.0, 32.0, 0.4);
    std::vector<double> signal(kExplosionSamples);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double cutoff = 140.0 + 1800.0 * decay(t, 0.25);
        const double body = rumble2.step(rumble.step(noise.bipolar(), cutoff), cutoff);
        const double envelope = attack(t, 0.015) * (0.35 + 0.65 * decay(t, 0.18)) * decay(t, 0.55);
        const double spark = noise.unit() < 0.02 * decay(t, 0.4) ? noise.bipolar() : 0.0;
        const double crackle = crackleTone.step(spark, 2500.0) * 2.5;
        const double low = 0.5 * boom.step(t) * attack(t, 0.02) * decay(t, 0.5);
        signal[i] = 3.0 * body * envelope + crackle + low;
    }
    return quantise(std::move(signal));
}

// Scales the peak to a safe level below full scale and fades the last 20 ms to silence.
std::vector<std::uint8_t> SoundSynth::quantise(std::vector<double> signal)
{
    const std::size_t fade = std::min<std::size_t>(signal.size(), static_cast<std::size_t>(0.02 * kRate));
    for (std::size_t k = 0; k < fade; ++k)
        signal[signal.size() - 1 - k] *= static_cast<double>(k) / static_cast<double>(fade);
    double peak = 0.0;
    for (const double v : signal)
        peak = std::max(peak, std::abs(v));
    const double scale = peak > 0.0 ? 112.0 / peak : 0.0;
    std::vector<std::uint8_t> out(signal.size());
    std::transform(signal.begin(), signal.end(), out.begin(),
                   [scale](double v) { return static_cast<std::uint8_t>(128 + std::lround(v * scale)); });
    return out;
}
