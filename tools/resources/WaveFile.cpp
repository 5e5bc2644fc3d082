#include "WaveFile.h"

#include "ByteWriter.h"

QByteArray WaveFile::encode(const std::vector<std::uint8_t> &samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size());
    const std::uint32_t pad = dataBytes % 2; // chunks start on even offsets
    ByteWriter out;
    out.tag("RIFF");
    out.u32(4 + (8 + 16) + (8 + dataBytes + pad));
    out.tag("WAVE");
    out.tag("fmt ");
    out.u32(16);
    out.u16(1); // PCM
    out.u16(1); // mono
    out.u32(kSampleRate);
    out.u32(kSampleRate); // bytes per second
    out.u16(1);           // block align
    out.u16(8);           // bits per sample
    out.tag("data");
    out.u32(dataBytes);
    for (const std::uint8_t sample : samples)
        out.u8(sample);
    if (pad != 0)
        out.u8(0);
    return out.data();
}
