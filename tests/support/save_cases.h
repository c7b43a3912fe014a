#pragma once
// What "save" must do to whatever stands at the path, as a table of targets checked
// against a writer: quor's and tintor's own copy pass the same rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace save_cases {

using WriteFn = ssize_t (*)(int fd, const void* data, std::size_t size);
using Names = std::vector<std::string>;
using In = const std::string&;
// Saves bytes at path; "" or the whole text of the error, with the folder when the
// writer reports it apart.
using Saver = std::function<std::string(const std::string& path, const std::string& bytes, WriteFn)>;

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline Names Entries(In dir) {
  Names names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st.st_mode;
}

// A file holding "old", made with the given mode (the umask aside).
inline std::string Old(const std::string& path, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << "old";
  ::chmod(path.c_str(), mode);
  return path;
}

constexpr uid_t kOtherUser = 65534;  // nobody

// Root may write every file, so a refusal can only be seen as someone else: as root the
// save runs in a child process turned into that user.
inline std::string SaveAsOrdinaryUser(const Saver& save, const std::string& path) {
  if (::geteuid() != 0) return save(path, "new", nullptr);
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe";
  if (::fork() == 0) {
    std::string result = "cannot become another user";
    if (::setgroups(0, nullptr) == 0 && ::setgid(kOtherUser) == 0 && ::setuid(kOtherUser) == 0)
      result = save(path, "new", nullptr);
    [[maybe_unused]] const ssize_t n = ::write(channel[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
  ::close(channel[0]);
  ::wait(nullptr);
  return result;
}

// A folder with exactly this mode; a symbolic link at `at`.
inline std::string Folder(In path, mode_t mode = 0755) {
  ::mkdir(path.c_str(), mode);
  ::chmod(path.c_str(), mode);
  return path;
}
inline std::string Link(In target, In at) {
  ::symlink(target.c_str(), at.c_str());
  return at;
}

inline void CheckTargets(const Saver& save) {
  struct Row {
    const char* name;
    std::function<std::string(In dir)> prepare;  // the path to save to
    std::function<Names(In dir, In path)> error;  // parts of the error; none: saved
    std::function<void(In dir, In path)> check;
    bool ordinaryUser = false, rootOnly = false;
  };
  auto none = [](In, In) { return Names{}; };
  int reader = -1;
  const Row rows[] = {
      {"a link is followed and stays a link, its file replaced",
       [](In d) {
         Old(Folder(d + "/real") + "/f.cap");
         return Link("real/f.cap", d + "/link");
       },
       none,
       [](In d, In p) {
         EXPECT_TRUE(S_ISLNK(ModeOf(p)));
         EXPECT_EQ(Slurp(d + "/real/f.cap"), "new");
         EXPECT_EQ(Entries(d + "/real"), Names{"f.cap"});
       }},
      {"a chain of links, relative and absolute, the last dangling, makes its file",
       [](In d) {
         Link(d + "/made.cap", d + "/b");
         return Link("b", d + "/a");
       },
       none,
       [](In d, In) {
         EXPECT_EQ(Entries(d), (Names{"a", "b", "made.cap"}));
         EXPECT_EQ(Slurp(d + "/made.cap"), "new");
       }},
      {"a named pipe is written in place",
       [&reader](In d) {
         ::mkfifo((d + "/pipe").c_str(), 0600);
         reader = ::open((d + "/pipe").c_str(), O_RDONLY | O_NONBLOCK);
         return d + "/pipe";
       },
       none,
       [&reader](In d, In p) {
         char got[8] = {};
         EXPECT_EQ(::read(reader, got, sizeof got), 3);
         EXPECT_STREQ(got, "new");
         ::close(reader);
         EXPECT_EQ(Entries(d), Names{"pipe"});
         EXPECT_TRUE(S_ISFIFO(ModeOf(p)));
       }},
      {"a device behind a link is written in place",
       [](In d) { return Link("/dev/null", d + "/null"); }, none,
       [](In, In p) { EXPECT_TRUE(S_ISLNK(ModeOf(p)) && S_ISCHR(ModeOf("/dev/null"))); }},
      {"the mode is kept but for setuid and setgid", [](In d) { return Old(d + "/tool", 06754); },
       none, [](In, In p) { EXPECT_EQ(ModeOf(p) & 07777, 0754u); }},
      {"a new file has the user's usual mode", [](In d) { return d + "/new"; }, none,
       [](In, In p) {
         const mode_t mask = ::umask(022);
         ::umask(mask);
         EXPECT_EQ(ModeOf(p) & 07777, 0666u & ~mask);
       }},
      {"root keeps the owner and group of the file it saves over",
       [](In d) {
         EXPECT_EQ(::chown(Old(d + "/theirs").c_str(), kOtherUser, kOtherUser), 0);
         return d + "/theirs";
       },
       none,
       [](In, In p) {
         struct stat st {};
         ::stat(p.c_str(), &st);
         EXPECT_EQ(st.st_uid + st.st_gid, 2 * kOtherUser);
         EXPECT_EQ(Slurp(p), "new");
       },
       false, true},
      {"a path at the length limit, the temporary's name no longer than the file's",
       [](In d) {
         std::string p = d;
         while (p.size() < PATH_MAX - 4)
           Folder(p += "/" + std::string(std::min<std::size_t>(200, PATH_MAX - 5 - p.size()), 'd'));
         return p + "/a";  // PATH_MAX - 2 characters
       },
       none, [](In, In p) { EXPECT_EQ(Slurp(p), "new"); }},
      {"a read-only file is refused by name, even in a folder open to all",
       [](In d) { return Old(Folder(d + "/open", 0777) + "/ro.cap", 0444); },
       [](In, In p) { return Names{p, "Permission denied"}; },
       [](In d, In p) {
         EXPECT_EQ(Slurp(p), "old");
         EXPECT_EQ(Entries(d + "/open"), Names{"ro.cap"});
       },
       true},
      {"a folder the user may not write is named",
       [](In d) { return Old(Folder(d + "/closed") + "/x.cap", 0666); },
       [](In d, In) { return Names{"folder " + d + "/closed", "Permission denied"}; },
       [](In, In p) { EXPECT_EQ(Slurp(p), "old"); }, true},
      {"a missing folder is named", [](In d) { return d + "/none/x.cap"; },
       [](In d, In) { return Names{"folder " + d + "/none", "No such file or directory"}; },
       [](In d, In) { EXPECT_EQ(Entries(d), Names{}); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    if (r.rootOnly && ::geteuid() != 0) continue;
    std::string dir = ::testing::TempDir() + "quor_save_XXXXXX";
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    ::chmod(dir.c_str(), 0755);  // reachable by the other user
    const std::string path = r.prepare(dir);
    const std::string error = r.ordinaryUser ? SaveAsOrdinaryUser(save, path) : save(path, "new", nullptr);
    const Names parts = r.error(dir, path);
    EXPECT_EQ(error.empty(), parts.empty()) << error;
    for (const std::string& part : parts) EXPECT_NE(error.find(part), std::string::npos) << error;
    r.check(dir, path);
    std::filesystem::remove_all(dir);
  }
}

// A signal that ends the program during the write leaves no temporary file and the old
// file as it was. A signal the program handles itself still reaches its handler and the
// save fails; the program's handler is in place again afterwards.
inline int gSignal = 0;
inline bool gHandled = false;
inline ssize_t WriteThenSignal(int fd, const void* data, std::size_t size) {
  const ssize_t n = ::write(fd, data, std::min<std::size_t>(size, 10));
  ::raise(gSignal);
  return n;
}

inline void CheckSignals(const Saver& save) {
  for (int sig : {SIGHUP, SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig);
    std::string dir = ::testing::TempDir() + "quor_signal_XXXXXX";
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    const std::string path = Old(dir + "/plot.png");
    gSignal = sig;
    const pid_t child = ::fork();
    if (child == 0) {
      ::signal(sig, SIG_DFL);
      save(path, std::string(1000, 'x'), &WriteThenSignal);
      ::_exit(0);  // the signal did not end the program
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    EXPECT_EQ(Entries(dir), Names{"plot.png"});

    struct sigaction mine {}, before {}, after {};
    mine.sa_handler = [](int) { gHandled = true; };
    ::sigaction(sig, &mine, &before);
    gHandled = false;
    EXPECT_NE(save(path, std::string(1000, 'x'), &WriteThenSignal).find(path), std::string::npos);
    EXPECT_TRUE(gHandled);
    EXPECT_EQ(Entries(dir), Names{"plot.png"});
    EXPECT_EQ(Slurp(path), "old");
    ::sigaction(sig, &before, &after);
    EXPECT_EQ(after.sa_handler, mine.sa_handler);
    std::filesystem::remove_all(dir);
  }
}

}  // namespace save_cases
