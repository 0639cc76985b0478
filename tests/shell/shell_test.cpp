// The entry, run loop, window-procedure dispatch and paint handling, driven by an
// application of the tests' own that is reached through CreateApplication and
// DestroyApplication exactly as the real one is.
#include "app/bfio.h"
#include "app/input.h"
#include "gfx/screen.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// What the test application does, set by each test before RunProgram.
struct SCRIPT {
    bool failAllocation = false;             // CreateApplication returns null
    int updatesBeforeFalse = 1000;           // Update returns false on this call (1-based)
    std::function<void(int)> onUpdate;       // called with the call number
    std::function<void()> onRender;
    std::function<void()> duringConstruction;
    std::vector<std::string> events;         // "update@<pump>", "render@<pump>"
    std::vector<int> keysSeen;               // last key latch at each Update
    int renders = 0;
};
SCRIPT* g_script = nullptr;

void Note(const char* what)
{
    g_script->events.push_back(std::string(what) + "@" + std::to_string(HeadlessPumpCount()));
}

void ResetProcessState()
{
    HeadlessReset();
    g_shell = SHELLSTATE{};
    g_input = INPUTLATCHES{};
}

}  // namespace

class WIZARD final : public BFIO {
public:
    WIZARD() : mouse(new MOUSE()), keyboard(new KEYBOARD())
    {
        if (g_script->duringConstruction) g_script->duringConstruction();
    }
    ~WIZARD()
    {
        delete keyboard;
        delete mouse;
    }
    void Render() override
    {
        ++g_script->renders;
        Note("render");
        if (g_script->onRender) g_script->onRender();
    }
    bool Update() override
    {
        calls++;
        Note("update");
        g_script->keysSeen.push_back(g_input.lastKey);
        if (g_script->onUpdate) g_script->onUpdate(calls);
        return calls < g_script->updatesBeforeFalse;
    }
    int calls = 0;
    MOUSE* mouse;
    KEYBOARD* keyboard;
};

WIZARD* CreateApplication()
{
    if (g_script->failAllocation) return nullptr;
    return new WIZARD();
}

void DestroyApplication(WIZARD* application)
{
    delete application;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProcessState();
        g_script = &script;
    }
    void TearDown() override
    {
        HeadlessSetPumpHook(nullptr, nullptr);
        g_script = nullptr;
    }
    int Run(const char* commandLine = "") { return RunProgram(nullptr, commandLine); }
    SCRIPT script;
};

TEST_F(ShellTest, FirstUpdateComesBeforeFirstPollAndLoopAlternates)
{
    script.updatesBeforeFalse = 3;
    EXPECT_EQ(Run(), 0);
    std::vector<std::string> expected = {"update@0", "update@1", "update@2"};
    EXPECT_EQ(script.events, expected);
    EXPECT_EQ(g_shell.bfio, nullptr) << "the application is unregistered at the end";
    EXPECT_EQ(g_shell.running, 0);
}

TEST_F(ShellTest, UpdateFalseOnFirstCallSkipsTheLoop)
{
    script.updatesBeforeFalse = 1;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(HeadlessPumpCount(), 0);
}

TEST_F(ShellTest, NoApplicationMeansNoLoopAndStatusZero)
{
    script.failAllocation = true;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(HeadlessPumpCount(), 0);
    EXPECT_TRUE(script.events.empty());
}

TEST_F(ShellTest, CloseEndsTheLoopAfterTheCurrentPass)
{
    HeadlessSetPumpHook(
        [](int pump, void*) {
            if (pump == 2) HeadlessPost(WM_CLOSE);
        },
        nullptr);
    EXPECT_EQ(Run(), 0);
    // The Update of the pass that handled WM_CLOSE still runs; no further Poll follows.
    std::vector<std::string> expected = {"update@0", "update@1", "update@2"};
    EXPECT_EQ(script.events, expected);
    EXPECT_EQ(HeadlessPumpCount(), 2);
    EXPECT_EQ(HeadlessCount("DefWindowProc"), 0) << "WM_CLOSE is handled, the window is not destroyed by it";
}

TEST_F(ShellTest, InputBeforeARepaintInTheSamePollIsLost)
{
    script.updatesBeforeFalse = 3;
    HeadlessSetPumpHook(
        [](int pump, void*) {
            HeadlessKey(VK_RETURN, '\r');
            HeadlessMouseButton(true);
            if (pump == 1) HeadlessInvalidate();  // the paint is handled after the key and the click
        },
        nullptr);
    EXPECT_EQ(Run(), 0);
    ASSERT_EQ(script.keysSeen.size(), 3u);
    EXPECT_EQ(script.keysSeen[1], 0) << "the repaint cleared the key";
    EXPECT_EQ(script.keysSeen[2], VK_RETURN) << "without a repaint the key is seen";
    EXPECT_EQ(script.renders, 1);
}

