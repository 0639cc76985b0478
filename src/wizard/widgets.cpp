// The widgets: buttons, inert panels, labels and the text field, drawn with bevelled
// edges; clicks followed through the mouse latches; paragraphs wrapped into labels.
#include "app/memory.h"
#include "app/wizard.h"
#include "gfx/draw.h"
#include "wizard/pages.h"

#include <cstring>

namespace {

void CopyText(char* to, const char* from)
{
    size_t len = from ? strlen(from) : 0;
    if (len > sizeof(BUTTON::text) - 1) len = sizeof(BUTTON::text) - 1;  // cut, never overflowed
    if (len) memcpy(to, from, len);
    to[len] = '\0';
}

bool Clickable(int32_t kind)
{
    int16_t k = static_cast<int16_t>(kind);
    return k != KIND_INERT && k != KIND_LABEL && k != KIND_FIELD;
}

}  // namespace

BUTTON* WIZARD::AddButton(int16_t x, int16_t y, int16_t width, int16_t height, const char* text, int32_t kind,
                          int32_t id, uint16_t colour)
{
    BUTTON* b = NewObject<BUTTON>("button");
    if (!b) return nullptr;
    CopyText(b->text, text);
    b->x = x;
    b->y = y;
    b->width = width;
    b->height = height;
    b->id = id;
    b->kind = kind;
    b->pressed = 0;
    b->lastButton = 0;
    b->autoPress = 0;
    b->colour = colour;
    return b;
}

void WIZARD::SetSlot(int slot, BUTTON* button)
{
    if (slot < 0 || slot >= BUTTON_SLOTS) {
        delete button;
        return;
    }
    delete buttons[slot];
    buttons[slot] = button;
}

void WIZARD::DrawButton(BUTTON* b)
{
    if (!b) return;
    const int16_t kind = static_cast<int16_t>(b->kind);
    if (kind == KIND_LABEL) {
        Text(b->x, b->y, FONT_WIDGET, b->colour, b->text);
        return;
    }
    const int d = b->pressed ? 2 : 0;
    const int16_t r = static_cast<int16_t>(b->x + b->width), bottom = static_cast<int16_t>(b->y + b->height);
    Box(b->x, b->y, r, bottom, BOX_FILL, COLOUR_FACE, COLOUR_BEHIND);

    const int16_t tx = static_cast<int16_t>(b->x + (b->width - TextWidth(FONT_WIDGET, b->text)) / 2 + d);
    const int16_t ty = static_cast<int16_t>(b->y + (b->height - FontHeight(FONT_WIDGET)) / 2 + 1 + d);
    if (kind != KIND_INERT) {
        Text(tx, ty, FONT_WIDGET, b->colour, b->text);
    } else {
        // Engraved: a light copy one pixel down and right, the grey text over it.
        Text(static_cast<int16_t>(tx + 1), static_cast<int16_t>(ty + 1), FONT_WIDGET, Shade(COLOUR_FACE, 166, false),
             b->text);
        Text(tx, ty, FONT_WIDGET, Shade(COLOUR_FACE, 66, false), b->text);
    }

    const uint16_t light = b->pressed ? COLOUR_DARK : COLOUR_LIGHT;
    const uint16_t dark = b->pressed ? COLOUR_LIGHT : COLOUR_DARK;
    const int16_t x = b->x, y = b->y;
    Line(x, y, r, y, LINE_SOLID, light);
    Line(x, y, x, bottom, LINE_SOLID, light);
    Line(x, bottom, r, bottom, LINE_SOLID, dark);
    Line(r, y, r, bottom, LINE_SOLID, dark);
    Line(static_cast<int16_t>(x + 1), static_cast<int16_t>(y + 1), static_cast<int16_t>(r - 1),
         static_cast<int16_t>(y + 1), LINE_SOLID, light);
    Line(static_cast<int16_t>(x + 1), static_cast<int16_t>(y + 1), static_cast<int16_t>(x + 1),
         static_cast<int16_t>(bottom - 1), LINE_SOLID, light);
    Line(static_cast<int16_t>(x + 1), static_cast<int16_t>(bottom - 1), static_cast<int16_t>(r - 1),
         static_cast<int16_t>(bottom - 1), LINE_SOLID, dark);
    Line(static_cast<int16_t>(r - 1), static_cast<int16_t>(y + 1), static_cast<int16_t>(r - 1),
         static_cast<int16_t>(bottom - 1), LINE_SOLID, dark);
}

bool WIZARD::ButtonClicked(BUTTON* b)
{
    if (!b || b->text[0] == '\0') return false;
    if (!Clickable(b->kind)) return false;
    if (b->autoPress) {
        b->autoPress = 0;
        return true;
    }
    if (!mouse) return false;
    uint8_t state = 0;
    int16_t px = 0, py = 0;
    mouse->GetLeftButton(&state);
    mouse->GetPosition(&px, &py);
    if (state == b->lastButton) return false;
    b->lastButton = state;
    // Strictly inside: the edge pixels do not count. Sums in int, so no 16-bit overflow.
    const bool inside = b->x < px && px < int(b->x) + int(b->width) && b->y < py && py < int(b->y) + int(b->height);
    bool clicked = false;
    if (inside && state == 1) {
        b->pressed = 1;
    } else if (inside && b->pressed) {
        b->pressed = 0;
        clicked = true;
    } else if (!inside) {
        b->pressed = 0;
    }
    DrawButton(b);
    return clicked;
}

void WIZARD::WrapText(int16_t* slot, int16_t left, int16_t* top, int16_t limit, const char* paragraph)
{
    if (!slot || !top || !paragraph) return;
    char line[sizeof(BUTTON::text)];
    size_t len = 0;
    size_t p = 0;
    auto emit = [&]() {
        line[len] = '\0';
        SetSlot(*slot, AddButton(left, *top, limit, 0, line, KIND_LABEL, 0, 0));
        ++*slot;
        *top = static_cast<int16_t>(*top + WRAP_LINE_STEP);
        len = 0;
    };
    while (paragraph[p] != '\0') {
        if (*slot >= BUTTON_SLOTS) return;  // no slot left: the remaining lines are dropped
        line[len++] = paragraph[p];
        line[len] = '\0';
        const bool wide = TextWidth(FONT_WIDGET, line) >= limit;
        if (!wide && len < sizeof line - 1) {
            ++p;
            continue;
        }
        if (!wide) {
            // The line holds all a widget text can: it ends here.
            ++p;
        } else {
            // Break at the last space of the line; a line without one breaks inside its word,
            // keeping at least one character.
            size_t space = len;  // index of the last space after the first character
            for (size_t i = len - 1; i >= 1; --i)
                if (line[i] == ' ') {
                    space = i;
                    break;
                }
            if (space < len) {
                p -= len - 1 - space;  // back to that space
                len = space;
            } else if (len > 1) {
                --len;  // the character that made the line too wide starts the next one
            } else {
                ++p;  // a single character as wide as the limit stands alone
            }
        }
        emit();
        while (paragraph[p] == ' ') ++p;
    }
    if (len > 0 && *slot < BUTTON_SLOTS) emit();
}
