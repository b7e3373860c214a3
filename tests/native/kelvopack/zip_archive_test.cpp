#include "core/zip_archive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "core/zlib_compressor.h"
#include "kelvopack/quiz_folder.h"

namespace kelvo::pack {
namespace {

// What a command printed, and whether it succeeded.
std::pair<bool, std::string> runCommand(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return {false, "cannot start " + command};
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, read);
    return {pclose(pipe) == 0, out};
}

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(ZipArchive, CrcIsTheOneZipReadersCheck) {
    EXPECT_EQ(zipCrc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(zipCrc32({}), 0u);
}

// Each entry read back by Info-ZIP's unzip -t and by Python's zipfile, which
// checks our CRC against zlib's and decodes the name as UTF-8 only when the
// entry says so.
TEST(ZipArchive, RealReadersFindEveryEntryStoredOrDeflatedWithItsNameAndFixedDate) {
    std::mt19937 noise(26);
    Bytes random(5000);
    for (std::uint8_t& byte : random) byte = static_cast<std::uint8_t>(noise());
    std::string text;
    for (int line = 0; line < 400; ++line) text += "<file href=\"page" + std::to_string(line % 7) + ".html\"/>\n";
    const std::vector<ZipEntry> entries = {
        {"imsmanifest.xml", bytesOf(text)},
        {"vide.txt", {}},
        {"bruit.bin", random},
        {"dossier/\xC3\xA9t\xC3\xA9.html", bytesOf("<p>\xC3\xA9t\xC3\xA9</p>")},
    };
    const ZlibCompressor zlib;
    testing::QuizFolder folder;
    const std::string reader = "import sys, zipfile, zlib\n"
                               "with zipfile.ZipFile(sys.argv[1]) as z:\n"
                               "    for i in z.infolist():\n"
                               "        print(i.filename, i.compress_type, i.file_size, zlib.crc32(z.read(i)) == i.CRC, i.date_time)\n";
    folder.write("read.py", reader);
    // Deflate is kept where it makes an entry smaller: not the empty one, nor
    // the noise, nor the few bytes.
    const struct {
        const ZipCompressor* compressor;
        std::vector<int> methods;
    } rows[] = {{&zlib, {8, 0, 0, 0}}, {nullptr, {0, 0, 0, 0}}};
    for (const auto& row : rows) {
        const std::optional<Bytes> archive = writeZip(entries, row.compressor);
        ASSERT_TRUE(archive);
        const std::string file = folder.write("paquet.zip", std::string(archive->begin(), archive->end())).string();
        const auto [tested, testOutput] = runCommand("unzip -tq " + file);
        EXPECT_TRUE(tested) << testOutput;
        const auto [read, listing] = runCommand("python3 " + (folder.path / "read.py").string() + " " + file);
        EXPECT_TRUE(read) << listing;
        std::string expected;
        for (std::size_t i = 0; i < entries.size(); ++i)
            expected += entries[i].name + " " + std::to_string(row.methods[i]) + " " + std::to_string(entries[i].data.size()) +
                        " True (1980, 1, 1, 0, 0, 0)\n";
        EXPECT_EQ(listing, expected);
    }
}

TEST(ZipArchive, ReadsBackEveryEntryAsStored) {
    const ZlibCompressor zlib;
    const std::vector<ZipEntry> entries = {{"quiz/quiz.toml", bytesOf(std::string(300, 'a'))}, {"quiz/images/chat.jpg", bytesOf("\xFF\xD8")}};
    std::vector<StoredZipEntry> read;
    std::string error;
    ASSERT_TRUE(readZip(*writeZip(entries, &zlib), read, error)) << error;
    ASSERT_EQ(read.size(), entries.size());
    EXPECT_EQ(read[0].method, 8);   // deflated: the caller inflates it
    EXPECT_LT(read[0].data.size(), 300u);
    EXPECT_TRUE(zipEntryIntact(read[0], entries[0].data));
    EXPECT_FALSE(zipEntryIntact(read[0], bytesOf(std::string(300, 'b'))));
    EXPECT_EQ(read[1].name, entries[1].name);
    EXPECT_EQ(read[1].data, entries[1].data);
}

TEST(ZipArchive, ReadingRefusesDamagedArchivesWithAFrenchReason) {
    const Bytes archive = *writeZip({{"quiz.toml", bytesOf("title = \"A\"")}, {"chat.jpg", bytesOf("\xFF\xD8")}});
    const std::size_t end = archive.size() - 22;   // no comment: the end record closes the file
    const std::size_t directory = archive[end + 16] | archive[end + 17] << 8;
    const auto changed = [&archive](std::size_t at, std::uint8_t value) {
        Bytes copy = archive;
        copy[at] = value;
        return copy;
    };
    const struct {
        const char* why;
        Bytes archive;
        const char* words;
    } rows[] = {
        {"nothing at all", {}, "pas un zip"},
        {"the end record cut off", Bytes(archive.begin(), archive.end() - 1), "pas un zip"},
        {"the directory said to lie past the end", changed(end + 19, 0x7F), "pas un zip"},
        {"an entry's local header said to lie elsewhere", changed(directory + 42, 0x7F), "pas un zip"},
        {"an encrypted entry", changed(directory + 8, 1), "mot de passe"},
        {"a compression other than deflate", changed(directory + 10, 12), "compress"},
    };
    for (const auto& row : rows) {
        std::vector<StoredZipEntry> read;
        std::string error;
        EXPECT_FALSE(readZip(row.archive, read, error)) << row.why;
        EXPECT_NE(error.find(row.words), std::string::npos) << row.why << ": " << error;
    }
}

TEST(ZipArchive, MoreEntriesThanTheFormatCountsAreRefused) {
    EXPECT_TRUE(writeZip(std::vector<ZipEntry>(0xFFFF, {"a", {}})));
    EXPECT_FALSE(writeZip(std::vector<ZipEntry>(0x10000, {"a", {}})));
}

}  // namespace
}  // namespace kelvo::pack
