// The widgets on the real wizard with its real fonts: how a widget is drawn, how a click
// is followed through the mouse latches, and how a paragraph is wrapped into labels.
#include "app/bfio.h"
#include "app/input.h"
#include "app/memory.h"
#include "app/wizard.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/screen.h"
#include "platform/headless/headless.h"
#include "support/gfxtest.h"
#include "support/tempdir.h"
#include "wizard/catalogue.h"
#include "wizard/pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const uint16_t BACKGROUND = 0x0421;
const uint16_t MARKER = 0x7C1F;
const uint16_t ENGRAVED_LIGHT = 0x7FFF;
const uint16_t ENGRAVED_TEXT = 0x4210;

bool RefuseButtons(const char* what)
{
    return strcmp(what, "button") == 0;
}

struct INK {
    int left = 10000, top = 10000, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

class WidgetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        ASSERT_TRUE(CopyBuiltFonts());
        wizard = CreateApplication();
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(wizard->GraphicsReady());
        ASSERT_EQ(wizard->ScreenWidth(), 640);
        ASSERT_EQ(wizard->ScreenHeight(), 480);
        ASSERT_NE(wizard->mouse, nullptr);
    }
    void TearDown() override
    {
        g_allocFault = nullptr;
        DestroyApplication(wizard);
        wizard = nullptr;
        g_input = INPUTLATCHES{};
        HeadlessReset();
    }

    uint16_t& Px(int x, int y)
    {
        return reinterpret_cast<uint16_t*>(reinterpret_cast<unsigned char*>(g_gfx.pixels) + y * g_gfx.pitch)[x];
    }
    void FillFrame(uint16_t colour)
    {
        for (int y = 0; y < g_gfx.height; ++y)
            for (int x = 0; x < g_gfx.width; ++x) Px(x, y) = colour;
    }
    std::vector<uint16_t> Frame()
    {
        std::vector<uint16_t> pixels;
        for (int y = 0; y < g_gfx.height; ++y)
            for (int x = 0; x < g_gfx.width; ++x) pixels.push_back(Px(x, y));
        return pixels;
    }
    // The pixels of a rectangle (inclusive) that differ from a colour.
    INK InkBox(int x1, int y1, int x2, int y2, uint16_t other)
    {
        INK ink;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) {
                if (Px(x, y) == other) continue;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        return ink;
    }
    int Count(int x1, int y1, int x2, int y2, uint16_t colour)
    {
        int n = 0;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) n += Px(x, y) == colour;
        return n;
    }
    // A row (dy 0) or column (dx 0) of pixels as 'L' (light), 'D' (dark) or '?'.
    std::string Edge(int x, int y, int dx, int dy, int count, uint16_t light, uint16_t dark)
    {
        std::string s;
        for (int i = 0; i < count; ++i) {
            uint16_t p = Px(x + i * dx, y + i * dy);
            s += p == light ? 'L' : (p == dark ? 'D' : '?');
        }
        return s;
    }
    BUTTON* Put(int slot, int16_t x, int16_t y, int16_t width, int16_t height, const char* text, int32_t kind,
                uint16_t colour = 0)
    {
        BUTTON* b = wizard->AddButton(x, y, width, height, text, kind, 0, colour);
        wizard->SetSlot(slot, b);
        return b;
    }
    static void Mouse(int x, int y, bool down)
    {
        WindowProcedure(nullptr, WM_MOUSEMOVE, 0, static_cast<intptr_t>(((y & 0xFFFF) << 16) | (x & 0xFFFF)));
        WindowProcedure(nullptr, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, 0);
    }
    std::vector<std::string> SlotTexts(int from, int to)
    {
        std::vector<std::string> texts;
        for (int i = from; i < to; ++i) texts.push_back(wizard->buttons[i] ? wizard->buttons[i]->text : "(empty)");
        return texts;
    }
    // Checks wrapped lines against their paragraph: nothing lost but the spaces at a break,
    // no line starting with a space, every line narrower than the limit (a single character
    // may be as wide), and every break as late as the limit allows. `whole` says whether the
    // lines hold the entire paragraph or only its beginning.
    void CheckWrapped(const std::vector<std::string>& lines, const std::string& paragraph, int limit, bool whole)
    {
        size_t pos = 0;
        std::vector<size_t> starts;
        for (const std::string& line : lines) {
            ASSERT_FALSE(line.empty());
            EXPECT_NE(line[0], ' ') << line;
            EXPECT_LE(line.size(), 199u);
            if (line.size() > 1) {
                EXPECT_LT(wizard->TextWidth(FONT_WIDGET, line.c_str()), limit) << line;
            }
            ASSERT_EQ(paragraph.compare(pos, line.size(), line), 0) << "line \"" << line << "\" at " << pos;
            starts.push_back(pos);
            pos += line.size();
            while (pos < paragraph.size() && paragraph[pos] == ' ') ++pos;
        }
        if (whole) {
            EXPECT_EQ(pos, paragraph.size()) << "the lines hold the whole paragraph";
        }
        for (size_t i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i].size() == 199) continue;  // cut by length, not by width
            const size_t s = starts[i], next = starts[i + 1];
            if (paragraph[next - 1] == ' ') {
                // Broken at a space: the line with the next word would have reached the limit.
                size_t wordEnd = paragraph.find(' ', next);
                if (wordEnd == std::string::npos) wordEnd = paragraph.size();
                EXPECT_GE(wizard->TextWidth(FONT_WIDGET, paragraph.substr(s, wordEnd - s).c_str()), limit)
                    << "line " << i << " \"" << lines[i] << "\" could have held the next word";
            } else {
                // Broken inside a word: only a line without a space is broken so, after the
                // last character that kept it narrower than the limit.
                EXPECT_EQ(lines[i].find(' ', 1), std::string::npos) << lines[i];
                EXPECT_GE(wizard->TextWidth(FONT_WIDGET, paragraph.substr(s, next - s + 1).c_str()), limit)
                    << "line " << i << " \"" << lines[i] << "\" could have held one more character";
            }
        }
    }

    TEMPDIR dir;
    WIZARD* wizard = nullptr;
};

