// The native half of the differential test: the same engine sources as the
// page's WebAssembly, built with the host compiler.
//   engine_reference verdicts < pairs.txt          lines EXPECTED<tab>TYPED in, verdicts out
//   engine_reference quiz QUIZ.toml FOLDER         writes FOLDER/quiz.bin, codes.bin and identity.txt
//                                                   (as a page carries them), prints the decoded quiz
#include <fstream>
#include <iostream>

#include "core/answer_check.h"
#include "core/quiz_payload.h"
#include "core/quiz_validation.h"
#include "quiz/quiz_identity.h"
#include "web/engine/page_engine.h"

namespace {

using namespace kelvo;

int printQuiz(const std::filesystem::path& source, const std::filesystem::path& folder) {
    pack::PackedQuiz quiz;
    pack::Diagnostics diagnostics(source.u8string());
    pack::ResourceSet resources;
    std::string error;
    if (!pack::loadAndCompileQuiz(source, quiz, diagnostics) || !pack::makeQuizResources(quiz, resources, error)) {
        std::cerr << source << " does not build\n";
        return 1;
    }
    const auto stream = [&resources](std::uint16_t id) {
        return pack::findResource(resources, pack::ResourceTypes::patch(), id)->data;
    };
    const web::Bytes quizStream = stream(pack::QuizResourceIds::Quiz);
    const web::Bytes codeStream = stream(pack::QuizResourceIds::Codes);
    const std::string identity = quizIdentityText(quizIdentity(quizStream, codeStream, "quiz.html"));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "quiz.bin", std::ios::binary) << std::string(quizStream.begin(), quizStream.end());
    std::ofstream(folder / "codes.bin", std::ios::binary) << std::string(codeStream.begin(), codeStream.end());
    std::ofstream(folder / "identity.txt", std::ios::binary) << identity;
    web::PageEngine engine;
    if (!engine.open(quizStream, codeStream, "quiz.html", identity)) return 1;
    std::cout << engine.quizDump() << engine.pageModel() << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "verdicts" && argc == 2) {
        kelvo::pack::checkAnswerLines(std::cin, std::cout, std::cerr);
        return 0;
    }
    if (mode == "quiz" && argc == 4) return printQuiz(argv[2], argv[3]);
    std::cerr << "usage: engine_reference verdicts < pairs | engine_reference quiz QUIZ.toml FOLDER\n";
    return 2;
}