TEST_F(ShellTest, RepaintClearsKeyAndButtonLatchesOnly)
{
    g_shell.running = 1;
    g_input.lastKey = VK_F1;
    g_input.lastCharacter = 'a';
    g_input.leftButton = 1;
    g_input.rightButton = 1;
    g_input.middleButton = 1;
    g_input.wheelTotal = 120;
    MOUSE* mouse = new MOUSE();
    KEYBOARD* keyboard = new KEYBOARD();
    WindowProcedure(nullptr, WM_PAINT, 0, 0);
    EXPECT_EQ(g_input.lastKey, 0);
    EXPECT_EQ(g_input.lastCharacter, 0);
    EXPECT_EQ(g_input.leftButton, 0);
    EXPECT_EQ(g_input.rightButton, 0);
    EXPECT_EQ(g_input.middleButton, 1);
    EXPECT_EQ(g_input.wheelTotal, 120);
    delete keyboard;
    delete mouse;
}

TEST_F(ShellTest, PaintDuringConstructionDrawsNothingButIsStillPainted)
{
    script.updatesBeforeFalse = 1;
    script.duringConstruction = [] {
        HeadlessInvalidate();
        ShowMessage("Error", "Unable to open graphics");  // its modal loop delivers the paint
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(script.renders, 0);
    EXPECT_EQ(HeadlessCount("BeginPaint"), 1);
    EXPECT_EQ(HeadlessCount("EndPaint"), 1);
    EXPECT_FALSE(HeadlessPaintPending());
}

TEST_F(ShellTest, PaintArrivingDuringARenderDoesNotRenderAgain)
{
    script.updatesBeforeFalse = 2;
    script.onRender = [] { WindowProcedure(nullptr, WM_PAINT, 0, 0); };
    HeadlessSetPumpHook([](int, void*) { HeadlessInvalidate(); }, nullptr);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(script.renders, 1);
    EXPECT_EQ(HeadlessCount("BeginPaint"), 2);
    EXPECT_EQ(HeadlessCount("EndPaint"), 2);
}

TEST_F(ShellTest, DispatchHandlesItsMessagesAndPassesOthersOn)
{
    struct CASE {
        uint32_t message;
        bool handled;
    };
    const CASE cases[] = {
        {WM_SIZE, true},        {WM_PAINT, true},       {WM_CLOSE, true},       {WM_KEYDOWN, true},
        {WM_CHAR, true},        {WM_MOUSEMOVE, true},   {WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true},
        {WM_RBUTTONDOWN, true}, {WM_RBUTTONUP, true},   {WM_MBUTTONDOWN, true}, {WM_MBUTTONUP, true},
        {WM_MOUSEWHEEL, true},  {0x0203, false} /* left double-click */,        {0x0001, false} /* create */,
    };
    for (const CASE& c : cases) {
        HeadlessClearCalls();
        PLATMINMAXINFO info{};
        EXPECT_EQ(WindowProcedure(nullptr, c.message, 0, 0), 0);
        EXPECT_EQ(HeadlessCount("DefWindowProc") == 0, c.handled) << std::hex << c.message;
        (void)info;
    }
    HeadlessClearCalls();
    PLATMINMAXINFO info{};
    EXPECT_EQ(WindowProcedure(nullptr, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info)), 0);
    EXPECT_EQ(HeadlessCount("DefWindowProc"), 0);
}

TEST_F(ShellTest, CommandLineIsHandedToTheApplication)
{
    std::string seen;
    script.updatesBeforeFalse = 1;
    script.onUpdate = [&seen](int) { seen = g_shell.bfio->CommandLine(); };
    Run("-pack now");
    EXPECT_EQ(seen, "-pack now");
}

TEST_F(ShellTest, SecondApplicationObjectEndsTheProcess)
{
    EXPECT_EXIT(
        {
            script.updatesBeforeFalse = 1;
            script.onUpdate = [](int) { new WIZARD(); };
            Run();
        },
        ::testing::ExitedWithCode(255), "");
}

TEST_F(ShellTest, SecondBfioShowsItsMessageBeforeEnding)
{
    EXPECT_EXIT(
        {
            script.updatesBeforeFalse = 1;
            HeadlessSetBoxHook(
                [](const HEADLESSBOX& box, void*) {
                    fprintf(stderr, "box %s / %s\n", box.caption.c_str(), box.text.c_str());
                },
                nullptr);
            script.onUpdate = [](int) { new WIZARD(); };
            Run();
        },
        ::testing::ExitedWithCode(255), "box Error / Second BFIO class declared\\.");
}
