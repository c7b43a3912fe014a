#pragma once
// How tintor saves a file (its own copy: tintor shares no code with quor). A regular
// file is replaced whole or not at all, through a temporary file in the same folder
// renamed over it once complete; a symbolic link is followed and the file it names is
// replaced (the link stays); a named pipe or device is written in place; a regular
// file the user may not write is refused; the replaced file keeps its permission bits
// (without setuid and setgid) and, where the process may, its owner and group; the
// temporary file is removed when SIGHUP, SIGINT or SIGTERM ends the program during the
// write.
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <sys/types.h>

// A save that failed: code() is the reason, what() names the file, and folder() is the
// folder when the folder is the cause (missing, not writable, full), else empty.
class SaveError : public std::system_error {
 public:
  SaveError(int error, const std::string& path, std::string folder = {})
      : std::system_error(error, std::generic_category(), path), folder_(std::move(folder)) {}
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

// The low-level write call, replaceable so that tests can make a write fail half-way
// or a signal arrive in the middle of it.
using SaveWriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);

// Saves bytes as the whole file at path. Throws SaveError; the old file is then as it
// was and no temporary file is left.
void SaveFileBytes(const std::string& path, std::string_view bytes, SaveWriteCall writeCall = nullptr);
