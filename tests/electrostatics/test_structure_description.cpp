// The structure description language: tables, scaling, view window, messages, rings
// and .cap files.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "electrostatics/structure_description.h"
#include "electrostatics/structure_view.h"
#include "numerics/file_write.h"
#include "numerics/library_namespaces.h"

namespace {

using Lines = std::vector<std::string>;

StructureDescription Parse(const Lines& lines, Lines* messages = nullptr) {
  VectorReport msg;
  StructureDescription d = ParseDescription(lines, msg, "no-such-palette.xpl");
  if (messages) *messages = msg.lines;
  return d;
}

std::string Repeat(const std::string& line, int n, Lines& into) {
  for (int i = 0; i < n; ++i) into.push_back(line + std::to_string(i));
  return line;
}

}  // namespace

TEST(StructureDescription, SampleTablesViewAndFirstRings) {
  Lines messages;
  const StructureDescription d = Parse(StructureSampleLines(), &messages);
  EXPECT_TRUE(messages.empty());
  ASSERT_TRUE(d.Parsed());
  EXPECT_EQ(d.elements.size(), 6u);
  ASSERT_EQ(d.conductors.size(), 2u);
  EXPECT_EQ(d.conductors[0].name, "terminal");
  EXPECT_EQ(d.conductors[0].V, 1);
  EXPECT_EQ(d.conductors[1].name, "base");
  EXPECT_EQ(d.conductors[1].V, -1);  // ".v" in lower case
  EXPECT_EQ(d.ringTotal, 60);
  EXPECT_EQ(d.VMax, 1);
  EXPECT_EQ(d.VMin, -1);
  EXPECT_EQ(d.view.RMax, 1.25L);
  EXPECT_EQ(d.view.XMin, -1.25L);
  EXPECT_EQ(d.view.ZMax, 1);
  EXPECT_EQ(d.view.ZMin, -1);

  const std::vector<StructureRing> rings = GenerateRings(d);
  ASSERT_EQ(rings.size(), 60u);
  for (std::size_t i = 0; i < rings.size(); ++i) EXPECT_EQ(rings[i].conductor, i < 30 ? 1 : 2);
  // Ltop of terminal: the midpoint of its first tenth.
  EXPECT_EQ(rings[0].R, 0.05L);
  EXPECT_EQ(rings[0].Z, 1);
  EXPECT_NEAR(static_cast<double>(rings[0].a / (0.1L / (2 * kPi))), 1.0, 1e-18);
  // Cedge of terminal: the first step of 18 degrees from -90, centred at -81.
  const Extended t = -81 * kPi / 180;
  EXPECT_NEAR(static_cast<double>(rings[20].R), static_cast<double>(1 + 0.25L * std::cos(t)), 1e-17);
  EXPECT_NEAR(static_cast<double>(rings[20].Z), static_cast<double>(0.75L + 0.25L * std::sin(t)), 1e-17);
  EXPECT_NEAR(static_cast<double>(rings[20].a / (0.25L * std::sin(9 * kPi / 180) / kPi)), 1.0, 1e-17);
}

TEST(StructureDescription, LanguageRules) {
  // Commands act wherever they stand; letters of either case; names with case.
  const Lines before = {".Ks a 2", ".Zs a 0.5", "Ltop a 4 0 0 1 0", "cside b 3 0 0 1 -90 90",
                        "eside B 2 0 0 1 2 0 90", "Lnone a 0 0 0 1 1", "Lneg a -5 0 0 1 1"};
  const Lines after = {"Ltop a 4 0 0 1 0", "cside b 3 0 0 1 -90 90", "eside B 2 0 0 1 2 0 90",
                       "Lnone a 0 0 0 1 1", "Lneg a -5 0 0 1 1", ".ks a 2", ".zs a 0.5"};
  const StructureDescription x = Parse(before), y = Parse(after);
  ASSERT_TRUE(x.Parsed() && y.Parsed());
  for (const StructureDescription* d : {&x, &y}) {
    ASSERT_EQ(d->conductors.size(), 3u);  // a, b, B
    EXPECT_EQ(d->conductors[0].name, "a");
    EXPECT_EQ(d->elements[0].p[0], 0);
    EXPECT_EQ(d->elements[0].p[2], 2);    // scaled by 2
    EXPECT_EQ(d->elements[0].p[1], 0.5);  // then shifted
    EXPECT_EQ(d->elements[1].kind, ElementKind::Circle);
    EXPECT_EQ(d->elements[2].kind, ElementKind::Ellipse);
    EXPECT_EQ(d->ringTotal, 4 + 3 + 2 + 0 - 5);  // negative counts enter the total ...
    EXPECT_EQ(d->RingsMade(), 9);
    EXPECT_EQ(GenerateRings(*d).size(), 9u);  // ... but make no rings
    EXPECT_EQ(d->view.RMax, 2);
    EXPECT_EQ(d->view.ZMax, 2.5L);
    EXPECT_EQ(d->view.ZMin, -2);  // the ellipse reaches down by its vertical semi-axis
  }
  EXPECT_EQ(x.elements[1].p[3], y.elements[1].p[3]);
  EXPECT_EQ(x.elements[1].p[3], -90 * kPi / 180);

  // A name longer than 12 characters finds its own (cut) entry again; a tab belongs
  // to its token; a flat structure gets a view of some height.
  const StructureDescription l = Parse({"La averyveryverylongname 1 0 0 1 0",
                                        "Lb averyveryverylongname 1 1 0 2 0", "Lc x\ty 1 0 0 1 0",
                                        ".V averyveryverylongname 5"});
  ASSERT_EQ(l.conductors.size(), 2u);
  EXPECT_EQ(l.conductors[0].name, "averyveryver");
  EXPECT_EQ(l.conductors[0].V, 5);
  EXPECT_EQ(l.conductors[1].name, "x\ty");
  EXPECT_EQ(l.view.ZMax, 1e-12L);
}

