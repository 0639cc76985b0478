// The Linux desktop backend's own services: the file-backed registry store and the POSIX
// file operations, in temporary folders; the translation of SDL's events, keys and texts into
// what the program gets on Windows; the pictures compiled into the program; and the window
// calls when there is no display.
#include "platform/desktop/res_images.h"
#include "platform/desktop/sdl_translate.h"
#include "platform/platform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

// The backend calls into the core only through these; nothing here runs them.
intptr_t WindowProcedure(PLATWINDOW, uint32_t, uintptr_t, intptr_t) { return 0; }
int RunProgram(PLATINSTANCE, const char*) { return 0; }

namespace {

const char* const Key = "Software\\Brightfold Ltd\\Kickvale 99-00";

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("KVUPDATE_REGISTRY", (dir.Path() + "/store").c_str(), 1); }
    void TearDown() override { unsetenv("KVUPDATE_REGISTRY"); }
    TEMPDIR dir;
};

TEST_F(DesktopTest, RegistryStoreKeepsTextValuesUnderTheKeyPath)
{
    PLATKEY key = nullptr;
    EXPECT_FALSE(PlatRegOpenKey(Key, &key)) << "the key does not exist yet";
    ASSERT_TRUE(PlatRegCreateKey(Key, &key));
    EXPECT_TRUE(PlatRegSetValue(key, "Version", "Version 3.72 (ENG)"));
    PlatRegCloseKey(key);

    std::string stored;
    ASSERT_TRUE(ReadFileBytes(dir.Path() + "/store/Software/Brightfold Ltd/Kickvale 99-00/Version", &stored));
    EXPECT_EQ(stored, std::string("Version 3.72 (ENG)\0", 19)) << "stored with its terminating zero";

    ASSERT_TRUE(PlatRegOpenKey(Key, &key));
    char buffer[200];
    uint32_t size = sizeof buffer;
    ASSERT_TRUE(PlatRegQueryValue(key, "Version", buffer, &size));
    EXPECT_EQ(size, 19u);
    EXPECT_STREQ(buffer, "Version 3.72 (ENG)");
    size = sizeof buffer;
    EXPECT_FALSE(PlatRegQueryValue(key, "Location", buffer, &size)) << "a missing value";

    // A value longer than the buffer is not read (and not cut).
    std::string longValue(250, 'x');
    EXPECT_TRUE(PlatRegSetValue(key, "Location", longValue.c_str()));
    size = sizeof buffer;
    EXPECT_FALSE(PlatRegQueryValue(key, "Location", buffer, &size));
    // Exactly the capacity fits.
    std::string exact(199, 'y');
    EXPECT_TRUE(PlatRegSetValue(key, "Location", exact.c_str()));
    size = sizeof buffer;
    EXPECT_TRUE(PlatRegQueryValue(key, "Location", buffer, &size));
    EXPECT_EQ(size, 200u);
    PlatRegCloseKey(key);
}

TEST_F(DesktopTest, RegistryStoreRefusesPathsThatLeaveIt)
{
    PLATKEY key = nullptr;
    for (const char* path : {"Software\\..\\..\\etc", "Software\\a/b", "..\\x"})
        EXPECT_FALSE(PlatRegCreateKey(path, &key)) << path;
    ASSERT_TRUE(PlatRegCreateKey(Key, &key));
    for (const char* name : {"../Version", "", ".."}) EXPECT_FALSE(PlatRegSetValue(key, name, "x")) << name;
    PlatRegCloseKey(key);
}

TEST_F(DesktopTest, RenameNeverReplacesButReplaceDoes)
{
    ASSERT_TRUE(WriteFileBytes("a", "A"));
    ASSERT_TRUE(WriteFileBytes("b", "B"));
    EXPECT_FALSE(PlatRenameFile("a", "b"));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes("b", &bytes));
    EXPECT_EQ(bytes, "B");
    EXPECT_TRUE(PlatRenameFile("a", "c"));
    EXPECT_FALSE(FileExists("a"));
    EXPECT_TRUE(PlatReplaceFile("c", "b"));
    ASSERT_TRUE(ReadFileBytes("b", &bytes));
    EXPECT_EQ(bytes, "A");
    EXPECT_FALSE(FileExists("c"));
}

