// The help texts of olvoctl: one overview and one page per command.
#pragma once

#include <string>

#include "cli/cli_request.h"

// The page for a command; the overview for None.
std::string HelpText(TCommand command);
// The one-line hint printed after a usage error.
std::string UsageHint(TCommand command);
