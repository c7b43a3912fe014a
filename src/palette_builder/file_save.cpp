#include "palette_builder/file_save.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <random>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(int error, const std::string& path, const std::string& folder = {}) {
  throw SaveError(error, path, folder);
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a chain of symbolic links ends (the path itself when it is no link); the last
// link may dangle, its target being the file to create.
std::string FollowLinks(const std::string& path) {
  std::string p = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(p.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return p;
    target.resize(static_cast<std::size_t>(n));
    p = target[0] == '/' ? target : DirectoryOf(p) + "/" + target;
  }
  Fail(ELOOP, path);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int Close() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r;
  }

 private:
  int fd_;
};

template <typename Stop>
int WriteAll(int fd, std::string_view bytes, SaveWriteCall writeCall, Stop stop) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = writeCall(fd, p, left);
    if (stop()) return EINTR;
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Nothing to replace: the bytes go straight into the pipe or device. A reader gone
// away is an error, not a SIGPIPE that would close the editor.
void WriteInPlace(const std::string& path, std::string_view bytes, SaveWriteCall writeCall, int flags) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | flags));
  if (fd.get() < 0) Fail(errno, path);
  sigset_t pipe, old, pending;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
  pthread_sigmask(SIG_BLOCK, &pipe, &old);
  const int error = WriteAll(fd.get(), bytes, writeCall, [] { return false; });
  if (error == EPIPE && !wasPending) {
    const timespec now{0, 0};
    sigtimedwait(&pipe, nullptr, &now);
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  if (error != 0) Fail(error, path);
  if (fd.Close() != 0) Fail(errno, path);
}

// The temporary file of a replacement, for the signal handler: static plain data,
// changed only with the signals blocked; the handler makes async-signal-safe calls only.
constexpr int kSignals[] = {SIGHUP, SIGINT, SIGTERM};
constexpr int kSignalCount = 3;
struct sigaction gPrevious[kSignalCount];
bool gInstalled[kSignalCount];
int gFolder = -1;
char gName[16];
volatile std::sig_atomic_t gExists = 0;
volatile std::sig_atomic_t gCaught = 0;
std::mutex gSaving;

void RemoveTemporaryAndResignal(int sig) {
  const int savedErrno = errno;
  if (gExists) {
    ::unlinkat(gFolder, gName, 0);
    gExists = 0;
  }
  gCaught = sig;
  // The program's own disposition gets the signal: by default it ends the program.
  for (int i = 0; i < kSignalCount; ++i)
    if (kSignals[i] == sig) ::sigaction(sig, &gPrevious[i], nullptr);
  ::raise(sig);
  errno = savedErrno;
}

class Blocked {
 public:
  Blocked() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kSignals) sigaddset(&set, sig);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~Blocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  Blocked(const Blocked&) = delete;
  Blocked& operator=(const Blocked&) = delete;

 private:
  sigset_t old_;
};

// With the signals blocked. An ignored signal stays ignored.
void Install() {
  struct sigaction action {};
  action.sa_handler = &RemoveTemporaryAndResignal;
  sigemptyset(&action.sa_mask);
  for (int sig : kSignals) sigaddset(&action.sa_mask, sig);
  gCaught = 0;
  for (int i = 0; i < kSignalCount; ++i) {
    ::sigaction(kSignals[i], nullptr, &gPrevious[i]);
    gInstalled[i] = (gPrevious[i].sa_flags & SA_SIGINFO) || gPrevious[i].sa_handler != SIG_IGN;
    if (gInstalled[i]) ::sigaction(kSignals[i], &action, nullptr);
  }
}

// With the signals blocked.
void Restore() {
  gExists = 0;
  for (int i = 0; i < kSignalCount; ++i)
    if (gInstalled[i]) ::sigaction(kSignals[i], &gPrevious[i], nullptr);
}

// ".t" and six letters, created relative to the folder: a target path close to the
// system's limit is never failed by a longer temporary name.
void NewName(std::mt19937& random) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  gName[0] = '.';
  gName[1] = 't';
  for (int i = 2; i < 8; ++i) gName[i] = kLetters[random() % (sizeof kLetters - 1)];
  gName[8] = '\0';
}

}  // namespace

void SaveFileBytes(const std::string& path, std::string_view bytes, SaveWriteCall writeCall) {
  if (!writeCall) writeCall = &::write;
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (!exists && errno != ENOENT && errno != ENOTDIR) Fail(errno, path);
  if (exists && S_ISDIR(old.st_mode)) Fail(EISDIR, path);
  if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(path, bytes, writeCall, 0);

  const std::string target = FollowLinks(path);
  if (exists) {
    struct stat named {};
    if (::lstat(target.c_str(), &named) != 0 || named.st_dev != old.st_dev ||
        named.st_ino != old.st_ino)
      return WriteInPlace(path, bytes, writeCall, O_TRUNC);
    // A read-only palette is not saved over, whatever its folder allows.
    if (::access(target.c_str(), W_OK) != 0) Fail(errno, path);
  }
  const std::string folderPath = DirectoryOf(target);
  const std::string name = BaseNameOf(target);
  if (name.empty()) Fail(EISDIR, path);
  const Fd folder(::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) Fail(errno, path, folderPath);

  const std::lock_guard<std::mutex> saving(gSaving);
  std::mt19937 random(std::random_device{}());
  int fd = -1;
  {
    const Blocked blocked;
    Install();
    for (int attempt = 0; attempt < 100; ++attempt) {
      NewName(random);
      fd = ::openat(folder.get(), gName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    exists ? 0600 : 0666);
      if (fd >= 0 || errno != EEXIST) break;
    }
    if (fd < 0) {
      const int error = errno;
      Restore();
      Fail(error, path, folderPath);
    }
    gFolder = folder.get();
    gExists = 1;
  }
  Fd temporary(fd);
  auto abandon = [&](int error) {
    {
      const Blocked blocked;
      if (gExists) ::unlinkat(folder.get(), gName, 0);
      Restore();
    }
    Fail(error, path);
  };

  if (exists) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      if (errno != EPERM) abandon(errno);
      if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM) abandon(errno);
    }
    if (::fchmod(fd, old.st_mode & (S_ISVTX | 0777)) != 0) abandon(errno);
  }
  if (const int error = WriteAll(fd, bytes, writeCall, [] { return gCaught != 0; })) abandon(error);
  if (::fsync(fd) != 0 && errno != EINVAL) abandon(errno);
  if (temporary.Close() != 0) abandon(errno);
  if (gCaught) abandon(EINTR);

  const Blocked blocked;
  if (::renameat(folder.get(), gName, folder.get(), name.c_str()) != 0) {
    const int error = errno;
    ::unlinkat(folder.get(), gName, 0);
    Restore();
    Fail(error, path);
  }
  Restore();
}