TEST_F(DesktopTest, MakeWritableAndDelete)
{
    ASSERT_TRUE(WriteFileBytes("ro", "x"));
    chmod("ro", 0400);
    EXPECT_TRUE(PlatMakeWritable("ro"));
    struct stat st;
    ASSERT_EQ(stat("ro", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(PlatDeleteFile("ro"));
    EXPECT_FALSE(PlatDeleteFile("ro"));
    EXPECT_FALSE(PlatMakeWritable("ro"));
}

TEST_F(DesktopTest, WildcardSearchFindsRegularFilesOfOneFolder)
{
    ASSERT_EQ(mkdir("qstart", 0755), 0);
    ASSERT_EQ(mkdir("qstart/dir.qst", 0755), 0);
    for (const char* f : {"qstart/one.qst", "qstart/two.qst", "qstart/other.txt", "qstart/.hidden.qst"})
        ASSERT_TRUE(WriteFileBytes(f, "q"));
    char name[64];
    std::set<std::string> found;
    PLATFIND search = PlatFindFirst("qstart/*.qst", name, sizeof name);
    ASSERT_NE(search, nullptr);
    do found.insert(name);
    while (PlatFindNext(search, name, sizeof name));
    PlatFindClose(search);
    EXPECT_EQ(found, (std::set<std::string>{"one.qst", "two.qst"}));

    EXPECT_EQ(PlatFindFirst("qstart/*.none", name, sizeof name), nullptr);
    EXPECT_EQ(PlatFindFirst("missing/*.qst", name, sizeof name), nullptr);
    char tiny[4];
    EXPECT_EQ(PlatFindFirst("qstart/*.qst", tiny, sizeof tiny), nullptr) << "names that do not fit are not cut";
}

TEST_F(DesktopTest, CurrentDirectoryMustFit)
{
    char buffer[4096];
    ASSERT_TRUE(PlatGetCurrentDirectory(buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), dir.Path());
    char tiny[4];
    EXPECT_FALSE(PlatGetCurrentDirectory(tiny, sizeof tiny));
}

// ---- Translation of SDL's events ----

struct MSG3 {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    bool operator==(const MSG3& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};

std::ostream& operator<<(std::ostream& out, const MSG3& m)
{
    return out << "{0x" << std::hex << m.message << ", " << std::dec << m.wParam << ", " << m.lParam << "}";
}

// A 640 x 480 window at (192, 144) that has had its first WM_SIZE, no button down.
DESKTOPWINDOWSTATE Window()
{
    DESKTOPWINDOWSTATE s;
    s.width = 640;
    s.height = 480;
    s.screenX = 192;
    s.screenY = 144;
    s.maximised = false;
    s.minimised = false;
    s.reportedType = SIZE_RESTORED;
    s.reportedWidth = 640;
    s.reportedHeight = 480;
    s.buttons = 0;
    return s;
}

std::vector<MSG3> Translate(const SDL_Event& e, const DESKTOPWINDOWSTATE& state = Window(), bool* paint = nullptr)
{
    DESKTOPTRANSLATION t;
    DesktopTranslateEvent(e, state, &t);
    if (paint) *paint = t.paint;
    std::vector<MSG3> out;
    for (int i = 0; i < t.count; ++i) out.push_back(MSG3{t.messages[i].message, t.messages[i].wParam, t.messages[i].lParam});
    return out;
}

SDL_Event KeyDown(SDL_Keycode key, bool repeat = false)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    e.key.repeat = repeat ? 1 : 0;
    return e;
}

SDL_Event Text(const char* utf8)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_TEXTINPUT;
    snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
    return e;
}

SDL_Event WindowEvent(uint8_t which, int data1 = 0, int data2 = 0)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

SDL_Event Pointer(uint32_t type, int x, int y, uint8_t button = 0)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
        e.motion.x = x;
        e.motion.y = y;
    } else {
        e.button.x = x;
        e.button.y = y;
        e.button.button = button;
    }
    return e;
}

