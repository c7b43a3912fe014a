#pragma once
// quor-cli: runs one window command headlessly and prints its Report lines.
#include <iosfwd>
#include <string>
#include <vector>

// args excludes the program name. Returns the process exit status (0, or 2 for an
// unknown command or field, or a malformed NAME=VALUE).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
