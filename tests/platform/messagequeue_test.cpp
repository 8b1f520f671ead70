// The message queue: input in the order it came, as messages for the main
// loop or as it is for a modal box, and the quit request after everything.
#include "platform/framework/messagepump.h"
#include "platform/testing/testing.h"
#include "platform/win32/win32.h"

#include <gtest/gtest.h>

namespace
{

void Inject(platform::InputEvent::Kind kind, UINT key = 0, int x = 0, int y = 0)
{
    platform::InputEvent event;
    event.kind = kind;
    event.key = key;
    event.x = x;
    event.y = y;
    platform::testing::InjectEvent(event);
}

TEST(MessageQueueTest, InputBecomesWindowMessagesInOrder)
{
    using Kind = platform::InputEvent::Kind;
    Inject(Kind::KeyDown, VK_F1);
    Inject(Kind::MouseMove, 0, 50, 60);
    Inject(Kind::MouseDown, 0, 300, 200);
    Inject(Kind::Text);
    Inject(Kind::Close);

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN) << "PM_NOREMOVE kept the message";
    EXPECT_EQ(msg.wParam, VK_F1);

    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_LBUTTONDOWN);
    EXPECT_EQ(msg.lParam & 0xFFFF, 300);
    EXPECT_EQ((msg.lParam >> 16) & 0xFFFF, 200);

    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_CLOSE);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueueTest, QuitComesAfterWaitingMessagesAndOnlyOnce)
{
    Inject(platform::InputEvent::Kind::KeyDown, VK_ESCAPE);
    PostQuitMessage(3);
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_KEYDOWN);

    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

} // namespace

TEST(MessageQueueTest, InputThatCameBeforeADialogGoesToTheDialogNotAfterIt)
{
    // Escape, Escape in one frame: the first opens a question, whose own loop
    // must get the second; after it closes nothing is left to replay.
    Inject(platform::InputEvent::Kind::KeyDown, VK_ESCAPE);
    Inject(platform::InputEvent::Kind::MouseMove, 0, 5, 5);
    Inject(platform::InputEvent::Kind::KeyDown, VK_ESCAPE);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, VK_ESCAPE);

    EXPECT_EQ(platform::TakeInput(0).kind, platform::InputEvent::Kind::MouseMove);
    const platform::InputEvent second = platform::TakeInput(0);
    EXPECT_EQ(second.kind, platform::InputEvent::Kind::KeyDown);
    EXPECT_EQ(second.key, VK_ESCAPE);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}
