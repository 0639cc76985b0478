// The pure half of the SDL window backend (see sdl_translate.h).
#include "platform/desktop/sdl_translate.h"

#include <cstring>

// ---- Keys ----

int DesktopVirtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24) return VK_F1 + 12 + (key - SDLK_F13);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + (key - SDLK_KP_1);  // VK_NUMPAD1..9
    switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return 0x20;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_NUMLOCKCLEAR: return 0x90;
    case SDLK_SCROLLLOCK: return 0x91;
    case SDLK_PRINTSCREEN: return 0x2C;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 0x11;
    case SDLK_LALT:
    case SDLK_RALT: return 0x12;
    case SDLK_LGUI: return 0x5B;
    case SDLK_RGUI: return 0x5C;
    case SDLK_APPLICATION: return 0x5D;
    case SDLK_KP_0: return 0x60;
    case SDLK_KP_MULTIPLY: return 0x6A;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return 0x6E;
    case SDLK_KP_DIVIDE: return 0x6F;
    // The punctuation keys of a US keyboard (VK_OEM_...).
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
    default: return 0;
    }
}

int DesktopKeyCharacter(int virtualKey)
{
    switch (virtualKey) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: return virtualKey;
    default: return 0;
    }
}

// ---- Text ----

namespace {

// Windows-1252 0x80..0x9F; the undefined bytes keep their own value.
const uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

size_t Utf8Length(uint32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

void PutUtf8(uint32_t c, char* out)
{
    unsigned char* o = reinterpret_cast<unsigned char*>(out);
    if (c < 0x80) {
        o[0] = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        o[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
        o[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        o[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
        o[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        o[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
        o[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        o[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

uint32_t DesktopCp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) return kCp1252High[byte - 0x80];
    return byte;
}

unsigned char DesktopUnicodeToCp1252(uint32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<unsigned char>(character);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == character) return static_cast<unsigned char>(0x80 + i);
    return 0;
}

bool DesktopCp1252ToUtf8(const char* text, char* out, size_t capacity)
{
    if (!out || capacity == 0) return false;
    out[0] = '\0';
    if (!text) return true;
    size_t used = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        uint32_t c = DesktopCp1252ToUnicode(*p);
        size_t n = Utf8Length(c);
        if (used + n + 1 > capacity) {
            out[0] = '\0';
            return false;
        }
        PutUtf8(c, out + used);
        used += n;
    }
    out[used] = '\0';
    return true;
}

uint32_t DesktopNextUtf8(const char** text)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(*text);
    if (*p == 0) return 0;
    int extra;
    uint32_t c;
    uint32_t least;
    if (*p < 0x80) {
        *text += 1;
        return *p;
    } else if ((*p & 0xE0) == 0xC0) {
        extra = 1, c = *p & 0x1Fu, least = 0x80;
    } else if ((*p & 0xF0) == 0xE0) {
        extra = 2, c = *p & 0x0Fu, least = 0x800;
    } else if ((*p & 0xF8) == 0xF0) {
        extra = 3, c = *p & 0x07u, least = 0x10000;
    } else {
        *text += 1;
        return 0xFFFD;
    }
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {  // also stops at the terminating zero
            *text += 1;
            return 0xFFFD;
        }
        c = (c << 6) | (p[i] & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        *text += 1;
        return 0xFFFD;
    }
    *text += 1 + extra;
    return c;
}

// ---- Showing the frame buffer ----

bool DesktopBlitRect(int surfaceWidth, int surfaceHeight, int destX, int destY, int width, int height, int sourceX,
                     int sourceY, DESKTOPBLIT* blit)
{
    if (!blit || width <= 0 || height <= 0) return false;
    int left = sourceX;
    int top = surfaceHeight - sourceY - height;
    int right = left + width;  // exclusive
    int bottom = top + height;
    if (left < 0) destX -= left, left = 0;
    if (top < 0) destY -= top, top = 0;
    if (right > surfaceWidth) right = surfaceWidth;
    if (bottom > surfaceHeight) bottom = surfaceHeight;
    if (left >= right || top >= bottom) return false;
    *blit = DESKTOPBLIT{left, top, destX, destY, right - left, bottom - top};
    return true;
}

// ---- Events ----

intptr_t DesktopPointParam(int x, int y)
{
    return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

namespace {

// The MK_ flags of Windows' pointer messages.
uintptr_t ButtonFlags(uint32_t buttons)
{
    uintptr_t flags = 0;
    if (buttons & SDL_BUTTON_LMASK) flags |= 0x0001;
    if (buttons & SDL_BUTTON_RMASK) flags |= 0x0002;
    if (buttons & SDL_BUTTON_MMASK) flags |= 0x0010;
    return flags;
}

void Add(DESKTOPTRANSLATION* out, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (out->count < DESKTOP_MAX_MESSAGES) out->messages[out->count++] = DESKTOPMESSAGE{message, wParam, lParam};
}

void AddSize(DESKTOPTRANSLATION* out, const DESKTOPWINDOWSTATE& state, int type, int width, int height)
{
    if (type == SIZE_MINIMIZED) width = height = 0;  // a minimised window has no client area
    if (type == state.reportedType && width == state.reportedWidth && height == state.reportedHeight) return;
    Add(out, WM_SIZE, static_cast<uintptr_t>(type), DesktopPointParam(width, height));
}

int SizeType(const DESKTOPWINDOWSTATE& state)
{
    return state.minimised ? SIZE_MINIMIZED : state.maximised ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

bool OverClient(const DESKTOPWINDOWSTATE& state, int x, int y)
{
    return x >= 0 && y >= 0 && x < state.width && y < state.height;
}

void WindowEvent(const SDL_WindowEvent& e, const DESKTOPWINDOWSTATE& state, DESKTOPTRANSLATION* out)
{
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: Add(out, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED: out->paint = true; break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: AddSize(out, state, SizeType(state), e.data1, e.data2); break;
    case SDL_WINDOWEVENT_MINIMIZED: AddSize(out, state, SIZE_MINIMIZED, 0, 0); break;
    case SDL_WINDOWEVENT_MAXIMIZED: AddSize(out, state, SIZE_MAXIMIZED, state.width, state.height); break;
    case SDL_WINDOWEVENT_RESTORED: AddSize(out, state, SIZE_RESTORED, state.width, state.height); break;
    default: break;
    }
}

uint32_t ButtonMessage(uint8_t button, bool down)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return 0;
    }
}

}  // namespace

void DesktopTranslateEvent(const SDL_Event& event, const DESKTOPWINDOWSTATE& state, DESKTOPTRANSLATION* out)
{
    out->count = 0;
    out->paint = false;
    switch (event.type) {
    case SDL_QUIT: Add(out, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT: WindowEvent(event.window, state, out); break;
    case SDL_KEYDOWN: {
        int vk = DesktopVirtualKey(event.key.keysym.sym);
        if (vk == 0) break;
        // Repeat count 1; bit 30 says the key was already down.
        intptr_t lParam = 1 | (event.key.repeat ? (static_cast<intptr_t>(1) << 30) : 0);
        Add(out, WM_KEYDOWN, static_cast<uintptr_t>(vk), lParam);
        int ch = DesktopKeyCharacter(vk);
        if (ch) Add(out, WM_CHAR, static_cast<uintptr_t>(ch), lParam);
        break;
    }
    case SDL_TEXTINPUT: {
        const char* p = event.text.text;
        const char* end = event.text.text + sizeof event.text.text;
        while (p < end && *p) {
            unsigned char byte = DesktopUnicodeToCp1252(DesktopNextUtf8(&p));
            if (byte) Add(out, WM_CHAR, byte, 1);
        }
        break;
    }
    case SDL_MOUSEMOTION:
        if (OverClient(state, event.motion.x, event.motion.y))
            Add(out, WM_MOUSEMOVE, ButtonFlags(event.motion.state), DesktopPointParam(event.motion.x, event.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        uint32_t message = ButtonMessage(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        if (message && OverClient(state, event.button.x, event.button.y))
            Add(out, message, ButtonFlags(state.buttons), DesktopPointParam(event.button.x, event.button.y));
        break;
    }
    case SDL_MOUSEWHEEL: {
        int notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
        int amount = notches * 120;
        if (amount > 32767) amount = 32767;
        if (amount < -32768) amount = -32768;
        uintptr_t wParam = (static_cast<uintptr_t>(static_cast<uint16_t>(amount)) << 16) | ButtonFlags(state.buttons);
        // Windows gives the wheel message the pointer's screen position.
        Add(out, WM_MOUSEWHEEL, wParam,
            DesktopPointParam(state.screenX + event.wheel.mouseX, state.screenY + event.wheel.mouseY));
        break;
    }
    default: break;
    }
}

// ---- Shell ----

bool DesktopFileUrl(const char* absolutePath, char* out, size_t capacity)
{
    static const char kHex[] = "0123456789ABCDEF";
    static const char kPrefix[] = "file://";
    if (!absolutePath || !out || capacity < sizeof kPrefix) return false;
    memcpy(out, kPrefix, sizeof kPrefix);
    size_t used = sizeof kPrefix - 1;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(absolutePath); *p; ++p) {
        unsigned char c = *p;
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~' || c == '/';
        size_t n = plain ? 1 : 3;
        if (used + n + 1 > capacity) {
            out[0] = '\0';
            return false;
        }
        if (plain) {
            out[used] = static_cast<char>(c);
        } else {
            out[used] = '%';
            out[used + 1] = kHex[c >> 4];
            out[used + 2] = kHex[c & 15];
        }
        used += n;
    }
    out[used] = '\0';
    return true;
}