SDL_Event Wheel(int y, bool flipped = false)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    e.wheel.mouseX = 10;
    e.wheel.mouseY = 20;
    return e;
}

TEST(DesktopTranslate, KeysGetTheirWindowsVirtualKeyCodes)
{
    struct CASE {
        SDL_Keycode key;
        int vk;
    };
    const CASE cases[] = {
        {SDLK_LEFT, VK_LEFT},     {SDLK_UP, VK_UP},           {SDLK_RIGHT, VK_RIGHT},   {SDLK_DOWN, VK_DOWN},
        {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},        {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN},
        {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_INSERT, VK_INSERT},   {SDLK_DELETE, VK_DELETE}, {SDLK_KP_PLUS, VK_ADD},
        {SDLK_KP_MINUS, VK_SUBTRACT}, {SDLK_F1, VK_F1},       {SDLK_F9, VK_F9},         {SDLK_F10, VK_F10},
        {SDLK_F12, 123},          {SDLK_a, 'A'},              {SDLK_z, 'Z'},            {SDLK_0, '0'},
        {SDLK_9, '9'},            {SDLK_SPACE, ' '},          {SDLK_PLUS, 0},           {SDLK_AUDIOMUTE, 0},
    };
    for (const CASE& c : cases) EXPECT_EQ(DesktopVirtualKey(c.key), c.vk) << SDL_GetKeyName(c.key);
}

TEST(DesktopTranslate, KeyDownAddsTheCharacterOnlyForKeysThatAreNotTyped)
{
    // Backspace, Tab, Return and Escape bring their character at once, as TranslateMessage does;
    // a letter's character comes with SDL's text event instead.
    EXPECT_EQ(Translate(KeyDown(SDLK_BACKSPACE)), (std::vector<MSG3>{{WM_KEYDOWN, VK_BACK, 1}, {WM_CHAR, 8, 1}}));
    EXPECT_EQ(Translate(KeyDown(SDLK_KP_ENTER)), (std::vector<MSG3>{{WM_KEYDOWN, VK_RETURN, 1}, {WM_CHAR, 13, 1}}));
    EXPECT_EQ(Translate(KeyDown(SDLK_ESCAPE)), (std::vector<MSG3>{{WM_KEYDOWN, VK_ESCAPE, 1}, {WM_CHAR, 27, 1}}));
    EXPECT_EQ(Translate(KeyDown(SDLK_TAB)), (std::vector<MSG3>{{WM_KEYDOWN, VK_TAB, 1}, {WM_CHAR, 9, 1}}));
    EXPECT_EQ(Translate(KeyDown(SDLK_LEFT)), (std::vector<MSG3>{{WM_KEYDOWN, VK_LEFT, 1}}));
    EXPECT_EQ(Translate(KeyDown(SDLK_a)), (std::vector<MSG3>{{WM_KEYDOWN, 'A', 1}}));
    // A held key repeats its key-down, marked as already down.
    EXPECT_EQ(Translate(KeyDown(SDLK_DELETE, true)), (std::vector<MSG3>{{WM_KEYDOWN, VK_DELETE, 1 | (1 << 30)}}));
    EXPECT_TRUE(Translate(KeyDown(SDLK_AUDIOMUTE)).empty()) << "a key Windows has no code for";
}

TEST(DesktopTranslate, TypedTextBecomesWindows1252Characters)
{
    // Latin-1 letters keep their value, the euro sign is 0x80, and the Greek omega, which the
    // code page does not hold, is dropped.
    EXPECT_EQ(Translate(Text("a\xC3\xA9\xE2\x82\xAC\xCE\xA9z")),
              (std::vector<MSG3>{{WM_CHAR, 'a', 1}, {WM_CHAR, 0xE9, 1}, {WM_CHAR, 0x80, 1}, {WM_CHAR, 'z', 1}}));
    // Broken UTF-8 gives nothing for the broken bytes.
    EXPECT_EQ(Translate(Text("\xC3x\xC0\xAF\xED\xA0\x80y")),
              (std::vector<MSG3>{{WM_CHAR, 'x', 1}, {WM_CHAR, 'y', 1}}));
}

