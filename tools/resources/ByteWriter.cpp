#include "ByteWriter.h"

void ByteWriter::u8(std::uint8_t value)
{
    data_.append(static_cast<char>(value));
}

void ByteWriter::u16(std::uint16_t value)
{
    u8(static_cast<std::uint8_t>(value & 0xFF));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value)
{
    u16(static_cast<std::uint16_t>(value & 0xFFFF));
    u16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::i32(std::int32_t value)
{
    u32(static_cast<std::uint32_t>(value));
}

void ByteWriter::tag(std::string_view fourcc)
{
    data_.append(fourcc.data(), static_cast<qsizetype>(fourcc.size()));
}

void ByteWriter::bytes(const QByteArray &data)
{
    data_.append(data);
}
