// The Linux program entry.
#include "platform/platform.h"

#include <string>

// The command line is the arguments after the program name, joined by spaces, as Windows
// hands the text after the program name to the entry.
int main(int argc, char** argv)
{
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return RunProgram(nullptr, commandLine.c_str());
}
