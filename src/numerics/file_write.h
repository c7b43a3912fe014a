#pragma once
// Every file the program writes (descriptions, tables, plots) is saved the way a user
// expects of "save":
// - a regular file is replaced whole or not at all: the content goes to a temporary
//   file in the same folder, which is renamed over the old file only when complete, so
//   a full disk or any other write error half-way leaves the previous file as it was;
// - a symbolic link is followed and the file it names is replaced; the link stays;
// - a target that is not a regular file (a named pipe, a terminal, /dev/stdout) is
//   written in place, so that a plot can be piped to another program;
// - a regular file the user may not write is refused, as the folder's permissions
//   alone would not stop the rename;
// - the replaced file keeps its permission bits (not setuid or setgid, which a file
//   of data must not gain from being saved over one that had them) and, where the
//   process may, its owner and group;
// - the temporary file is removed when SIGINT, SIGTERM or SIGHUP ends the program
//   during the write.
// Every error names the file, and the folder when the folder is the cause.
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

#include "numerics/file_error.h"

namespace quor::numerics {

// The low-level write call, replaceable so that tests can make a write fail half-way
// or a signal arrive in the middle of it.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);

// Writes content as the whole new file at path, as described above. Throws FileError
// ("Cannot write file NAME: reason"); the temporary file is then removed and an
// existing file at path is untouched.
void WriteFileAtomically(const std::string& path, std::string_view content,
                         WriteCall writeCall = nullptr);

// Reads a whole regular file, of any size. Throws FileError ("Cannot read file NAME:
// reason").
std::string ReadWholeFile(const std::string& path);

}  // namespace quor::numerics
