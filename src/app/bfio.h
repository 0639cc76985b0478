// The application base class and the process-wide shell state.
//
// There is only ever one BFIO; the window, frame buffer, fonts and input latches are
// process-wide state that belongs to it. The entry reaches the application through
// CreateApplication / DestroyApplication and the two virtual operations.
#ifndef KV_BFIO_H
#define KV_BFIO_H

#include "platform/platform.h"

#include <cstdint>

class FOLDER;
struct FONT;

class BFIO {
public:
    BFIO();
    // Not virtual: the application is destroyed through its own type.
    ~BFIO();

    virtual void Render() = 0;
    virtual bool Update() = 0;

    // Handle every waiting window message, then show what changed.
    void Poll();
    void SetTitle(const char* text);
    const char* CommandLine() const;

    // ---- Window and frame buffer ----
    int32_t OpenGraphics(int16_t width, int16_t height, const char* title, bool maximise, FOLDER* folder,
                         int16_t minHeight, int16_t maxHeight, int16_t minWidth, int16_t maxWidth);
    void CloseGraphics();
    bool GraphicsReady() const;
    int16_t ScreenWidth() const;
    int16_t ScreenHeight() const;
    void Present();
    int32_t AllocateScreen(int16_t width, int16_t height);
    void ClampAndMark(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2);

    // ---- Lines, boxes and colour ramps ----
    int32_t Line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int32_t style, uint16_t colour);
    int32_t Box(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int32_t flags, uint16_t colour, uint16_t colour2);
    static uint16_t Shade(uint16_t colour, int16_t percent, bool rgb565);

    // ---- Bitmap fonts ----
    int32_t LoadFont(FOLDER* folder, int32_t index);
    void FreeFont(int32_t index);
    int32_t FontHeight(int32_t index) const;
    int32_t TextWidth(int32_t index, const char* text) const;
    int32_t CharGap(int32_t index, const char* text, int32_t position) const;
    int32_t Text(int16_t x, int16_t y, int32_t index, uint16_t colour, const char* text);

protected:
    BFIO(const BFIO&) = delete;
    BFIO& operator=(const BFIO&) = delete;
};

// Shell state, one copy per process.
struct SHELLSTATE {
    PLATINSTANCE instance;
    const char* commandLine;
    BFIO* bfio;              // the registered BFIO, or null
    uint8_t running;         // 1 while the run loop owns the application
    uint8_t closeRequested;  // set by WM_CLOSE, never cleared
    uint8_t inPaint;         // 1 while WM_PAINT is rendering
};
extern SHELLSTATE g_shell;

// A modal box with one OK button, owned by no window.
void ShowMessage(const char* caption, const char* text);

// Supplied by the application.
class WIZARD;
WIZARD* CreateApplication();
void DestroyApplication(WIZARD* application);

#endif
