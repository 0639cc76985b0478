#include "app/input.h"
#include "app/bfio.h"

INPUTLATCHES g_input = {0, 0, 0, 0, 0, 0, 0, 0};

namespace {

struct CURSORSTATE {
    MOUSE* instance;
    PLATCURSOR saved;  // what was showing when the first MOUSE was made
    PLATCURSOR arrow;
    PLATCURSOR busy;
    PLATCURSOR hand;
};
CURSORSTATE g_cursors = {nullptr, nullptr, nullptr, nullptr, nullptr};

KEYBOARD* g_keyboard = nullptr;

int16_t LowWord(intptr_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF)); }
int16_t HighWord(intptr_t value) { return static_cast<int16_t>(static_cast<uint16_t>((value >> 16) & 0xFFFF)); }

}  // namespace

bool HandleInputMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        g_input.lastKey = static_cast<int32_t>(wParam);
        return true;
    case WM_CHAR:
        g_input.lastCharacter = static_cast<char>(wParam & 0xFF);
        return true;
    case WM_MOUSEMOVE:
        if (g_cursors.instance) g_cursors.instance->RefreshCursor();
        g_input.pointerX = LowWord(lParam);
        g_input.pointerY = HighWord(lParam);
        return true;
    case WM_LBUTTONDOWN: g_input.leftButton = 1; return true;
    case WM_LBUTTONUP: g_input.leftButton = 0; return true;
    case WM_RBUTTONDOWN: g_input.rightButton = 1; return true;
    case WM_RBUTTONUP: g_input.rightButton = 0; return true;
    case WM_MBUTTONDOWN: g_input.middleButton = 1; return true;
    case WM_MBUTTONUP: g_input.middleButton = 0; return true;
    case WM_MOUSEWHEEL:
        g_input.wheelTotal += HighWord(static_cast<intptr_t>(wParam));
        return true;
    default:
        return false;
    }
}

// ---- MOUSE ----

MOUSE::MOUSE() : mode(-1)
{
    if (g_cursors.instance) {
        ShowMessage("Error", "Second MOUSE class declared.");
        PlatExitProcess(-1);
    }
    g_cursors.instance = this;
    if (!g_cursors.saved) g_cursors.saved = PlatGetCursor();
    if (!g_cursors.busy) g_cursors.busy = PlatLoadCursor(g_shell.instance, 102);
    if (!g_cursors.arrow) g_cursors.arrow = PlatLoadCursor(g_shell.instance, 101);
    if (!g_cursors.hand) g_cursors.hand = PlatLoadCursor(g_shell.instance, 103);
    if (!g_cursors.busy) g_cursors.busy = PlatLoadSystemCursor(PLAT_IDC_WAIT);
    if (!g_cursors.hand) g_cursors.hand = PlatLoadSystemCursor(PLAT_IDC_ARROW);
    if (!g_cursors.arrow) g_cursors.arrow = PlatLoadSystemCursor(PLAT_IDC_ARROW);
    mode = -1;
    SetCursorMode(CURSOR_BUSY);
}

MOUSE::~MOUSE()
{
    if (g_cursors.saved) {
        PlatSetCursor(g_cursors.saved);
        g_cursors.saved = nullptr;
    }
    PLATCURSOR* pictures[] = {&g_cursors.busy, &g_cursors.arrow, &g_cursors.hand};
    for (PLATCURSOR* picture : pictures) {
        if (*picture) PlatDestroyCursor(*picture);
        *picture = nullptr;
    }
    if (g_cursors.instance == this) g_cursors.instance = nullptr;
}

MOUSE* MOUSE::Instance() { return g_cursors.instance; }

PLATCURSOR MOUSE::Picture(int32_t m) const
{
    switch (m) {
    case CURSOR_ARROW: return g_cursors.arrow;
    case CURSOR_BUSY: return g_cursors.busy;
    case CURSOR_HAND: return g_cursors.hand;
    default: return nullptr;
    }
}

void MOUSE::SetCursorMode(int32_t newMode)
{
    if (newMode == mode) return;
    mode = newMode;
    PlatShowCursor(false);
    if (newMode >= CURSOR_ARROW && newMode <= CURSOR_HAND) PlatSetCursor(Picture(newMode));
    PlatShowCursor(true);
}

void MOUSE::RefreshCursor()
{
    if (mode < CURSOR_ARROW || mode > CURSOR_HAND) return;
    PLATCURSOR picture = Picture(mode);
    if (PlatGetCursor() == picture) return;
    PlatShowCursor(false);
    PlatSetCursor(picture);
    PlatShowCursor(true);
}

void MOUSE::GetPosition(int16_t* x, int16_t* y) const
{
    if (x) *x = g_input.pointerX;
    if (y) *y = g_input.pointerY;
}

void MOUSE::GetLeftButton(uint8_t* state) const
{
    if (state) *state = g_input.leftButton;
}

void MOUSE::ClearButtons()
{
    g_input.leftButton = 0;
    g_input.rightButton = 0;
}

// ---- KEYBOARD ----

KEYBOARD::KEYBOARD()
{
    if (g_keyboard) {
        ShowMessage("Error", "Second KEYBOARD class declared.");
        PlatExitProcess(-1);
    }
    g_keyboard = this;
}

KEYBOARD::~KEYBOARD()
{
    if (g_keyboard == this) g_keyboard = nullptr;
}

KEYBOARD* KEYBOARD::Instance() { return g_keyboard; }

bool KEYBOARD::ReadKeys(char* character, int32_t* key)
{
    char c = g_input.lastCharacter;
    int32_t k = g_input.lastKey;
    if (character) *character = c;
    if (key) *key = k;
    ClearKeys();
    return c != 0 || k != 0;
}

void KEYBOARD::ClearKeys()
{
    g_input.lastKey = 0;
    g_input.lastCharacter = 0;
}

int32_t KEYBOARD::TranslateKey(int32_t virtualKey)
{
    switch (virtualKey) {
    case VK_LEFT: return KEY_LEFT;
    case VK_RIGHT: return KEY_RIGHT;
    case VK_BACK: return KEY_BACKSPACE;
    case VK_DELETE: return KEY_DELETE;
    case VK_ESCAPE: return KEY_ESCAPE;
    case VK_RETURN: return KEY_ENTER;
    case VK_TAB: return KEY_TAB;
    case VK_INSERT: return KEY_INSERT;
    case VK_ADD: return KEY_PAD_PLUS;
    case VK_SUBTRACT: return KEY_PAD_MINUS;
    default:
        if (virtualKey >= VK_F1 && virtualKey <= VK_F9) return KEY_F1 + (virtualKey - VK_F1);
        return KEY_NONE;
    }
}
