// The commands of olvoctl. Each answers its exit code; failures that end
// the run early are raised as TCliError.
#pragma once

#include "cli/cli_data.h"
#include "cli/cli_request.h"

// Reports, from a copy of the data file.
int RunList(const TCliRequest& request, const TDataLocation& location);
int RunDue(const TCliRequest& request, const TDataLocation& location);
int RunBackup(const TCliRequest& request, const TDataLocation& location);

// Changes, refused while the program runs.
int RunAdd(const TCliRequest& request, const TDataLocation& location);
int RunDone(const TCliRequest& request, const TDataLocation& location);
int RunDelete(const TCliRequest& request, const TDataLocation& location);
int RunRestore(const TCliRequest& request, const TDataLocation& location);
