// The one seam between the program and the operating system.
//
// Every operation the program needs from the platform is declared here and implemented
// once per backend:
//   win32/     the real Windows API (the shipping program)
//   desktop/   Linux: POSIX files, a file-backed registry store, message boxes on stderr
//   headless/  everything in memory, scripted and recorded, for the tests
//
// The core never includes <windows.h> or SDL. Where the core needs a Windows constant
// (message numbers, show commands, metrics, virtual keys) it uses the Windows name with the
// Windows value, defined below only when <windows.h> has not already defined it. The win32
// backend includes <windows.h> first and checks that every value agrees.
#ifndef KV_PLATFORM_H
#define KV_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

typedef void* PLATINSTANCE;  // module handle handed to the entry
typedef void* PLATWINDOW;    // the top-level window
typedef void* PLATCURSOR;    // a loaded cursor picture
typedef void* PLATKEY;       // an open registry key
typedef void* PLATFIND;      // an open directory search

// ---- Window messages the core's window procedure handles -------------------------------
#ifndef WM_SIZE
#define WM_SIZE 0x0005
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_GETMINMAXINFO 0x0024
#define WM_KEYDOWN 0x0100
#define WM_CHAR 0x0102
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A
#endif

// WM_SIZE size types
#ifndef SIZE_RESTORED
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2
#endif

// Show commands
#ifndef SW_HIDE
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMAXIMIZED 3
#define SW_SHOW 5
#endif

// Window styles
#ifndef WS_OVERLAPPEDWINDOW
#define WS_CAPTION 0x00C00000u
#define WS_SYSMENU 0x00080000u
#define WS_THICKFRAME 0x00040000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_OVERLAPPEDWINDOW 0x00CF0000u
#endif

// System metrics
#ifndef SM_CYCAPTION
#define SM_CYCAPTION 4
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#endif

// Virtual-key codes the key table knows
#ifndef VK_BACK
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_F1 0x70
#define VK_F9 0x78
#define VK_F10 0x79
#endif

// System cursors
#define PLAT_IDC_ARROW 32512
#define PLAT_IDC_WAIT 32514

struct PLATPOINT {
    int32_t x;
    int32_t y;
};

// Same layout as the Win32 MINMAXINFO that WM_GETMINMAXINFO's lParam points to.
struct PLATMINMAXINFO {
    PLATPOINT ptReserved;
    PLATPOINT ptMaxSize;
    PLATPOINT ptMaxPosition;
    PLATPOINT ptMinTrackSize;
    PLATPOINT ptMaxTrackSize;
};

struct PLATRECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// ---- Implemented by the core, called by the backends ---------------------------------------

