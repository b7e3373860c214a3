#include "core/executable_image.h"

#include <gtest/gtest.h>

#include <tuple>

#include "kelvopack/small_executable.h"

namespace kelvo::pack {
namespace {

using namespace testing::SmallLayout;

std::uint32_t field(const Bytes& image, std::size_t at) {
    return image[at] | image[at + 1] << 8 | image[at + 2] << 16 | std::uint32_t(image[at + 3]) << 24;
}

Bytes written(const Bytes& executable, const ResourceSet& resources) {
    Bytes image;
    std::string error;
    EXPECT_TRUE(writeExecutableResources(executable, resources, image, error)) << error;
    return image;
}

ResourceSet readBack(const Bytes& image) {
    ResourceSet resources;
    std::string error;
    EXPECT_TRUE(readExecutableResources(image, resources, error)) << error;
    return resources;
}

Resource resource(ResourceName type, ResourceName name, std::uint16_t language, std::size_t size) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 31 + size);
    return {std::move(type), std::move(name), language, std::move(data)};
}

auto key(const Resource& r) { return std::tie(r.type.id, r.type.text, r.name.id, r.name.text, r.language, r.data); }

// Read back in the order the loader searches them: named types and names
// before numbered ones, names by their code units ("IMG" before "PATCH",
// "Z" before "a"), numbers and languages ascending. Sizes that are no
// multiple of 8, and an empty resource, test the alignment of what follows.
TEST(ExecutableImage, EveryResourceComesBackSortedFromBothKindsAndTheSameSetGivesTheSameBytes) {
    using N = ResourceName;
    const ResourceSet sorted = {
        resource(N::named("IMG"), N::number(401), 0, 9), resource(N::named("IMG"), N::number(10401), 0, 1),
        resource(N::named("PATCH"), N::number(104), 0, 300), resource(N::named("PATCH"), N::number(105), 0, 0),
        resource(N::number(3), N::named("Z"), 0, 40), resource(N::number(3), N::named("a"), 0, 2),
        resource(N::number(5), N::number(1001), 0x409, 7), resource(N::number(5), N::number(1001), 0x40C, 7),
        resource(N::number(24), N::number(1), 0, 20000),
    };
    const ResourceSet shuffled = {sorted[8], sorted[3], sorted[5], sorted[0], sorted[7], sorted[2], sorted[6], sorted[4], sorted[1]};
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "PE32+" : "PE32");
        const Bytes image = written(testing::smallExecutable(wide), shuffled);
        const ResourceSet back = readBack(image);
        ASSERT_EQ(back.size(), sorted.size());
        for (std::size_t i = 0; i < sorted.size(); ++i) EXPECT_EQ(key(back[i]), key(sorted[i])) << i;
        EXPECT_EQ(written(testing::smallExecutable(wide), sorted), image) << "the set's order does not matter";
        EXPECT_EQ(written(image, sorted), image) << "packing again changes nothing";
        EXPECT_EQ(written(written(image, {sorted[0]}), sorted), image) << "nor does packing over another set";
    }
}

// What follows the resource section moves with it when it grows: the base
// relocations (with their data directory), the debug section, the symbols
// (with their pointer, else tools lose the section names); the image size,
// the initialized data and the resource directory follow.
TEST(ExecutableImage, SectionsAfterTheResourcesMoveWithTheirDirectoryAndTheSymbolsWithTheirPointer) {
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "PE32+" : "PE32");
        const Bytes original = testing::smallExecutable(wide);
        const Bytes image = written(original, {resource(ResourceName::number(10), ResourceName::number(1), 0, 10000)});
        const std::uint32_t resourcesSize = field(image, section(wide, 1) + 8);
        EXPECT_EQ(resourcesSize, 16 + 8 + 16 + 8 + 16 + 8 + 16 + 10000u);
        EXPECT_EQ(field(image, directory(wide, 2) + 4), resourcesSize);
        EXPECT_EQ(field(image, section(wide, 1) + 16), 0x2800u) << "raw size, file-aligned";
        EXPECT_EQ(field(image, Optional + 8), 0x600u - 0x200 + 0x2800) << "initialized data";
        const std::uint32_t relocationsAddress = field(image, section(wide, 2) + 12);
        EXPECT_EQ(relocationsAddress, 0x5000u);
        EXPECT_EQ(field(image, directory(wide, 5)), relocationsAddress);
        EXPECT_EQ(field(image, section(wide, 3) + 12), 0x6000u);
        EXPECT_EQ(field(image, Optional + 56), 0x7000u) << "image size";
        for (const int moved : {2, 3}) {
            const std::uint32_t from = field(original, section(wide, moved) + 20), to = field(image, section(wide, moved) + 20);
            EXPECT_EQ(to, from + 0x2600);
            EXPECT_TRUE(std::equal(original.begin() + from, original.begin() + from + 0x200, image.begin() + to)) << moved;
        }
        const std::uint32_t symbols = field(image, Coff + 8);
        EXPECT_EQ(symbols, Symbols + 0x2600u);
        EXPECT_TRUE(std::equal(original.begin() + Symbols, original.end(), image.begin() + symbols, image.end()))
            << "symbols and strings, the file's last bytes";
    }
}

}  // namespace
}  // namespace kelvo::pack