// ---- DrawButton ----

TEST_F(WidgetsTest, ButtonFaceEdgesAndTextInEveryForm)
{
    struct FORM {
        const char* name;
        int32_t kind;
        const char* text;
        uint8_t pressed;
        uint16_t colour;
    };
    const FORM forms[] = {
        {"raised button", KIND_GOTO, "Next >", 0, 0x7C00},
        {"pressed button", KIND_EXIT, "Next >", 1, 0x7C00},
        {"inert button, engraved text", KIND_INERT, "< Back", 0, 0x7C00},
        {"sunken panel", KIND_INERT, "", 1, 0},
        {"text field", KIND_FIELD, "c:\\do99zere|", 1, 0x03E0},
    };
    const int16_t x = 100, y = 100;
    const int16_t w = 120, h = static_cast<int16_t>(wizard->FontHeight(FONT_WIDGET) + 10);
    const int r = x + w, b = y + h;
    const int refY = 250;  // where the expected face is drawn for comparison
    for (const FORM& f : forms) {
        SCOPED_TRACE(f.name);
        ASSERT_LT(wizard->TextWidth(FONT_WIDGET, f.text), w - 10);
        FillFrame(BACKGROUND);
        BUTTON* button = Put(1, x, y, w, h, f.text, f.kind, f.colour);
        ASSERT_NE(button, nullptr);
        button->pressed = f.pressed;
        wizard->DrawButton(button);

        // Edges: lit from the top left when raised, from the bottom right when pressed; at
        // the corners the later line wins.
        const uint16_t L = f.pressed ? 0x2108 : 0x7FFF, D = f.pressed ? 0x7FFF : 0x2108;
        EXPECT_EQ(Edge(x, y, 1, 0, w + 1, L, D), std::string(w, 'L') + "D") << "outer top";
        EXPECT_EQ(Edge(x, y, 0, 1, h + 1, L, D), std::string(h, 'L') + "D") << "outer left";
        EXPECT_EQ(Edge(x, b, 1, 0, w + 1, L, D), std::string(w + 1, 'D')) << "outer bottom";
        EXPECT_EQ(Edge(r, y, 0, 1, h + 1, L, D), std::string(h + 1, 'D')) << "outer right";
        EXPECT_EQ(Edge(x + 1, y + 1, 1, 0, w - 1, L, D), std::string(w - 2, 'L') + "D") << "inner top";
        EXPECT_EQ(Edge(x + 1, y + 1, 0, 1, h - 1, L, D), std::string(h - 2, 'L') + "D") << "inner left";
        EXPECT_EQ(Edge(x + 1, b - 1, 1, 0, w - 1, L, D), std::string(w - 1, 'D')) << "inner bottom";
        EXPECT_EQ(Edge(r - 1, y + 1, 0, 1, h - 1, L, D), std::string(h - 1, 'D')) << "inner right";

        // Nothing outside the face.
        EXPECT_EQ(Count(x - 1, y - 1, r + 1, y - 1, BACKGROUND), w + 3);
        EXPECT_EQ(Count(x - 1, b + 1, r + 1, b + 1, BACKGROUND), w + 3);
        EXPECT_EQ(Count(x - 1, y, x - 1, b, BACKGROUND), h + 1);
        EXPECT_EQ(Count(r + 1, y, r + 1, b, BACKGROUND), h + 1);

        // Inside the edges: the face with the text centred, 2 pixels right and down when
        // pressed; the inert text engraved, white one pixel down and right, grey on top.
        const int d = f.pressed ? 2 : 0;
        const int tx = x + (w - wizard->TextWidth(FONT_WIDGET, f.text)) / 2 + d;
        const int ty = y + (h - wizard->FontHeight(FONT_WIDGET)) / 2 + 1 + d;
        wizard->Box(x, refY, static_cast<int16_t>(r), static_cast<int16_t>(refY + h), BOX_FILL, COLOUR_FACE,
                    COLOUR_BEHIND);
        const int16_t rtx = static_cast<int16_t>(tx), rty = static_cast<int16_t>(ty - y + refY);
        if (f.kind == KIND_INERT) {
            wizard->Text(static_cast<int16_t>(rtx + 1), static_cast<int16_t>(rty + 1), FONT_WIDGET, ENGRAVED_LIGHT,
                         f.text);
            wizard->Text(rtx, rty, FONT_WIDGET, ENGRAVED_TEXT, f.text);
        } else {
            wizard->Text(rtx, rty, FONT_WIDGET, f.colour, f.text);
        }
        int differing = 0;
        for (int py = y + 2; py <= b - 2; ++py)
            for (int px = x + 2; px <= r - 2; ++px) differing += Px(px, py) != Px(px, py - y + refY);
        EXPECT_EQ(differing, 0) << "pixels inside the edges unlike the expected face";

        const int textPixels = Count(x + 2, y + 2, r - 2, b - 2, f.colour);
        if (f.text[0] == '\0') {
            EXPECT_EQ(Count(x + 2, y + 2, r - 2, b - 2, COLOUR_FACE), (w - 3) * (h - 3)) << "a plain panel";
        } else if (f.kind == KIND_INERT) {
            EXPECT_EQ(textPixels, 0) << "the widget's colour is not used";
            EXPECT_GT(Count(x + 2, y + 2, r - 2, b - 2, ENGRAVED_TEXT), 0);
            EXPECT_GT(Count(x + 2, y + 2, r - 2, b - 2, ENGRAVED_LIGHT), 0);
        } else {
            EXPECT_GT(textPixels, 0) << "the text in the widget's colour";
        }
    }
}

