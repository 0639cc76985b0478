// Input latches, the key table, and the MOUSE's cursor switching and restoring.
#include "app/bfio.h"
#include "app/input.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace {

intptr_t Point(int x, int y)
{
    return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

uintptr_t Wheel(int amount)
{
    return static_cast<uintptr_t>(static_cast<uint32_t>(amount & 0xFFFF) << 16);
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        g_input = INPUTLATCHES{};
    }
    void Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0)
    {
        EXPECT_EQ(WindowProcedure(nullptr, message, wParam, lParam), 0);
    }
};

TEST_F(InputTest, MessagesSetTheirLatches)
{
    Send(WM_MOUSEMOVE, 0, Point(-5, 479));
    EXPECT_EQ(g_input.pointerX, -5) << "coordinates are signed 16-bit";
    EXPECT_EQ(g_input.pointerY, 479);

    struct CASE {
        uint32_t message;
        uint8_t INPUTLATCHES::*latch;
        uint8_t value;
    };
    const CASE cases[] = {
        {WM_LBUTTONDOWN, &INPUTLATCHES::leftButton, 1},   {WM_LBUTTONUP, &INPUTLATCHES::leftButton, 0},
        {WM_RBUTTONDOWN, &INPUTLATCHES::rightButton, 1},  {WM_RBUTTONUP, &INPUTLATCHES::rightButton, 0},
        {WM_MBUTTONDOWN, &INPUTLATCHES::middleButton, 1}, {WM_MBUTTONUP, &INPUTLATCHES::middleButton, 0},
    };
    for (const CASE& c : cases) {
        Send(c.message);
        EXPECT_EQ(g_input.*c.latch, c.value) << std::hex << c.message;
    }

    // The wheel total is the running signed sum; nothing clears it.
    Send(WM_MOUSEWHEEL, Wheel(120));
    Send(WM_MOUSEWHEEL, Wheel(-360));
    EXPECT_EQ(g_input.wheelTotal, -240);

    // Only the latest key and character are kept; a character is the low 8 bits.
    Send(WM_KEYDOWN, VK_LEFT);
    Send(WM_KEYDOWN, 'A');
    Send(WM_CHAR, 0x1E4);
    EXPECT_EQ(g_input.lastKey, 'A');
    EXPECT_EQ(static_cast<unsigned char>(g_input.lastCharacter), 0xE4);
}

TEST_F(InputTest, ReadKeysHandsOutAndClears)
{
    KEYBOARD keyboard;
    char c = 1;
    int32_t k = 1;
    EXPECT_FALSE(keyboard.ReadKeys(&c, &k));
    EXPECT_EQ(c, 0);
    EXPECT_EQ(k, 0);

    Send(WM_KEYDOWN, VK_UP);  // an arrow key alone: a key, no character
    EXPECT_TRUE(keyboard.ReadKeys(&c, &k));
    EXPECT_EQ(k, VK_UP);
    EXPECT_EQ(c, 0);

    Send(WM_KEYDOWN, VK_BACK);  // backspace: the key and the character 8
    Send(WM_CHAR, 8);
    EXPECT_TRUE(keyboard.ReadKeys(&c, &k));
    EXPECT_EQ(KEYBOARD::TranslateKey(k), KEY_BACKSPACE);
    EXPECT_EQ(c, 8);
    EXPECT_FALSE(keyboard.ReadKeys(&c, &k)) << "a second read finds nothing";

    Send(WM_CHAR, 0xE9);  // characters from 0x80 up come back negative
    EXPECT_TRUE(keyboard.ReadKeys(&c, &k));
    EXPECT_LT(c, 0);
}

TEST_F(InputTest, ClearButtonsLeavesMiddleAndWheel)
{
    MOUSE mouse;
    Send(WM_LBUTTONDOWN);
    Send(WM_RBUTTONDOWN);
    Send(WM_MBUTTONDOWN);
    Send(WM_MOUSEWHEEL, Wheel(120));
    mouse.ClearButtons();
    uint8_t left = 9;
    mouse.GetLeftButton(&left);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(g_input.rightButton, 0);
    EXPECT_EQ(g_input.middleButton, 1);
    EXPECT_EQ(g_input.wheelTotal, 120);
}

