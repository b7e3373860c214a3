#include "web/studio/studio.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>

#include "core/answer_check.h"
#include "core/executable_image.h"
#include "core/media_types.h"
#include "core/picture_preparation.h"
#include "core/quiz_page.h"
#include "core/quiz_payload.h"
#include "core/quiz_source.h"
#include "core/source_writer.h"
#include "core/windows1252.h"
#include "quiz/quiz.h"
#include "quiz/quiz_identity.h"


namespace kelvo::studio {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace pack;

namespace {

namespace Texts {
constexpr const char* NotAQuiz = "Ce fichier n'est pas un quiz Kelvo (ni un quiz .exe, ni une page .html de kelvopack, ni un source .zip) : ";
constexpr const char* DamagedPage =
    "cette page n'est pas une page de quiz écrite par kelvopack, ou elle est abîmée (ses données ne sont plus celles que kelvopack a écrites).";
constexpr const char* BadFileName = "le nom du fichier ne peut être vide ni contenir l'un de ces caractères : \\ / : * ? \" < > |";
constexpr const char* ClipsNotInPage =
    "les extraits que les navigateurs ne lisent pas (AVI, WMV, MIDI) ne sont pas dans une page web : choisissez-les à nouveau "
    "aux questions marquées, ou ouvrez plutôt le quiz .exe.";
constexpr const char* FormErrors = "le quiz a encore des erreurs (voyez les champs marqués) ; rien n'a été enregistré.";
}  // namespace Texts

// The question fields of the form, with the source key each one fills.
struct QuestionField {
    const char* key;
    SourceValue QuestionSource::*value;
};
constexpr QuestionField QuestionFields[] = {
    {SourceKeys::Answer, &QuestionSource::answer},       {SourceKeys::SecondAnswer, &QuestionSource::secondAnswer},
    {SourceKeys::Prompt, &QuestionSource::prompt},       {SourceKeys::RevealText, &QuestionSource::revealText},
    {SourceKeys::Picture, &QuestionSource::picture},     {SourceKeys::RevealPicture, &QuestionSource::revealPicture},
    {SourceKeys::Clip, &QuestionSource::clip},
};

struct HeaderField {
    const char* key;
    SourceValue QuizSource::*value;
    bool alwaysPresent;   // written even when empty, so the empty value gets its own message
};
constexpr HeaderField HeaderFields[] = {
    {SourceKeys::Title, &QuizSource::title, true},   {SourceKeys::Author, &QuizSource::author, false},
    {SourceKeys::Explanation, &QuizSource::explanation, false}, {SourceKeys::Kind, &QuizSource::kind, true},
    {SourceKeys::Reveal, &QuizSource::reveal, true}, {SourceKeys::Colour, &QuizSource::colour, true},
};

std::string textOf(const json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

bool flagOf(const json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_boolean() && found->get<bool>();
}

SourceValue value(std::string text, bool present) { return SourceValue{std::move(text), 0, present}; }

std::string questionName(std::size_t index) { return "question " + std::to_string(index + 1); }
std::string listName(const char* key, std::size_t index) { return std::string(key) + " n\xC2\xB0 " + std::to_string(index + 1); }

// The form as the source kelvopack would read: an empty optional text is no
// key at all, an answer is always there (so an empty one is named as such),
// second answers are there when the form asks for two.
QuizSource sourceOf(const json& form, const fs::path& folder) {
    QuizSource source;
    source.folder = folder;
    for (const HeaderField& field : HeaderFields) {
        std::string text = textOf(form, field.key);
        const bool present = field.alwaysPresent || !text.empty();
        source.*field.value = value(std::move(text), present);
    }
    const bool twoAnswers = flagOf(form, "two_answers");
    const json captions = form.value("captions", json::array());
    std::vector<std::string> captionTexts;
    for (const json& caption : captions) captionTexts.push_back(caption.is_string() ? caption.get<std::string>() : "");
    const bool anyCaption = std::any_of(captionTexts.begin(), captionTexts.end(), [](const std::string& t) { return !t.empty(); });
    if (twoAnswers || anyCaption) {
        for (std::string& caption : captionTexts) source.captions.push_back(value(std::move(caption), true));
    }
    std::vector<std::string> codes;
    for (const json& code : form.value("codes", json::array())) codes.push_back(code.is_string() ? code.get<std::string>() : "");
    while (!codes.empty() && codes.back().empty()) codes.pop_back();   // an empty code is no code
    for (std::string& code : codes) source.codes.push_back(value(std::move(code), true));
    source.keepPictures = flagOf(form, SourceKeys::KeepPictures);
    for (const json& question : form.value("questions", json::array())) {
        QuestionSource entry;
        for (const QuestionField& field : QuestionFields) {
            std::string text = textOf(question, field.key);
            const bool always = field.value == &QuestionSource::answer || (field.value == &QuestionSource::secondAnswer && twoAnswers);
            const bool present = always || !text.empty();
            entry.*field.value = value(std::move(text), present);
        }
        source.questions.push_back(std::move(entry));
    }
    return source;
}

json formOf(const QuizSource& source, const std::string& stem) {
    json form;
    form["file"] = stem;
    for (const HeaderField& field : HeaderFields) form[field.key] = (source.*field.value).text;
    if (!source.kind.present) form[SourceKeys::Kind] = kindName(QuizKind::Text);
    if (!source.reveal.present) form[SourceKeys::Reveal] = revealModeName(RevealMode::None);
    if (!source.colour.present) form[SourceKeys::Colour] = "#5a5f96";
    const bool twoAnswers = !source.questions.empty() && source.questions.front().secondAnswer.present;
    form["two_answers"] = twoAnswers;
    json captions = json::array();
    for (const SourceValue& caption : source.captions) captions.push_back(caption.text);
    form["captions"] = captions;
    json codes = json::array();
    for (const SourceValue& code : source.codes) codes.push_back(code.text);
    form["codes"] = codes;
    form[SourceKeys::KeepPictures] = source.keepPictures;
    json questions = json::array();
    for (const QuestionSource& question : source.questions) {
        json entry = json::object();
        for (const QuestionField& field : QuestionFields) entry[field.key] = (question.*field.value).text;
        questions.push_back(entry);
    }
    form["questions"] = questions;
    return form;
}

bool fileNameAllowed(const std::string& stem) {
    return !stem.empty() && stem.find_first_of("\\/:*?\"<>|") == std::string::npos &&
           std::none_of(stem.begin(), stem.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Which fields the quiz uses, so the page shows them; a field that holds a
// value shows too, with the message that says it is not used.
json shownFields(const json& form, const QuizSource& source) {
    const std::string kind = textOf(form, SourceKeys::Kind);
    const std::string reveal = textOf(form, SourceKeys::Reveal);
    const bool grid = kind != kindName(QuizKind::Text);
    const bool pictures = kind == kindName(QuizKind::Picture);
    const bool clips = kind == kindName(QuizKind::Audio) || kind == kindName(QuizKind::Video);
    const bool revealsPicture = reveal == revealModeName(RevealMode::Picture) || reveal == revealModeName(RevealMode::TextAndPicture);
    const bool revealsText = grid && reveal != revealModeName(RevealMode::None) && reveal != revealModeName(RevealMode::Picture);
    const auto any = [&source](SourceValue QuestionSource::*field) {
        return std::any_of(source.questions.begin(), source.questions.end(),
                           [field](const QuestionSource& q) { return (q.*field).present && !(q.*field).text.empty(); });
    };
    const bool twoAnswers = flagOf(form, "two_answers");
    json shown;
    shown[SourceKeys::Reveal] = grid || reveal != revealModeName(RevealMode::None);
    shown[SourceKeys::Captions] = twoAnswers || !source.captions.empty();
    shown[SourceKeys::KeepPictures] = pictures || source.keepPictures;
    shown[SourceKeys::Prompt] = !grid || any(&QuestionSource::prompt);
    shown[SourceKeys::Answer] = true;
    shown[SourceKeys::SecondAnswer] = twoAnswers;
    shown[SourceKeys::RevealText] = revealsText || any(&QuestionSource::revealText);
    shown[SourceKeys::Picture] = pictures || any(&QuestionSource::picture);
    shown[SourceKeys::RevealPicture] = (pictures && revealsPicture) || any(&QuestionSource::revealPicture);
    shown[SourceKeys::Clip] = clips || any(&QuestionSource::clip);
    return shown;
}

// Windows-1252 bytes of every text field, the figure its limit counts.
json textLengths(const QuizSource& source) {
    json lengths = json::object();
    const auto add = [&lengths](const std::string& field, const SourceValue& value) {
        lengths[field] = toWindows1252(value.text).text.size();
    };
    for (const HeaderField& field : HeaderFields) add(field.key, source.*field.value);
    for (std::size_t i = 0; i < source.captions.size(); ++i) add(listName(SourceKeys::Captions, i), source.captions[i]);
    for (std::size_t i = 0; i < source.codes.size(); ++i) add(listName(SourceKeys::Codes, i), source.codes[i]);
    for (std::size_t q = 0; q < source.questions.size(); ++q) {
        for (const QuestionField& field : QuestionFields) {
            add(questionName(q) + ", " + field.key, source.questions[q].*field.value);
        }
    }
    return lengths;
}

json problemsOf(const Diagnostics& diagnostics) {
    json problems = json::array();
    for (const Diagnostic& diagnostic : diagnostics.all()) {
        if (diagnostic.severity == Severity::Note) continue;   // how a file was read: no field to show it at
        problems.push_back({{"field", diagnostic.field}, {"message", diagnostic.message}, {"error", diagnostic.isError()}});
    }
    return problems;
}

bool readFile(const fs::path& path, Bytes& bytes) {
    std::ifstream stream(path, std::ios::binary | std::ios::ate);
    if (!stream) return false;
    bytes.resize(static_cast<std::size_t>(std::max<std::streamoff>(stream.tellg(), 0)));
    stream.seekg(0);
    return static_cast<bool>(stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())));
}

bool writeFile(const fs::path& path, const Bytes& bytes) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(stream);
}

// A name of the quiz's folder that stays inside it: relative, no "..".
bool insideFolder(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos || name.find(':') != std::string::npos) return false;
    for (const fs::path& part : fs::u8path(name)) {
        if (part == ".." || part == ".") return false;
    }
    return true;
}

std::string stemOf(const std::string& fileName) {
    const fs::path name = fs::u8path(fileName).filename();
    return name.stem().u8string();
}

std::string errorJson(const std::string& message) { return json{{"error", message}}.dump(); }

// A picture record: the prepared picture's fields in CBOR, then the CRC of
// those bytes, so that a record damaged in storage is refused whole.
Bytes sealed(Bytes body) {
    const std::uint32_t crc = zipCrc32(body);
    for (int shift = 0; shift < 32; shift += 8) body.push_back(static_cast<std::uint8_t>(crc >> shift));
    return body;
}

std::optional<json> unsealed(const Bytes& record) {
    if (record.size() < 4) return std::nullopt;
    const Bytes body(record.begin(), record.end() - 4);
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < 4; ++i) crc |= static_cast<std::uint32_t>(record[body.size() + i]) << (8 * i);
    if (crc != zipCrc32(body)) return std::nullopt;
    json fields = json::from_cbor(body, true, false);
    if (!fields.is_object()) return std::nullopt;
    return fields;
}