TEST_F(WidgetsTest, PressedTextMovesTwoPixelsRightAndDown)
{
    const int16_t x = 200, y = 150, w = 90, h = 24;
    const char* text = "Avanti >";
    BUTTON* button = Put(1, x, y, w, h, text, KIND_GOTO);
    ASSERT_NE(button, nullptr);
    FillFrame(BACKGROUND);
    wizard->DrawButton(button);
    const INK raised = InkBox(x + 2, y + 2, x + w - 2, y + h - 2, COLOUR_FACE);
    button->pressed = 1;
    wizard->DrawButton(button);
    const INK pressed = InkBox(x + 2, y + 2, x + w - 2, y + h - 2, COLOUR_FACE);
    ASSERT_FALSE(raised.Empty());
    EXPECT_EQ(pressed.left, raised.left + 2);
    EXPECT_EQ(pressed.right, raised.right + 2);
    EXPECT_EQ(pressed.top, raised.top + 2);
    EXPECT_EQ(pressed.bottom, raised.bottom + 2);
    // Centred across the face: the margins left and right of the ink differ by little more
    // than the glyphs' own side bearings.
    EXPECT_LE(std::abs((raised.left - x) - (x + w - raised.right)), 4);
}

TEST_F(WidgetsTest, LabelDrawsOnlyItsText)
{
    struct CASE {
        const char* text;
        uint16_t colour;
    };
    const CASE cases[] = {
        {"Update completed", 0x0000}, {"Version 3.73 (ENG,ESP,FRA,ITA,NOR,POR,SVE)", 0x001F}, {"", 0}};
    const int16_t x = 60, y = 70;
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.text);
        // What the text alone looks like there.
        FillFrame(BACKGROUND);
        wizard->Text(x, y, FONT_WIDGET, c.colour, c.text);
        const std::vector<uint16_t> expected = Frame();

        FillFrame(BACKGROUND);
        BUTTON* label = Put(5, x, y, 300, 0, c.text, KIND_LABEL, c.colour);
        ASSERT_NE(label, nullptr);
        wizard->DrawButton(label);
        EXPECT_TRUE(Frame() == expected);
        EXPECT_EQ(Count(0, 0, 639, 479, COLOUR_FACE), 0) << "no face";
        if (c.text[0] == '\0') {
            EXPECT_EQ(Count(0, 0, 639, 479, BACKGROUND), 640 * 480) << "nothing drawn";
        } else {
            EXPECT_GT(Count(x, y, x + 300, y + wizard->FontHeight(FONT_WIDGET), c.colour), 0);
        }
    }
}

