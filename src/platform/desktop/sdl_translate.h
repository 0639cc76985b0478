// The pure half of the SDL window backend: how SDL's events, keys and text become the Windows
// messages, virtual keys and Windows-1252 bytes the program expects, and how the frame-buffer
// copy addresses its source. Nothing here talks to a display.
#ifndef KV_PLATFORM_DESKTOP_SDL_TRANSLATE_H
#define KV_PLATFORM_DESKTOP_SDL_TRANSLATE_H

#include "platform/platform.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>

// ---- Keys ---------------------------------------------------------------------------------

// The Windows virtual-key code of an SDL key; 0 for a key Windows has no code for.
int DesktopVirtualKey(SDL_Keycode key);
// The character Windows' TranslateMessage adds after the key-down of a virtual key that is not
// typed as text (Backspace 8, Tab 9, Return 13, Escape 27); 0 for every other key.
int DesktopKeyCharacter(int virtualKey);

// ---- Text ---------------------------------------------------------------------------------

// The Unicode character of a Windows-1252 byte. The five bytes that the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control character of the same value,
// as Windows converts them.
uint32_t DesktopCp1252ToUnicode(unsigned char byte);
// The Windows-1252 byte of a Unicode character; 0 when the code page has none (and for 0).
unsigned char DesktopUnicodeToCp1252(uint32_t character);
// Converts zero-terminated Windows-1252 text to zero-terminated UTF-8. False, with out empty,
// when the result does not fit in capacity bytes.
bool DesktopCp1252ToUtf8(const char* text, char* out, size_t capacity);
// Decodes one UTF-8 character at *text and advances past it. A malformed sequence is skipped
// byte by byte and gives 0xFFFD; the terminating zero gives 0 and does not advance.
uint32_t DesktopNextUtf8(const char** text);

// ---- Showing the frame buffer -------------------------------------------------------------

struct DESKTOPBLIT {
    int sourceX, sourceY;  // top-left pixel of the source rectangle, rows counted from the top
    int destX, destY;
    int width, height;
};

// The source and destination of a 1:1 copy whose sourceY counts from the frame buffer's bottom
// row (its top row is surfaceHeight - sourceY - height), cut to the frame buffer. False when
// nothing of the rectangle lies on it.
bool DesktopBlitRect(int surfaceWidth, int surfaceHeight, int destX, int destY, int width, int height, int sourceX,
                     int sourceY, DESKTOPBLIT* blit);

// ---- Events -------------------------------------------------------------------------------

struct DESKTOPMESSAGE {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// What the translation needs to know of the window an event is for.
struct DESKTOPWINDOWSTATE {
    int width, height;                      // client size now
    int screenX, screenY;                   // client area's top-left corner on the screen
    bool maximised, minimised;              // the window's state now
    int reportedType;                       // size type of the last WM_SIZE sent, -1 before any
    int reportedWidth, reportedHeight;      // the client size it gave
    uint32_t buttons;                       // SDL's mouse-button mask now
};

// A text-input event holds at most 31 bytes, hence at most 31 characters.
constexpr int DESKTOP_MAX_MESSAGES = 32;

struct DESKTOPTRANSLATION {
    DESKTOPMESSAGE messages[DESKTOP_MAX_MESSAGES];
    int count;
    bool paint;  // the window needs painting
};

// Translates one SDL event, as Windows would report the same happening, into the messages the
// window procedure gets, in order:
//   quit request, window close            WM_CLOSE
//   shown, exposed                        a paint request (out->paint)
//   size change, maximise, minimise,
//   restore                               WM_SIZE with its size type, when size or type changed
//   key down (also repeats)               WM_KEYDOWN with the virtual key, then WM_CHAR for
//                                         Backspace, Tab, Return and Escape
//   text input                            one WM_CHAR per character that Windows-1252 holds
//   pointer move, button down/up          WM_MOUSEMOVE, WM_x BUTTONDOWN/UP with client
//                                         coordinates; only over the client area, because
//                                         the window does not capture the pointer
//   wheel                                 WM_MOUSEWHEEL, 120 per notch in wParam's high word
// Everything else gives nothing.
void DesktopTranslateEvent(const SDL_Event& event, const DESKTOPWINDOWSTATE& state, DESKTOPTRANSLATION* out);

// lParam of a pointer message: y in the high word, x in the low word.
intptr_t DesktopPointParam(int x, int y);

// ---- Shell --------------------------------------------------------------------------------

// "file://" and the absolute path, every byte but letters, digits, '-', '.', '_', '~' and '/'
// written as %XX. False when the result does not fit in capacity bytes.
bool DesktopFileUrl(const char* absolutePath, char* out, size_t capacity);

#endif
