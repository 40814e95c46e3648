// The program's main routine: one running copy, the start-up language, the
// data folder and the reminder store, then the event loop until the program
// is told to end.
#pragma once

int RunProgram(int argc, char** argv);