// ---- ButtonClicked ----

TEST_F(WidgetsTest, ClicksFollowTheMouseLatches)
{
    // The widget spans (100,100) to (180,120); IN is well inside, OUT far away.
    const int16_t x = 100, y = 100, w = 80, h = 20;
    enum { IN_X = 140, IN_Y = 110, OUT_X = 300, OUT_Y = 300 };
    struct STEP {
        int16_t px, py;
        bool down;
        bool clicked;
        uint8_t pressed;
        char look;  // 'R' drawn raised, 'P' drawn pressed, '-' not drawn
        uint8_t lastButton;
    };
    struct CASE {
        const char* name;
        int32_t kind;
        const char* text;
        uint8_t pressed;
        uint8_t autoPress;
        bool mouse;
        std::vector<STEP> steps;
        uint8_t autoPressAfter;
    };
    const STEP pressIn = {IN_X, IN_Y, true, false, 1, 'P', 1};
    const std::vector<CASE> cases = {
        {"press and release inside", KIND_GOTO, "OK", 0, 0, true,
         {pressIn, {IN_X, IN_Y, false, true, 0, 'R', 0}}, 0},
        {"held button moved out and released outside", KIND_EXIT, "OK", 0, 0, true,
         {pressIn, {OUT_X, OUT_Y, true, false, 1, '-', 1}, {OUT_X, OUT_Y, false, false, 0, 'R', 0}}, 0},
        {"held button moved out and back in", KIND_YES, "OK", 0, 0, true,
         {pressIn, {OUT_X, OUT_Y, true, false, 1, '-', 1}, {IN_X, IN_Y, false, true, 0, 'R', 0}}, 0},
        {"press outside, release inside", KIND_LANGUAGE, "OK", 0, 0, true,
         {{OUT_X, OUT_Y, true, false, 0, 'R', 1}, {IN_X, IN_Y, false, false, 0, 'R', 0}}, 0},
        {"no change of the button", KIND_NO, "OK", 0, 0, true, {{IN_X, IN_Y, false, false, 0, '-', 0}}, 0},
        // The edge pixels are outside; the ones next to them inside.
        {"left edge column", KIND_GOTO, "OK", 0, 0, true,
         {{x, IN_Y, true, false, 0, 'R', 1}, {x, IN_Y, false, false, 0, 'R', 0}}, 0},
        {"right edge column", KIND_GOTO, "OK", 0, 0, true,
         {{x + w, IN_Y, true, false, 0, 'R', 1}, {x + w, IN_Y, false, false, 0, 'R', 0}}, 0},
        {"top edge row", KIND_GOTO, "OK", 0, 0, true,
         {{IN_X, y, true, false, 0, 'R', 1}, {IN_X, y, false, false, 0, 'R', 0}}, 0},
        {"bottom edge row", KIND_GOTO, "OK", 0, 0, true,
         {{IN_X, y + h, true, false, 0, 'R', 1}, {IN_X, y + h, false, false, 0, 'R', 0}}, 0},
        {"first column inside", KIND_GOTO, "OK", 0, 0, true,
         {{x + 1, IN_Y, true, false, 1, 'P', 1}, {x + 1, IN_Y, false, true, 0, 'R', 0}}, 0},
        {"last column inside", KIND_GOTO, "OK", 0, 0, true,
         {{x + w - 1, IN_Y, true, false, 1, 'P', 1}, {x + w - 1, IN_Y, false, true, 0, 'R', 0}}, 0},
        {"first row inside", KIND_GOTO, "OK", 0, 0, true,
         {{IN_X, y + 1, true, false, 1, 'P', 1}, {IN_X, y + 1, false, true, 0, 'R', 0}}, 0},
        {"last row inside", KIND_GOTO, "OK", 0, 0, true,
         {{IN_X, y + h - 1, true, false, 1, 'P', 1}, {IN_X, y + h - 1, false, true, 0, 'R', 0}}, 0},
        {"auto press reported once, nothing drawn", KIND_GOTO, "OK", 0, 1, true,
         {{IN_X, IN_Y, false, true, 0, '-', 0}, {IN_X, IN_Y, false, false, 0, '-', 0}}, 0},
        {"auto press does not consult the mouse", KIND_GOTO, "OK", 0, 1, true,
         {{IN_X, IN_Y, true, true, 0, '-', 0}, pressIn, {IN_X, IN_Y, false, true, 0, 'R', 0}}, 0},
        {"empty text never clicks, auto press stays pending", KIND_GOTO, "", 0, 1, true,
         {{IN_X, IN_Y, true, false, 0, '-', 0}, {IN_X, IN_Y, false, false, 0, '-', 0}}, 1},
        {"inert button", KIND_INERT, "< Back", 0, 1, true,
         {{IN_X, IN_Y, true, false, 0, '-', 0}, {IN_X, IN_Y, false, false, 0, '-', 0}}, 1},
        {"sunken inert panel keeps its look", KIND_INERT, "x", 1, 0, true,
         {{IN_X, IN_Y, true, false, 1, '-', 0}, {OUT_X, OUT_Y, false, false, 1, '-', 0}}, 0},
        {"label", KIND_LABEL, "Label", 0, 0, true,
         {{IN_X, IN_Y, true, false, 0, '-', 0}, {IN_X, IN_Y, false, false, 0, '-', 0}}, 0},
        {"text field", KIND_FIELD, "c:\\|", 1, 0, true,
         {{IN_X, IN_Y, true, false, 1, '-', 0}, {OUT_X, OUT_Y, false, false, 1, '-', 0}}, 0},
        {"no mouse", KIND_GOTO, "OK", 0, 0, false,
         {{IN_X, IN_Y, true, false, 0, '-', 0}, {IN_X, IN_Y, false, false, 0, '-', 0}}, 0},
        {"no mouse, auto press still reported", KIND_GOTO, "OK", 0, 1, false,
         {{IN_X, IN_Y, false, true, 0, '-', 0}, {IN_X, IN_Y, false, false, 0, '-', 0}}, 0},
    };
    MOUSE* const mouse = wizard->mouse;
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        FillFrame(BACKGROUND);
        Mouse(OUT_X, OUT_Y, false);
        BUTTON* button = Put(1, x, y, w, h, c.text, c.kind);
        ASSERT_NE(button, nullptr);
        button->pressed = c.pressed;
        button->autoPress = c.autoPress;
        wizard->mouse = c.mouse ? mouse : nullptr;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const STEP& s = c.steps[i];
            SCOPED_TRACE("step " + std::to_string(i));
            Mouse(s.px, s.py, s.down);
            Px(x + 3, y + 3) = MARKER;  // a drawing covers it with the face
            Px(x, y) = BACKGROUND;
            EXPECT_EQ(wizard->ButtonClicked(button), s.clicked);
            EXPECT_EQ(button->pressed, s.pressed);
            EXPECT_EQ(button->lastButton, s.lastButton);
            const char look = Px(x + 3, y + 3) == MARKER ? '-' : (Px(x, y) == 0x2108 ? 'P' : 'R');
            EXPECT_EQ(look, s.look);
        }
        EXPECT_EQ(button->autoPress, c.autoPressAfter);
        wizard->mouse = mouse;
    }
    EXPECT_FALSE(wizard->ButtonClicked(nullptr)) << "an empty slot";
}

