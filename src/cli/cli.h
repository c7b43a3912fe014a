#pragma once
// quor-cli: runs one window command headlessly and prints its Report lines.
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/commands.h"

// args excludes the program name. Returns the process exit status (0, or 2 for an
// unknown command or field, or a malformed NAME=VALUE). hooks: what the GUI build
// adds (images).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliHooks& hooks = {});
