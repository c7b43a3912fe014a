#include "electrostatics/structure_description.h"

#include <algorithm>
#include <cmath>

#include "numerics/file_read.h"
#include "numerics/file_write.h"
#include "numerics/number_reading.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

// Lines are taken to their first 255 characters, as the text area hands them over.
constexpr std::size_t kMaxLineLength = 255;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Maximal runs of characters other than the space; a tab belongs to its token.
std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// A missing token is an empty text, which reads as 0.
std::string_view Token(const std::vector<std::string_view>& tokens, std::size_t n) {
  return n <= tokens.size() ? tokens[n - 1] : std::string_view();
}

std::string Cut(std::string_view s) { return std::string(s.substr(0, kMaxNameLength)); }

Extended Degrees(Extended degrees) { return degrees * kPi / 180.0L; }

class Parser {
 public:
  Parser(StructureDescription& d, ReportSink& msg) : d_(d), msg_(msg) {}

  // False when the line stopped the parse. Lines are counted from 1, comments and
  // empty lines included, as an editor shows them.
  bool Line(std::string_view line) {
    ++lineNumber_;
    line = line.substr(0, kMaxLineLength);
    if (line.empty() || line[0] == '*') return true;
    const std::vector<std::string_view> t = Tokens(line);
    if (line[0] == '.') return Command(line, t);
    return Element(line, t);
  }

 private:
  bool Command(std::string_view line, const std::vector<std::string_view>& t) {
    const char letter = line.size() > 1 ? Upper(line[1]) : '\0';
    if (letter != 'V' && letter != 'K' && letter != 'Z') return true;
    const int m = Conductor(Token(t, 2));
    if (m == 0) return false;
    StructureConductor& c = d_.conductors[m - 1];
    Extended value = 0;
    if (!Number(Token(t, 3), value)) return false;
    if (letter == 'V') {
      c.V = value;
      if (value > d_.VMax)
        d_.VMax = value;
      else if (value < d_.VMin)
        d_.VMin = value;
    } else if (letter == 'K') {
      c.K = value;
    } else {
      c.Zs = value;
    }
    return true;
  }

  bool Element(std::string_view line, const std::vector<std::string_view>& t) {
    if (++d_.elementCount > kMaxElements) return Stop(ParseOutcome::TooManyElements, "Too many elements");
    StructureElement e;
    switch (Upper(line[0])) {
      case 'L': e.kind = ElementKind::Line; break;
      case 'C': e.kind = ElementKind::Circle; break;
      case 'E': e.kind = ElementKind::Ellipse; break;
      default:
        return Stop(ParseOutcome::UnknownElement, "Unknown element: " + std::string(line));
    }
    e.name = Cut(Token(t, 1));
    e.conductorName = Cut(Token(t, 2));
    const std::string_view count = Token(t, 3);
    if (!IsIntegerText(count)) return InvalidNumber(count);
    e.rings = ReadInteger(count);
    e.conductor = Conductor(Token(t, 2));
    if (e.conductor == 0) return false;
    d_.ringTotal += e.rings;
    // The parameters in the order of the line; angles (the last two of an arc) in
    // degrees.
    const int parameters = e.kind == ElementKind::Line ? 4 : e.kind == ElementKind::Circle ? 5 : 6;
    for (int i = 0; i < parameters; ++i) {
      if (!Number(Token(t, 4 + static_cast<std::size_t>(i)), e.p[i])) return false;
      if (e.kind != ElementKind::Line && i >= parameters - 2) e.p[i] = Degrees(e.p[i]);
    }
    d_.elements.push_back(std::move(e));
    return true;
  }

  // Reads a numeric token into value; a token that is neither missing (read as 0) nor
  // one complete number stops the parse: a typing error such as "0,3" must not pass as
  // a number of the structure.
  bool Number(std::string_view token, Extended& value) {
    if (!IsNumberText(token)) return InvalidNumber(token);
    value = ReadNumber(token);
    return true;
  }

  bool InvalidNumber(std::string_view token) {
    return Stop(ParseOutcome::InvalidNumber,
                "Invalid number on line " + std::to_string(lineNumber_) + ": " +
                    std::string(token));
  }

