#include "numerics/file_read.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quor::numerics {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
  throw FileError("Cannot read file " + path + ": " + reason);
}

// What a path that is not a regular file is, for the message.
std::string NotARegularFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder, not a file";
  if (S_ISFIFO(mode)) return "a named pipe, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a regular file";
  if (S_ISSOCK(mode)) return "a socket, not a regular file";
  return "not a regular file";
}

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string_view what) {
  const std::string tooLong = "more than " + std::to_string(maxBytes) + " bytes, too long for " +
                              std::string(what);
  // The kind of file is judged before opening (opening some devices has effects of its
  // own) and again on the opened descriptor, in case the name was replaced meanwhile;
  // O_NONBLOCK keeps even that open from waiting for the writer of a pipe.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) Fail(path, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) Fail(path, NotARegularFile(st.st_mode));
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) Fail(path, std::strerror(errno));
  if (::fstat(fd.get(), &st) != 0) Fail(path, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) Fail(path, NotARegularFile(st.st_mode));
  if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) > maxBytes) Fail(path, tooLong);

  // The size can change while the file is read (a file still being written, or one
  // whose stat size means nothing, as under /proc): read until the end, one byte past
  // the bound at most.
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path, std::strerror(errno));
    }
    if (n == 0) break;
    if (text.size() + static_cast<std::size_t>(n) > maxBytes) Fail(path, tooLong);
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

std::vector<std::string> SplitLines(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace quor::numerics
