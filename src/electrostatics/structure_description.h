#pragma once
// Conducting structures with axial symmetry described line by line in the meridian
// half-plane (r from the axis, z along it, metres): straight segments, arcs of circles
// and arcs of ellipses, each belonging to a named conductor, plus conductor-wide
// potentials, scale factors and vertical shifts. The same text is kept in .cap files.
//
//   * comment
//   L<name> <conductor> <rings> <r1> <z1> <r2> <z2>
//   C<name> <conductor> <rings> <r0> <z0> <r> <angle1> <angle2>
//   E<name> <conductor> <rings> <r0> <z0> <rhor> <rvert> <angle1> <angle2>
//   .V<any> <conductor> <potential>     .K ... <scale factor>     .Z ... <vertical shift>
//
// Angles in degrees from the +r direction towards +z. Every element is cut into thin
// rings whose equivalent wire radius makes the perimeter of the wire equal to the width
// of the strip of surface the ring replaces.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "electrostatics/palette.h"
#include "numerics/extended.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

inline constexpr int kMaxElements = 100;
inline constexpr int kMaxConductors = 100;
inline constexpr int kMaxRings = 500;
// Names of elements and conductors are kept to their first 12 characters.
inline constexpr std::size_t kMaxNameLength = 12;

enum class ElementKind : std::uint8_t { Line = 0, Circle = 1, Ellipse = 2 };

struct StructureElement {
  std::string name;           // first token, kind letter included
  std::string conductorName;  // second token, cut to 12 characters
  std::int32_t rings = 0;     // may be zero or negative: no rings then
  int conductor = 0;          // 1-based index into the conductor table
  ElementKind kind = ElementKind::Line;
  // L: r1 z1 r2 z2; C: r0 z0 r angle1 angle2; E: r0 z0 rhor rvert angle1 angle2.
  // Angles in radians; lengths scaled and shifted once the parse has finished.
  Extended p[6] = {0, 0, 0, 0, 0, 0};
};

struct StructureConductor {
  std::string name;
  Extended V = 1;   // potential, volts
  Extended K = 1;   // scale factor
  Extended Zs = 0;  // vertical shift, metres
};

// The part of the meridian plane the structure view shows.
struct ViewWindow {
  Extended RMax = 1, XMin = -1, ZMax = 1, ZMin = -1;
};

enum class ParseOutcome {
  Parsed,
  UnknownElement,
  TooManyElements,
  TooManyConductors,
  InvalidNumber
};

struct StructureDescription {
  ParseOutcome outcome = ParseOutcome::Parsed;
  // The elements read in full (at most 100) and the count of element lines met, which
  // includes a line that stopped the parse.
  std::vector<StructureElement> elements;
  int elementCount = 0;
  std::vector<StructureConductor> conductors;  // 1-based indices refer to [index - 1]
  std::int64_t ringTotal = 0;  // ring counts as written, negative ones included
  Extended VMax = 1, VMin = 0;
  ViewWindow view;             // set only by a parse that finished
  Palette palette = GreyRamp();

  bool Parsed() const { return outcome == ParseOutcome::Parsed; }
  // The rings the elements make: positive counts only.
  std::int64_t RingsMade() const;
};

// Reads the description. Messages ("Unknown element: ...", "Too many elements",
// "Too many conductors", "Invalid number on line K: TEXT" for a numeric token that is
// not one complete number) go to msg and stop the parse where it is: the elements read
// so far stay unscaled and the view window keeps its default. A parse that reaches
// the end scales and shifts the elements by their conductors' settings (so commands
// may stand anywhere), fits the view window around the structure and reads the
// palette from palettePath (a FileError from a short palette file passes through).
StructureDescription ParseDescription(const std::vector<std::string>& lines, ReportSink& msg,
                                      const std::string& palettePath = kPaletteFileName);

// One thin charged ring of a structure (the kernel's ring record).
struct StructureRing {
  Extended R = 0;  // radius, m
  Extended Z = 0;  // height, m
  Extended a = 0;  // equivalent wire radius, m
  Extended q = 0;  // charge, C (set by the calculation)
  int conductor = 0;
};

// Cuts every element into rings at the midpoints of equal steps of its length or
// angle, in element order, each ring handed to onRing as it is made.
std::vector<StructureRing> GenerateRings(
    const StructureDescription& description,
    const std::function<void(const StructureRing&)>& onRing = {});

// What the structure window shows at start: a capacitor of two thick circular plates.
const std::vector<std::string>& StructureSampleLines();
// The help text of the window's message area at start.
const std::vector<std::string>& StructureHelpLines();

// .cap files: the lines of the description, read with LF, CR LF or CR line ends (a
// UTF-8 byte-order mark at the start skipped) and written with CR LF. Only a regular
// file of at most kMaxDescriptionFileBytes is read. Throw FileError naming the file.
//
// A description holds at most 100 elements and a few commands, each a line of at most
// 255 characters: about 30 KiB. The bound leaves room for any amount of comment a
// person writes, and refuses /dev/zero or a file that is not a description before it
// takes the machine's memory.
inline constexpr std::size_t kMaxDescriptionFileBytes = 1024 * 1024;
std::vector<std::string> SplitDescriptionText(std::string_view text);
std::string DescriptionFileText(const std::vector<std::string>& lines);
std::vector<std::string> LoadDescriptionFile(const std::string& path);
void SaveDescriptionFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace quor::electrostatics
