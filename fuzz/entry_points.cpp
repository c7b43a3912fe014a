#include "entry_points.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>
#include <unistd.h>

#include "cli/cli.h"
#include "electrostatics/breakdown_field.h"
#include "electrostatics/palette.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "numerics/format.h"
#include "numerics/number_reading.h"
#include "palette_builder/palette_model.h"
#include "palette_builder/xpl_file.h"
#include "transformer/coil_pair.h"
#include "transformer/driver.h"
#include "transformer/trd_file.h"
#include "transformer/validation.h"

namespace {

[[noreturn]] void Broken(const std::string& what) {
  std::fprintf(stderr, "broken promise: %s\n", what.c_str());
  std::abort();
}

void Require(bool ok, const std::string& what) {
  if (!ok) Broken(what);
}

std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The Width:Decimals pairs of the program's report lines and tables, and its
// scientific widths.
constexpr int kFormats[][2] = {{3, 0},  {5, 1},   {5, 2},   {6, 2},  {6, 4},   {7, 4},
                               {7, 5},  {10, 6},  {12, 10}, {15, 10}, {17, 15}, {19, 17},
                               {30, 15}, {6, -1}, {10, -1}, {11, -1}, {15, -1}, {30, -1}};

// The texts the Report makes of v, read back by the field reader, give v again to the
// digits they show.
void CheckNumberTexts(Extended v) {
  if (!std::isfinite(v)) return;
  const Extended a = std::fabs(v);
  for (const auto& f : kFormats) {
    const int width = f[0], decimals = f[1];
    const std::string s = FixedStr(v, width, decimals);
    Require(s.size() >= static_cast<std::size_t>(width), "FixedStr shorter than its width");
    if (decimals >= 0 && a < 1e35L) {
      const Extended back = ReadNumber(s);
      const Extended tolerance = std::pow(10.0L, -decimals) + 1e-16L * a;
      Require(std::fabs(back - v) <= tolerance, "FixedStr(" + std::to_string(width) + "," +
                                                    std::to_string(decimals) + ") gave " + s);
    } else if (decimals < 0 && a < 1e4931L) {
      // width - 8 significant digits, at least 2.
      const int digits = std::max(2, std::min(18, width - 8));
      const Extended back = ReadNumber(s);
      Require(std::fabs(back - v) <= std::pow(10.0L, 1 - digits) * a,
              "SciStr(" + std::to_string(width) + ") gave " + s);
    }
  }
  const std::string t = NumberText(v);
  if (v == 0 || a >= 1e-4900L) {
    const Extended back = ReadNumber(t);
    Require(std::fabs(back - v) <= 1e-15L + 1e-14L * a, "NumberText gave " + t);
  }
  RoundAtLeastOne(v);
}

// A temporary file of this process for the readers that take a path.
std::string ScratchFile(std::string_view bytes, const char* name) {
  const std::string path = "/tmp/quor-fuzz-" + std::to_string(::getpid()) + "-" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace

int FuzzNumberReader(const std::uint8_t* data, std::size_t size) {
  FaultFlagsKeeper keep;
  const std::string_view text = Text(data, size);
  const Extended v = ReadNumber(text);
  Require(std::isfinite(v), "ReadNumber returned a value that is not finite");
  const std::int32_t n = ReadInteger(text);
  Require(n == 0 || ReadNumber(text) == static_cast<Extended>(n),
          "ReadInteger and ReadNumber disagree on " + std::string(text));
  IntStr(n);
  CheckNumberTexts(v);
  // The leading bytes as the bits of any Extended, subnormals and huge values
  // included: what a calculation can hand to the formatting.
  if (size >= 10) {
    std::uint64_t mantissa = 0;
    std::memcpy(&mantissa, data, 8);
    const int exponent = (data[8] | (data[9] & 0x7F) << 8) - 16383 - 63;
    Extended x = std::ldexp(static_cast<Extended>(mantissa), exponent);
    if (data[9] & 0x80) x = -x;
    CheckNumberTexts(x);
  }
  return 0;
}

int FuzzStructureDescription(const std::uint8_t* data, std::size_t size) {
  FaultFlagsKeeper keep;
  const std::vector<std::string> lines = SplitDescriptionText(Text(data, size));
  VectorReport msg;
  const StructureDescription d =
      ParseDescription(lines, msg, "/nonexistent-quor-fuzz/quor.xpl");
  Require(d.elements.size() <= static_cast<std::size_t>(kMaxElements), "element table overrun");
  Require(d.conductors.size() <= static_cast<std::size_t>(kMaxConductors),
          "conductor table overrun");
  for (const StructureElement& e : d.elements)
    Require(e.conductor >= 1 && e.conductor <= static_cast<int>(d.conductors.size()),
            "element without its conductor");
  if (!d.Parsed() || d.RingsMade() > kMaxRings) return 0;
  const std::vector<StructureRing> rings = GenerateRings(d);
  Require(static_cast<std::int64_t>(rings.size()) == d.RingsMade(), "ring count");
  // Small structures go through the whole calculation, faults and all.
  if (d.ringTotal > 0 && d.ringTotal <= 24) {
    ClearArithmeticFaults();
    BreakdownField breakdown;
    VectorReport out;
    try {
      CalculateStructure(d, true, breakdown, out, nullptr, 1);
    } catch (const ArithmeticFault&) {
    }
  }
  return 0;
}

int FuzzTrdReader(const std::uint8_t* data, std::size_t size) {
  FaultFlagsKeeper keep;
  const FieldValues fields = ParseTrdText(Text(data, size));
  const std::vector<std::string>& names = TrdFieldNames();
  Require(fields.size() == 10 || fields.size() == 12, "a .trd sets 10 or 12 fields");
  for (const auto& [name, text] : fields) {
    Require(std::find(names.begin(), names.end(), name) != names.end(), "field " + name);
    Require(text.size() <= kMaxTrdLine, "a line longer than 255 characters");
  }
  // Saved again and loaded, the texts are the same, but for the blanks that the
  // reader skips before the eleventh line and a byte-order mark that a first text
  // starting with one puts at the start of the file.
  FieldValues all = DefaultValues(TransformerFieldDefs());
  for (const auto& [name, text] : fields) all[name] = text;
  const FieldValues again = ParseTrdText(TrdFileText(all));
  for (const auto& [name, text] : again) {
    std::string expected = all[name];
    if (name == names[10]) expected.erase(0, expected.find_first_not_of(" \t"));
    if (name == names[0] && expected.rfind("\xEF\xBB\xBF", 0) == 0) expected.erase(0, 3);
    Require(text == expected, "field " + name + " changed from '" + all[name] + "' to '" + text + "'");
  }
  // Calculate reads and judges them before any calculation.
  CoilPair coils;
  ReadTransformerInputs(all, coils);
  if (!CheckTransformerInputs(coils)) CheckTransformerWork(coils, ReadTransformerOptions(all));
  return 0;
}

int FuzzPaletteReader(const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchFile(Text(data, size), "quor.xpl");
  try {
    const Palette p = ReadPalette(path);
    Require(size >= kPaletteColourBytes, "a short palette file was accepted");
    for (int i = 0; i < 256; ++i)
      Require(p.red[i] == data[i] && p.green[i] == data[256 + i] && p.blue[i] == data[512 + i],
              "palette colours differ from the file");
  } catch (const FileError& e) {
    Require(size < kPaletteColourBytes, "a whole palette file was refused");
    Require(std::string(e.what()).find(path) != std::string::npos, "error without the file name");
  }
  std::remove(path.c_str());
  return 0;
}

int FuzzXplReader(const std::uint8_t* data, std::size_t size) {
  PaletteModel model = StartPalette();
  const XplLoad load = ApplyXplBytes(model, Text(data, size));
  Require(load.bytesUsed == std::min(size, kXplSize), "bytes used");
  // The window then draws each curve and takes clicks on it.
  for (int a = 0; a < kChannels; ++a) {
    Require(ChannelIsUsable(model, a), "a loaded channel cannot be edited");
    RecomputeChannel(model, a);
    for (int y : {0, 1, 127, 254, 255}) MoveControlPoint(model, a, y / 4, y);
    Require(ChannelIsUsable(model, a), "a click broke the channel");
    RecomputeChannel(model, a);
  }
  return 0;
}

int FuzzCliArguments(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  std::string_view text = Text(data, size);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    args.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  std::ostringstream out, err;
  CliInvocation invocation;
  const int status = ParseCliArgs(args, invocation, out, err);
  Require(status == kRunCommand || status == 0 || status == 2, "exit status");
  Require(status != 2 || !err.str().empty(), "a usage error without its message");
  if (status != kRunCommand) return 0;
  Require(invocation.command != nullptr, "no command to run");
  for (const CliArgumentDef& def : invocation.command->arguments)
    Require(invocation.options.count(def.name) == 1, "positional argument " + def.name + " lost");
  for (const auto& [name, value] : invocation.overrides)
    Require(invocation.fields.count(name) == 1, "a change of a field the window lacks: " + name);
  // The settings before the command are applied as quor-cli applies them: one line
  // each, a refusal for a malformed number.
  FaultFlagsKeeper keep;
  CommandEnv env;
  for (const std::string& emax : invocation.emaxTexts) {
    const Result set = RunCommand(*FindCliCommand("parameters"), {{"Eemax", emax}}, env);
    Require(set.lines.size() == 1, "Emax without its one line");
    Require(set.status != CommandStatus::Fault, "Emax faulted");
  }
  return 0;
}

const std::vector<FuzzTarget>& FuzzTargets() {
  static const std::vector<FuzzTarget> targets = {
      {"number_reader", &FuzzNumberReader},
      {"structure_description", &FuzzStructureDescription},
      {"palette_reader", &FuzzPaletteReader},
      {"xpl_reader", &FuzzXplReader},
      {"cli_arguments", &FuzzCliArguments},
      {"trd_reader", &FuzzTrdReader},
  };
  return targets;
}
