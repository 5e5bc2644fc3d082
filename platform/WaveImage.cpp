#include "WaveImage.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr quint16 kPcm = 1;
constexpr qsizetype kChunkHeader = 8;
constexpr qsizetype kFormatSize = 16;

quint16 u16_at(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

quint32 u32_at(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

// The body of the first chunk `id` among the chunks of `body`, cut to what the image holds.
std::optional<QByteArrayView> find_chunk(QByteArrayView body, QByteArrayView id)
{
    qsizetype at = 0;
    while (body.size() - at >= kChunkHeader) {
        const qsizetype size = u32_at(body, at + 4);
        const qsizetype start = at + kChunkHeader;
        if (body.sliced(at, 4) == id)
            return body.sliced(start, std::min(size, body.size() - start));
        at = start + size + (size % 2); // chunks are padded to an even size
    }
    return std::nullopt;
}

std::optional<WaveImage::Format> read_format(QByteArrayView chunk)
{
    if (chunk.size() < kFormatSize || u16_at(chunk, 0) != kPcm)
        return std::nullopt;
    const WaveImage::Format format{int(u32_at(chunk, 4)), u16_at(chunk, 2), u16_at(chunk, 14)};
    const bool known = (format.bits == 8 || format.bits == 16) && (format.channels == 1 || format.channels == 2)
                       && format.frequency >= 1000 && format.frequency <= 192000;
    return known ? std::optional(format) : std::nullopt;
}

} // namespace

std::optional<WaveImage> WaveImage::read(QByteArrayView image)
{
    if (image.size() < 12 || image.first(4) != "RIFF" || image.sliced(8, 4) != "WAVE")
        return std::nullopt;
    const QByteArrayView body = image.sliced(12);
    const auto format_chunk = find_chunk(body, "fmt ");
    const auto data_chunk = find_chunk(body, "data");
    const auto format = format_chunk ? read_format(*format_chunk) : std::nullopt;
    if (!format || !data_chunk)
        return std::nullopt;
    WaveImage wave;
    wave.format_ = *format;
    // A sound cut short ends at its last whole sample.
    const qsizetype whole = data_chunk->size() / format->block() * format->block();
    if (whole == 0)
        return std::nullopt;
    wave.samples_ = data_chunk->first(whole).toByteArray();
    return wave;
}

// A server that pads a stream with zero bytes (as when it closes) pads unsigned 8-bit sound with its
// most negative value, heard as a thump; in signed 16 bits the padding is silence.
void WaveImage::widen_to_16_bits()
{
    if (format_.bits != 8)
        return;
    QByteArray widened(samples_.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < samples_.size(); ++i)
        qToLittleEndian(qint16((quint8(samples_[i]) - 0x80) * 0x100), widened.data() + i * 2);
    samples_ = std::move(widened);
    format_.bits = 16;
}

std::chrono::nanoseconds WaveImage::length() const
{
    return std::chrono::nanoseconds(qint64(samples_.size()) * 1'000'000'000 / format_.bytes_per_second());
}
