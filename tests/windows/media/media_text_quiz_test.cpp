#include <windows.h>

#include <gmock/gmock.h>

#include "support/player_fixture.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo::testing {
namespace {

TEST_F(PlayerTest, TextQuizNeverPreparesMedia) {
    ASSERT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    const int initialisations = handlesTaken(HandleKind::ComInitialisation);
    writeFile("kelvo1.mp3", "not ours to delete");
    open({QuizKind::Text, numbered(3)});
    SendMessageA(panel, WM_COMMAND, 6001, 0);
    SendMessageA(panel, WM_COMMAND, 7001, 0);
    EXPECT_FALSE(mediaStatus().started);
    close();
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    EXPECT_EQ(handlesTaken(HandleKind::ComInitialisation), initialisations);
    EXPECT_TRUE(fileExists("kelvo1.mp3"));
    EXPECT_THAT(platform.messages, ::testing::IsEmpty());
}

}  // namespace
}  // namespace kelvo::testing
