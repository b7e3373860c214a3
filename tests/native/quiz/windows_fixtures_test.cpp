// The PATCH resources the Windows loader test carries are encoded here: this
// test checks the committed files are what the codec makes of the payloads
// below, and rewrites them when KELVO_WRITE_FIXTURES is set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "quiz/lzw_codec.h"

namespace kelvo {
namespace {

const std::string FixtureFolder = KELVO_SOURCE_DIR "/tests/windows/quiz/fixtures/";

// A two-answer video quiz with text reveals (mode 2), accents and a colour.
std::string quizPayload() {
    return std::string{'\x01', '\x04', '\x02', '\x02'} +
           "Quiz de g\xE9ographie|Mme Dupr\xE9|Deux villes, deux fleuves|Ville|Fleuve|" +
           "PARIS|SEINE|Capitale de la France|LYON|RH\xD4NE|Ville des Lumi\xE8res|" + '\x02' +
           "La ville lumi\xE8re|Les Gaules|" + "\x10\x20\x30";
}

std::string codesPayload() { return "CODE-UN\r\nCODE-DEUX\r\n"; }

std::string encoded(const std::string& plain) {
    lzw::Result result = lzw::encode(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size());
    EXPECT_EQ(result.status, lzw::Success);
    return std::string(reinterpret_cast<const char*>(result.output.get()), result.length);
}

void checkOrWrite(const std::string& name, const std::string& bytes) {
    const std::string path = FixtureFolder + name;
    if (std::getenv("KELVO_WRITE_FIXTURES") != nullptr) {
        std::ofstream(path, std::ios::binary) << bytes;
        return;
    }
    std::ifstream file(path, std::ios::binary);
    std::string committed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(committed, bytes) << path << " is out of date: run native_tests with KELVO_WRITE_FIXTURES=1";
}

TEST(WindowsLoaderFixtures, AreTheEncodedPayloads) {
    checkOrWrite("quiz104.bin", encoded(quizPayload()));
    checkOrWrite("codes105.bin", encoded(codesPayload()));
    checkOrWrite("garbage.bin", std::string("\x30\xff\xff\xff\xff", 5));
}

}  // namespace
}  // namespace kelvo
