#include "core/source_writer.h"

#include <gtest/gtest.h>

#include "core/quiz_payload.h"
#include "core/quiz_validation.h"
#include "kelvopack/quiz_folder.h"
#include "quiz/quiz.h"

namespace kelvo::pack {
namespace {

using testing::QuizFolder;

TEST(SourceWriter, AnExtractedSourceBuildsTheSamePayloads) {
    QuizFolder folder;
    // As extract reads it from a built quiz's resources.
    const PackedQuiz original = testing::awkwardQuiz();
    ResourceSet resources;
    PackedQuiz stored;
    std::string error;
    ASSERT_TRUE(makeQuizResources(original, resources, error) && readQuizResources(resources, stored, error)) << error;
    const ExtractedQuiz extracted = extractQuizSource(stored, "quiz.exe");
    // The same GIF serves as a picture and as both reveal pictures: one file.
    ASSERT_EQ(extracted.files.size(), 2u);
    EXPECT_EQ(extracted.files[0].first, "image-01.jpg");
    EXPECT_EQ(extracted.files[1].first, "image-revelee-01.gif");
    EXPECT_NE(extracted.source.find("author = \"C:\\\\Users\\\\prof\"\n"), std::string::npos) << extracted.source;
    EXPECT_NE(extracted.source.find("keep_pictures = true\n"), std::string::npos) << "the one-pixel GIF is no fitted picture";
    for (const auto& [name, bytes] : extracted.files) folder.write(name, std::string(bytes.begin(), bytes.end()));

    QuizSource source;
    Diagnostics diagnostics("quiz.toml");
    ASSERT_TRUE(parseQuizSource(extracted.source, folder.path, source, diagnostics)) << extracted.source;
    PackedQuiz rebuilt;
    ASSERT_TRUE(compileQuiz(source, rebuilt, diagnostics)) << extracted.source;
    EXPECT_EQ(quizPayload(rebuilt), quizPayload(original));
    EXPECT_EQ(codesPayload(rebuilt), codesPayload(original));
    EXPECT_EQ(rebuilt.questions[1].picture, original.questions[1].picture);
    EXPECT_EQ(rebuilt.questions[1].revealPicture, original.questions[1].revealPicture);
}

TEST(SourceWriter, ClipsKeepTheExtensionTheirContentSuggests) {
    PackedQuiz quiz;
    quiz.kind = QuizKind::Audio;
    quiz.questions = {{"a", "", "", "", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, {}},
                      {"b", "", "", "", {'I', 'D', '3'}, {}},
                      {"c", "", "", "", {'?'}, {}}};
    const ExtractedQuiz extracted = extractQuizSource(quiz, "sons.exe");
    ASSERT_EQ(extracted.files.size(), 3u);
    EXPECT_EQ(extracted.files[0].first, "extrait-01.wav");
    EXPECT_EQ(extracted.files[1].first, "extrait-02.mp3");
    EXPECT_EQ(extracted.files[2].first, "extrait-03.mp3") << "unknown audio keeps the name the player gives it";
    EXPECT_NE(extracted.source.find("clip = \"extrait-01.wav\""), std::string::npos) << extracted.source;
}

}  // namespace
}  // namespace kelvo::pack
