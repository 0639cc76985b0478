// The Windows backend: each operation is the Windows API call with the program's arguments.
#include <windows.h>

#include <direct.h>
#include <io.h>
#include <shellapi.h>
#include <sys/stat.h>

#include "platform/platform.h"

#include <cstring>
#include <new>

static_assert(sizeof(PLATMINMAXINFO) == sizeof(MINMAXINFO), "MINMAXINFO layout");
static_assert(offsetof(PLATMINMAXINFO, ptMaxTrackSize) == offsetof(MINMAXINFO, ptMaxTrackSize), "MINMAXINFO layout");
static_assert(PLAT_IDC_ARROW == 32512 && PLAT_IDC_WAIT == 32514, "system cursor numbers");

const char PLAT_PATH_SEP = '\\';

namespace {

PAINTSTRUCT g_paint;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return static_cast<LRESULT>(WindowProcedure(window, message, static_cast<uintptr_t>(wParam), static_cast<intptr_t>(lParam)));
}

HKEY AsKey(PLATKEY key) { return static_cast<HKEY>(key); }

}  // namespace

// ---- Window ----

bool PlatRegisterClass(PLATINSTANCE instance, const char* className)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = static_cast<HINSTANCE>(instance);
    wc.hIcon = LoadIconA(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(100));
    wc.hCursor = nullptr;
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

PLATWINDOW PlatCreateWindow(PLATINSTANCE instance, const char* className, const char* title, uint32_t style, int x,
                            int y, int width, int height)
{
    return CreateWindowExA(0, className, title, style, x, y, width, height, nullptr, nullptr,
                           static_cast<HINSTANCE>(instance), nullptr);
}

void PlatShowWindow(PLATWINDOW window, int showCommand) { ShowWindow(static_cast<HWND>(window), showCommand); }

void PlatSetWindowStyle(PLATWINDOW window, uint32_t style)
{
    SetWindowLongA(static_cast<HWND>(window), GWL_STYLE, static_cast<LONG>(style));
}

void PlatMoveWindow(PLATWINDOW window, int x, int y, int width, int height, bool repaint)
{
    MoveWindow(static_cast<HWND>(window), x, y, width, height, repaint ? TRUE : FALSE);
}

void PlatDestroyWindow(PLATWINDOW window) { DestroyWindow(static_cast<HWND>(window)); }
void PlatSetWindowText(PLATWINDOW window, const char* text) { SetWindowTextA(static_cast<HWND>(window), text); }

bool PlatGetClientRect(PLATWINDOW window, PLATRECT* rect)
{
    RECT r;
    if (!rect || !GetClientRect(static_cast<HWND>(window), &r)) return false;
    *rect = PLATRECT{r.left, r.top, r.right, r.bottom};
    return true;
}

void PlatInvalidateRect(PLATWINDOW window, const PLATRECT* rect, bool erase)
{
    RECT r;
    if (rect) r = RECT{rect->left, rect->top, rect->right, rect->bottom};
    InvalidateRect(static_cast<HWND>(window), rect ? &r : nullptr, erase ? TRUE : FALSE);
}

int PlatGetSystemMetrics(int index) { return GetSystemMetrics(index); }

