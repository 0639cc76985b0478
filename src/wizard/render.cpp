// Render: the whole current page into the frame buffer, and its widgets into the slots.
#include "app/wizard.h"
#include "gfx/draw.h"
#include "wizard/catalogue.h"
#include "wizard/pages.h"

#include <cstdio>

namespace {

// The layout quantities, recomputed at every Render from the surface and two font heights.
struct LAYOUT {
    int W, Ht, H, BW, BH, BX, BY, RY, TX;
    int LeftX() const { return BX + BW - 180; }
    int RightX() const { return BX + BW - 90; }
};

int16_t S16(int v) { return static_cast<int16_t>(v); }

}  // namespace

void WIZARD::Render()
{
    if (!GraphicsReady()) return;
    const int W = ScreenWidth(), Ht = ScreenHeight();

    // Background: blue from 31 on the top row down to 9 on the bottom row of 480.
    for (int y = 0; y < Ht; ++y)
        Line(0, S16(y), S16(W), S16(y), LINE_SOLID, static_cast<uint16_t>(31 - (23 * y) / Ht));

    // Heading.
    Text(10, 0, FONT_HEADING, COLOUR_HEADING, Message(TXT_TITLE, language));
    Text(10, S16(FontHeight(FONT_HEADING)), FONT_SUBHEADING, COLOUR_HEADING, UPDATE_VERSION);

    const bool pageChanged = page != shownPage;
    if (pageChanged) {
        for (int i = 0; i < BUTTON_SLOTS; ++i) SetSlot(i, nullptr);
        SetSlot(0, AddButton(S16(W - 100), S16(Ht - 40), 80, 20, Message(TXT_EXIT, language), KIND_EXIT, 0, 0));
    }

    LAYOUT L;
    L.W = W;
    L.Ht = Ht;
    L.H = FontHeight(FONT_HEADING) + FontHeight(FONT_SUBHEADING);
    L.BW = (2 * W) / 3;
    L.BH = (2 * (Ht - L.H)) / 3;
    L.BX = (W - L.BW) / 2;
    L.BY = (Ht - L.BH) / 2;
    L.RY = L.BY + L.BH - 20;
    L.TX = L.BX + 17;

    auto standardFrame = [&](bool inner) {
        SetSlot(1, AddButton(S16(L.BX), S16(L.BY), S16(L.BW), S16(L.BH + 10), "", KIND_INERT, 0, 0));
        if (!inner) return;
        SetSlot(2, AddButton(S16(L.BX + 10), S16(L.BY + 10), S16(L.BW - 20), S16(L.BH - 40), "", KIND_INERT, 0, 0));
        if (buttons[2]) buttons[2]->pressed = 1;
    };
    auto rowButton = [&](int slot, bool left, int message, int32_t kind, int32_t id) {
        SetSlot(slot, AddButton(S16(left ? L.LeftX() : L.RightX()), S16(L.RY), 80, 20, Message(message, language),
                                kind, id, 0));
    };
    auto label = [&](int slot, int x, int y, const char* text, uint16_t colour) {
        SetSlot(slot, AddButton(S16(x), S16(y), S16(L.BW), 0, text, KIND_LABEL, 0, colour));
    };
    auto paragraphs = [&](int x, int top, int limit, int first, int second) {
        int16_t slot = 5, lineTop = S16(top);
        WrapText(&slot, S16(x), &lineTop, S16(limit), Message(first, language));
        if (second < 0) return;
        lineTop = S16(lineTop + WRAP_LINE_STEP);
        WrapText(&slot, S16(x), &lineTop, S16(limit), Message(second, language));
    };

    bool drawWidgets = true;
    switch (page) {
    case PAGE_LANGUAGE:
        if (pageChanged) {
            int n = 0, widest = 0;
            for (int i = 0; i < LANGUAGE_COUNT; ++i) {
                if (!LanguageEnabled[i]) continue;
                ++n;
                int w = TextWidth(FONT_SUBHEADING, Message(TXT_LANGUAGE, i));
                if (w > widest) widest = w;
            }
            const int step = FontHeight(FONT_SUBHEADING);
            const int LW = widest + 20, LX = (W - LW) / 2;
            const int T0 = (Ht - step * n - L.H) / 2 + L.H - 15;
            int k = 0;
            for (int i = 0; i < LANGUAGE_COUNT; ++i) {
                if (!LanguageEnabled[i]) continue;
                SetSlot(k + 1, AddButton(S16(LX), S16(T0 + k * step), S16(LW), S16(step - 2),
                                         Message(TXT_LANGUAGE, i), KIND_LANGUAGE, i, 0));
                ++k;
            }
            // A single language is chosen without a click, on a page that shows no widget.
            if (n == 1) {
                if (buttons[1]) buttons[1]->autoPress = 1;
                drawWidgets = false;
            }
        }
        break;
    case PAGE_NOT_FOUND:
        standardFrame(true);
        rowButton(3, true, TXT_BACK, KIND_INERT, 0);
        rowButton(4, false, TXT_EXIT, KIND_EXIT, 0);
        label(5, L.TX, L.BY + 15, Message(TXT_NOT_FOUND, language), 0);
        label(6, L.TX, L.BY + 32, Message(TXT_REINSTALL, language), 0);
        break;
    case PAGE_VERSIONS:
        standardFrame(true);
        rowButton(3, true, TXT_BACK, KIND_GOTO, PAGE_LANGUAGE);
        rowButton(4, false, TXT_NEXT, KIND_GOTO, PAGE_INSTALLING);
        label(5, L.TX, L.BY + 15, Message(TXT_CURRENT_VERSION, language), 0);
        label(6, L.BX + 30, L.BY + 32, installedVersion, COLOUR_VERSION);
        label(7, L.TX, L.BY + 66, Message(TXT_NEW_VERSION, language), 0);
        label(8, L.BX + 30, L.BY + 83, UPDATE_VERSION, COLOUR_VERSION);
        label(9, L.TX, L.BY + 117, Message(TXT_CLICK_UPDATE, language), 0);
        break;
    case PAGE_INSTALLING: {
        const int PY = (Ht - L.H) / 2;
        boxX = S16(L.BX);
        boxY = S16(PY);
        boxWidth = S16(L.BW);
        SetSlot(1, AddButton(S16(L.BX), S16(PY), S16(L.BW), 40, "", KIND_INERT, 0, 0));
        SetSlot(2, AddButton(S16(L.BX + 10), S16(PY + 10), S16(L.BW - 20), 20, "", KIND_INERT, 0, 0));
        if (buttons[2]) buttons[2]->pressed = 1;
        Text(S16(L.BX), S16(PY - 40), FONT_SUBHEADING, COLOUR_HEADING, Message(TXT_UPDATING, language));
        break;
    }
    case PAGE_COMPLETED:
        standardFrame(true);
        rowButton(3, true, TXT_BACK, KIND_INERT, 0);
        rowButton(4, false, TXT_FINISH, KIND_EXIT, 0);
        label(5, L.TX, L.BY + 15, Message(TXT_COMPLETED, language), 0);
        break;
    case PAGE_SOURCE_MISSING:
    case PAGE_INSTALL_CORRUPT: {
        const bool source = page == PAGE_SOURCE_MISSING;
        standardFrame(true);
        rowButton(3, true, TXT_BACK, KIND_INERT, 0);
        rowButton(4, false, TXT_EXIT, KIND_EXIT, 0);
        label(5, L.TX, L.BY + 15, Message(source ? TXT_SOURCE_MISSING : TXT_INSTALL_CORRUPT, language), 0);
        label(6, L.TX, L.BY + 32, Message(source ? TXT_UPDATE_CORRUPT : TXT_REINSTALL, language), 0);
        break;
    }
    case PAGE_QUICKSTART:
        standardFrame(true);
        // No stands on the right and Yes on the left, in slot 4, which Enter presses.
        rowButton(3, false, TXT_NO, KIND_NO, 0);
        rowButton(4, true, TXT_YES, KIND_YES, 0);
        paragraphs(L.TX, L.BY + 15, L.BW - 34, TXT_QUICKSTART_OLD, TXT_QUICKSTART_DELETE);
        break;
    case PAGE_LOCATION: {
        standardFrame(false);
        boxX = S16(L.BX + 10);
        boxY = S16((Ht - L.H) / 2 + 40);
        boxWidth = S16(L.BW - 20);
        // The bar marks the end of the typed text; a full-length location leaves no room for it.
        char field[sizeof location + 1];
        snprintf(field, sizeof field, "%s|", location);  // AddButton cuts it to what a widget holds
        SetSlot(2, AddButton(boxX, boxY, boxWidth, 25, field, KIND_FIELD, 0, 0));
        if (buttons[2]) buttons[2]->pressed = 1;
        rowButton(3, true, TXT_BACK, KIND_GOTO, PAGE_LANGUAGE);
        rowButton(4, false, TXT_NEXT, KIND_GOTO, PAGE_VERSIONS);
        paragraphs(boxX, L.BY + 10, boxWidth, TXT_LOCATION_PROMPT, TXT_CLICK_CONTINUE);
        break;
    }
    case PAGE_WRITE_FAILED:
        standardFrame(true);
        rowButton(3, true, TXT_BACK, KIND_GOTO, PAGE_LOCATION);
        rowButton(4, false, TXT_EXIT, KIND_EXIT, 0);
        paragraphs(L.TX, L.BY + 15, L.BW - 34, TXT_WRITE_FAILED, -1);
        break;
    case PAGE_INCOMPATIBLE:
        standardFrame(true);
        rowButton(3, true, TXT_BACK, KIND_INERT, 0);
        rowButton(4, false, TXT_EXIT, KIND_EXIT, 0);
        paragraphs(L.TX, L.BY + 15, L.BW - 34, TXT_INCOMPATIBLE, -1);
        break;
    default:
        break;
    }

    if (drawWidgets)
        for (BUTTON* b : buttons) DrawButton(b);
    shownPage = page;
}
