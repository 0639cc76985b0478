// The headless backend (see headless.h).
#include "platform/headless/headless.h"
#include "platform/posix/posix_fs.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <png.h>
#include <map>
#include <set>
#include <unistd.h>

namespace {

struct REGKEY {
    std::string path;
};

struct FILEFAIL {
    std::string pathPart;
    long long writeBudget;  // -1: unlimited
    bool failOpen;
    bool failClose;
};

struct STATE {
    std::deque<HEADLESSEVENT> queue;
    bool paintPending = false;
    HEADLESSPUMPHOOK pumpHook = nullptr;
    void* pumpUser = nullptr;
    HEADLESSBOXHOOK boxHook = nullptr;
    void* boxUser = nullptr;
    int pumps = 0;
    bool inBox = false;

    std::vector<HEADLESSBOX> boxes;
    std::vector<HEADLESSSHELL> shell;
    std::vector<std::string> calls;
    HEADLESSWINDOW window{};
    std::map<int, int> metrics;
    PLATRECT workArea{0, 0, 1024, 768};

    bool failCreateWindow = false;
    std::set<int> failCursors;
    bool failCurrentDirectory = false;
    bool failReplace = false;
    std::vector<FILEFAIL> fileFailures;

    intptr_t cursor = 0;
    int cursorCount = 0;

