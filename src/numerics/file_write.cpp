#include "numerics/file_write.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <pthread.h>
#include <random>
#include <time.h>
#include <unistd.h>

#include "numerics/file_read.h"

namespace quor::numerics {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
  throw FileError("Cannot write file " + path + ": " + reason);
}

[[noreturn]] void FailErrno(const std::string& path, int error) { Fail(path, std::strerror(error)); }

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

// The path of the file a chain of symbolic links ends at (the path itself when it is
// no link). The last link of the chain may dangle: its target is the file to create.
std::string FollowLinks(const std::string& path) {
  std::string p = path;
  for (int hop = 0; hop < 40; ++hop) {  // the kernel's own bound on a chain of links
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(p.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return p;  // changed meanwhile
    target.resize(static_cast<std::size_t>(n));
    p = target[0] == '/' ? target : DirectoryOf(p) + "/" + target;
  }
  FailErrno(path, ELOOP);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, for the error of close itself.
  int Close() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r;
  }

 private:
  int fd_;
};

// Writes all of content to fd; 0 or the errno of the failure. stop is asked after each
// call.
template <typename Stop>
int WriteAll(int fd, std::string_view content, WriteCall writeCall, Stop stop) {
  const char* p = content.data();
  std::size_t left = content.size();
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

// A named pipe, a terminal or any device is written as it is: there is nothing to
// replace. A reader that has gone away gives an error rather than SIGPIPE, which would
// end the whole program.
void WriteInPlace(const std::string& path, std::string_view content, WriteCall writeCall, int flags) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | flags));
  if (fd.get() < 0) FailErrno(path, errno);
  sigset_t pipe, old, pending;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
  pthread_sigmask(SIG_BLOCK, &pipe, &old);
  const int error = WriteAll(fd.get(), content, writeCall, [] { return false; });
  if (error == EPIPE && !wasPending) {
    const timespec now{0, 0};
    sigtimedwait(&pipe, nullptr, &now);  // the SIGPIPE this write raised, and no other
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  if (error != 0) FailErrno(path, error);
  if (fd.Close() != 0) FailErrno(path, errno);
}

// The temporary file while a regular file is replaced, and the signal handlers that
// remove it when SIGHUP, SIGINT or SIGTERM ends the program before the rename. The
// handler may run at any moment, so all it needs is plain data in static storage,
// changed only while the three signals are blocked, and it makes only
// async-signal-safe calls.
constexpr int kSignals[] = {SIGHUP, SIGINT, SIGTERM};
constexpr int kSignalCount = 3;
struct sigaction gPrevious[kSignalCount];
bool gInstalled[kSignalCount];
int gTempFolder = -1;
char gTempName[16];  // ".q" and six letters
volatile std::sig_atomic_t gTempExists = 0;
volatile std::sig_atomic_t gSignalCaught = 0;
// One write at a time owns that state.
std::mutex gWriting;

void RemoveTemporaryAndResignal(int sig) {
  const int savedErrno = errno;
  if (gTempExists) {
    ::unlinkat(gTempFolder, gTempName, 0);
    gTempExists = 0;
  }
  gSignalCaught = sig;
  // The program's own disposition of the signal takes over again and gets the signal:
  // the default ends the program as if the write had not been running; a handler of
  // the program's runs, and the write then fails as interrupted.
  for (int i = 0; i < kSignalCount; ++i)
    if (kSignals[i] == sig) ::sigaction(sig, &gPrevious[i], nullptr);
  ::raise(sig);
  errno = savedErrno;
}

// The three signals blocked for the life of the object.
class SignalsBlocked {
 public:
  SignalsBlocked() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kSignals) sigaddset(&set, sig);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  SignalsBlocked(const SignalsBlocked&) = delete;
  SignalsBlocked& operator=(const SignalsBlocked&) = delete;

 private:
  sigset_t old_;
};

// Installs the handlers (call with the signals blocked). A signal the program ignores
// (nohup's SIGHUP) stays ignored: it ends nothing.
void InstallHandlers() {
  struct sigaction action {};
  action.sa_handler = &RemoveTemporaryAndResignal;
  sigemptyset(&action.sa_mask);
  for (int sig : kSignals) sigaddset(&action.sa_mask, sig);
  gSignalCaught = 0;
  for (int i = 0; i < kSignalCount; ++i) {
    ::sigaction(kSignals[i], nullptr, &gPrevious[i]);
    gInstalled[i] = (gPrevious[i].sa_flags & SA_SIGINFO) || gPrevious[i].sa_handler != SIG_IGN;
    if (gInstalled[i]) ::sigaction(kSignals[i], &action, nullptr);
  }
}