// A record's fields with their types checked: nothing in a record is trusted.
bool readField(const json& record, const char* key, std::string& out) {
    const auto found = record.find(key);
    if (found == record.end() || !found->is_string()) return false;
    out = found->get<std::string>();
    return true;
}

bool readField(const json& record, const char* key, bool& out) {
    const auto found = record.find(key);
    if (found == record.end() || !found->is_boolean()) return false;
    out = found->get<bool>();
    return true;
}

template <typename Number>
bool readField(const json& record, const char* key, Number& out, std::uint64_t largest = std::numeric_limits<Number>::max()) {
    const auto found = record.find(key);
    if (found == record.end() || !found->is_number_unsigned() || found->get<std::uint64_t>() > largest) return false;
    out = static_cast<Number>(found->get<std::uint64_t>());
    return true;
}

}  // namespace

Studio::Studio(fs::path folder, Bytes player, std::string build)
    : folder(std::move(folder)), player(std::move(player)), build(std::move(build)) {
    std::error_code ignored;
    fs::create_directories(this->folder, ignored);
}

bool Studio::putFile(const std::string& name, const Bytes& bytes, std::string& error) {
    if (!insideFolder(name)) {
        error = "le nom de fichier \xC2\xAB " + name + " \xC2\xBB sort du dossier du quiz.";
        return false;
    }
    for (auto entry = prepared.begin(); entry != prepared.end();) {
        entry = entry->first.first == name ? prepared.erase(entry) : std::next(entry);
    }
    for (bool keep : {false, true}) unrecorded.erase({name, keep});
    fingerprints.erase(name);
    if (!writeFile(folder / fs::u8path(name), bytes)) {
        error = "le fichier \xC2\xAB " + name + " \xC2\xBB n'a pas pu être gardé (mémoire pleine ?).";
        return false;
    }
    fingerprints[name] = {bytes.size(), zipCrc32(bytes)};
    return true;
}