TEST_F(WidgetsTest, EveryWidgetSeesTheSamePressAndReleaseOnItsOwn)
{
    BUTTON* a = Put(3, 100, 100, 80, 20, "A", KIND_GOTO);
    BUTTON* b = Put(4, 300, 100, 80, 20, "B", KIND_GOTO);
    ASSERT_TRUE(a && b);
    auto drawn = [&](BUTTON* w) { return Px(w->x + 3, w->y + 3) != MARKER; };
    struct STEP {
        int16_t px, py;
        bool down;
        bool clickedA, clickedB;
        uint8_t pressedA, pressedB;
    };
    const STEP steps[] = {
        {140, 110, true, false, false, 1, 0},   // press on A
        {140, 110, false, true, false, 0, 0},   // release on A: A's click only
        {340, 110, true, false, false, 0, 1},   // press on B
        {340, 110, false, false, true, 0, 0},   // release on B: B's click only
    };
    FillFrame(BACKGROUND);
    for (const STEP& s : steps) {
        SCOPED_TRACE(std::to_string(s.px) + (s.down ? " down" : " up"));
        Mouse(s.px, s.py, s.down);
        Px(a->x + 3, a->y + 3) = MARKER;
        Px(b->x + 3, b->y + 3) = MARKER;
        EXPECT_EQ(wizard->ButtonClicked(a), s.clickedA);
        EXPECT_EQ(wizard->ButtonClicked(b), s.clickedB);
        EXPECT_EQ(a->pressed, s.pressedA);
        EXPECT_EQ(b->pressed, s.pressedB);
        // Every change of the button redraws both, the one under the pointer and the other.
        EXPECT_TRUE(drawn(a));
        EXPECT_TRUE(drawn(b));
    }
}

