#include <windows.h>

#include <gmock/gmock.h>

#include "media_fixture.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo::testing {
namespace {

TEST_F(MediaQuizTest, TextQuizNeverPreparesMedia) {
    ASSERT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    const int initialisations = handlesTaken(HandleKind::ComInitialisation);
    writeFile("kelvo1.mp3", "not ours to delete");
    open(QuizKind::Text, 3);
    SendMessageA(panel, WM_COMMAND, 6001, 0);
    SendMessageA(panel, WM_COMMAND, 7001, 0);
    EXPECT_FALSE(mediaStatus().started);
    shutDownNow();
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    EXPECT_EQ(handlesTaken(HandleKind::ComInitialisation), initialisations);
    EXPECT_TRUE(clipFileExists("kelvo1.mp3"));
    EXPECT_THAT(platform.messages, ::testing::IsEmpty());
}

}  // namespace
}  // namespace kelvo::testing
