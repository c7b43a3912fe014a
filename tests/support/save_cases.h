#pragma once
// What "save" must do to whatever stands at the path, as a table of targets checked
// against a writer: quor's and tintor's own copy pass the same rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
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
// Saves bytes at path; "" or the whole text of the error, the folder included when the
// writer reports it apart.
using Saver = std::function<std::string(const std::string& path, const std::string& bytes, WriteFn)>;

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string FreshDir() {
  std::string dir = ::testing::TempDir() + "quor_save_XXXXXX";
  EXPECT_NE(::mkdtemp(dir.data()), nullptr);
  ::chmod(dir.c_str(), 0755);  // reachable by the other user of the permission rows
  return dir;
}

constexpr uid_t kOtherUser = 65534;  // nobody

// Runs the save as a user other than root: root may write every file, so a refusal
// can only be seen as someone else. Without root the test runs as such a user already.
inline std::string SaveAsOrdinaryUser(const Saver& save, const std::string& path) {
  if (::geteuid() != 0) return save(path, "new", nullptr);
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::string result = "cannot become another user";
    if (::setgroups(0, nullptr) == 0 && ::setgid(kOtherUser) == 0 && ::setuid(kOtherUser) == 0)
      result = save(path, "new", nullptr);
    if (result.empty()) result = "saved";
    [[maybe_unused]] const ssize_t n = ::write(channel[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
  ::close(channel[0]);
  ::waitpid(child, nullptr, 0);
  return result == "saved" ? "" : result;
}

struct Row {
  const char* name;
  // Makes the target in dir and returns the path to save to.
  std::function<std::string(const std::string& dir)> prepare;
  // Parts of the error, or none for a save that succeeds.
  std::function<std::vector<std::string>(const std::string& dir, const std::string& path)> error;
  // What must hold afterwards.
  std::function<void(const std::string& dir, const std::string& path)> check;
  bool ordinaryUser = false;
  bool rootOnly = false;
};

inline mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st.st_mode;
}

inline std::string Old(const std::string& path) {
  std::ofstream(path, std::ios::binary) << "old";
  return path;
}

inline void CheckTargets(const Saver& save) {
  auto noError = [](const std::string&, const std::string&) { return std::vector<std::string>{}; };
  int reader = -1;  // the reading end of the named pipe row
  const Row rows[] = {
      {"a link is followed and stays a link",
       [](const std::string& d) {
         ::mkdir((d + "/real").c_str(), 0755);
         Old(d + "/real/file.cap");
         ::symlink("real/file.cap", (d + "/link").c_str());
         return d + "/link";
       },
       noError,
       [](const std::string& d, const std::string& p) {
         EXPECT_TRUE(S_ISLNK(ModeOf(p)));
         EXPECT_EQ(Slurp(d + "/real/file.cap"), "new");
         EXPECT_EQ(Entries(d + "/real"), std::vector<std::string>{"file.cap"});
       }},
      {"a chain of links, the last dangling, makes the file it names",
       [](const std::string& d) {
         ::symlink("b", (d + "/a").c_str());
         ::symlink(d.c_str(), (d + "/here").c_str());
         ::symlink("here/made.cap", (d + "/b").c_str());
         return d + "/a";
       },
       noError,
       [](const std::string& d, const std::string& p) {
         EXPECT_TRUE(S_ISLNK(ModeOf(p)) && S_ISLNK(ModeOf(d + "/b")));
         EXPECT_EQ(Slurp(d + "/made.cap"), "new");
       }},
      {"a named pipe is written in place",
       [&reader](const std::string& d) {
         ::mkfifo((d + "/pipe").c_str(), 0600);
         reader = ::open((d + "/pipe").c_str(), O_RDONLY | O_NONBLOCK);
         return d + "/pipe";
       },
       noError,
       [&reader](const std::string& d, const std::string& p) {
         char got[8] = {};
         EXPECT_EQ(::read(reader, got, sizeof got), 3);
         EXPECT_STREQ(got, "new");
         ::close(reader);
         EXPECT_TRUE(S_ISFIFO(ModeOf(p)));
         EXPECT_EQ(Entries(d), std::vector<std::string>{"pipe"});
       }},
      {"a device behind a link is written in place",
       [](const std::string& d) {
         ::symlink("/dev/null", (d + "/null").c_str());
         return d + "/null";
       },
       noError,
       [](const std::string&, const std::string& p) {
         EXPECT_TRUE(S_ISLNK(ModeOf(p)));
         EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
       }},
      {"setuid and setgid are not carried over, the rest of the mode is",
       [](const std::string& d) {
         ::chmod(Old(d + "/tool").c_str(), 06754);
         return d + "/tool";
       },
       noError,
       [](const std::string&, const std::string& p) {
         EXPECT_EQ(ModeOf(p) & 07777, 0754u);
         EXPECT_EQ(Slurp(p), "new");
       }},
      {"a new file has the user's usual mode",
       [](const std::string& d) { return d + "/new.cap"; }, noError,
       [](const std::string&, const std::string& p) {
         const mode_t mask = ::umask(022);
         ::umask(mask);
         EXPECT_EQ(ModeOf(p) & 07777, 0666u & ~mask);
       }},
      {"root keeps the owner and group of the file it saves over",
       [](const std::string& d) {
         EXPECT_EQ(::chown(Old(d + "/theirs.cap").c_str(), kOtherUser, kOtherUser), 0);
         return d + "/theirs.cap";
       },
       noError,
       [](const std::string&, const std::string& p) {
         struct stat st {};
         ::stat(p.c_str(), &st);
         EXPECT_EQ(st.st_uid, kOtherUser);
         EXPECT_EQ(st.st_gid, kOtherUser);
         EXPECT_EQ(Slurp(p), "new");
       },
       false, true},
      {"a path at the length limit with a short name",
       [](const std::string& d) {
         std::string p = d;
         while (p.size() + 1 + 200 < PATH_MAX - 4) {
           p += "/" + std::string(200, 'd');
           ::mkdir(p.c_str(), 0755);
         }
         p += "/" + std::string(PATH_MAX - 4 - p.size() - 1, 'e');
         ::mkdir(p.c_str(), 0755);
         return p + "/a";  // PATH_MAX - 2 characters
       },
       noError, [](const std::string&, const std::string& p) { EXPECT_EQ(Slurp(p), "new"); }},
      {"a read-only file is refused by name, even in a folder open to all",
       [](const std::string& d) {
         ::mkdir((d + "/open").c_str(), 0777);
         ::chmod((d + "/open").c_str(), 0777);
         ::chmod(Old(d + "/open/ro.cap").c_str(), 0444);
         return d + "/open/ro.cap";
       },
       [](const std::string&, const std::string& p) {
         return std::vector<std::string>{p, "Permission denied"};
       },
       [](const std::string& d, const std::string& p) {
         EXPECT_EQ(Slurp(p), "old");
         EXPECT_EQ(Entries(d + "/open"), std::vector<std::string>{"ro.cap"});
       },
       true},
      {"a folder the user may not write is named",
       [](const std::string& d) {
         ::mkdir((d + "/closed").c_str(), 0755);
         ::chmod(Old(d + "/closed/x.cap").c_str(), 0666);
         return d + "/closed/x.cap";
       },
       [](const std::string& d, const std::string&) {
         return std::vector<std::string>{"folder " + d + "/closed", "Permission denied"};
       },
       [](const std::string&, const std::string& p) { EXPECT_EQ(Slurp(p), "old"); }, true},
      {"a missing folder is named",
       [](const std::string& d) { return d + "/none/x.cap"; },
       [](const std::string& d, const std::string&) {
         return std::vector<std::string>{"folder " + d + "/none", "No such file or directory"};
       },
       [](const std::string& d, const std::string&) {
         EXPECT_EQ(Entries(d), std::vector<std::string>{});
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    if (r.rootOnly && ::geteuid() != 0) continue;
    const std::string dir = FreshDir();
    const std::string path = r.prepare(dir);
    const std::string error = r.ordinaryUser ? SaveAsOrdinaryUser(save, path) : save(path, "new", nullptr);
    const std::vector<std::string> parts = r.error(dir, path);
    EXPECT_EQ(error.empty(), parts.empty()) << error;
    for (const std::string& part : parts) EXPECT_NE(error.find(part), std::string::npos) << error;
    r.check(dir, path);
    std::filesystem::remove_all(dir);
  }
}

// A signal that ends the program during the write leaves no temporary file behind and
// the old file as it was; a signal the program handles itself still reaches its
// handler, and the save then fails. Either way the program's handlers are back after.
inline int gSignal = 0;
inline bool gHandled = false;
inline ssize_t WriteThenSignal(int fd, const void* data, std::size_t size) {
  const ssize_t n = ::write(fd, data, size < 10 ? size : 10);
  ::raise(gSignal);
  return n;
}

inline void CheckSignals(const Saver& save) {
  for (int sig : {SIGHUP, SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig);
    const std::string dir = FreshDir(), path = Old(dir + "/plot.png");
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
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"plot.png"});
    EXPECT_EQ(Slurp(path), "old");

    struct sigaction mine {}, before {}, after {};
    mine.sa_handler = [](int) { gHandled = true; };
    ::sigaction(sig, &mine, &before);
    gHandled = false;
    const std::string error = save(path, std::string(1000, 'x'), &WriteThenSignal);
    EXPECT_TRUE(gHandled);
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"plot.png"});
    EXPECT_EQ(Slurp(path), "old");
    EXPECT_EQ(save(path, "new", nullptr), "");
    ::sigaction(sig, &before, &after);
    EXPECT_EQ(after.sa_handler, mine.sa_handler);
    std::filesystem::remove_all(dir);
  }
}

}  // namespace save_cases