// ---- AddButton ----

TEST_F(WidgetsTest, AddButtonCopiesItsValuesAndCutsLongTexts)
{
    const std::string longText = std::string(120, 'a') + std::string(130, 'b');
    BUTTON* b = wizard->AddButton(-5, 7, 300, 25, longText.c_str(), KIND_GOTO, 8, 0x001F);
    ASSERT_NE(b, nullptr);
    wizard->SetSlot(2, b);
    EXPECT_EQ(std::string(b->text), longText.substr(0, 199));
    EXPECT_EQ(b->x, -5);
    EXPECT_EQ(b->y, 7);
    EXPECT_EQ(b->width, 300);
    EXPECT_EQ(b->height, 25);
    EXPECT_EQ(b->kind, KIND_GOTO);
    EXPECT_EQ(b->id, 8);
    EXPECT_EQ(b->colour, 0x001F);
    EXPECT_EQ(b->pressed, 0);
    EXPECT_EQ(b->lastButton, 0);
    EXPECT_EQ(b->autoPress, 0);

    // The text is a copy.
    char text[] = "Exit";
    BUTTON* c = Put(3, 0, 0, 80, 20, text, KIND_EXIT);
    ASSERT_NE(c, nullptr);
    text[0] = 'Q';
    EXPECT_STREQ(c->text, "Exit");
}

