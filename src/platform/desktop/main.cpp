// The Linux program entry.
#include "platform/platform.h"

#include <cstdio>
#include <cstring>

// The command line is the arguments after the program name, joined by spaces, as Windows
// hands the text after the program name to the entry. One that does not fit is refused.
int main(int argc, char** argv)
{
    static char commandLine[32768];
    size_t used = 0;
    for (int i = 1; i < argc; ++i) {
        size_t length = strlen(argv[i]);
        if (used + (i > 1) + length + 1 > sizeof commandLine) {
            fprintf(stderr, "kvupdate: the command line is too long\n");
            return 1;
        }
        if (i > 1) commandLine[used++] = ' ';
        memcpy(commandLine + used, argv[i], length);
        used += length;
    }
    commandLine[used] = '\0';
    return RunProgram(nullptr, commandLine);
}
