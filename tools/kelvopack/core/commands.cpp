#include "core/commands.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

#include "core/answer_check.h"
#include "core/diagnostics.h"
#include "core/executable_image.h"
#include "core/quiz_page.h"
#include "core/quiz_payload.h"
#include "core/quiz_validation.h"
#include "core/scorm_package.h"
#include "core/source_writer.h"
#include "core/zlib_compressor.h"

namespace kelvo::pack {

namespace fs = std::filesystem;

namespace {

// A path in the style the user wrote it: on Windows with "/" when given
// with "/" (a Linux path through Wine), else with the Windows "\\".
std::string shown(const fs::path& path) {
    std::string text = path.u8string();
#ifdef _WIN32
    const char separator = text.find('/') != std::string::npos ? '/' : '\\';
    std::replace(text.begin(), text.end(), separator == '/' ? '\\' : '/', separator);
#endif
    return text;
}

std::string lowerExtension(const fs::path& path) {
    std::string extension = path.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

void printDiagnostics(CommandContext& context, const Diagnostics& diagnostics) {
    std::vector<Diagnostic> sorted = diagnostics.all();
    std::stable_sort(sorted.begin(), sorted.end(), [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    for (const Diagnostic& diagnostic : sorted) context.err << diagnostics.format(diagnostic) << '\n';
}

// "Images : 37 / 96", rewritten in place on a console.
PreparationProgress progressLine(CommandContext& context) {
    if (!context.outputIsConsole) return {};
    return [&context](int done, int total) {
        context.out << "\rImages : " << done << " / " << total << (done == total ? "\n" : "");
        context.out.flush();
    };
}

void printPictureReport(CommandContext& context, const PictureReport& report) {
    for (const PictureReport::Line& line : report.lines) {
        context.out << "  " << line.field << " (" << line.file << ") : " << line.description << '\n';
    }
}

bool compileSource(CommandContext& context, const fs::path& source, const PictureFlags& flags, PackedQuiz& quiz,
                   PictureReport& report) {
    Diagnostics diagnostics(shown(source));
    const bool valid = loadAndCompileQuiz(source, quiz, diagnostics, {flags.keepPictures, progressLine(context), {}}, &report);
    printDiagnostics(context, diagnostics);
    if (!valid) {
        context.err << diagnostics.errorCount() << " erreur(s) dans " << shown(source) << " ; rien n'a été écrit.\n";
    } else if (flags.verbose) {
        printPictureReport(context, report);
    }
    return valid;
}

// Every word French: the source's keywords are English, the summary is not.
const char* frenchKindName(int kind) {
    constexpr std::array<const char*, 4> names = {"texte", "d'images", "audio", "vidéo"};
    return kind >= 0 && kind < static_cast<int>(names.size()) ? names[kind] : "?";
}

const char* frenchRevealName(int mode) {
    constexpr std::array<const char*, 5> names = {"aucune", "image", "texte", "texte et image", "tous les textes à la fin"};
    return mode >= 0 && mode < static_cast<int>(names.size()) ? names[mode] : "?";
}

std::string summary(const PackedQuiz& quiz, const PictureReport& pictures = {}) {
    std::string text = std::to_string(quiz.questions.size()) + " question(s), quiz " + frenchKindName(quiz.kind) + ", " +
                       std::to_string(quiz.answersPerQuestion) + " réponse(s) par question, révélation : " +
                       frenchRevealName(quiz.revealMode);
    if (!pictures.lines.empty()) {
        text += ", images : " + frenchSize(pictures.originalBytes) + " \xE2\x86\x92 " + frenchSize(pictures.storedBytes);
    }
    return text;
}

bool samePath(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}

std::string describe(const ResourceName& name) {
    if (name.isNumber()) return std::to_string(name.id);
    std::string text;
    for (char16_t c : name.text) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return "\"" + text + "\"";
}

std::string describe(const Resource& resource) { return describe(resource.type) + " " + describe(resource.name); }

bool writeFile(const fs::path& path, const void* data, std::size_t size) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(stream);
}

// A whole executable and its resources. No executable exceeds 4 GB: a larger
// file is refused before it is read.
bool readExecutableFile(const fs::path& path, Bytes& bytes, ResourceSet& resources, std::string& error) {
    std::error_code fileError;
    const std::uintmax_t size = fs::file_size(path, fileError);
    if (fileError) {
        error = "le fichier ne se lit pas (" + fileError.message() + ").";
        return false;
    }
    if (size > 0xFFFFFFFFu) {
        error = "ce n'est pas un exécutable Windows (il dépasse 4 Go).";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    std::ifstream stream(path, std::ios::binary);
    if (!stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        error = "le fichier ne se lit pas jusqu'au bout.";
        return false;
    }
    return readExecutableResources(bytes, resources, error);
}

// The resources kelvopack wrote must come back byte for byte: that is what
// the player's loader will read.
bool verifyWritten(const Bytes& executable, const ResourceSet& written, std::string& error) {
    ResourceSet readBack;
    if (!readExecutableResources(executable, readBack, error)) return false;
    for (const Resource& resource : written) {
        const auto found = std::find_if(readBack.begin(), readBack.end(), [&resource](const Resource& candidate) {
            return candidate.type == resource.type && candidate.name == resource.name && candidate.language == resource.language;
        });
        if (found == readBack.end() || found->data != resource.data) {
            error = "la relecture de l'exécutable écrit ne redonne pas la ressource " + describe(resource) +
                    (found == readBack.end() ? " (absente)." : " (" + std::to_string(found->data.size()) + " octets relus pour " +
                                                           std::to_string(resource.data.size()) + " écrits).");
            return false;
        }
    }
    if (readBack.size() != written.size()) {
        error = "l'exécutable écrit contient d'autres ressources que celles du lecteur et du quiz.";
        return false;
    }
    PackedQuiz reread;
    return readQuizResources(readBack, reread, error);
}

std::optional<fs::path> choosePlayer(CommandContext& context, const BuildRequest& request) {
    if (request.player) return request.player;
    if (auto found = findPlayer(context.toolFolder, request.architecture)) return found;
    const bool wide = request.architecture == Architecture::X64;
    context.err << "lecteur Kelvo " << (wide ? "64" : "32") << " bits introuvable. Cherché :\n";
    for (const fs::path& candidate : playerCandidates(context.toolFolder)) context.err << "  " << shown(candidate) << '\n';
    context.err << "Indiquez-le avec --player CHEMIN\\kelvo.exe" << (wide ? "" : ", ou demandez le lecteur 64 bits avec --arch 64")
                << ".\n";
    return std::nullopt;
}

bool readPlayer(CommandContext& context, const fs::path& player, Bytes& bytes, ResourceSet& resources) {
    std::string error;
    if (!readExecutableFile(player, bytes, resources, error)) {
        context.err << "impossible de lire les ressources du lecteur " << shown(player) << " : " << error << '\n';
        return false;
    }
    if (findResource(resources, ResourceName::number(ResourceTypes::Dialog), QuizResourceIds::PanelDialog) == nullptr ||
        findResource(resources, ResourceName::number(ResourceTypes::Dialog), QuizResourceIds::HeaderDialog) == nullptr) {
        context.err << shown(player) << " n'est pas un lecteur Kelvo (il n'a pas ses dialogues 1001 et 1002).\n";
        return false;
    }
    return true;
}

// The whole quiz is made and read back in memory, then written beside the
// output and moved into place, so a failed build never leaves a
// half-written quiz behind.
bool writeQuizExecutable(CommandContext& context, const fs::path& player, const Bytes& playerBytes,
                         const ResourceSet& resources, const fs::path& output) {
    Bytes quiz;
    std::string error;
    if (!writeExecutableResources(playerBytes, resources, quiz, error)) {
        context.err << "le lecteur " << shown(player) << " ne peut pas recevoir de quiz : " << error << '\n';
        return false;
    }
    fs::path temporary = output;
    temporary += ".kelvopack-tmp";
    std::error_code fileError;
    bool written = verifyWritten(quiz, resources, error);
    if (written && !writeFile(temporary, quiz.data(), quiz.size())) {
        error = "le fichier ne s'écrit pas (disque plein ou dossier protégé ?).";
        written = false;
    }
    if (written) {
        fs::remove(output, fileError);
        fs::rename(temporary, output, fileError);
        if (fileError) error = "impossible de remplacer le fichier (le quiz est-il ouvert ?) : " + fileError.message();
        written = !fileError;
    }
    if (!written) {
        fs::remove(temporary, fileError);
        context.err << "écriture de " << shown(output) << " impossible : " << error << '\n';
    }
    return written;
}


// What a build writes, by its options and the output's name; nothing when
// they disagree (said in French).
std::optional<std::string> chosenExtension(CommandContext& context, const BuildRequest& request) {
    const std::string named = request.output ? lowerExtension(*request.output) : "";
    if (request.scorm && request.page) {
        context.err << "--html et --scorm s'excluent : le paquet SCORM contient déjà la page.\n";
        return std::nullopt;
    }
    if (request.scorm) return ".zip";
    if (named == ".zip") {
        context.err << "un paquet SCORM demande sa version : ajoutez --scorm 1.2 (toutes les plateformes) ou --scorm 2004.\n";
        return std::nullopt;
    }
    return request.page || named == ".html" ? ".html" : ".exe";
}

}  // namespace

int validateCommand(CommandContext& context, const fs::path& source, const PictureFlags& pictures) {
    PackedQuiz quiz;
    PictureReport report;
    if (!compileSource(context, source, pictures, quiz, report)) return ExitCodes::Invalid;
    context.out << shown(source) << " est valide : " << summary(quiz, report) << ".\n";
    return ExitCodes::Success;
}

int buildCommand(CommandContext& context, const BuildRequest& request) {
    const std::optional<std::string> extension = chosenExtension(context, request);
    if (!extension) return ExitCodes::Usage;
    const bool page = *extension == ".html";
    const fs::path output = request.output.value_or(fs::path(request.source).replace_extension(*extension));
    // The player saves its answers beside itself under its own name with the
    // last three characters replaced by "txt": only an .exe name keeps that
    // file from being the player itself or another file of the quiz.
    if (lowerExtension(output) != *extension) {
        const char* what = page ? "la page construite" : request.scorm ? "le paquet SCORM" : "le quiz construit";
        context.err << what << " doit avoir un nom en " << *extension << " (et non " << shown(output) << ").\n";
        return ExitCodes::Usage;
    }
    PackedQuiz quiz;
    PictureReport report;
    if (!compileSource(context, request.source, request.pictures, quiz, report)) return ExitCodes::Invalid;
    if (page) return buildQuizPage(context, quiz, output, shown(output), summary(quiz, report));
    if (request.scorm)
        return buildScormPackage(context, quiz, output, *request.scorm, shown(output), summary(quiz, report), ZlibCompressor());
    const std::optional<fs::path> player = choosePlayer(context, request);
    if (!player) return ExitCodes::Failure;
    if (samePath(*player, output)) {
        context.err << "le quiz construit remplacerait le lecteur " << shown(*player) << " : choisissez un autre nom avec -o.\n";
        return ExitCodes::Usage;
    }
    Bytes playerBytes;
    ResourceSet playerResources;
    if (!readPlayer(context, *player, playerBytes, playerResources)) return ExitCodes::Failure;
    ResourceSet quizResources;
    std::string error;
    if (!makeQuizResources(quiz, quizResources, error)) {
        context.err << error << '\n';
        return ExitCodes::Invalid;
    }
    if (!writeQuizExecutable(context, *player, playerBytes, combineWithPlayer(playerResources, quizResources), output)) {
        return ExitCodes::Failure;
    }
    context.out << shown(output) << " écrit (" << summary(quiz, report) << ", lecteur " << shown(*player) << ").\n";
    return ExitCodes::Success;
}

int extractCommand(CommandContext& context, const fs::path& executable, std::optional<fs::path> folder, bool overwrite) {
    Bytes bytes;
    ResourceSet resources;
    std::string error;
    PackedQuiz quiz;
    if (!readExecutableFile(executable, bytes, resources, error) || !readQuizResources(resources, quiz, error)) {
        context.err << shown(executable) << " : " << error << '\n';
        return ExitCodes::Failure;
    }
    const fs::path target = folder.value_or(fs::path(executable).replace_extension());
    std::error_code fileError;
    if (!overwrite && fs::exists(target, fileError) && !fs::is_empty(target, fileError)) {
        context.err << "le dossier " << shown(target) << " existe déjà et n'est pas vide ; choisissez-en un autre avec -o, "
                    << "ou ajoutez --force pour écraser ses fichiers.\n";
        return ExitCodes::Usage;
    }
    fs::create_directories(target, fileError);
    const ExtractedQuiz extracted = extractQuizSource(quiz, shown(executable.filename()));
    const fs::path sourceFile = target / fs::path(executable).filename().replace_extension(".toml");
    bool written = writeFile(sourceFile, extracted.source.data(), extracted.source.size());
    for (const auto& [name, bytes] : extracted.files) written = written && writeFile(target / name, bytes.data(), bytes.size());
    if (!written) {
        context.err << "écriture dans " << shown(target) << " impossible.\n";
        return ExitCodes::Failure;
    }
    context.out << shown(sourceFile) << " écrit avec " << extracted.files.size() << " fichier(s) de média ("
                << summary(quiz) << ").\n";
    return ExitCodes::Success;
}

int checkCommand(CommandContext& context, const std::vector<std::string>& answers) {
    if (answers.empty()) return checkAnswerLines(context.in, context.out, context.err) == 0 ? ExitCodes::Success : ExitCodes::Invalid;
    if (answers.size() != 2) {
        context.err << "check attend deux textes (la réponse attendue et la réponse tapée), ou rien pour lire l'entrée standard.\n";
        return ExitCodes::Usage;
    }
    std::string verdict;
    std::string error;
    if (!checkAnswer(answers[0], answers[1], verdict, error)) {
        context.err << error << ".\n";
        return ExitCodes::Invalid;
    }
    context.out << verdict << '\n';
    return ExitCodes::Success;
}

int runKelvopack(CommandContext& context, const std::vector<std::string>& arguments) {
    if (arguments.size() == 1 && (lowerExtension(fs::u8path(arguments[0])) == ".toml" ||
                                  lowerExtension(fs::u8path(arguments[0])) == ".exe")) {
        const fs::path file = fs::u8path(arguments[0]);
        if (lowerExtension(file) == ".toml") return buildCommand(context, BuildRequest{file, {}, {}, Architecture::X86, {}});
        return extractCommand(context, file, std::nullopt, false);
    }

    CLI::App app{"kelvopack : construit un quiz Kelvo (un exécutable Windows) à partir d'un fichier TOML, et l'inverse."};
    app.require_subcommand(1);
    // Options start with "-" only: a path such as /home/... (a Linux path
    // given through Wine) must stay a path.
    app.allow_windows_style_options(false);
    app.footer("Glisser un fichier .toml sur kelvopack.exe le construit ; glisser un quiz .exe l'extrait.");

    std::string source, output, player, executable, folder;
    int architecture = 32;
    bool overwrite = false;
    PictureFlags pictures;
    const auto addPictureFlags = [&pictures](CLI::App* command) {
        command->add_flag("--keep-pictures", pictures.keepPictures,
                          "garde les images BMP, JPEG et GIF telles quelles au lieu de les réduire à la taille affichée");
        command->add_flag("-v,--verbose", pictures.verbose, "dit ce que devient chaque image");
    };
    std::vector<std::string> answers;

    CLI::App* build = app.add_subcommand("build", "Construit le quiz QUIZ.toml en un exécutable.");
    build->add_option("QUIZ.toml", source, "fichier source du quiz")->required();
    build->add_option("-o,--output", output, "exécutable à écrire (par défaut : le nom du source en .exe)");
    build->add_option("--player", player, "lecteur Kelvo à copier (par défaut : cherché à côté de kelvopack)");
    build->add_option("--arch", architecture, "lecteur 32 ou 64 bits (32 par défaut)")->check(CLI::IsMember({32, 64}));
    bool page = false;
    build->add_flag("--html", page, "écrit la page web du quiz (QUIZ.html), qui se joue dans tout navigateur");
    std::string scorm;
    build->add_option("--scorm", scorm, "écrit la page en paquet SCORM (QUIZ.zip) pour une plateforme d'apprentissage : 1.2 ou 2004")
        ->check(CLI::IsMember({scormVersionName(ScormVersion::V1_2), scormVersionName(ScormVersion::V2004)}));
    addPictureFlags(build);

    CLI::App* extract = app.add_subcommand("extract", "Extrait la source TOML et les médias d'un quiz construit.");
    extract->add_option("QUIZ.exe", executable, "quiz construit")->required();
    extract->add_option("-o,--output", folder, "dossier à remplir (par défaut : le nom du quiz, à côté de lui)");
    extract->add_flag("--force", overwrite, "écrase les fichiers d'un dossier qui n'est pas vide");

    CLI::App* check = app.add_subcommand(
        "check", "Donne le verdict du lecteur pour ATTENDU et TAPÉ ; sans eux, lit des lignes ATTENDU<tab>TAPÉ.");
    check->add_option("answers", answers, "réponse attendue, puis réponse tapée");

    CLI::App* validate = app.add_subcommand("validate", "Vérifie QUIZ.toml sans rien écrire.");
    validate->add_option("QUIZ.toml", source, "fichier source du quiz")->required();
    addPictureFlags(validate);

    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& failure) {
        const int status = app.exit(failure, context.out, context.err);
        return status == 0 ? ExitCodes::Success : ExitCodes::Usage;
    }
    if (build->parsed()) {
        BuildRequest request{fs::u8path(source), {}, {}, architecture == 64 ? Architecture::X64 : Architecture::X86, pictures};
        if (!output.empty()) request.output = fs::u8path(output);
        if (!player.empty()) request.player = fs::u8path(player);
        request.page = page;
        if (!scorm.empty())
            request.scorm = scorm == scormVersionName(ScormVersion::V1_2) ? ScormVersion::V1_2 : ScormVersion::V2004;
        return buildCommand(context, request);
    }
    if (extract->parsed()) {
        return extractCommand(context, fs::u8path(executable),
                              folder.empty() ? std::nullopt : std::optional<fs::path>(fs::u8path(folder)), overwrite);
    }
    if (check->parsed()) return checkCommand(context, answers);
    return validateCommand(context, fs::u8path(source), pictures);
}

}  // namespace kelvo::pack
