// The studio's engine: the teacher's form turned into the quiz source that
// kelvopack reads (the same QuizSource, with the media files in a folder)
// and compiled, checked and written by kelvopack's own functions, so that
// what the page saves is what `kelvopack build` and `extract` write. Forms,
// answers and reports travel as JSON (UTF-8) between it and the page.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/packed_quiz.h"
#include "core/quiz_validation.h"
#include "core/resource_set.h"
#include "core/zip_archive.h"

namespace kelvo::studio {

using pack::Bytes;

// A file of a quiz's folder ("images/chat.jpg") with its bytes.
struct FolderFile {
    std::string name;
    Bytes bytes;
};

// What the teacher saves.
enum class Output { Executable, Page, Source };

// A prepared picture as the page keeps it between visits (`bytes`, opaque
// to the page), under its file and setting.
struct PictureRecord {
    std::string file;
    bool keepOriginals = false;
    Bytes bytes;
};

struct SavedFile {
    std::string name;                    // "capitales.exe", "capitales.html", "capitales.zip"
    Bytes bytes;
    std::vector<std::string> warnings;   // French
};

class Studio {
public:
    // `folder`: where the media files live while the teacher works (the
    // engine's in-memory file system); `player`: the player's bytes;
    // `build`: what tells this engine from another (its records are its own).
    Studio(std::filesystem::path folder, Bytes player, std::string build);

    // Adds or replaces a media file; false with a French message for a name
    // that leaves the folder.
    bool putFile(const std::string& name, const Bytes& bytes, std::string& error);
    // The media files of the folder, for the page's own copy.
    std::vector<std::string> fileNames() const;
    Bytes fileBytes(const std::string& name) const;

    // Every problem of the form at its field, with kelvopack's words, and
    // what the page shows: text lengths, the fields in use, the pictures.
    std::string check(const std::string& formJson, const pack::PreparationProgress& progress);

    // The file to download; false with a French message while the form has an error.
    bool save(const std::string& formJson, Output output, SavedFile& saved, std::string& error,
              const pack::PreparationProgress& progress);

    // Opening a quiz replaces the folder and answers {"form": ...}; a file
    // that is no quiz answers {"error": "..."} and changes nothing.
    std::string openExecutable(const std::string& fileName, const Bytes& executable);
    std::string openPage(const std::string& fileName, const Bytes& quizStream, const Bytes& codeStream,
                         const std::string& pageName, const std::string& identity, const std::map<int, Bytes>& media);
    // A source folder (chosen whole or zipped): the TOML file's name and
    // text, and the other files by their path relative to it.
    std::string openSource(const std::string& sourceName, const std::string& text, const std::vector<FolderFile>& media);
    // A folder's files by their paths ("drapeaux/images/chat.jpg"), chosen
    // whole or read from a zip with their CRC: the TOML file nearest the top
    // is the source, the files are named relative to it.
    std::string openFolder(const std::vector<FolderFile>& files);
    std::string openZip(const std::vector<pack::StoredZipEntry>& entries, const std::vector<Bytes>& inflated);

    // `kelvopack check`: the verdict a pupil would get.
    static std::string verdict(const std::string& expected, const std::string& typed);

    // The prepared picture of a file, as the quiz stores it (the preview).
    Bytes storedPicture(const std::string& name, bool keepOriginals) const;

    // The pictures prepared since the last call, as records for the page to
    // keep; one taken back is used as if prepared here, when this build made
    // it from the very file the folder holds now (same size and CRC), else
    // false and nothing changes.
    std::vector<PictureRecord> takeNewRecords();
    bool restoreRecord(const Bytes& record);
    // How many pictures this engine has prepared (restored ones not counted).
    int picturesPrepared() const { return preparedCount; }

private:
    bool compile(const std::string& formJson, pack::PackedQuiz& quiz, pack::Diagnostics& diagnostics, std::string& stem,
                 const pack::PreparationProgress& progress, pack::PictureReport* report = nullptr);
    std::vector<pack::PreparedPicture> prepare(const std::vector<std::filesystem::path>& files, bool keepOriginals,
                                               const pack::PreparationProgress& progress);
    Bytes recordOf(const std::string& file, bool keepOriginals, const pack::PreparedPicture& picture) const;
    std::string openExtracted(const std::string& stem, const pack::PackedQuiz& quiz);
    void replaceFolder(const std::vector<FolderFile>& media);

    std::filesystem::path folder;
    Bytes player;
    std::string build;
    // Prepared pictures by file and setting: the form is checked at every
    // change, a picture is prepared once.
    std::map<std::pair<std::string, bool>, pack::PreparedPicture> prepared;
    std::set<std::pair<std::string, bool>> unrecorded;   // prepared, not yet handed out as records
    // Each file's size and CRC, taken as it comes: what a record is checked by.
    std::map<std::string, std::pair<std::size_t, std::uint32_t>> fingerprints;
    int preparedCount = 0;
};

}  // namespace kelvo::studio