TEST_F(WidgetsTest, WidgetsThatCannotBeMadeLeaveTheirSlotsEmpty)
{
    g_allocFault = RefuseButtons;
    EXPECT_EQ(wizard->AddButton(10, 10, 80, 20, "Exit", KIND_EXIT, 0, 0), nullptr);
    int16_t slot = 5, top = 40;
    wizard->WrapText(&slot, 20, &top, 200, "Update completed");
    for (int i = 0; i < BUTTON_SLOTS; ++i) EXPECT_EQ(wizard->buttons[i], nullptr) << i;
    // Drawing and asking an empty slot do nothing.
    FillFrame(BACKGROUND);
    wizard->DrawButton(nullptr);
    EXPECT_EQ(Count(0, 0, 639, 479, BACKGROUND), 640 * 480);
    EXPECT_FALSE(wizard->ButtonClicked(wizard->buttons[5]));
}

// ---- WrapText ----

TEST_F(WidgetsTest, ShortParagraphIsOneLabel)
{
    int16_t slot = 5, top = 40;
    wizard->WrapText(&slot, 124, &top, 392, "Update completed");
    EXPECT_EQ(slot, 6);
    EXPECT_EQ(top, 57);
    BUTTON* label = wizard->buttons[5];
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(label->text, "Update completed");
    EXPECT_EQ(label->kind, KIND_LABEL);
    EXPECT_EQ(label->x, 124);
    EXPECT_EQ(label->y, 40);
    EXPECT_EQ(label->width, 392);
    EXPECT_EQ(label->height, 0);
    EXPECT_EQ(label->colour, 0);
    EXPECT_EQ(label->id, 0);
    EXPECT_EQ(wizard->buttons[6], nullptr);
}

TEST_F(WidgetsTest, ParagraphBreaksAtTheLastSpaceBeforeTheLimit)
{
    const std::string paragraph = Message(TXT_INCOMPATIBLE, LANGUAGE_ENGLISH);
    const int16_t limit = 160, left = 30;
    int16_t slot = 2, top = 50;
    wizard->WrapText(&slot, left, &top, limit, paragraph.c_str());
    const int lines = slot - 2;
    ASSERT_GE(lines, 3);
    ASSERT_LE(lines, 8);
    EXPECT_EQ(top, 50 + 17 * lines);
    for (int i = 0; i < lines; ++i) {
        const BUTTON* label = wizard->buttons[2 + i];
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->kind, KIND_LABEL);
        EXPECT_EQ(label->x, left);
        EXPECT_EQ(label->y, 50 + 17 * i);
        EXPECT_EQ(label->width, limit);
        EXPECT_EQ(label->height, 0);
        EXPECT_EQ(label->colour, 0);
    }
    CheckWrapped(SlotTexts(2, slot), paragraph, limit, true);
    for (int i = slot; i < BUTTON_SLOTS; ++i) EXPECT_EQ(wizard->buttons[i], nullptr) << i;
}

TEST_F(WidgetsTest, RunsOfSpacesAtABreakAreDropped)
{
    std::string paragraph;
    for (int i = 0; i < 6; ++i) paragraph += (i ? "   " : "") + std::string("word") + std::to_string(i);
    struct CASE {
        const char* name;
        int16_t limit;
        std::vector<std::string> lines;  // empty: checked by the wrapping rules only
    };
    // One pixel wider than a word: every break falls on the first space of a run.
    const int16_t oneWord = static_cast<int16_t>(wizard->TextWidth(FONT_WIDGET, "word0") + 1);
    const std::vector<CASE> cases = {
        {"breaks on the first space of each run", oneWord, {"word0", "word1", "word2", "word3", "word4", "word5"}},
        {"breaks anywhere in the runs", 90, {}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < BUTTON_SLOTS; ++i) wizard->SetSlot(i, nullptr);
        int16_t slot = 0, top = 0;
        wizard->WrapText(&slot, 0, &top, c.limit, paragraph.c_str());
        ASSERT_GE(slot, 2);
        const std::vector<std::string> lines = SlotTexts(0, slot);
        if (!c.lines.empty()) {
            EXPECT_EQ(lines, c.lines);
        }
        CheckWrapped(lines, paragraph, c.limit, true);
    }
}

