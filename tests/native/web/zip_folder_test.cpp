#include "web/studio/zip_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace kelvo::studio {
namespace {

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

const std::vector<FolderFile> Folder = {{"quiz.toml", bytesOf("title = \"A\"\n")}, {"images/chat.jpg", bytesOf("\xFF\xD8 pixels")}};

TEST(ZipFolder, ReadsBackWhatItWroteUnderTheFolderName) {
    std::vector<ZipEntry> entries;
    std::string error;
    ASSERT_TRUE(readZip(zipFolder("quiz", Folder), entries, error)) << error;
    ASSERT_EQ(entries.size(), Folder.size());
    for (std::size_t i = 0; i < Folder.size(); ++i) {
        EXPECT_EQ(entries[i].name, "quiz/" + Folder[i].name);
        EXPECT_EQ(entries[i].method, 0);
        EXPECT_EQ(entries[i].data, Folder[i].bytes);
        EXPECT_EQ(entries[i].crc, crc32(Folder[i].bytes));
    }
    EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);   // the check value of the zip CRC
}

TEST(ZipFolder, RefusesDamagedArchivesWithAFrenchReason) {
    const Bytes archive = zipFolder("quiz", Folder);
    const std::size_t end = archive.size() - 22;   // no comment: the end record closes the file
    const std::size_t central = archive[end + 16] | archive[end + 17] << 8 | archive[end + 18] << 16;
    const auto damaged = [&archive](std::function<void(Bytes&)> change) {
        Bytes copy = archive;
        change(copy);
        return copy;
    };
    const struct {
        const char* why;
        Bytes archive;
        const char* words;
    } cases[] = {
        {"nothing at all", {}, "pas un zip"},
        {"the end record cut off", Bytes(archive.begin(), archive.end() - 1), "pas un zip"},
        {"the directory said to lie past the end", damaged([](Bytes& b) { b[b.size() - 6] = 0xFF; }), "pas un zip"},
        {"an entry's local header moved", damaged([central](Bytes& b) { b[central + 42] = 0x7F; }), "pas un zip"},
        {"an encrypted entry", damaged([central](Bytes& b) { b[central + 8] |= 1; }), "mot de passe"},
        {"a compression other than deflate", damaged([central](Bytes& b) { b[central + 10] = 12; }), "compression"},
    };
    for (const auto& row : cases) {
        std::vector<ZipEntry> entries;
        std::string error;
        EXPECT_FALSE(readZip(row.archive, entries, error)) << row.why;
        EXPECT_NE(error.find(row.words), std::string::npos) << row.why << ": " << error;
    }
}

}  // namespace
}  // namespace kelvo::studio
