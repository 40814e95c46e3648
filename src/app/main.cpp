#include "app/desktop_windows.h"
#include "app/program_entry.h"

int main(int argc, char** argv) {
    TDesktopProgramWindows windows(&argc, &argv);
    return RunProgram(argc, argv, &windows);
}
