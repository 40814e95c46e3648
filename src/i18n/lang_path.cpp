#include "i18n/lang_path.h"

std::string LangFilePath;
