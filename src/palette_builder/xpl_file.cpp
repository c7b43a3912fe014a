#include "palette_builder/xpl_file.h"

#include <algorithm>
#include <fstream>
#include <sys/stat.h>

#include "palette_builder/file_save.h"

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
  SaveFileBytes(path, XplBytes(model), writeCall);
}
