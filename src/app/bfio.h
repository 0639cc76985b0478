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