TEST(StructureDescription, MessagesStopTheParse) {
  struct Row {
    Lines lines;
    Lines messages;
    ParseOutcome outcome;
    int elementCount;
    std::size_t stored;
  };
  Lines hundredAndOne, conductors;
  Repeat("Lx c 1 0 0 1 ", 101, hundredAndOne);
  Repeat(".Vx c", 101, conductors);
  const Row rows[] = {
      {{"Ltop a 1 0 0 1 0", " Lbad a 1 0 0 1 0", "Lnot a 1 0 0 1 0"},
       {"Unknown element:  Lbad a 1 0 0 1 0"}, ParseOutcome::UnknownElement, 2, 1},
      {{"* comment", "", "Xtop a 1 0 0 1 0"}, {"Unknown element: Xtop a 1 0 0 1 0"},
       ParseOutcome::UnknownElement, 1, 0},
      {hundredAndOne, {"Too many elements"}, ParseOutcome::TooManyElements, 101, 100},
      {conductors, {"Too many conductors"}, ParseOutcome::TooManyConductors, 0, 0},
      {{".Q ignored 3", ". V x 1"}, {}, ParseOutcome::Parsed, 0, 0},
  };
  for (const Row& r : rows) {
    Lines messages;
    const StructureDescription d = Parse(r.lines, &messages);
    EXPECT_EQ(messages, r.messages) << r.lines.back();
    EXPECT_EQ(d.outcome, r.outcome) << r.lines.back();
    EXPECT_EQ(d.elementCount, r.elementCount) << r.lines.back();
    EXPECT_EQ(d.elements.size(), r.stored) << r.lines.back();
    EXPECT_LE(d.conductors.size(), static_cast<std::size_t>(kMaxConductors));
  }
  // A stopped parse leaves the elements unscaled and the view window untouched.
  const StructureDescription s = Parse({".K a 3", "Lx a 1 0 0 1 0", "?"});
  EXPECT_EQ(s.elements[0].p[2], 1);
  EXPECT_EQ(s.view.RMax, ViewWindow().RMax);
}

TEST(StructureDescription, CapFilesAndPalette) {
  const std::string dir = ::testing::TempDir();
  const std::string path = dir + "structure_test.cap";
  SaveDescriptionFile(path, StructureSampleLines());
  const std::string bytes = ReadWholeFile(path);
  EXPECT_EQ(bytes.substr(0, 45), "* Capacitor with two thick circular plates.\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 12), ".v base -1\r\n");
  EXPECT_EQ(LoadDescriptionFile(path), StructureSampleLines());  // trailing spaces kept
  EXPECT_EQ(SplitDescriptionText("a\nb \r\n\nc"), (Lines{"a", "b ", "", "c"}));
  EXPECT_THROW(LoadDescriptionFile(dir + "no-such.cap"), FileError);

  // A palette file too short for its 768 colour bytes: the parse does not finish.
  const std::string palette = dir + "short.xpl";
  std::ofstream(palette, std::ios::binary) << std::string(700, 'x');
  VectorReport msg;
  EXPECT_THROW(ParseDescription(StructureSampleLines(), msg, palette), FileError);
}

TEST(StructureView, OneScaleCentredWithTiesToEven) {
  // The sample's window on the 481-pixel area: the smaller scale serves both axes and
  // the axis falls on the half pixel 240.5, which rounds to the even column.
  const ScreenMapping v = StructureViewTransform({1.25L, -1.25L, 1, -1}, 481, 481);
  EXPECT_EQ(v.KX, 441 / 2.5L);
  EXPECT_EQ(v.KY, -v.KX);
  EXPECT_EQ(v.OX, 240.5L);
  EXPECT_EQ(ViewX(v, 0), 240);
  EXPECT_EQ(ViewY(v, 1), 64);  // 240.5 - 176.4
}
