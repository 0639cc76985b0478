// Input latches, the MOUSE with its cursors, and the KEYBOARD with its key table.
//
// The window procedure records every pointer and key event in latches that hold only the
// latest value; the wizard reads them once per step.
#ifndef KV_INPUT_H
#define KV_INPUT_H

#include "platform/platform.h"

#include <cstdint>

enum {
    KEY_NONE = 0,
    KEY_LEFT,
    KEY_RIGHT,
    KEY_BACKSPACE,
    KEY_DELETE,
    KEY_ESCAPE,
    KEY_ENTER,
    KEY_TAB,
    KEY_INSERT,
    KEY_PAD_PLUS,
    KEY_PAD_MINUS,
    KEY_F1,
    KEY_F2,
    KEY_F3,
    KEY_F4,
    KEY_F5,
    KEY_F6,
    KEY_F7,
    KEY_F8,
    KEY_F9
};

enum { CURSOR_ARROW = 0, CURSOR_BUSY = 1, CURSOR_HAND = 2 };

struct INPUTLATCHES {
    int16_t pointerX;
    int16_t pointerY;
    uint8_t leftButton;
    uint8_t rightButton;
    uint8_t middleButton;
    int32_t wheelTotal;
    int32_t lastKey;
    char lastCharacter;
};
extern INPUTLATCHES g_input;

// Records an input message in the latches; false when the message is not an input one.
bool HandleInputMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

class MOUSE {
public:
    MOUSE();
    ~MOUSE();
    void SetCursorMode(int32_t mode);
    void RefreshCursor();
    void GetPosition(int16_t* x, int16_t* y) const;
    void GetLeftButton(uint8_t* state) const;
    void ClearButtons();
    int32_t Mode() const { return mode; }
    static MOUSE* Instance();

private:
    MOUSE(const MOUSE&) = delete;
    MOUSE& operator=(const MOUSE&) = delete;
    PLATCURSOR Picture(int32_t m) const;
    int32_t mode;
};

class KEYBOARD {
public:
    KEYBOARD();
    ~KEYBOARD();
    bool ReadKeys(char* character, int32_t* key);
    void ClearKeys();
    static int32_t TranslateKey(int32_t virtualKey);
    static KEYBOARD* Instance();

private:
    KEYBOARD(const KEYBOARD&) = delete;
    KEYBOARD& operator=(const KEYBOARD&) = delete;
};

#endif
