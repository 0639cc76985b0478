// The update wizard: the application object and the shared state of the wizard's pages
// and the install run.
#ifndef KV_WIZARD_H
#define KV_WIZARD_H

#include "app/bfio.h"
#include "app/input.h"
#include "wizard/button.h"

#include <cstdint>

enum { BUTTON_SLOTS = 10, WIZARD_TEXT_SIZE = 200 };

class WIZARD final : public BFIO {
public:
    WIZARD();
    ~WIZARD();
    void Render() override;
    bool Update() override;

    int16_t page;
    int16_t shownPage;
    int16_t installIndex;
    int16_t boxX;
    int16_t boxY;
    int16_t boxWidth;
    char installedVersion[WIZARD_TEXT_SIZE];
    char location[WIZARD_TEXT_SIZE];
    MOUSE* mouse;
    KEYBOARD* keyboard;
    uint8_t quit;
    int32_t language;
    BUTTON* buttons[BUTTON_SLOTS];
};

#endif