    std::map<std::string, std::map<std::string, std::string>> registry;
    HEADLESSREGFAIL regFail{};
    int openKeys = 0;
};

STATE* g_state = nullptr;

STATE& S()
{
    if (!g_state) g_state = new STATE();
    return *g_state;
}

void Log(const char* format, ...)
{
    char line[256];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    S().calls.push_back(line);
}

// A non-null window handle for the one headless window.
PLATWINDOW TheWindow()
{
    return S().window.exists ? reinterpret_cast<PLATWINDOW>(static_cast<intptr_t>(0x57)) : nullptr;
}

void UpdateClientSize()
{
    HEADLESSWINDOW& w = S().window;
    bool thick = (w.style & WS_THICKFRAME) != 0;
    int fx = PlatGetSystemMetrics(thick ? SM_CXFRAME : SM_CXDLGFRAME);
    int fy = PlatGetSystemMetrics(thick ? SM_CYFRAME : SM_CYDLGFRAME);
    int cap = (w.style & WS_CAPTION) == WS_CAPTION ? PlatGetSystemMetrics(SM_CYCAPTION) : 0;
    w.clientWidth = w.width - 2 * fx;
    w.clientHeight = w.height - cap - 2 * fy;
    if (w.clientWidth < 0) w.clientWidth = 0;
    if (w.clientHeight < 0) w.clientHeight = 0;
    w.screen.assign(static_cast<size_t>(w.clientWidth) * static_cast<size_t>(w.clientHeight), 0);
}

// As the window manager does while a window is sized: ask for the limits, then report the
// new client size.
void SendSizeMessages()
{
    PLATMINMAXINFO info{};
    WindowProcedure(TheWindow(), WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    const HEADLESSWINDOW& w = S().window;
    intptr_t size = static_cast<intptr_t>((static_cast<uint32_t>(w.clientHeight) << 16) |
                                          (static_cast<uint32_t>(w.clientWidth) & 0xFFFF));
    WindowProcedure(TheWindow(), WM_SIZE, SIZE_RESTORED, size);
}

void Drain()
{
    STATE& s = S();
    while (!s.queue.empty()) {
        HEADLESSEVENT e = s.queue.front();
        s.queue.pop_front();
        WindowProcedure(TheWindow(), e.message, e.wParam, e.lParam);
    }
    // Like Windows, a paint is generated only when nothing else is waiting.
    if (s.paintPending) {
        s.paintPending = false;
        WindowProcedure(TheWindow(), WM_PAINT, 0, 0);
    }
}

FILEFAIL* FindFailure(const char* path)
{
    for (FILEFAIL& f : S().fileFailures)
        if (path && strstr(path, f.pathPart.c_str())) return &f;
    return nullptr;
}

FILEFAIL& FailureFor(const char* pathPart)
{
    for (FILEFAIL& f : S().fileFailures)
        if (f.pathPart == pathPart) return f;
    S().fileFailures.push_back(FILEFAIL{pathPart, -1, false, false});
    return S().fileFailures.back();
}

// A stream that forwards to a real file but fails writes past a budget or fails its close.
struct COOKIE {
    FILE* real;
    long long writeBudget;
    bool failClose;
};

ssize_t CookieRead(void* c, char* buffer, size_t size)
{
    COOKIE* k = static_cast<COOKIE*>(c);
    size_t n = fread(buffer, 1, size, k->real);
    if (n == 0 && ferror(k->real)) return -1;
    return static_cast<ssize_t>(n);
}

ssize_t CookieWrite(void* c, const char* buffer, size_t size)
{
    COOKIE* k = static_cast<COOKIE*>(c);
    size_t allowed = size;
    if (k->writeBudget >= 0 && static_cast<long long>(size) > k->writeBudget)
        allowed = static_cast<size_t>(k->writeBudget);
    size_t n = allowed ? fwrite(buffer, 1, allowed, k->real) : 0;
    if (k->writeBudget >= 0) k->writeBudget -= static_cast<long long>(n);
    if (n == 0 && size > 0) return -1;  // glibc treats a short count as a failed write
    return static_cast<ssize_t>(n);
}

int CookieSeek(void* c, off64_t* offset, int whence)
{
    COOKIE* k = static_cast<COOKIE*>(c);
    if (fseeko(k->real, *offset, whence) != 0) return -1;
    *offset = ftello(k->real);
    return 0;
}

int CookieClose(void* c)
{
    COOKIE* k = static_cast<COOKIE*>(c);
    int r = fclose(k->real);
    bool fail = k->failClose;
    delete k;
    return (r != 0 || fail) ? -1 : 0;
}

std::string KeyName(const char* path)
{
    // Registry key names are not case-sensitive.
    std::string s(path ? path : "");
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

}  // namespace

// ---- Test API ----

void HeadlessReset()
{
    delete g_state;
    g_state = nullptr;
    S();
}

void HeadlessPost(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    S().queue.push_back(HEADLESSEVENT{message, wParam, lParam});
}

void HeadlessKey(int virtualKey, char ch)
{
    HeadlessPost(WM_KEYDOWN, static_cast<uintptr_t>(virtualKey), 1);
    if (ch) HeadlessPost(WM_CHAR, static_cast<unsigned char>(ch), 1);
}

void HeadlessMouseMove(int x, int y)
{
    intptr_t lp = static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
    HeadlessPost(WM_MOUSEMOVE, 0, lp);
}

void HeadlessMouseButton(bool down)
{
    HeadlessPost(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? 1 : 0, 0);
}

void HeadlessInvalidate() { S().paintPending = true; }
bool HeadlessPaintPending() { return S().paintPending; }

void HeadlessSetPumpHook(HEADLESSPUMPHOOK hook, void* user)
{
    S().pumpHook = hook;
    S().pumpUser = user;
}

int HeadlessPumpCount() { return S().pumps; }

void HeadlessSetBoxHook(HEADLESSBOXHOOK hook, void* user)
{
    S().boxHook = hook;
    S().boxUser = user;
}

const std::vector<HEADLESSBOX>& HeadlessBoxes() { return S().boxes; }
const std::vector<HEADLESSSHELL>& HeadlessShellRequests() { return S().shell; }
const HEADLESSWINDOW& HeadlessWindow() { return S().window; }
const std::vector<std::string>& HeadlessCalls() { return S().calls; }
void HeadlessClearCalls() { S().calls.clear(); }

int HeadlessCount(const char* callPrefix)
{
    int n = 0;
    size_t len = strlen(callPrefix);
    for (const std::string& c : S().calls)
        if (c.compare(0, len, callPrefix) == 0) ++n;
    return n;
}

bool HeadlessSavePng(const char* path, const uint16_t* pixels, int width, int height, int pitch)
{
    if (!path || !pixels || width <= 0 || height <= 0) return false;
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint16_t* row = reinterpret_cast<const uint16_t*>(reinterpret_cast<const char*>(pixels) +
                                                                static_cast<size_t>(y) * pitch);
        for (int x = 0; x < width; ++x) {
            unsigned char* out = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            const int channels[3] = {(row[x] >> 10) & 31, (row[x] >> 5) & 31, row[x] & 31};
            for (int k = 0; k < 3; ++k) out[k] = static_cast<unsigned char>((channels[k] << 3) | (channels[k] >> 2));
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path, 0, rgb.data(), width * 3, nullptr) != 0;
}

bool HeadlessSaveFrame(const char* path)
{
    const HEADLESSWINDOW& w = S().window;
    if (!w.exists || w.screen.empty()) return false;
    return HeadlessSavePng(path, w.screen.data(), w.clientWidth, w.clientHeight, w.clientWidth * 2);
}

void HeadlessSetSystemMetric(int index, int value) { S().metrics[index] = value; }
void HeadlessSetWorkArea(const PLATRECT& rect) { S().workArea = rect; }
void HeadlessFailCreateWindow(bool fail) { S().failCreateWindow = fail; }

void HeadlessFailCursorResource(int resourceId, bool fail)
{
    if (fail)
        S().failCursors.insert(resourceId);
    else
        S().failCursors.erase(resourceId);
}

void HeadlessFailCurrentDirectory(bool fail) { S().failCurrentDirectory = fail; }
void HeadlessFailOpen(const char* pathPart) { FailureFor(pathPart).failOpen = true; }
void HeadlessFailWrites(const char* pathPart, long long writeBudget) { FailureFor(pathPart).writeBudget = writeBudget; }
void HeadlessFailClose(const char* pathPart) { FailureFor(pathPart).failClose = true; }
void HeadlessFailReplace(bool fail) { S().failReplace = fail; }
void HeadlessClearFileFailures()
{
    S().fileFailures.clear();
    S().failReplace = false;
}

HEADLESSREGFAIL& HeadlessRegFailures() { return S().regFail; }

void HeadlessRegPut(const char* keyPath, const char* name, const std::string& bytes)
{
    S().registry[KeyName(keyPath)][name] = bytes;
}

bool HeadlessRegGet(const char* keyPath, const char* name, std::string* bytes)
{
    auto key = S().registry.find(KeyName(keyPath));
    if (key == S().registry.end()) return false;
    auto value = key->second.find(name);
    if (value == key->second.end()) return false;
    if (bytes) *bytes = value->second;
    return true;
}

void HeadlessRegDeleteKey(const char* keyPath) { S().registry.erase(KeyName(keyPath)); }
int HeadlessRegOpenKeys() { return S().openKeys; }

// ---- Window ----

bool PlatRegisterClass(PLATINSTANCE, const char* className)
{
    Log("RegisterClass(%s)", className);
    return true;
}

PLATWINDOW PlatCreateWindow(PLATINSTANCE, const char*, const char* title, uint32_t style, int x, int y,
                            int width, int height)
{
    Log("CreateWindow(%s,%08X,%d,%d,%d,%d)", title, style, x, y, width, height);
    if (S().failCreateWindow) return nullptr;
    HEADLESSWINDOW& w = S().window;
    w = HEADLESSWINDOW{};
    w.exists = true;
    w.title = title ? title : "";
    w.style = style;
    w.x = x;
    w.y = y;
    w.width = width;
    w.height = height;
    UpdateClientSize();
    SendSizeMessages();
    return TheWindow();
}

void PlatShowWindow(PLATWINDOW window, int showCommand)
{
    Log("ShowWindow(%d)", showCommand);
    if (!window || !S().window.exists) return;
    HEADLESSWINDOW& w = S().window;
    w.lastShowCommand = showCommand;
    bool wasVisible = w.visible;
    w.visible = showCommand != SW_HIDE;
    if (w.visible && !wasVisible) S().paintPending = true;
}

void PlatSetWindowStyle(PLATWINDOW, uint32_t style)
{
    Log("SetWindowStyle(%08X)", style);
    if (S().window.exists) S().window.style = style;
}

void PlatMoveWindow(PLATWINDOW, int x, int y, int width, int height, bool repaint)
{
    Log("MoveWindow(%d,%d,%d,%d,%d)", x, y, width, height, repaint ? 1 : 0);
    if (!S().window.exists) return;
    HEADLESSWINDOW& w = S().window;
    w.x = x;
    w.y = y;
    w.width = width;
    w.height = height;
    UpdateClientSize();
    SendSizeMessages();
}

void PlatDestroyWindow(PLATWINDOW)
{
    Log("DestroyWindow");
    S().window = HEADLESSWINDOW{};
    S().paintPending = false;
}

void PlatSetWindowText(PLATWINDOW, const char* text)
{
    Log("SetWindowText(%s)", text);
    if (S().window.exists) S().window.title = text ? text : "";
}

bool PlatGetClientRect(PLATWINDOW, PLATRECT* rect)
{
    if (!S().window.exists || !rect) return false;
    *rect = PLATRECT{0, 0, S().window.clientWidth, S().window.clientHeight};
    return true;
}

void PlatInvalidateRect(PLATWINDOW, const PLATRECT*, bool erase)
{
    Log("InvalidateRect(%d)", erase ? 1 : 0);
    if (S().window.exists) S().paintPending = true;
}

int PlatGetSystemMetrics(int index)
{
    auto it = S().metrics.find(index);
    if (it != S().metrics.end()) return it->second;
    switch (index) {
    case SM_CYCAPTION: return 19;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    default: return 0;
    }
}

bool PlatGetWorkArea(PLATRECT* rect)
{
    if (!rect) return false;
    *rect = S().workArea;
    return true;
}

intptr_t PlatDefWindowProc(PLATWINDOW, uint32_t message, uintptr_t, intptr_t)
{
    Log("DefWindowProc(%04X)", message);
    return 0;
}

// ---- Events ----

void PlatPumpEvents()
{
    STATE& s = S();
    ++s.pumps;
    if (s.pumpHook) s.pumpHook(s.pumps, s.pumpUser);
    Drain();
}

void PlatBeginPaint(PLATWINDOW)
{
    Log("BeginPaint");
    S().paintPending = false;
}

void PlatEndPaint(PLATWINDOW) { Log("EndPaint"); }

void PlatPresent(PLATWINDOW, const uint16_t* pixels, int surfaceWidth, int surfaceHeight, int pitch, int destX,
                 int destY, int width, int height, int sourceX, int sourceY)
{
    Log("Present(%d,%d,%d,%d,%d,%d)", destX, destY, width, height, sourceX, sourceY);
    HEADLESSWINDOW& w = S().window;
    if (!w.exists || !pixels) return;
    // Source rows are addressed from the bottom of the top-down bitmap.
    int sourceTop = surfaceHeight - sourceY - height;
    for (int row = 0; row < height; ++row) {
        int sy = sourceTop + row, dy = destY + row;
        if (sy < 0 || sy >= surfaceHeight || dy < 0 || dy >= w.clientHeight) continue;
        const uint16_t* src = reinterpret_cast<const uint16_t*>(reinterpret_cast<const char*>(pixels) +
                                                                static_cast<size_t>(sy) * pitch);
        for (int col = 0; col < width; ++col) {
            int sx = sourceX + col, dx = destX + col;
            if (sx < 0 || sx >= surfaceWidth || dx < 0 || dx >= w.clientWidth) continue;
            w.screen[static_cast<size_t>(dy) * w.clientWidth + dx] = src[sx];
        }
    }
}

// ---- Cursors: handles are the resource number, or 0x10000 plus the system cursor number ----

PLATCURSOR PlatLoadCursor(PLATINSTANCE, int resourceId)
{
    Log("LoadCursor(%d)", resourceId);
    if (S().failCursors.count(resourceId)) return nullptr;
    return reinterpret_cast<PLATCURSOR>(static_cast<intptr_t>(resourceId));
}

PLATCURSOR PlatLoadSystemCursor(int systemId)
{
    Log("LoadSystemCursor(%d)", systemId);
    return reinterpret_cast<PLATCURSOR>(static_cast<intptr_t>(0x10000 + systemId));
}

PLATCURSOR PlatGetCursor() { return reinterpret_cast<PLATCURSOR>(S().cursor); }

PLATCURSOR PlatSetCursor(PLATCURSOR cursor)
{
    Log("SetCursor(%ld)", static_cast<long>(reinterpret_cast<intptr_t>(cursor)));
    intptr_t old = S().cursor;
    S().cursor = reinterpret_cast<intptr_t>(cursor);
    return reinterpret_cast<PLATCURSOR>(old);
}

int PlatShowCursor(bool show)
{
    Log("ShowCursor(%d)", show ? 1 : 0);
    S().cursorCount += show ? 1 : -1;
    return S().cursorCount;
}

void PlatDestroyCursor(PLATCURSOR cursor)
{
    Log("DestroyCursor(%ld)", static_cast<long>(reinterpret_cast<intptr_t>(cursor)));
}

// ---- Message box, shell, process ----

void PlatMessageBox(const char* caption, const char* text)
{
    STATE& s = S();
    HEADLESSBOX box{caption ? caption : "", text ? text : ""};
    Log("MessageBox(%s,%s)", box.caption.c_str(), box.text.c_str());
    s.boxes.push_back(box);
    // The box's own modal loop keeps delivering the thread's window messages.
    bool nested = s.inBox;
    s.inBox = true;
    if (s.boxHook) s.boxHook(box, s.boxUser);
    if (!nested) Drain();
    s.inBox = nested;
}

bool PlatShellOpen(const char* verb, const char* path, int showCommand)
{
    Log("ShellOpen(%s,%s,%d)", verb, path, showCommand);
    S().shell.push_back(HEADLESSSHELL{verb ? verb : "", path ? path : "", showCommand});
    return true;
}

void PlatExitProcess(int status)
{
    fflush(stdout);
    fflush(stderr);
    _exit(status & 0xFF);
}

// ---- Registry ----

bool PlatRegOpenKey(const char* path, PLATKEY* key)
{
    Log("RegOpenKey(%s)", path);
    if (S().regFail.open || !key) return false;
    if (!S().registry.count(KeyName(path))) return false;
    *key = new REGKEY{KeyName(path)};
    ++S().openKeys;
    return true;
}

bool PlatRegQueryValue(PLATKEY key, const char* name, char* buffer, uint32_t* size)
{
    Log("RegQueryValue(%s,%u)", name, size ? *size : 0);
    if (S().regFail.query || !key || !size) return false;
    std::string bytes;
    if (!HeadlessRegGet(static_cast<REGKEY*>(key)->path.c_str(), name, &bytes)) return false;
    if (bytes.size() > *size) return false;  // Windows: ERROR_MORE_DATA
    memcpy(buffer, bytes.data(), bytes.size());
    *size = static_cast<uint32_t>(bytes.size());
    return true;
}

bool PlatRegCreateKey(const char* path, PLATKEY* key)
{
    Log("RegCreateKey(%s)", path);
    if (S().regFail.create || !key) return false;
    S().registry[KeyName(path)];
    *key = new REGKEY{KeyName(path)};
    ++S().openKeys;
    return true;
}

bool PlatRegSetValue(PLATKEY key, const char* name, const char* text)
{
    Log("RegSetValue(%s,%s)", name, text);
    if (S().regFail.set || !key || !text) return false;
    S().registry[static_cast<REGKEY*>(key)->path][name] = std::string(text, strlen(text) + 1);
    return true;
}

void PlatRegCloseKey(PLATKEY key)
{
    Log("RegCloseKey");
    if (!key) return;
    delete static_cast<REGKEY*>(key);
    --S().openKeys;
}

// ---- File system ----

bool PlatGetCurrentDirectory(char* buffer, size_t capacity)
{
    if (S().failCurrentDirectory) return false;
    return PosixGetCurrentDirectory(buffer, capacity);
}

FILE* PlatOpenFile(const char* path, const char* mode)
{
    FILEFAIL* f = FindFailure(path);
    if (f && f->failOpen) return nullptr;
    FILE* real = fopen(path, mode);
    if (!real || !f || (f->writeBudget < 0 && !f->failClose)) return real;
    COOKIE* k = new COOKIE{real, f->writeBudget, f->failClose};
    cookie_io_functions_t io{CookieRead, CookieWrite, CookieSeek, CookieClose};
    FILE* wrapped = fopencookie(k, mode, io);
    if (!wrapped) {
        fclose(real);
        delete k;
    }
    return wrapped;
}

bool PlatCloseFile(FILE* file) { return PosixCloseFile(file); }
bool PlatMakeWritable(const char* path) { return PosixMakeWritable(path); }
bool PlatDeleteFile(const char* path) { return PosixDeleteFile(path); }
bool PlatRenameFile(const char* from, const char* to) { return PosixRenameFile(from, to); }

bool PlatReplaceFile(const char* from, const char* to)
{
    if (S().failReplace) return false;
    return PosixReplaceFile(from, to);
}

PLATFIND PlatFindFirst(const char* pattern, char* name, size_t capacity)
{
    return PosixFindFirst(pattern, name, capacity);
}

bool PlatFindNext(PLATFIND search, char* name, size_t capacity) { return PosixFindNext(search, name, capacity); }
void PlatFindClose(PLATFIND search) { PosixFindClose(search); }