TEST(KeyTable, TranslatesExactlyTheListedKeys)
{
    const struct {
        int32_t vk;
        int32_t key;
    } table[] = {
        {VK_LEFT, KEY_LEFT},   {VK_RIGHT, KEY_RIGHT},       {VK_BACK, KEY_BACKSPACE},      {VK_DELETE, KEY_DELETE},
        {VK_ESCAPE, KEY_ESCAPE}, {VK_RETURN, KEY_ENTER},    {VK_TAB, KEY_TAB},             {VK_INSERT, KEY_INSERT},
        {VK_ADD, KEY_PAD_PLUS}, {VK_SUBTRACT, KEY_PAD_MINUS}, {VK_F1, KEY_F1},             {0x74, KEY_F5},
        {VK_F9, KEY_F9},       {VK_UP, KEY_NONE},           {VK_DOWN, KEY_NONE},           {VK_F10, KEY_NONE},
        {'A', KEY_NONE},       {'0', KEY_NONE},             {0, KEY_NONE},                 {-1, KEY_NONE},
    };
    for (const auto& row : table) EXPECT_EQ(KEYBOARD::TranslateKey(row.vk), row.key) << row.vk;
}

// Cursor handles of the headless backend are the resource number, or 0x10000 plus a system
// cursor number.
TEST_F(InputTest, MouseStartsBusyAndRestoresTheEarlierCursor)
{
    PlatSetCursor(reinterpret_cast<PLATCURSOR>(intptr_t{77}));
    HeadlessClearCalls();
    {
        MOUSE mouse;
        EXPECT_EQ(mouse.Mode(), CURSOR_BUSY);
        std::vector<std::string> expected = {"LoadCursor(102)", "LoadCursor(101)", "LoadCursor(103)",
                                             "ShowCursor(0)",   "SetCursor(102)",  "ShowCursor(1)"};
        EXPECT_EQ(HeadlessCalls(), expected);
        HeadlessClearCalls();
    }
    std::vector<std::string> expected = {"SetCursor(77)", "DestroyCursor(102)", "DestroyCursor(101)",
                                         "DestroyCursor(103)"};
    EXPECT_EQ(HeadlessCalls(), expected);
    EXPECT_EQ(PlatGetCursor(), reinterpret_cast<PLATCURSOR>(intptr_t{77}));
}

TEST_F(InputTest, MissingCursorPicturesFallBackToSystemCursors)
{
    for (int id : {101, 102, 103}) HeadlessFailCursorResource(id, true);
    MOUSE mouse;
    EXPECT_EQ(PlatGetCursor(), reinterpret_cast<PLATCURSOR>(intptr_t{0x10000 + PLAT_IDC_WAIT}));
    mouse.SetCursorMode(CURSOR_HAND);
    EXPECT_EQ(PlatGetCursor(), reinterpret_cast<PLATCURSOR>(intptr_t{0x10000 + PLAT_IDC_ARROW}));
}

TEST_F(InputTest, CursorModeSwitchAndRefresh)
{
    MOUSE mouse;
    HeadlessClearCalls();
    mouse.SetCursorMode(CURSOR_BUSY);  // already set: no flicker
    EXPECT_TRUE(HeadlessCalls().empty());

    mouse.SetCursorMode(CURSOR_ARROW);
    std::vector<std::string> expected = {"ShowCursor(0)", "SetCursor(101)", "ShowCursor(1)"};
    EXPECT_EQ(HeadlessCalls(), expected);

    // Pointer moves put the mode's picture back when something else is showing.
    HeadlessClearCalls();
    Send(WM_MOUSEMOVE, 0, Point(1, 1));
    EXPECT_TRUE(HeadlessCalls().empty());
    PlatSetCursor(nullptr);
    HeadlessClearCalls();
    Send(WM_MOUSEMOVE, 0, Point(2, 2));
    EXPECT_EQ(HeadlessCalls(), expected);

    // An unknown mode hides and shows the pointer without setting a picture; refresh then does nothing.
    HeadlessClearCalls();
    mouse.SetCursorMode(7);
    expected = {"ShowCursor(0)", "ShowCursor(1)"};
    EXPECT_EQ(HeadlessCalls(), expected);
    HeadlessClearCalls();
    PlatSetCursor(nullptr);
    HeadlessClearCalls();
    mouse.RefreshCursor();
    EXPECT_TRUE(HeadlessCalls().empty());
}

TEST(InputSingletons, SecondMouseOrKeyboardEndsTheProcess)
{
    HeadlessReset();
    HeadlessSetBoxHook([](const HEADLESSBOX& box, void*) { fprintf(stderr, "box %s\n", box.text.c_str()); },
                       nullptr);
    EXPECT_EXIT(
        {
            MOUSE first;
            MOUSE second;
        },
        ::testing::ExitedWithCode(255), "box Second MOUSE class declared\\.");
    EXPECT_EXIT(
        {
            KEYBOARD first;
            KEYBOARD second;
        },
        ::testing::ExitedWithCode(255), "box Second KEYBOARD class declared\\.");
    HeadlessReset();
}

TEST(InputSingletons, AMouseMadeAfterTheFirstIsGoneIsAccepted)
{
    HeadlessReset();
    { MOUSE first; }
    MOUSE second;
    EXPECT_EQ(MOUSE::Instance(), &second);
}

}  // namespace