// The program's window procedure: every window event reaches the core through it.
// Unhandled messages are passed on to PlatDefWindowProc and its result returned.
intptr_t WindowProcedure(PLATWINDOW window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// The whole program: construction, run loop, teardown. Returns the exit status.
int RunProgram(PLATINSTANCE instance, const char* commandLine);

// ---- Window ------------------------------------------------------------------------------

// Registers the window class "className" with the program's window procedure and icon 100,
// redraw on horizontal and vertical resizing, no cursor, no background, no menu.
bool PlatRegisterClass(PLATINSTANCE instance, const char* className);
// Creates a top-level window of the registered class; null on failure.
PLATWINDOW PlatCreateWindow(PLATINSTANCE instance, const char* className, const char* title,
                            uint32_t style, int x, int y, int width, int height);
void PlatShowWindow(PLATWINDOW window, int showCommand);
void PlatSetWindowStyle(PLATWINDOW window, uint32_t style);
void PlatMoveWindow(PLATWINDOW window, int x, int y, int width, int height, bool repaint);
void PlatDestroyWindow(PLATWINDOW window);
void PlatSetWindowText(PLATWINDOW window, const char* text);
// The client rectangle: left and top are 0, right and bottom the client size.
bool PlatGetClientRect(PLATWINDOW window, PLATRECT* rect);
void PlatInvalidateRect(PLATWINDOW window, const PLATRECT* rect, bool erase);
int PlatGetSystemMetrics(int index);
// The desktop's work area in screen coordinates.
bool PlatGetWorkArea(PLATRECT* rect);
intptr_t PlatDefWindowProc(PLATWINDOW window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// ---- Events ------------------------------------------------------------------------------

// Hands every event waiting now, in arrival order, to WindowProcedure and returns without
// waiting when none is left. Key presses also produce their character events.
void PlatPumpEvents();
// Brackets the handling of WM_PAINT; EndPaint marks the window as painted.
void PlatBeginPaint(PLATWINDOW window);
void PlatEndPaint(PLATWINDOW window);

// ---- Showing the frame buffer -------------------------------------------------------------

// Copies a width x height rectangle 1:1 from a top-down RGB555 frame buffer of
// surfaceWidth x surfaceHeight pixels (rows of pitch bytes) to the client area at
// (destX, destY). sourceY counts from the frame buffer's bottom row, as the Windows
// bitmap copy addresses a top-down bitmap.
void PlatPresent(PLATWINDOW window, const uint16_t* pixels, int surfaceWidth, int surfaceHeight,
                 int pitch, int destX, int destY, int width, int height, int sourceX, int sourceY);

// ---- Cursors -----------------------------------------------------------------------------

// One of the program's cursor pictures (101 arrow, 102 busy, 103 hand); null when missing.
PLATCURSOR PlatLoadCursor(PLATINSTANCE instance, int resourceId);
// A system cursor (PLAT_IDC_ARROW, PLAT_IDC_WAIT).
PLATCURSOR PlatLoadSystemCursor(int systemId);
PLATCURSOR PlatGetCursor();
PLATCURSOR PlatSetCursor(PLATCURSOR cursor);
int PlatShowCursor(bool show);
void PlatDestroyCursor(PLATCURSOR cursor);

// ---- Message box, shell, process ------------------------------------------------------------

// Modal box with the caption, the text and one OK button, owned by no window. Where no
// display can show it, the message is written to standard error as "Caption: text".
void PlatMessageBox(const char* caption, const char* text);
// Opens a file with its associated program ("open" verb); false when it could not.
bool PlatShellOpen(const char* verb, const char* path, int showCommand);
[[noreturn]] void PlatExitProcess(int status);

// ---- Registry (HKEY_LOCAL_MACHINE, full access) ---------------------------------------------

// Opens an existing key; false when it does not exist or full access is refused.
bool PlatRegOpenKey(const char* path, PLATKEY* key);
// Reads a value into buffer; *size is the capacity in, the byte count stored out.
// False when the value is missing or does not fit.
bool PlatRegQueryValue(PLATKEY key, const char* name, char* buffer, uint32_t* size);
// Creates a key or opens it when it exists.
bool PlatRegCreateKey(const char* path, PLATKEY* key);
// Stores a text value with its terminating zero.
bool PlatRegSetValue(PLATKEY key, const char* name, const char* text);
void PlatRegCloseKey(PLATKEY key);

// ---- File system ---------------------------------------------------------------------------

extern const char PLAT_PATH_SEP;  // '\\' on Windows, '/' on POSIX

// The process's current directory; false when it cannot be read or does not fit.
bool PlatGetCurrentDirectory(char* buffer, size_t capacity);
// Opens a file as the C library's fopen does (modes "r", "w", "rb", "wb", "a+b").
FILE* PlatOpenFile(const char* path, const char* mode);
// Closes a stream; true only when everything buffered was written and the close succeeded.
bool PlatCloseFile(FILE* file);
// Gives the owner read and write permission (clears a read-only attribute).
bool PlatMakeWritable(const char* path);
bool PlatDeleteFile(const char* path);
// Moves a file to a new name; fails when the new name exists.
bool PlatRenameFile(const char* from, const char* to);
// Moves a file onto another in one step, replacing the target if it exists.
bool PlatReplaceFile(const char* from, const char* to);
// Wildcard search of one folder ("dir/x/*.qst"): the first match's name without folder, or
// null when nothing matches. Regular files only.
PLATFIND PlatFindFirst(const char* pattern, char* name, size_t capacity);
bool PlatFindNext(PLATFIND search, char* name, size_t capacity);
void PlatFindClose(PLATFIND search);

#endif
