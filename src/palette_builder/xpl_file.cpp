#include "palette_builder/xpl_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

void PutInt32(std::string& out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

std::int32_t GetInt32(std::string_view bytes, std::size_t at) {
  std::uint32_t u = 0;
  for (int k = 3; k >= 0; --k) u = u << 8 | static_cast<unsigned char>(bytes[at + k]);
  return static_cast<std::int32_t>(u);
}

// Reads whole little-endian integers from bytes[offset, ...) into the 15 slots of
// a point table, red's five first; slots past the end of the bytes are left alone.
void GetPoints(std::string_view bytes, std::size_t offset,
               std::array<std::array<std::int32_t, kControlPoints>, kChannels>& table) {
  for (int n = 0; n < kChannels * kControlPoints; ++n) {
    const std::size_t at = offset + 4 * static_cast<std::size_t>(n);
    if (at + 4 > bytes.size()) return;
    table[n / kControlPoints][n % kControlPoints] = GetInt32(bytes, at);
  }
}

[[noreturn]] void Fail(int error, const std::string& path) {
  throw std::system_error(error, std::generic_category(), path);
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::string XplBytes(const PaletteModel& model) {
  std::string out;
  out.reserve(kXplSize);
  for (int a = 0; a < kChannels; ++a)
    for (int i = 0; i < kPaletteEntries; ++i) out.push_back(static_cast<char>(model.palette[a][i]));
  for (const auto& channel : model.X)
    for (std::int32_t v : channel) PutInt32(out, v);
  for (const auto& channel : model.Y)
    for (std::int32_t v : channel) PutInt32(out, v);
  return out;
}

XplLoad ApplyXplBytes(PaletteModel& model, std::string_view bytes) {
  if (bytes.size() > kXplSize) bytes = bytes.substr(0, kXplSize);
  const PaletteModel before = model;
  XplLoad load;
  load.bytesUsed = bytes.size();
  for (std::size_t k = 0; k < bytes.size() && k < kXplColourBytes; ++k)
    model.palette[k / kPaletteEntries][k % kPaletteEntries] = static_cast<std::uint8_t>(bytes[k]);
  GetPoints(bytes, kXplColourBytes, model.X);
  GetPoints(bytes, kXplColourBytes + kXplPointBytes, model.Y);
  // Rows that do not make a curve (two points on one row, a curve doubling back, an
  // end off row 0 or 255) leave some entries on no segment or on two: the colours
  // would be undefined, and such a channel keeps the points it had. A column outside
  // the box only says how far the curve reaches; it is held at the nearest edge,
  // 0 or 63, where the point can be seen and clicked, and where the intensities it
  // gives stay within 0..252 instead of wrapping round modulo 256.
  for (int a = 0; a < kChannels; ++a) {
    if (!RowsAreValid(model, a)) {
      model.X[a] = before.X[a];
      model.Y[a] = before.Y[a];
      load.pointsRestored[a] = true;
      continue;
    }
    for (std::int32_t& x : model.X[a]) {
      const std::int32_t held = std::clamp(x, 0, kCurveColumns - 1);
      if (held != x) load.columnsClamped[a] = true;
      x = held;
    }
  }
  return load;
}

std::optional<XplLoad> LoadXplFile(const std::string& path, PaletteModel& model) {
  // Only regular files: a directory reads nothing and a named pipe could wait forever.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(kXplSize, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return ApplyXplBytes(model, bytes);
}

void SaveXplFile(const std::string& path, const PaletteModel& model, XplWriteCall writeCall) {
  if (!writeCall) writeCall = &::write;
  const std::string bytes = XplBytes(model);
  // The temporary file lives beside the target so that the rename stays on one file
  // system and replaces the old file in one step.
  std::string tmp = DirectoryOf(path) + "/.tintor-XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) Fail(errno, path);
  auto abandon = [&](int error) {
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    Fail(error, path);
  };
  // A replaced file keeps its permissions; a new one gets the user's usual ones
  // rather than mkstemp's private mode.
  struct stat old {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  if (::fchmod(fd, mode) != 0) abandon(errno);
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = writeCall(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) abandon(n < 0 ? errno : EIO);
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) abandon(errno);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(tmp.c_str());
    Fail(error, path);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(tmp.c_str());
    Fail(error, path);
  }
}
