// The program's main routine: one running copy, the start-up language, the
// data folder and the reminder store, then the event loop until the program
// is told to end.
#pragma once

#include <memory>
#include <string>

class TRemindFile;

int RunProgram(int argc, char** argv);

// The first steps of the main window's creation: AppDataPath becomes the
// program's data folder (created with its parents) and the store opens on
// the data file there. The language chosen at start-up becomes the store's
// language, so that a language matched from the user's interface language
// lasts beyond this run.
std::unique_ptr<TRemindFile> OpenReminderStore(const std::string& startupLanguage);
// The data file, while AppDataPath is still the folder above the program's.
std::string DataFilePath();