// Puts the program's handlers back (call with the signals blocked).
void RestoreHandlers() {
  gTempExists = 0;
  for (int i = 0; i < kSignalCount; ++i)
    if (gInstalled[i]) ::sigaction(kSignals[i], &gPrevious[i], nullptr);
}

// A short name, so that a target whose path is close to the system's limit can still
// be written: the temporary is created relative to its folder and is never longer
// than ".q" and six letters.
void NewTemporaryName(std::mt19937& random) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  gTempName[0] = '.';
  gTempName[1] = 'q';
  for (int i = 2; i < 8; ++i) gTempName[i] = kLetters[random() % (sizeof kLetters - 1)];
  gTempName[8] = '\0';
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view content, WriteCall writeCall) {
  if (!writeCall) writeCall = &::write;
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (!exists && errno != ENOENT && errno != ENOTDIR) FailErrno(path, errno);
  if (exists && S_ISDIR(old.st_mode)) FailErrno(path, EISDIR);
  if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(path, content, writeCall, 0);

  const std::string target = FollowLinks(path);
  if (exists) {
    struct stat named {};
    if (::lstat(target.c_str(), &named) != 0 || named.st_dev != old.st_dev ||
        named.st_ino != old.st_ino)
      // A link with no usable name behind it (/proc/self/fd/N of a deleted file).
      return WriteInPlace(path, content, writeCall, O_TRUNC);
    // Permission to write a file is the file's own, not its folder's; as in any
    // editor, a read-only file is not saved over. (The real user's, as access asks.)
    if (::access(target.c_str(), W_OK) != 0) FailErrno(path, errno);
  }
  const std::string folderPath = DirectoryOf(target);
  const std::string name = BaseNameOf(target);
  if (name.empty()) FailErrno(path, EISDIR);
  const Descriptor folder(::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) Fail(path, "cannot use folder " + folderPath + ": " + std::strerror(errno));

  const std::lock_guard<std::mutex> writing(gWriting);
  std::mt19937 random(std::random_device{}());
  int fd = -1;
  {
    const SignalsBlocked blocked;
    InstallHandlers();
    // A new file gets the usual permissions of the user's files (the umask applies);
    // a replaced one is private until it has the old file's owner and mode.
    for (int attempt = 0; attempt < 100; ++attempt) {
      NewTemporaryName(random);
      fd = ::openat(folder.get(), gTempName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    exists ? 0600 : 0666);
      if (fd >= 0 || errno != EEXIST) break;
    }
    if (fd < 0) {
      const int error = errno;
      RestoreHandlers();
      Fail(path, "cannot create a file in folder " + folderPath + ": " + std::strerror(error));
    }
    gTempFolder = folder.get();
    gTempExists = 1;
  }
  Descriptor temporary(fd);
  auto abandon = [&](int error) {
    {
      const SignalsBlocked blocked;
      if (gTempExists) ::unlinkat(folder.get(), gTempName, 0);
      RestoreHandlers();
    }
    if (error == EINTR) Fail(path, "interrupted by a signal");
    FailErrno(path, error);
  };

  if (exists) {
    // Owner and group where the process may set them (root may; a user may set a
    // group of theirs); then the mode, which a change of owner would have cleared
    // of setuid bits anyway. Those bits are never carried over.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      if (errno != EPERM) abandon(errno);
      if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM) abandon(errno);
    }
    if (::fchmod(fd, old.st_mode & (S_ISVTX | 0777)) != 0) abandon(errno);
  }
  if (const int error = WriteAll(fd, content, writeCall, [] { return gSignalCaught != 0; }))
    abandon(error);
  if (::fsync(fd) != 0 && errno != EINVAL) abandon(errno);
  if (temporary.Close() != 0) abandon(errno);
  if (gSignalCaught) abandon(EINTR);

  const SignalsBlocked blocked;
  if (::renameat(folder.get(), gTempName, folder.get(), name.c_str()) != 0) {
    const int error = errno;
    ::unlinkat(folder.get(), gTempName, 0);
    RestoreHandlers();
    FailErrno(path, error);
  }
  RestoreHandlers();
}

std::string ReadWholeFile(const std::string& path) {
  return ReadRegularFile(path, std::numeric_limits<std::size_t>::max(), "a file");
}

}  // namespace quor::numerics