  // The 1-based index of the conductor named by the token, appended when new; 0 when
  // the table is full. Names are compared as stored, cut to 12 characters, so that a
  // long name finds its own entry again.
  int Conductor(std::string_view token) {
    const std::string name = Cut(token);
    for (std::size_t i = 0; i < d_.conductors.size(); ++i)
      if (d_.conductors[i].name == name) return static_cast<int>(i) + 1;
    if (d_.conductors.size() >= static_cast<std::size_t>(kMaxConductors)) {
      Stop(ParseOutcome::TooManyConductors, "Too many conductors");
      return 0;
    }
    d_.conductors.push_back({name});
    return static_cast<int>(d_.conductors.size());
  }

  bool Stop(ParseOutcome why, const std::string& message) {
    d_.outcome = why;
    ReportLine(msg_, message);
    return false;
  }

  StructureDescription& d_;
  ReportSink& msg_;
  std::size_t lineNumber_ = 0;
};

// Applies each conductor's scale factor and shift and fits the view window.
void ScaleAndFit(StructureDescription& d) {
  ViewWindow& v = d.view;
  v.RMax = -1e9L;
  v.ZMax = -1e9L;
  v.ZMin = 1e9L;
  auto Height = [&v](Extended z) {
    if (z > v.ZMax) v.ZMax = z;
    if (z < v.ZMin) v.ZMin = z;
  };
  for (StructureElement& e : d.elements) {
    const StructureConductor& c = d.conductors[e.conductor - 1];
    Extended* p = e.p;
    switch (e.kind) {
      case ElementKind::Line:
        for (int i = 0; i < 4; ++i) p[i] = p[i] * c.K;
        p[1] = p[1] + c.Zs;
        p[3] = p[3] + c.Zs;
        v.RMax = std::max({v.RMax, p[0], p[2]});
        Height(p[1]);
        Height(p[3]);
        break;
      case ElementKind::Circle:
      case ElementKind::Ellipse: {
        const int last = e.kind == ElementKind::Circle ? 3 : 4;  // lengths before the angles
        for (int i = 0; i < last; ++i) p[i] = p[i] * c.K;
        p[1] = p[1] + c.Zs;
        const Extended rhor = p[2];
        const Extended rvert = e.kind == ElementKind::Circle ? p[2] : p[3];
        if (p[0] + rhor > v.RMax) v.RMax = p[0] + rhor;
        Height(p[1] + rvert);
        Height(p[1] - rvert);
        break;
      }
    }
  }
  v.XMin = -v.RMax;
  if (v.ZMin == v.ZMax) v.ZMax = v.ZMin + 1e-12L;
}

}  // namespace

std::int64_t StructureDescription::RingsMade() const {
  std::int64_t n = 0;
  for (const StructureElement& e : elements) n += std::max<std::int32_t>(e.rings, 0);
  return n;
}

StructureDescription ParseDescription(const std::vector<std::string>& lines, ReportSink& msg,
                                      const std::string& palettePath) {
  StructureDescription d;
  Parser parser(d, msg);
  for (const std::string& line : lines)
    if (!parser.Line(line)) return d;
  ScaleAndFit(d);
  d.palette = ReadPalette(palettePath);
  return d;
}

