// A small executable laid out as GNU ld lays out the players: headers,
// .text, an empty .rsrc, .reloc, a debug section named through the string
// table ("/4"), then the COFF symbols and their strings; and a player made
// from it with the dialogs kelvopack looks for.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/executable_image.h"

namespace kelvo::pack::testing {

inline void putLittleEndian(Bytes& bytes, std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

// Where the generated image keeps what the tests damage.
namespace SmallLayout {
constexpr std::size_t Coff = 0x44, Optional = 0x58, Text = 0x200, Resources = 0x400, Relocations = 0x600, Debug = 0x800,
                      Symbols = 0xA00, SymbolCount = 2;
inline std::size_t directory(bool wide, int index) { return Optional + (wide ? 112 : 96) + 8 * index; }
inline std::size_t section(bool wide, int index) { return Optional + (wide ? 240 : 224) + 40 * index; }
}  // namespace SmallLayout

// wide: PE32+ (x86-64) rather than PE32 (i386).
inline Bytes smallExecutable(bool wide) {
    using namespace SmallLayout;
    Bytes image(Symbols + 18 * SymbolCount);
    const auto put = [&image](std::size_t at, std::uint64_t value, int width) { putLittleEndian(image, at, value, width); };
    put(0, 0x5A4D, 2);
    put(0x3C, 0x40, 4);
    put(0x40, 0x4550, 4);
    put(Coff, wide ? 0x8664 : 0x14C, 2);
    put(Coff + 2, 4, 2);                          // sections
    put(Coff + 8, Symbols, 4);
    put(Coff + 12, SymbolCount, 4);
    put(Coff + 16, wide ? 240 : 224, 2);          // optional header with its 16 directories
    put(Optional, wide ? 0x20B : 0x10B, 2);
    put(Optional + 8, 0x600, 4);                  // initialized data, as ld counts it
    put(Optional + 16, 0x1000, 4);                // entry point
    put(Optional + 32, 0x1000, 4);
    put(Optional + 36, 0x200, 4);
    put(Optional + 56, 0x5000, 4);
    put(Optional + 60, 0x200, 4);
    put(Optional + (wide ? 108 : 92), 16, 4);
    put(directory(wide, 2), 0x2000, 4);
    put(directory(wide, 2) + 4, 16, 4);           // an empty root directory
    put(directory(wide, 5), 0x3000, 4);
    put(directory(wide, 5) + 4, 12, 4);
    const struct {
        const char* name;
        std::size_t raw;
        std::uint32_t flags;
    } sections[] = {{".text", Text, 0x60000020}, {".rsrc", Resources, 0xC0000040}, {".reloc", Relocations, 0x42000040},
                    {"/4", Debug, 0x42000040}};
    for (int i = 0; i < 4; ++i) {
        const std::size_t header = section(wide, i);
        std::copy(sections[i].name, sections[i].name + std::char_traits<char>::length(sections[i].name), image.begin() + header);
        put(header + 8, i == 1 ? 16 : 0x100, 4);
        put(header + 12, 0x1000 * (i + 1), 4);
        put(header + 16, 0x200, 4);
        put(header + 20, sections[i].raw, 4);
        put(header + 36, sections[i].flags, 4);
    }
    for (std::size_t at = Text; at < Resources; ++at) image[at] = 0xC3;          // ret, everywhere
    put(Relocations, 0x1000, 4);                                                 // one block: page 0x1000,
    put(Relocations + 4, 12, 4);                                                 // two entries
    put(Relocations + 8, 0x3010, 2);
    for (std::size_t at = Debug; at < Symbols; ++at) image[at] = static_cast<std::uint8_t>(at * 7);
    for (std::size_t at = Symbols; at < image.size(); ++at) image[at] = static_cast<std::uint8_t>(at * 13);
    const std::string strings("\x10\0\0\0.debug_info", 16);
    image.insert(image.end(), strings.begin(), strings.end());
    return image;
}

inline Resource dialog(std::uint16_t id) { return {ResourceName::number(5), ResourceName::number(id), 0x409, {1, 2, 3}}; }

inline Bytes smallPlayer(bool wide, ResourceSet resources = {}) {
    resources.insert(resources.begin(), {dialog(1001), dialog(1002)});
    Bytes player;
    std::string error;
    EXPECT_TRUE(writeExecutableResources(smallExecutable(wide), resources, player, error)) << error;
    return player;
}

}  // namespace kelvo::pack::testing