TEST(DesktopTranslate, Windows1252AndUnicodeAgree)
{
    for (int b = 1; b < 256; ++b)
        EXPECT_EQ(DesktopUnicodeToCp1252(DesktopCp1252ToUnicode(static_cast<unsigned char>(b))), b) << "byte " << b;
    struct CASE {
        uint32_t unicode;
        int byte;
    };
    const CASE cases[] = {{0x20AC, 0x80}, {0x201A, 0x82}, {0x2122, 0x99}, {0x0178, 0x9F}, {0x00A0, 0xA0},
                          {0x00FF, 0xFF}, {0x0080, 0},    {0x0100, 0},    {0x03A9, 0},    {0x1F600, 0}};
    for (const CASE& c : cases) EXPECT_EQ(DesktopUnicodeToCp1252(c.unicode), c.byte) << std::hex << c.unicode;
}

TEST(DesktopTranslate, TitlesAreConvertedToUtf8WithinTheirBuffer)
{
    char out[64];
    ASSERT_TRUE(DesktopCp1252ToUtf8("Mise \xE0 jour \x80\x9F", out, sizeof out));
    EXPECT_STREQ(out, "Mise \xC3\xA0 jour \xE2\x82\xAC\xC5\xB8");
    ASSERT_TRUE(DesktopCp1252ToUtf8(nullptr, out, sizeof out));
    EXPECT_STREQ(out, "");
    // "\xE9" takes two bytes: "ab\xE9" needs five with the terminating zero.
    char five[5];
    EXPECT_TRUE(DesktopCp1252ToUtf8("ab\xE9", five, sizeof five));
    char four[4];
    EXPECT_FALSE(DesktopCp1252ToUtf8("ab\xE9", four, sizeof four));
    EXPECT_STREQ(four, "") << "nothing half-converted is left";
}

TEST(DesktopTranslate, PresentAddressesTheSourceFromTheBottomRow)
{
    // sourceY as the program computes it: height - 1 - the dirty rectangle's bottom.
    struct CASE {
        const char* what;
        int destX, destY, width, height, sourceX, sourceY;
        bool shown;
        DESKTOPBLIT blit;
    };
    const CASE cases[] = {
        {"whole surface", 0, 0, 640, 480, 0, 0, true, {0, 0, 0, 0, 640, 480}},
        {"top row", 0, 0, 640, 1, 0, 479, true, {0, 0, 0, 0, 640, 1}},
        {"bottom row", 0, 479, 640, 1, 0, 0, true, {0, 479, 0, 479, 640, 1}},
        {"rows 100..199, columns 50..149", 50, 100, 100, 100, 50, 280, true, {50, 100, 50, 100, 100, 100}},
        {"running off the right and the top", 600, 0, 100, 10, 600, 475, true, {600, 0, 600, 5, 40, 5}},
        {"wholly off the surface", 700, 0, 10, 10, 700, 0, false, {}},
        {"empty", 0, 0, 0, 10, 0, 0, false, {}},
    };
    for (const CASE& c : cases) {
        DESKTOPBLIT b{-1, -1, -1, -1, -1, -1};
        ASSERT_EQ(DesktopBlitRect(640, 480, c.destX, c.destY, c.width, c.height, c.sourceX, c.sourceY, &b), c.shown)
            << c.what;
        if (!c.shown) continue;
        EXPECT_EQ(b.sourceX, c.blit.sourceX) << c.what;
        EXPECT_EQ(b.sourceY, c.blit.sourceY) << c.what;
        EXPECT_EQ(b.destX, c.blit.destX) << c.what;
        EXPECT_EQ(b.destY, c.blit.destY) << c.what;
        EXPECT_EQ(b.width, c.blit.width) << c.what;
        EXPECT_EQ(b.height, c.blit.height) << c.what;
    }
}

