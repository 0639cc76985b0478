// The update wizard: the application object and the shared state of the wizard's pages
// and the install run.
#ifndef KV_WIZARD_H
#define KV_WIZARD_H

#include "app/bfio.h"
#include "app/input.h"
#include "engine/package.h"
#include "wizard/button.h"

#include <cstdint>

enum { BUTTON_SLOTS = 10, WIZARD_TEXT_SIZE = 200 };

class WIZARD final : public BFIO {
public:
    WIZARD();
    ~WIZARD();
    void Render() override;
    bool Update() override;

    // ---- Widgets ----
    BUTTON* AddButton(int16_t x, int16_t y, int16_t width, int16_t height, const char* text, int32_t kind,
                      int32_t id, uint16_t colour);
    void DrawButton(BUTTON* button);
    bool ButtonClicked(BUTTON* button);
    void WrapText(int16_t* slot, int16_t left, int16_t* top, int16_t limit, const char* paragraph);
    // Puts a widget into a slot, releasing the one it held; a null widget empties the slot.
    void SetSlot(int slot, BUTTON* button);

    // ---- Controller ----
    // Shows another page: sets it and draws it at once.
    void SetPage(int16_t newPage);
    // Reads the installation record and looks for the game's executable: the page that
    // follows a language choice (2 when found, 1 when not).
    int16_t FindInstallation();

    // ---- Install run ----
    // One step of the run on page 3: the checks, one file, or the finish.
    void InstallStep();
    // Deletes the installation's quick-start files (true), or tells whether there are any.
    bool DeleteQuickStarts(bool deleteFiles);

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
    // The files the install run replaces (the update's table; tests give their own).
    const FILEENTRY* fileTable;

private:
    void Act(int32_t kind, int32_t id);
    void EditLocation(char character, int32_t key);
    void CheckBeforeInstalling();
    void ReplaceEntry(int entry);
};

#endif
