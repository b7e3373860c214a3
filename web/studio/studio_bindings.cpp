// The studio engine's entry points for its worker script. Texts go in as
// UTF-8 and come out as JSON; bytes come out through studioBytes and
// studioByteCount, valid until the next call.
#include <emscripten.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "web/studio/studio.h"

namespace {

// clang-format off
EM_JS(void, postProgress, (int done, int total), { postMessage({ type: "progress", done: done, total: total }); });
// clang-format on

using kelvo::studio::Bytes;
using kelvo::studio::FolderFile;

struct Session {
    std::unique_ptr<kelvo::studio::Studio> studio;
    std::string text;                  // the last text handed out
    Bytes bytes;                       // the last bytes handed out
    std::vector<FolderFile> staged;    // files of a source being opened
    std::map<int, Bytes> pageMedia;    // media of a page being opened
    std::vector<kelvo::pack::StoredZipEntry> zip;   // entries of a zip being opened
    std::vector<Bytes> inflated;                     // their data, inflated by the page
    std::vector<kelvo::studio::PictureRecord> records;   // the last records handed out
};

Session& session() {
    static Session instance;
    return instance;
}

Bytes bytesOf(const std::uint8_t* data, int length) { return length > 0 ? Bytes(data, data + length) : Bytes{}; }

const char* handOut(std::string text) {
    session().text = std::move(text);
    return session().text.c_str();
}

void reportProgress(int done, int total) { postProgress(done, total); }

std::string jsonText(const nlohmann::json& value) { return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace); }

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void studioStart(const std::uint8_t* player, int length, const char* build) {
    session().studio = std::make_unique<kelvo::studio::Studio>("/quiz", bytesOf(player, length), build);
}

// "" once kept, else the French reason.
EMSCRIPTEN_KEEPALIVE const char* studioPutFile(const char* name, const std::uint8_t* data, int length) {
    std::string error;
    session().studio->putFile(name, bytesOf(data, length), error);
    return handOut(error);
}

EMSCRIPTEN_KEEPALIVE const char* studioCheck(const char* form) { return handOut(session().studio->check(form, reportProgress)); }

// {"name", "warnings"} or {"error"}; the file's bytes through studioBytes.
EMSCRIPTEN_KEEPALIVE const char* studioSave(const char* form, int output) {
    kelvo::studio::SavedFile saved;
    std::string error;
    if (!session().studio->save(form, static_cast<kelvo::studio::Output>(output), saved, error, reportProgress)) {
        session().bytes.clear();
        return handOut(jsonText({{"error", error}}));
    }
    session().bytes = std::move(saved.bytes);
    return handOut(jsonText({{"name", saved.name}, {"warnings", saved.warnings}}));
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* studioBytes() { return session().bytes.data(); }
EMSCRIPTEN_KEEPALIVE int studioByteCount() { return static_cast<int>(session().bytes.size()); }

EMSCRIPTEN_KEEPALIVE const char* studioOpenExecutable(const char* name, const std::uint8_t* data, int length) {
    return handOut(session().studio->openExecutable(name, bytesOf(data, length)));
}

EMSCRIPTEN_KEEPALIVE void studioStagePageMedia(int id, const std::uint8_t* data, int length) {
    session().pageMedia[id] = bytesOf(data, length);
}

EMSCRIPTEN_KEEPALIVE const char* studioOpenPage(const char* name, const std::uint8_t* quiz, int quizLength,
                                                const std::uint8_t* codes, int codesLength, const char* pageName,
                                                const char* identity) {
    std::map<int, Bytes> media = std::move(session().pageMedia);
    session().pageMedia.clear();
    return handOut(session().studio->openPage(name, bytesOf(quiz, quizLength), bytesOf(codes, codesLength), pageName, identity,
                                              media));
}

EMSCRIPTEN_KEEPALIVE void studioStageFile(const char* name, const std::uint8_t* data, int length) {
    session().staged.push_back({name, bytesOf(data, length)});
}

EMSCRIPTEN_KEEPALIVE const char* studioOpenSource(const char* name, const char* text) {
    std::vector<FolderFile> files = std::move(session().staged);
    session().staged.clear();
    return handOut(session().studio->openSource(name, text, files));
}

EMSCRIPTEN_KEEPALIVE const char* studioOpenFolder() {
    std::vector<FolderFile> files = std::move(session().staged);
    session().staged.clear();
    return handOut(session().studio->openFolder(files));
}

// A zip's entries: {"methods": [0, 8, ...]} or {"error"}. The page inflates
// the deflated ones (studioZipData, then studioSetZipData) and opens them.
EMSCRIPTEN_KEEPALIVE const char* studioReadZip(const std::uint8_t* data, int length) {
    std::string error;
    if (!kelvo::pack::readZip(bytesOf(data, length), session().zip, error)) return handOut(jsonText({{"error", error}}));
    session().inflated.assign(session().zip.size(), {});
    std::vector<int> methods;
    for (const kelvo::pack::StoredZipEntry& entry : session().zip) methods.push_back(entry.method);
    return handOut(jsonText({{"methods", methods}}));
}
EMSCRIPTEN_KEEPALIVE void studioZipData(int index) { session().bytes = session().zip.at(static_cast<std::size_t>(index)).data; }
EMSCRIPTEN_KEEPALIVE void studioSetZipData(int index, const std::uint8_t* data, int length) {
    session().inflated.at(static_cast<std::size_t>(index)) = bytesOf(data, length);
}
EMSCRIPTEN_KEEPALIVE const char* studioOpenZip() {
    const char* opened = handOut(session().studio->openZip(session().zip, session().inflated));
    session().zip.clear();
    session().inflated.clear();
    return opened;
}

EMSCRIPTEN_KEEPALIVE const char* studioVerdict(const char* expected, const char* typed) {
    return handOut(kelvo::studio::Studio::verdict(expected, typed));
}

// The prepared picture's bytes through studioBytes.
EMSCRIPTEN_KEEPALIVE void studioStoredPicture(const char* name, int keepOriginals) {
    session().bytes = session().studio->storedPicture(name, keepOriginals != 0);
}

// The pictures prepared since the last call: [[file, keepOriginals], ...];
// then each record's bytes with studioRecord.
EMSCRIPTEN_KEEPALIVE const char* studioNewRecords() {
    session().records = session().studio->takeNewRecords();
    nlohmann::json list = nlohmann::json::array();
    for (const kelvo::studio::PictureRecord& record : session().records) list.push_back({record.file, record.keepOriginals});
    return handOut(jsonText(list));
}
EMSCRIPTEN_KEEPALIVE void studioRecord(int index) { session().bytes = session().records.at(static_cast<std::size_t>(index)).bytes; }
// 1 once taken back, 0 for a record of another file or another build.
EMSCRIPTEN_KEEPALIVE int studioRestoreRecord(const std::uint8_t* data, int length) {
    return session().studio->restoreRecord(bytesOf(data, length)) ? 1 : 0;
}

// The folder's file names as JSON; then each file's bytes with studioFile.
EMSCRIPTEN_KEEPALIVE const char* studioFileNames() { return handOut(jsonText(session().studio->fileNames())); }
EMSCRIPTEN_KEEPALIVE void studioFile(const char* name) { session().bytes = session().studio->fileBytes(name); }

}  // extern "C"