TEST_F(WidgetsTest, EmptyParagraphAddsNothing)
{
    BUTTON* kept = Put(5, 1, 2, 3, 0, "kept", KIND_LABEL);
    int16_t slot = 5, top = 77;
    wizard->WrapText(&slot, 10, &top, 200, "");
    EXPECT_EQ(slot, 5);
    EXPECT_EQ(top, 77);
    EXPECT_EQ(wizard->buttons[5], kept);
    EXPECT_STREQ(kept->text, "kept");
}

TEST_F(WidgetsTest, WordsWiderThanTheLimitAreBrokenInside)
{
    const int16_t wWidth = static_cast<int16_t>(wizard->TextWidth(FONT_WIDGET, "W"));
    ASSERT_GT(wWidth, 1);
    const int16_t abWidth = static_cast<int16_t>(wizard->TextWidth(FONT_WIDGET, "ab"));
    struct CASE {
        const char* name;
        std::string paragraph;
        int16_t limit;
        std::vector<std::string> lines;  // empty: checked by the wrapping rules only
    };
    const std::vector<CASE> cases = {
        {"one long word", std::string(60, 'm'), 70, {}},
        {"a short word, then a long one", "ab " + std::string(60, 'k') + " cd", 70, {}},
        {"a character as wide as the limit stands alone", "WWW", wWidth, {"W", "W", "W"}},
        {"a limit narrower than any character", "a bc", 1, {"a", "b", "c"}},
        {"a line exactly as wide as the limit is too wide", "ab ab ab", abWidth, {}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < BUTTON_SLOTS; ++i) wizard->SetSlot(i, nullptr);
        int16_t slot = 0, top = 10;
        wizard->WrapText(&slot, 0, &top, c.limit, c.paragraph.c_str());
        ASSERT_GT(slot, 1);
        ASSERT_LE(slot, BUTTON_SLOTS);
        EXPECT_EQ(top, 10 + 17 * slot);
        const std::vector<std::string> lines = SlotTexts(0, slot);
        if (!c.lines.empty()) {
            EXPECT_EQ(lines, c.lines);
        }
        CheckWrapped(lines, c.paragraph, c.limit, slot < BUTTON_SLOTS);
    }
}

TEST_F(WidgetsTest, LineIsCutAt199Characters)
{
    const std::string paragraph(250, 'i');
    ASSERT_LT(wizard->TextWidth(FONT_WIDGET, paragraph.c_str()), 30000);
    int16_t slot = 5, top = 0;
    wizard->WrapText(&slot, 0, &top, 30000, paragraph.c_str());
    std::vector<std::string> expected = {std::string(199, 'i'), std::string(51, 'i')};
    EXPECT_EQ(SlotTexts(5, slot), expected);
    EXPECT_EQ(top, 34);
}

TEST_F(WidgetsTest, LinesBeyondTheLastSlotAreDropped)
{
    const std::string paragraph = Message(TXT_INCOMPATIBLE, LANGUAGE_FRENCH);
    const int16_t limit = 70;
    ASSERT_GT(wizard->TextWidth(FONT_WIDGET, paragraph.c_str()), 6 * limit) << "more lines than slots";
    int16_t slot = 5, top = 20;
    wizard->WrapText(&slot, 0, &top, limit, paragraph.c_str());
    EXPECT_GE(slot, 5);
    EXPECT_LE(slot, BUTTON_SLOTS);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(wizard->buttons[i], nullptr) << i;
    const std::vector<std::string> lines = SlotTexts(5, BUTTON_SLOTS);
    CheckWrapped(lines, paragraph, limit, false);

    // The lines shown are the paragraph's first five; a following paragraph adds nothing.
    std::vector<const BUTTON*> before(wizard->buttons, wizard->buttons + BUTTON_SLOTS);
    wizard->WrapText(&slot, 0, &top, limit, "Slett hurtigstartfilene (anbefales) ?");
    EXPECT_EQ(std::vector<const BUTTON*>(wizard->buttons, wizard->buttons + BUTTON_SLOTS), before);
    EXPECT_EQ(SlotTexts(5, BUTTON_SLOTS), lines);
}

}  // namespace
