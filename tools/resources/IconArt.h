#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The window icons as pixel art, one character per pixel. Letters pick colours of the standard
// 16-colour palette; '.' is transparent.
namespace icon_art {

inline constexpr std::array<std::uint32_t, 16> kPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// Palette index of a pixel character; nothing for a transparent pixel.
constexpr std::optional<std::uint8_t> colour_index(char pixel)
{
    constexpr std::string_view kLetters = "KrgobmtLDRGYBMCW";
    const auto found = kLetters.find(pixel);
    if (found == std::string_view::npos)
        return std::nullopt;
    return static_cast<std::uint8_t>(found);
}

using Art = std::span<const std::string_view>;

// The pictures are drawn one string a row; the formatter must not pack them.
// clang-format off
inline constexpr std::array<std::string_view, 32> kDart{
    "................................",
    ".............................K..",
    "............................KLK.",
    "...........................KLK..",
    "........................KKKLK...",
    ".......................KDLLK....",
    "......................KDLDLK....",
    ".....................KLDDLDK....",
    "....................KDDLDDK.....",
    "...................KDLDDLK......",
    "...................KDDLDK.......",
    "..................KRBDDK........",
    ".................KRRRKK.........",
    "................KWWRK...........",
    "...............KBWWK............",
    "..............KBBBK.............",
    ".............KRRBK..............",
    "............KWRRK...............",
    "..........KKWWWK................",
    ".......KKKGBBWK.................",
    ".....KKGGGRBBK..................",
    "....KGGGGRRRCK..................",
    "...KGGGGWWRCK...................",
    "..KGGGGBWWCCK...................",
    ".KGGGGBBBCCCK...................",
    "KGGGGRRBCCCK....................",
    "KGGGWRRCCCCK....................",
    ".KGWWWCCCCK.....................",
    "..KBWCCCCK......................",
    "...KCCCCK.......................",
    "....KCCK........................",
    ".....KK.........................",
};

inline constexpr std::array<std::string_view, 32> kDollar{
    "................................",
    ".KK..........gg.............KK..",
    ".K.K........gGGg............K.K.",
    ".KK......ggggGGgggg.........K.K.",
    ".K.K....gGGGGGGGGGGg........K.K.",
    ".KK....gGGGGGGGGGGGGg.......KK..",
    "......gGGGggGGggGGGGg...........",
    ".K.K..gGGg.gGGg.gGGGg........K..",
    ".K.K..gGGg.gGGg..ggg........K.K.",
    ".K.K..gGGg.gGGg.............K.K.",
    ".K.K..gGGGggGGg.............K.K.",
    ".KKK...gGGGGGGgg.............K..",
    "........gGGGGGGGgg..............",
    "..KK......gGGGGGGGg.........K.K.",
    ".K.........gGGGGGGGg........K.K.",
    ".K.........gGGggGGGGg.......K.K.",
    ".K.........gGGg.gGGGg.......K.K.",
    "..KK..ggg..gGGg.gGGGg.......KKK.",
    "......gGGg.gGGg.gGGGg...........",
    ".K.K..gGGGggGGggGGGGg........KK.",
    ".KK...gGGGGGGGGGGGGg........K...",
    ".K.....gGGGGGGGGGGg.........K.K.",
    ".KK.....gggggGGggg..........K.K.",
    ".K.K........gGGg.............KK.",
    ".............gg.................",
    "..KK........................K.K.",
    ".K..........................K.K.",
    "..K.........................KKK.",
    "...K........................K.K.",
    ".KK.........................K.K.",
    "................................",
    "................................",
};

inline constexpr std::array<std::string_view, 32> kSmiley32{
    "................................",
    "...........KKKKKKKKKK...........",
    ".........KKYYYYYYYYYYKK.........",
    ".......KKYYYYYYYYYYYYYYKK.......",
    "......KYYYYYYYYYYYYYYYYYYK......",
    ".....KYYYYYYYYYYYYYYYYYYYYK.....",
    "....KYYYYYYYYYYYYYYYYYYYYYYK....",
    "...KYYYYYYYYYYYYYYYYYYYYYYYYK...",
    "...KYYYYYYKKYYYYYYYYKKYYYYYYK...",
    "..KYYYYYYKKKKYYYYYYKKKKYYYYYYK..",
    "..KYYYYYYKKKKYYYYYYKKKKYYYYYYK..",
    ".KYYYYYYYKKKKYYYYYYKKKKYYYYYYYK.",
    ".KYYYYYYYKKKKYYYYYYKKKKYYYYYYYK.",
    ".KYYYYYYYKKKKYYYYYYKKKKYYYYYYYK.",
    ".KYYYYYYYYKKYYYYYYYYKKYYYYYYYYK.",
    ".KYYYYYYYYYYYYYYYYYYYYYYYYYYYYK.",
    ".KYYYYYYYYYYYYYYYYYYYYYYYYYYYYK.",
    ".KYYYYYYYYYYYYYYYYYYYYYYYYYYYYK.",
    ".KYYYYYYYYYYYYYYYYYYYYYYYYYYYYK.",
    ".KYYYYYYYYYYYYYYYYYYYYYYYYYYYYK.",
    ".KYYYYYKKYYYYYYYYYYYYYYKKYYYYYK.",
    "..KYYYYYKKYYYYYYYYYYYYKKYYYYYK..",
    "..KYYYYYYKKYYYYYYYYYYKKYYYYYYK..",
    "...KYYYYYYKKKYYYYYYKKKYYYYYYK...",
    "...KYYYYYYYYKKKKKKKKYYYYYYYYK...",
    "....KYYYYYYYYYYYYYYYYYYYYYYK....",
    ".....KYYYYYYYYYYYYYYYYYYYYK.....",
    "......KYYYYYYYYYYYYYYYYYYK......",
    ".......KKYYYYYYYYYYYYYYKK.......",
    ".........KKYYYYYYYYYYKK.........",
    "...........KKKKKKKKKK...........",
    "................................",
};

inline constexpr std::array<std::string_view, 16> kSmiley16{
    "................",
    ".....KKKKKK.....",
    "...KKYYYYYYKK...",
    "..KYYYYYYYYYYK..",
    ".KYYYYYYYYYYYYK.",
    ".KYYYKYYYYKYYYK.",
    "KYYYYKYYYYKYYYYK",
    "KYYYYKYYYYKYYYYK",
    "KYYYYYYYYYYYYYYK",
    "KYYKYYYYYYYYKYYK",
    "KYYYKYYYYYYKYYYK",
    ".KYYYKKKKKKYYYK.",
    ".KYYYYYYYYYYYYK.",
    "..KYYYYYYYYYYK..",
    "...KKYYYYYYKK...",
    ".....KKKKKK.....",
};
// clang-format on

} // namespace icon_art
