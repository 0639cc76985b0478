// The widget record: push buttons, inert panels, labels and the text field all share it.
#ifndef KV_BUTTON_H
#define KV_BUTTON_H

#include <cstdint>

enum {
    KIND_FIELD = -2,
    KIND_LABEL = -1,
    KIND_INERT = 0,
    KIND_LANGUAGE = 1,
    KIND_GOTO = 2,
    KIND_EXIT = 3,
    KIND_YES = 4,
    KIND_NO = 5
};

struct BUTTON {
    char text[200];
    int16_t x;
    int16_t y;
    int16_t width;
    int16_t height;
    int32_t id;
    int32_t kind;
    uint8_t pressed;
    uint8_t lastButton;
    uint8_t autoPress;
    uint16_t colour;
};

#endif