bool PlatGetWorkArea(PLATRECT* rect)
{
    RECT r;
    if (!rect || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return false;
    *rect = PLATRECT{r.left, r.top, r.right, r.bottom};
    return true;
}

intptr_t PlatDefWindowProc(PLATWINDOW window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return static_cast<intptr_t>(DefWindowProcA(static_cast<HWND>(window), message, static_cast<WPARAM>(wParam),
                                                static_cast<LPARAM>(lParam)));
}

// ---- Events ----

void PlatPumpEvents()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        // A quit message (GetMessageA returns 0) is taken off the queue and dropped.
        if (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void PlatBeginPaint(PLATWINDOW window) { BeginPaint(static_cast<HWND>(window), &g_paint); }
void PlatEndPaint(PLATWINDOW window) { EndPaint(static_cast<HWND>(window), &g_paint); }

// ---- Showing the frame buffer ----

void PlatPresent(PLATWINDOW window, const uint16_t* pixels, int surfaceWidth, int surfaceHeight, int, int destX,
                 int destY, int width, int height, int sourceX, int sourceY)
{
    HWND hwnd = static_cast<HWND>(window);
    HDC dc = GetDC(hwnd);
    if (!dc) return;
    BITMAPINFOHEADER header;
    memset(&header, 0, sizeof header);
    header.biSize = sizeof header;
    header.biWidth = surfaceWidth;
    header.biHeight = -surfaceHeight;  // rows run top down
    header.biPlanes = 1;
    header.biBitCount = 16;
    header.biCompression = BI_RGB;  // 16-bit BI_RGB is 5-5-5
    SetMapMode(dc, MM_TEXT);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, destX, destY, width, height, sourceX, sourceY, width, height, pixels,
                  reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(hwnd, dc);
}

// ---- Cursors ----

PLATCURSOR PlatLoadCursor(PLATINSTANCE instance, int resourceId)
{
    return LoadCursorA(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(resourceId));
}

PLATCURSOR PlatLoadSystemCursor(int systemId) { return LoadCursorA(nullptr, MAKEINTRESOURCEA(systemId)); }
PLATCURSOR PlatGetCursor() { return GetCursor(); }
PLATCURSOR PlatSetCursor(PLATCURSOR cursor) { return SetCursor(static_cast<HCURSOR>(cursor)); }
int PlatShowCursor(bool show) { return ShowCursor(show ? TRUE : FALSE); }
void PlatDestroyCursor(PLATCURSOR cursor) { DestroyCursor(static_cast<HCURSOR>(cursor)); }

// ---- Message box, shell, process ----

void PlatMessageBox(const char* caption, const char* text) { MessageBoxA(nullptr, text, caption, MB_OK); }

bool PlatShellOpen(const char* verb, const char* path, int showCommand)
{
    HINSTANCE result = ShellExecuteA(nullptr, verb, path, nullptr, nullptr, showCommand);
    return reinterpret_cast<intptr_t>(result) > 32;
}

void PlatExitProcess(int status) { ExitProcess(static_cast<UINT>(status)); }

// ---- Registry ----

bool PlatRegOpenKey(const char* path, PLATKEY* key)
{
    HKEY result = nullptr;
    if (!key || RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &result) != ERROR_SUCCESS) return false;
    *key = result;
    return true;
}

bool PlatRegQueryValue(PLATKEY key, const char* name, char* buffer, uint32_t* size)
{
    if (!size) return false;
    DWORD type = REG_SZ;
    DWORD bytes = *size;
    if (RegQueryValueExA(AsKey(key), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS)
        return false;
    *size = bytes;
    return true;
}

bool PlatRegCreateKey(const char* path, PLATKEY* key)
{
    HKEY result = nullptr;
    if (!key || RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                &result, nullptr) != ERROR_SUCCESS)
        return false;
    *key = result;
    return true;
}

bool PlatRegSetValue(PLATKEY key, const char* name, const char* text)
{
    if (!text) return false;
    DWORD bytes = static_cast<DWORD>(strlen(text) + 1);
    return RegSetValueExA(AsKey(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
}

void PlatRegCloseKey(PLATKEY key) { RegCloseKey(AsKey(key)); }

// ---- File system ----

bool PlatGetCurrentDirectory(char* buffer, size_t capacity)
{
    if (!buffer || capacity == 0 || capacity > 0x7FFFFFFF) return false;
    return _getcwd(buffer, static_cast<int>(capacity)) != nullptr;
}

FILE* PlatOpenFile(const char* path, const char* mode) { return fopen(path, mode); }

bool PlatCloseFile(FILE* file)
{
    if (!file) return false;
    bool flushed = fflush(file) == 0;
    bool failed = ferror(file) != 0;
    return (fclose(file) == 0) && flushed && !failed;
}

bool PlatMakeWritable(const char* path) { return _chmod(path, _S_IREAD | _S_IWRITE) == 0; }
bool PlatDeleteFile(const char* path) { return remove(path) == 0; }
bool PlatRenameFile(const char* from, const char* to) { return rename(from, to) == 0; }
bool PlatReplaceFile(const char* from, const char* to) { return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0; }

namespace {
struct FINDSTATE {
    intptr_t handle;
};

bool CopyName(const _finddata_t& data, char* name, size_t capacity)
{
    size_t len = strlen(data.name);
    if (len + 1 > capacity) return false;
    memcpy(name, data.name, len + 1);
    return true;
}

bool IsFile(const _finddata_t& data) { return (data.attrib & _A_SUBDIR) == 0; }
}  // namespace

PLATFIND PlatFindFirst(const char* pattern, char* name, size_t capacity)
{
    if (!pattern || !name || capacity == 0) return nullptr;
    _finddata_t data;
    intptr_t handle = _findfirst(pattern, &data);
    if (handle == -1) return nullptr;
    for (;;) {
        if (IsFile(data) && CopyName(data, name, capacity)) break;
        if (_findnext(handle, &data) != 0) {
            _findclose(handle);
            return nullptr;
        }
    }
    FINDSTATE* state = new (std::nothrow) FINDSTATE{handle};
    if (!state) _findclose(handle);
    return state;
}

bool PlatFindNext(PLATFIND search, char* name, size_t capacity)
{
    if (!search || !name || capacity == 0) return false;
    FINDSTATE* state = static_cast<FINDSTATE*>(search);
    _finddata_t data;
    while (_findnext(state->handle, &data) == 0)
        if (IsFile(data) && CopyName(data, name, capacity)) return true;
    return false;
}

void PlatFindClose(PLATFIND search)
{
    if (!search) return;
    FINDSTATE* state = static_cast<FINDSTATE*>(search);
    _findclose(state->handle);
    delete state;
}

// ---- Entry ----

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return RunProgram(instance, commandLine);
}
