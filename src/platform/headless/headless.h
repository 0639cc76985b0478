// The headless backend: the whole platform in memory, for tests.
//
// A test scripts events (directly, or from a hook run at the start of every pump), sets the
// screen metrics, fills the in-memory registry and switches failures on; afterwards it reads
// back the message boxes, shell requests, window state, the pixels shown by Present and a
// log of platform calls. Files are real files (tests run in temporary folders); the failure
// switches sit in front of them.
#ifndef KV_HEADLESS_H
#define KV_HEADLESS_H

#include "platform/platform.h"

#include <string>
#include <vector>

struct HEADLESSEVENT {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

struct HEADLESSBOX {
    std::string caption;
    std::string text;
};

struct HEADLESSSHELL {
    std::string verb;
    std::string path;
    int showCommand;
};

struct HEADLESSWINDOW {
    bool exists;
    bool visible;
    int lastShowCommand;
    std::string title;
    uint32_t style;
    int x, y, width, height;       // outer rectangle
    int clientWidth, clientHeight; // follows the outer size and the frame metrics
    std::vector<uint16_t> screen;  // what Present has shown, clientWidth x clientHeight
};

// Everything back to its start: no window, empty queue and registry, default metrics
// (caption 19, dialog frame 3, sizing frame 4, work area 0,0 to 1024,768), no failures.
void HeadlessReset();

// ---- Events ----
void HeadlessPost(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
// A key press as the keyboard delivers it: WM_KEYDOWN, then WM_CHAR when ch is not 0.
void HeadlessKey(int virtualKey, char ch = 0);
void HeadlessMouseMove(int x, int y);
void HeadlessMouseButton(bool down);  // left button
// Marks the window as needing paint: WM_PAINT follows once the queue is empty.
void HeadlessInvalidate();
bool HeadlessPaintPending();
// Called at the start of every PlatPumpEvents, with the number of that pump (1, 2, ...).
typedef void (*HEADLESSPUMPHOOK)(int pump, void* user);
void HeadlessSetPumpHook(HEADLESSPUMPHOOK hook, void* user);
int HeadlessPumpCount();
// Called while a message box is open, before its modal loop drains the queue.
typedef void (*HEADLESSBOXHOOK)(const HEADLESSBOX& box, void* user);
void HeadlessSetBoxHook(HEADLESSBOXHOOK hook, void* user);

// ---- What the program did ----
const std::vector<HEADLESSBOX>& HeadlessBoxes();
const std::vector<HEADLESSSHELL>& HeadlessShellRequests();
const HEADLESSWINDOW& HeadlessWindow();
// Platform calls in order, e.g. "ShowCursor(0)", "SetCursor(102)", "BeginPaint", "Present(0,0,640,480,0,0)".
const std::vector<std::string>& HeadlessCalls();
void HeadlessClearCalls();
int HeadlessCount(const char* callPrefix);

// ---- Pictures ----
// Writes RGB555 pixels as an 8-bit RGB PNG, each 5-bit channel widened as displays do
// (the top bits repeated: 31 becomes 255). False when the file cannot be written.
bool HeadlessSavePng(const char* path, const uint16_t* pixels, int width, int height, int pitch);
// The window's client area as Present has shown it.
bool HeadlessSaveFrame(const char* path);

// ---- Screen metrics ----
void HeadlessSetSystemMetric(int index, int value);
void HeadlessSetWorkArea(const PLATRECT& rect);

// ---- Failure switches ----
void HeadlessFailCreateWindow(bool fail);
void HeadlessFailCursorResource(int resourceId, bool fail);
void HeadlessFailCurrentDirectory(bool fail);
// File operations on paths containing `pathPart`: the open fails; writes fail once
// `writeBudget` bytes were accepted (-1: never); the close reports failure.
void HeadlessFailOpen(const char* pathPart);
void HeadlessFailWrites(const char* pathPart, long long writeBudget);
void HeadlessFailClose(const char* pathPart);
void HeadlessFailReplace(bool fail);
void HeadlessClearFileFailures();

// ---- Registry ----
struct HEADLESSREGFAIL {
    bool open, query, create, set;
};
HEADLESSREGFAIL& HeadlessRegFailures();
// Stores raw bytes (a text value normally includes its terminating zero).
void HeadlessRegPut(const char* keyPath, const char* name, const std::string& bytes);
bool HeadlessRegGet(const char* keyPath, const char* name, std::string* bytes);
void HeadlessRegDeleteKey(const char* keyPath);
int HeadlessRegOpenKeys();  // keys opened and not yet closed

// ---- Process ----
// PlatExitProcess flushes standard streams and ends the process with the status (tests use
// death tests for it).

#endif
