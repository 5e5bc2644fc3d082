#pragma once

#include <QByteArray>
#include <cstdint>
#include <string_view>

// Appends little-endian integers and raw bytes, the layout of the Windows file formats.
class ByteWriter {
public:
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void i32(std::int32_t value);
    void tag(std::string_view fourcc);
    void bytes(const QByteArray &data);

    const QByteArray &data() const { return data_; }

private:
    QByteArray data_;
};