std::vector<StructureRing> GenerateRings(const StructureDescription& description,
                                         const std::function<void(const StructureRing&)>& onRing) {
  std::vector<StructureRing> rings;
  rings.reserve(static_cast<std::size_t>(std::min<std::int64_t>(description.RingsMade(), kMaxRings)));
  auto Add = [&](Extended R, Extended Z, Extended a, int conductor) {
    rings.push_back({R, Z, a, 0, conductor});
    if (onRing) onRing(rings.back());
  };
  for (const StructureElement& e : description.elements) {
    const std::int32_t n = e.rings;
    if (n < 1) continue;
    const Extended* p = e.p;
    switch (e.kind) {
      case ElementKind::Line: {
        // Midpoints of n equal parts of the segment; the strip width is one part.
        const Extended dr = (p[2] - p[0]) / n;
        const Extended dz = (p[3] - p[1]) / n;
        const Extended a = std::sqrt((p[3] - p[1]) * (p[3] - p[1]) + (p[2] - p[0]) * (p[2] - p[0])) /
                           ((2.0L * n) * kPi);
        for (std::int32_t i = 1; i <= n; ++i)
          Add((i - 1) * dr + (p[0] + dr / 2), (i - 1) * dz + (p[1] + dz / 2), a, e.conductor);
        break;
      }
      case ElementKind::Circle: {
        // The strip of one angular step is its chord, 2 r sin(dtheta/2).
        const Extended r = p[2];
        const Extended dtheta = (p[4] - p[3]) / n;
        const Extended theta0 = p[3] + dtheta / 2;
        const Extended a = std::fabs(std::sin(dtheta / 2)) * r / kPi;
        for (std::int32_t i = 1; i <= n; ++i) {
          const Extended theta = (i - 1) * dtheta + theta0;
          Add(std::cos(theta) * r + p[0], std::sin(theta) * r + p[1], a, e.conductor);
        }
        break;
      }
      case ElementKind::Ellipse: {
        const Extended rhor = p[2], rvert = p[3];
        const Extended dtheta = (p[5] - p[4]) / n;
        const Extended theta0 = p[4] + dtheta / 2;
        for (std::int32_t i = 1; i <= n; ++i) {
          const Extended theta = (i - 1) * dtheta + theta0;
          // The chord of the step on the ellipse over 2 pi.
          const Extended cr = rhor * (std::cos(theta + dtheta / 2) - std::cos(theta - dtheta / 2));
          const Extended cz = rvert * (std::sin(theta + dtheta / 2) - std::sin(theta - dtheta / 2));
          const Extended a = std::sqrt(cr * cr + cz * cz) / (kPi * 2);
          Add(std::cos(theta) * rhor + p[0], std::sin(theta) * rvert + p[1], a, e.conductor);
        }
        break;
      }
    }
  }
  return rings;
}

const std::vector<std::string>& StructureSampleLines() {
  static const std::vector<std::string> lines = {
      "* Capacitor with two thick circular plates.",
      "Ltop terminal 10 0 1 1 1",
      "Lbottom terminal 10 0 0.5 1 0.5 ",
      "Cedge terminal 10 1 0.75 0.25 -90 90 ",
      "Ltop base 10 0 -1 1 -1",
      "Lbottom base 10 0 -0.5 1 -0.5 ",
      "Cedge base 10 1 -0.75 0.25 -90 90 ",
      ".v base -1",
  };
  return lines;
}

const std::vector<std::string>& StructureHelpLines() {
  static const std::vector<std::string> lines = {
      "Electrostatic calculations for structures with axial symmetry.",
      "",
      "The description of the structure is a sequence of lines in the form:",
      "Comment: *<text>",
      "Lines: L<name> <conductor> <rings> <r1> <z1> <r2> <z2>",
      "Circular curves: C<name> <conductor> <rings> <r0> <z0> <r> ",
      "<angle1> <angle2>",
      "Elliptic curves: E<name> <conductor> <rings> <r0> <z0> <rhor> ",
      "<rvert> <angle1> <angle2>",
      "",
      "Commands: ",
      ".V<name> <conductor> <potential>",
      ".K<name> <conductor> <scale factor>",
      ".Z<name> <conductor> <vertical shift>",
      "",
      "All dimensions in meters.",
      "Segments with the same <conductor> name are parts of the same",
      "conductor. The program computes:",
      "- Capacitance matrix of the conductors and capacitances between ",
      "them, by decomposing the structure in  series of thin rings.",
      "- Total capacitance and electric fields when:",
      "   -  All the conductors are interconnected.",
      "   - One conductor is charged and the others grounded.",
      "   - The conductors are charged as specified by .V commands.",
      "The surface electric fields are the sum at the two sides of the",
      "surface. Only in closed objects they are at just one side.",
      "The breakdown voltage calculated is valid only for closed objects",
      "without sharp edges (otherwise it is ideally zero).",
      "The potential and the electric field with the specified potentials at ",
      "the conductors can be plotted.",
      "Unspecified potentials are set to 1 V. Unspecified shifts are set to ",
      "zero.",
  };
  return lines;
}

std::vector<std::string> SplitDescriptionText(std::string_view text) { return SplitLines(text); }

std::string DescriptionFileText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> LoadDescriptionFile(const std::string& path) {
  return SplitLines(ReadRegularFile(path, kMaxDescriptionFileBytes, "a structure description"));
}

void SaveDescriptionFile(const std::string& path, const std::vector<std::string>& lines) {
  WriteFileAtomically(path, DescriptionFileText(lines));
}

}  // namespace quor::electrostatics