TEST(DesktopTranslate, PointerMessagesOnlyOverTheClientArea)
{
    EXPECT_EQ(Translate(Pointer(SDL_MOUSEMOTION, 639, 479)),
              (std::vector<MSG3>{{WM_MOUSEMOVE, 0, (479 << 16) | 639}}));
    EXPECT_EQ(Translate(Pointer(SDL_MOUSEBUTTONDOWN, 5, 6, SDL_BUTTON_LEFT)),
              (std::vector<MSG3>{{WM_LBUTTONDOWN, 0, (6 << 16) | 5}}));
    EXPECT_EQ(Translate(Pointer(SDL_MOUSEBUTTONUP, 5, 6, SDL_BUTTON_RIGHT)),
              (std::vector<MSG3>{{WM_RBUTTONUP, 0, (6 << 16) | 5}}));
    EXPECT_EQ(Translate(Pointer(SDL_MOUSEBUTTONDOWN, 5, 6, SDL_BUTTON_MIDDLE)),
              (std::vector<MSG3>{{WM_MBUTTONDOWN, 0, (6 << 16) | 5}}));
    EXPECT_TRUE(Translate(Pointer(SDL_MOUSEBUTTONDOWN, 5, 6, SDL_BUTTON_X1)).empty());
    // While a button is held SDL follows the pointer outside; Windows sends those elsewhere, so
    // a release outside leaves the button down for the program.
    EXPECT_TRUE(Translate(Pointer(SDL_MOUSEMOTION, 640, 10)).empty());
    EXPECT_TRUE(Translate(Pointer(SDL_MOUSEMOTION, 10, -1)).empty());
    EXPECT_TRUE(Translate(Pointer(SDL_MOUSEBUTTONUP, -3, 10, SDL_BUTTON_LEFT)).empty());
    // The signed 16-bit halves the window procedure reads back.
    EXPECT_EQ(DesktopPointParam(-1, -2) & 0xFFFF, 0xFFFF);
    EXPECT_EQ(static_cast<int16_t>((DesktopPointParam(-1, -2) >> 16) & 0xFFFF), -2);
}

TEST(DesktopTranslate, WheelNotchesAre120EachInTheHighWord)
{
    struct CASE {
        int y;
        bool flipped;
        int16_t amount;
    };
    const CASE cases[] = {{1, false, 120}, {-2, false, -240}, {1, true, -120}, {400, false, 32767}};
    for (const CASE& c : cases) {
        std::vector<MSG3> m = Translate(Wheel(c.y, c.flipped));
        ASSERT_EQ(m.size(), 1u) << c.y;
        EXPECT_EQ(m[0].message, static_cast<uint32_t>(WM_MOUSEWHEEL));
        EXPECT_EQ(static_cast<int16_t>((m[0].wParam >> 16) & 0xFFFF), c.amount) << c.y;
        EXPECT_EQ(m[0].lParam, DesktopPointParam(192 + 10, 144 + 20)) << "the pointer on the screen";
    }
}

TEST(DesktopTranslate, WindowEventsCloseRepaintAndResize)
{
    SDL_Event quit;
    memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    EXPECT_EQ(Translate(quit), (std::vector<MSG3>{{WM_CLOSE, 0, 0}}));
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_CLOSE)), (std::vector<MSG3>{{WM_CLOSE, 0, 0}}));

    bool paint = false;
    EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_EXPOSED), Window(), &paint).empty());
    EXPECT_TRUE(paint);
    Translate(WindowEvent(SDL_WINDOWEVENT_SHOWN), Window(), &paint);
    EXPECT_TRUE(paint);
    Translate(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600), Window(), &paint);
    EXPECT_FALSE(paint) << "a resize is repainted by the program's own WM_SIZE handling";

    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600)),
              (std::vector<MSG3>{{WM_SIZE, SIZE_RESTORED, (600 << 16) | 800}}));
    EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480)).empty()) << "the size already reported";

    DESKTOPWINDOWSTATE maximised = Window();
    maximised.maximised = true;
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1024, 738), maximised),
              (std::vector<MSG3>{{WM_SIZE, SIZE_MAXIMIZED, (738 << 16) | 1024}}));

    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_MINIMIZED)), (std::vector<MSG3>{{WM_SIZE, SIZE_MINIMIZED, 0}}));
    DESKTOPWINDOWSTATE goingDown = Window();
    goingDown.minimised = true;
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480), goingDown),
              (std::vector<MSG3>{{WM_SIZE, SIZE_MINIMIZED, 0}}))
        << "a minimised window has no client area";
    DESKTOPWINDOWSTATE minimised = Window();
    minimised.reportedType = SIZE_MINIMIZED;
    minimised.reportedWidth = minimised.reportedHeight = 0;
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_RESTORED), minimised),
              (std::vector<MSG3>{{WM_SIZE, SIZE_RESTORED, (480 << 16) | 640}}));
}

