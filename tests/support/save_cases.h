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
// Saves bytes at path; "" or the whole text of the error, with the folder when the
// writer reports it apart.
using Saver = std::function<std::string(const std::string& path, const std::string& bytes, WriteFn)>;

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline Names Entries(const std::string& dir) {
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

inline void CheckTargets(const Saver& save) {
  struct Row {
    const char* name;
    std::function<std::string(const std::string& dir)> prepare;  // the path to save to
    std::function<Names(const std::string& dir, const std::string& path)> error;  // parts
    std::function<void(const std::string& dir, const std::string& path)> check;
    bool ordinaryUser = false, rootOnly = false;
  };
  auto none = [](const std::string&, const std::string&) { return Names{}; };
  int reader = -1;
  const Row rows[] = {
      {"a link is followed and stays a link, its file replaced",
       [](const std::string& d) {
         ::mkdir((d + "/real").c_str(), 0755);
         Old(d + "/real/file.cap");
         ::symlink("real/file.cap", (d + "/link").c_str());
         return d + "/link";
       },
       none,
       [](const std::string& d, const std::string& p) {
         EXPECT_TRUE(S_ISLNK(ModeOf(p)));
         EXPECT_EQ(Slurp(d + "/real/file.cap"), "new");
         EXPECT_EQ(Entries(d + "/real"), Names{"file.cap"});
       }},
      {"a chain of links, relative and absolute, the last dangling, makes its file",
       [](const std::string& d) {
         ::symlink("b", (d + "/a").c_str());
         ::symlink((d + "/made.cap").c_str(), (d + "/b").c_str());
         return d + "/a";
       },
       none,
       [](const std::string& d, const std::string&) {
         EXPECT_EQ(Entries(d), (Names{"a", "b", "made.cap"}));
         EXPECT_EQ(Slurp(d + "/made.cap"), "new");
       }},
      {"a named pipe is written in place",
       [&reader](const std::string& d) {
         ::mkfifo((d + "/pipe").c_str(), 0600);
         reader = ::open((d + "/pipe").c_str(), O_RDONLY | O_NONBLOCK);
         return d + "/pipe";
       },
       none,
       [&reader](const std::string& d, const std::string& p) {
         char got[8] = {};
         EXPECT_EQ(::read(reader, got, sizeof got), 3);
         EXPECT_STREQ(got, "new");
         ::close(reader);
         EXPECT_TRUE(S_ISFIFO(ModeOf(p)));
         EXPECT_EQ(Entries(d), Names{"pipe"});
       }},
      {"a device behind a link is written in place",
       [](const std::string& d) {
         ::symlink("/dev/null", (d + "/null").c_str());
         return d + "/null";
       },
       none,
       [](const std::string&, const std::string& p) {
         EXPECT_TRUE(S_ISLNK(ModeOf(p)) && S_ISCHR(ModeOf("/dev/null")));
       }},
      {"the mode is kept but for setuid and setgid",
       [](const std::string& d) { return Old(d + "/tool", 06754); }, none,
       [](const std::string&, const std::string& p) { EXPECT_EQ(ModeOf(p) & 07777, 0754u); }},
      {"a new file has the user's usual mode", [](const std::string& d) { return d + "/new"; },
       none,
       [](const std::string&, const std::string& p) {
         const mode_t mask = ::umask(022);
         ::umask(mask);
         EXPECT_EQ(ModeOf(p) & 07777, 0666u & ~mask);
       }},
      {"root keeps the owner and group of the file it saves over",
       [](const std::string& d) {
         const std::string p = Old(d + "/theirs.cap");
         EXPECT_EQ(::chown(p.c_str(), kOtherUser, kOtherUser), 0);
         return p;
       },
       none,
       [](const std::string&, const std::string& p) {
         struct stat st {};
         ::stat(p.c_str(), &st);
         EXPECT_EQ(st.st_uid + st.st_gid, 2 * kOtherUser);
         EXPECT_EQ(Slurp(p), "new");
       },
       false, true},
      {"a path at the length limit, the temporary's name no longer than the file's",
       [](const std::string& d) {
         std::string p = d;
         while (p.size() < PATH_MAX - 4) {
           p += "/" + std::string(std::min<std::size_t>(200, PATH_MAX - 5 - p.size()), 'd');
           ::mkdir(p.c_str(), 0755);
         }
         return p + "/a";  // PATH_MAX - 2 characters
       },
       none, [](const std::string&, const std::string& p) { EXPECT_EQ(Slurp(p), "new"); }},
      {"a read-only file is refused by name, even in a folder open to all",
       [](const std::string& d) {
         ::mkdir((d + "/open").c_str(), 0777);
         ::chmod((d + "/open").c_str(), 0777);
         return Old(d + "/open/ro.cap", 0444);
       },
       [](const std::string&, const std::string& p) { return Names{p, "Permission denied"}; },
       [](const std::string& d, const std::string& p) {
         EXPECT_EQ(Slurp(p), "old");
         EXPECT_EQ(Entries(d + "/open"), Names{"ro.cap"});
       },
       true},
      {"a folder the user may not write is named",
       [](const std::string& d) {
         ::mkdir((d + "/closed").c_str(), 0755);
         return Old(d + "/closed/x.cap", 0666);
       },
       [](const std::string& d, const std::string&) {
         return Names{"folder " + d + "/closed", "Permission denied"};
       },
       [](const std::string&, const std::string& p) { EXPECT_EQ(Slurp(p), "old"); }, true},
      {"a missing folder is named", [](const std::string& d) { return d + "/none/x.cap"; },
       [](const std::string& d, const std::string&) {
         return Names{"folder " + d + "/none", "No such file or directory"};
       },
       [](const std::string& d, const std::string&) { EXPECT_EQ(Entries(d), Names{}); }},
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