std::vector<std::string> Studio::fileNames() const {
    std::vector<std::string> names;
    std::error_code ignored;
    for (auto entry = fs::recursive_directory_iterator(folder, ignored); entry != fs::recursive_directory_iterator();
         entry.increment(ignored)) {
        if (entry->is_regular_file(ignored)) names.push_back(fs::relative(entry->path(), folder, ignored).generic_u8string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Bytes Studio::fileBytes(const std::string& name) const {
    Bytes bytes;
    if (insideFolder(name)) readFile(folder / fs::u8path(name), bytes);
    return bytes;
}

std::vector<PreparedPicture> Studio::prepare(const std::vector<fs::path>& files, bool keepOriginals,
                                             const PreparationProgress& progress) {
    std::vector<fs::path> fresh;
    for (const fs::path& file : files) {
        const std::string name = fs::relative(file, folder).generic_u8string();
        if (prepared.count({name, keepOriginals}) == 0 && std::find(fresh.begin(), fresh.end(), file) == fresh.end()) {
            fresh.push_back(file);
        }
    }
    if (!fresh.empty()) {
        std::vector<PreparedPicture> done = preparePictureFiles(fresh, keepOriginals, progress);
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            const std::pair<std::string, bool> key{fs::relative(fresh[i], folder).generic_u8string(), keepOriginals};
            prepared[key] = std::move(done[i]);
            unrecorded.insert(key);
        }
        preparedCount += static_cast<int>(fresh.size());
    }
    std::vector<PreparedPicture> results;
    for (const fs::path& file : files) results.push_back(prepared.at({fs::relative(file, folder).generic_u8string(), keepOriginals}));
    return results;
}

bool Studio::compile(const std::string& formJson, PackedQuiz& quiz, Diagnostics& diagnostics, std::string& stem,
                     const PreparationProgress& progress, PictureReport* report) {
    const json form = json::parse(formJson, nullptr, false);
    if (!form.is_object()) {
        diagnostics.error(0, "", "le formulaire est illisible.");
        return false;
    }
    stem = textOf(form, "file");
    if (!fileNameAllowed(stem)) diagnostics.error(0, "file", Texts::BadFileName);
    const QuizSource source = sourceOf(form, folder);
    PictureSettings settings{false, progress, [this](const std::vector<fs::path>& files, bool keep, const PreparationProgress& shown) {
                                 return prepare(files, keep, shown);
                             }};
    if (!compileQuiz(source, quiz, diagnostics, settings, report)) return false;
    ResourceSet resources;
    std::string error;
    if (!makeQuizResources(quiz, resources, error)) diagnostics.error(0, "", error);
    return !diagnostics.hasErrors();
}

std::string Studio::check(const std::string& formJson, const PreparationProgress& progress) {
    PackedQuiz quiz;
    Diagnostics diagnostics("");
    std::string stem;
    PictureReport report;
    const bool valid = compile(formJson, quiz, diagnostics, stem, progress, &report);
    const json form = json::parse(formJson, nullptr, false);
    const QuizSource source = form.is_object() ? sourceOf(form, folder) : QuizSource{};
    json pictures = json::object();
    const bool keep = source.keepPictures;
    for (const PictureReport::Line& line : report.lines) {
        pictures[line.field] = {{"file", line.file}, {"description", line.description}};
        const auto found = prepared.find({line.file, keep});
        if (found != prepared.end() && found->second.prepared()) {
            pictures[line.field]["shrink"] = frenchSize(found->second.originalSize) + " \xE2\x86\x92 " + frenchSize(found->second.bytes.size());
        }
    }
    json answer = {{"valid", valid},
                   {"problems", problemsOf(diagnostics)},
                   {"lengths", textLengths(source)},
                   {"shown", form.is_object() ? shownFields(form, source) : json::object()},
                   {"pictures", pictures},
                   {"prepared", preparedCount},
                   {"limits", {{"text", MaxTextLength}, {"questions", MaxQuestions}}}};
    if (!report.lines.empty()) {
        answer["shrink"] = frenchSize(report.originalBytes) + " \xE2\x86\x92 " + frenchSize(report.storedBytes);
    }
    return answer.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool Studio::save(const std::string& formJson, Output output, SavedFile& saved, std::string& error,
                  const PreparationProgress& progress) {
    PackedQuiz quiz;
    Diagnostics diagnostics("");
    std::string stem;
    if (!compile(formJson, quiz, diagnostics, stem, progress)) {
        error = Texts::FormErrors;
        return false;
    }
    ResourceSet resources;
    makeQuizResources(quiz, resources, error);
    switch (output) {
        case Output::Executable: {
            ResourceSet playerResources;
            if (!readExecutableResources(player, playerResources, error) ||
                !writeExecutableResources(player, combineWithPlayer(playerResources, resources), saved.bytes, error)) {
                error = "le lecteur ne s'est pas laissé écrire : " + error;
                return false;
            }
            saved.name = stem + ".exe";
            return true;
        }
        case Output::Page: {
            saved.name = stem + ".html";
            QuizPage page = makeQuizPage(quiz, resources, saved.name, builtInPageAssets());
            saved.bytes.assign(page.html.begin(), page.html.end());
            saved.warnings = std::move(page.warnings);
            return true;
        }
        case Output::Source: {
            saved.name = stem + ".zip";
            const ExtractedQuiz extracted = extractQuizSource(quiz, stem + ".exe");
            // The folder `kelvopack extract` writes, stored: the media are compressed already.
            std::vector<ZipEntry> entries{{stem + "/" + stem + ".toml", Bytes(extracted.source.begin(), extracted.source.end())}};
            for (const auto& [name, bytes] : extracted.files) entries.push_back({stem + "/" + name, bytes});
            std::optional<Bytes> archive = writeZip(entries);
            if (!archive) {
                error = "le quiz est trop grand pour un fichier zip (plus de 4 Go).";
                return false;
            }
            saved.bytes = std::move(*archive);
            return true;
        }
    }
    return false;
}

void Studio::replaceFolder(const std::vector<FolderFile>& media) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder, ignored);
    prepared.clear();
    unrecorded.clear();
    fingerprints.clear();
    std::string error;
    for (const FolderFile& file : media) putFile(file.name, file.bytes, error);
}

std::string Studio::openExtracted(const std::string& stem, const PackedQuiz& quiz) {
    const ExtractedQuiz extracted = extractQuizSource(quiz, stem + ".exe");
    std::vector<FolderFile> media;
    for (const auto& [name, bytes] : extracted.files) media.push_back({name, bytes});
    return openSource(stem + ".toml", extracted.source, media);
}

std::string Studio::openExecutable(const std::string& fileName, const Bytes& executable) {
    ResourceSet resources;
    PackedQuiz quiz;
    std::string error;
    if (!readExecutableResources(executable, resources, error) || !readQuizResources(resources, quiz, error)) {
        return errorJson(std::string(Texts::NotAQuiz) + error);
    }
    return openExtracted(stemOf(fileName), quiz);
}

std::string Studio::openPage(const std::string& fileName, const Bytes& quizStream, const Bytes& codeStream,
                             const std::string& pageName, const std::string& identity, const std::map<int, Bytes>& media) {
    if (quizStream.empty() || identity != quizIdentityText(quizIdentity(quizStream, codeStream, pageName))) {
        return errorJson(std::string(Texts::NotAQuiz) + Texts::DamagedPage);
    }
    ResourceSet resources;
    resources.push_back({ResourceTypes::patch(), ResourceName::number(QuizResourceIds::Quiz), NeutralLanguage, quizStream});
    resources.push_back({ResourceTypes::patch(), ResourceName::number(QuizResourceIds::Codes), NeutralLanguage, codeStream});
    for (const auto& [id, bytes] : media) {
        resources.push_back({ResourceTypes::image(), ResourceName::number(static_cast<std::uint16_t>(id)), NeutralLanguage, bytes});
    }
    PackedQuiz quiz;
    std::string error;
    if (!readQuizResources(resources, quiz, error)) return errorJson(std::string(Texts::NotAQuiz) + error);
    json opened = json::parse(openExtracted(stemOf(fileName), quiz));
    const bool clips = quiz.kind == QuizKind::Audio || quiz.kind == QuizKind::Video;
    const bool clipMissing = std::any_of(quiz.questions.begin(), quiz.questions.end(),
                                         [](const PackedQuestion& question) { return question.picture.empty(); });
    if (clips && clipMissing) opened["warning"] = Texts::ClipsNotInPage;
    return opened.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string Studio::openSource(const std::string& sourceName, const std::string& text, const std::vector<FolderFile>& media) {
    Diagnostics diagnostics(fs::u8path(sourceName).filename().u8string());
    QuizSource source;
    const bool read = parseQuizSource(text, folder, source, diagnostics);
    if (!read || diagnostics.hasErrors()) {
        std::string message;
        for (const Diagnostic& diagnostic : diagnostics.all()) {
            if (diagnostic.isError()) message += (message.empty() ? "" : "\n") + diagnostics.format(diagnostic);
        }
        return errorJson(message);
    }
    for (const FolderFile& file : media) {
        if (!insideFolder(file.name)) return errorJson("le fichier \xC2\xAB " + file.name + " \xC2\xBB sort du dossier du quiz.");
    }
    replaceFolder(media);
    json opened = {{"form", formOf(source, stemOf(sourceName))}};
    return opened.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string Studio::openFolder(const std::vector<FolderFile>& files) {
    const FolderFile* source = nullptr;
    const auto depth = [](const std::string& name) { return std::count(name.begin(), name.end(), '/'); };
    for (const FolderFile& file : files) {
        const bool toml = fs::u8path(file.name).extension() == ".toml" || fs::u8path(file.name).extension() == ".TOML";
        if (toml && (source == nullptr || depth(file.name) < depth(source->name))) source = &file;
    }
    if (source == nullptr) return errorJson("ce dossier ne contient aucun fichier .toml (la source d'un quiz).");
    const std::string prefix = source->name.substr(0, source->name.rfind('/') + 1);
    std::vector<FolderFile> media;
    for (const FolderFile& file : files) {
        if (&file == source || file.name.compare(0, prefix.size(), prefix) != 0) continue;
        media.push_back({file.name.substr(prefix.size()), file.bytes});
    }
    return openSource(source->name, std::string(source->bytes.begin(), source->bytes.end()), media);
}

std::string Studio::openZip(const std::vector<StoredZipEntry>& entries, const std::vector<Bytes>& inflated) {
    std::vector<FolderFile> files;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StoredZipEntry& entry = entries[i];
        const Bytes& data = entry.method == 0 || i >= inflated.size() ? entry.data : inflated[i];
        if (!zipEntryIntact(entry, data)) {
            return errorJson("ce zip est abîmé : le fichier \xC2\xAB " + entry.name + " \xC2\xBB ne redonne pas ce qui y a été mis.");
        }
        files.push_back({entry.name, data});
    }
    return openFolder(files);
}

std::string Studio::verdict(const std::string& expected, const std::string& typed) {
    std::string verdict, error;
    const bool checked = checkAnswer(expected, typed, verdict, error);
    return json{{"verdict", checked ? verdict : ""}, {"error", checked ? "" : error}}.dump(-1, ' ', false,
                                                                                          json::error_handler_t::replace);
}

Bytes Studio::storedPicture(const std::string& name, bool keepOriginals) const {
    const auto found = prepared.find({name, keepOriginals});
    return found != prepared.end() ? found->second.bytes : Bytes{};
}

std::vector<PictureRecord> Studio::takeNewRecords() {
    std::vector<PictureRecord> records;
    for (const auto& [file, keep] : unrecorded) {
        const auto found = prepared.find({file, keep});
        // Memory running short says nothing of the file: that one is prepared again next time.
        if (found == prepared.end() || found->second.error == OutOfMemoryError || fingerprints.count(file) == 0) continue;
        records.push_back({file, keep, recordOf(file, keep, found->second)});
    }
    unrecorded.clear();
    return records;
}

Bytes Studio::recordOf(const std::string& file, bool keepOriginals, const PreparedPicture& picture) const {
    const auto& [originalSize, originalCrc] = fingerprints.at(file);
    const PictureHeader& source = picture.source;
    json record = {{"build", build}, {"file", file}, {"keep", keepOriginals},
                   {"original_size", originalSize}, {"original_crc", originalCrc},
                   {"error", picture.error}, {"stored_as", static_cast<int>(picture.storedAs)},
                   {"format", static_cast<int>(source.format)}, {"source_width", source.width},
                   {"source_height", source.height}, {"orientation", source.orientation},
                   {"baseline", source.baseline}, {"run_length", source.runLengthBitmap},
                   {"width", picture.width}, {"height", picture.height},
                   {"jpeg_size", picture.jpegSize}, {"palette_size", picture.paletteSize}};
    // A picture stored as it came is the original itself: not kept twice.
    if (!picture.prepared() || picture.storedAs != StoredAs::Original) record["bytes"] = json::binary(picture.bytes);
    return sealed(json::to_cbor(record));
}

bool Studio::restoreRecord(const Bytes& record) {
    const std::optional<json> fields = unsealed(record);
    if (!fields) return false;
    std::string recordBuild, file;
    bool keep = false;
    std::size_t originalSize = 0;
    std::uint32_t originalCrc = 0;
    int storedAs = 0, format = 0;
    PreparedPicture picture;
    PictureHeader& source = picture.source;
    const bool read =
        readField(*fields, "build", recordBuild) && readField(*fields, "file", file) && readField(*fields, "keep", keep) &&
        readField(*fields, "original_size", originalSize) && readField(*fields, "original_crc", originalCrc) &&
        readField(*fields, "error", picture.error) &&
        readField(*fields, "stored_as", storedAs, static_cast<int>(StoredAs::PaletteBitmap)) &&
        readField(*fields, "format", format, static_cast<int>(PictureFormat::Unknown)) &&
        readField(*fields, "source_width", source.width) && readField(*fields, "source_height", source.height) &&
        readField(*fields, "orientation", source.orientation) && readField(*fields, "baseline", source.baseline) &&
        readField(*fields, "run_length", source.runLengthBitmap) && readField(*fields, "width", picture.width) &&
        readField(*fields, "height", picture.height) && readField(*fields, "jpeg_size", picture.jpegSize) &&
        readField(*fields, "palette_size", picture.paletteSize);
    const auto fingerprint = fingerprints.find(file);
    if (!read || recordBuild != build || fingerprint == fingerprints.end() ||
        fingerprint->second != std::make_pair(originalSize, originalCrc)) {
        return false;   // another build, or another file by that name
    }
    picture.storedAs = static_cast<StoredAs>(storedAs);
    source.format = static_cast<PictureFormat>(format);
    const auto bytes = fields->find("bytes");
    if (bytes != fields->end() && bytes->is_binary()) {
        picture.bytes = bytes->get_binary();
    } else if (picture.prepared() && picture.storedAs == StoredAs::Original) {
        picture.bytes = fileBytes(file);
    } else {
        return false;
    }
    picture.originalSize = originalSize;
    prepared[{file, keep}] = std::move(picture);
    unrecorded.erase({file, keep});
    return true;
}

}  // namespace kelvo::studio
