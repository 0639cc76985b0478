/* boxtext.exe CAPTION - prints the text of the open message box whose caption is CAPTION.
 *
 * The end-to-end tests run it under Wine beside the program under test: a message box's text
 * is drawn by Wine inside one X window and cannot be read through X, but from inside the same
 * Wine prefix the box is an ordinary dialog whose text control can be asked for its text.
 *
 * Exit status: 0 and the text on stdout (no line end) when the box was found; 1 when no such
 * box is open; 2 on a usage error. Built by the test scripts with mingw-w64:
 *   x86_64-w64-mingw32-gcc -O1 -o boxtext.exe boxtext.c
 */
#include <stdio.h>
#include <string.h>
#include <windows.h>

/* Control id that both Windows and Wine give the text of a MessageBox dialog. */
#define BOX_TEXT_ID 0xFFFF

static const char* g_caption;
static HWND g_found;

/* Finds a visible top-level dialog (class "#32770") with the wanted caption. */
static BOOL CALLBACK FindBox(HWND window, LPARAM unused) {
    char text[512];
    char cls[64];
    (void)unused;
    if (!IsWindowVisible(window)) return TRUE;
    if (GetClassNameA(window, cls, (int)sizeof cls) == 0 || strcmp(cls, "#32770") != 0) return TRUE;
    if (GetWindowTextA(window, text, (int)sizeof text) <= 0) return TRUE;
    if (strcmp(text, g_caption) != 0) return TRUE;
    g_found = window;
    return FALSE;
}

int main(int argc, char** argv) {
    char text[1024];
    HWND item;
    if (argc != 2) {
        fprintf(stderr, "usage: boxtext.exe CAPTION\n");
        return 2;
    }
    g_caption = argv[1];
    g_found = NULL;
    EnumWindows(FindBox, 0);
    if (g_found == NULL) return 1;
    item = GetDlgItem(g_found, BOX_TEXT_ID);
    if (item == NULL) return 1;
    /* The box belongs to another process: ask the control itself, bounded so that a hung
       program cannot hang the test. */
    text[0] = '\0';
    SendMessageTimeoutA(item, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, NULL);
    text[sizeof text - 1] = '\0';
    fputs(text, stdout);
    return 0;
}