TEST(DesktopTranslate, FileUrlsArePercentEncoded)
{
    char url[64];
    ASSERT_TRUE(DesktopFileUrl("/home/a b/r&d/x-1_2.~txt", url, sizeof url));
    EXPECT_STREQ(url, "file:///home/a%20b/r%26d/x-1_2.~txt");
    ASSERT_TRUE(DesktopFileUrl("/g\xFC/\xC3\xBC", url, sizeof url));
    EXPECT_STREQ(url, "file:///g%FC/%C3%BC") << "bytes as they are, whatever their encoding";
    char small[12];
    EXPECT_FALSE(DesktopFileUrl("/a b", small, sizeof small)) << "file:///a%20b needs 14 bytes";
}

// ---- The pictures compiled into the program ----

TEST(DesktopPictures, CursorsAndIconAreCompiledIn)
{
    struct CASE {
        const char* name;
        int width;
        int firstAlpha;  // alpha of the top-left pixel
    };
    const CASE cases[] = {{"arrow.cur", 32, 255}, {"busy.cur", 32, -1}, {"hand.cur", 32, 0},
                          {"kvupdate.ico", 16, -1}, {"kvupdate.ico", 32, -1}, {"kvupdate.ico", 48, -1}};
    for (const CASE& c : cases) {
        int i = FindResImage(c.name, c.width);
        ASSERT_GE(i, 0) << c.name << " " << c.width;
        EXPECT_EQ(g_resImageSizes[i][0], c.width);
        EXPECT_EQ(g_resImageSizes[i][1], c.width);
        EXPECT_EQ(g_resImageSizes[i][2], 0) << "hot spot at the top-left pixel";
        EXPECT_EQ(g_resImageSizes[i][3], 0);
        if (c.firstAlpha >= 0) {
            EXPECT_EQ(g_resImagePixels[i][3], c.firstAlpha) << c.name;
        }
    }
    // The arrow's tip is opaque black.
    int arrow = FindResImage("arrow.cur", 0);
    ASSERT_GE(arrow, 0);
    EXPECT_EQ(g_resImagePixels[arrow][0] | g_resImagePixels[arrow][1] | g_resImagePixels[arrow][2], 0);
    EXPECT_EQ(FindResImage("missing.cur", 0), -1);
    EXPECT_EQ(FindResImage("arrow.cur", 48), -1);
}

// ---- Without a display ----

TEST(DesktopNoDisplay, WindowCallsFailAndMessagesGoToStandardError)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_FALSE(PlatRegisterClass(nullptr, "main"));
    EXPECT_EQ(PlatCreateWindow(nullptr, "main", "Kickvale 99/00 Update", 0x00CA0000u, 0, 0, 640, 480), nullptr);
    EXPECT_EQ(PlatLoadCursor(nullptr, 101), nullptr);
    EXPECT_EQ(PlatLoadSystemCursor(PLAT_IDC_ARROW), nullptr);
    EXPECT_EQ(PlatGetSystemMetrics(SM_CXDLGFRAME), 0);
    EXPECT_EQ(PlatGetSystemMetrics(SM_CYCAPTION), 0);
    EXPECT_EQ(PlatShowCursor(false), -1) << "the display counter";
    EXPECT_EQ(PlatShowCursor(true), 0);
    PlatPumpEvents();  // returns at once

    testing::internal::CaptureStderr();
    PlatMessageBox("Setup", "Packed files successfully !");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Setup: Packed files successfully !\n");
}

}  // namespace
