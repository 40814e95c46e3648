// Kept for app code that includes it: the language files live in i18n/.
#pragma once
#include "i18n/language_files.h"
