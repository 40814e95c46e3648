// The path of the active language file, shared by the whole process. Set at
// start-up before any window exists and again by each language change; the
// text lookup reads the file at this path.
#pragma once

#include <string>

extern std::string LangFilePath;
