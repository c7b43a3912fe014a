// Transformer description files: the twelve texts written and read verbatim, the older
// ten-line form, and the line conventions of the reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "numerics/file_write.h"
#include "transformer/coil_pair.h"
#include "transformer/trd_file.h"
#include "numerics/library_namespaces.h"

namespace {

const char* const kTenLines = "12\r\n0.1\r\n0.1\r\n0.1\r\n0\r\n1152\r\n0.32\r\n0.044\r\n0.044\r\n0\r\n";

}  // namespace

TEST(TrdFile, DefaultsWriteTwelveLines) {
  EXPECT_EQ(TrdFileText(TransformerDefaults()),
            "12\r\n0.1\r\n0.1\r\n0.1\r\n0\r\n1152\r\n0.32\r\n0.044\r\n0.044\r\n0\r\n"
            "0.001\r\n0.0002\r\n");
}

// Every text comes back exactly as it went, whatever it says; a line end inside a
// text cannot shift the later fields.
TEST(TrdFile, TextsRoundTripVerbatim) {
  FieldValues fields = TransformerDefaults();
  const char* const texts[] = {"0,1", " 12.5 ", "1e-3", "", "abc", "-0", "\xC2\xB5m",
                               "0.044", "x y", "\t7", "0.0007", ""};
  for (std::size_t i = 0; i < 12; ++i) fields[TrdFieldNames()[i]] = texts[i];
  const FieldValues back = ParseTrdText(TrdFileText(fields));
  for (std::size_t i = 0; i < 12; ++i)
    EXPECT_EQ(back.at(TrdFieldNames()[i]), texts[i]) << TrdFieldNames()[i];

  fields["Eh1"] = "1\r\n2";
  EXPECT_EQ(ParseTrdText(TrdFileText(fields)).at("Eh1"), "1  2");
  EXPECT_EQ(ParseTrdText(TrdFileText(fields)).at("Ewd2"), "");
}

TEST(TrdFile, WireDiametersOnlyWhenTheEleventhLineHasText) {
  struct Row {
    const char* name;
    std::string text;
    const char* eb2;
    bool wires;
    const char* wd1;
    const char* wd2;
  };
  const std::string ten = kTenLines;
  const Row rows[] = {
      {"ten lines", ten, "0", false, "", ""},
      {"ten lines without the last line end", ten.substr(0, ten.size() - 2), "0", false, "", ""},
      {"blank eleventh line, twelfth given", ten + " \t \r\n0.002\r\n", "0", false, "", ""},
      {"eleven lines", ten + "0.002\r\n", "0", true, "0.002", ""},
      {"eleventh with leading blanks", ten + "  0.002\r\n3\r\n", "0", true, "0.002", "3"},
      {"LF line ends", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n", "10", true, "11", "12"},
      {"CR line ends", "1\r2\r3\r4\r5\r6\r7\r8\r9\r10\r11\r12\r", "10", true, "11", "12"},
  };
  for (const Row& r : rows) {
    const FieldValues f = ParseTrdText(r.text);
    EXPECT_EQ(f.at("Eb2"), r.eb2) << r.name;
    EXPECT_EQ(f.count("Ewd1") + f.count("Ewd2"), r.wires ? 2u : 0u) << r.name;
    if (r.wires) {
      EXPECT_EQ(f.at("Ewd1"), r.wd1) << r.name;
      EXPECT_EQ(f.at("Ewd2"), r.wd2) << r.name;
    }
  }
}

// Short files give empty texts (Calculate's checks judge them); long lines are cut
// at 255 characters, not in the middle of a UTF-8 character.
TEST(TrdFile, ShortFilesAndLongLines) {
  const FieldValues three = ParseTrdText("5\r\n0.2\r\n0.3");
  EXPECT_EQ(three.size(), 10u);
  EXPECT_EQ(three.at("Er1"), "0.3");
  for (const char* name : {"Es1", "Eb1", "En2", "Eh2", "Er2", "Es2", "Eb2"})
    EXPECT_EQ(three.at(name), "") << name;
  EXPECT_EQ(ParseTrdText("").at("En1"), "");

  const std::string longLine(300, '7');
  EXPECT_EQ(ParseTrdText(longLine + "\r\n0.5\r\n").at("En1"), std::string(255, '7'));
  EXPECT_EQ(ParseTrdText(longLine + "\r\n0.5\r\n").at("Eh1"), "0.5");
  const std::string accents = std::string(254, 'a') + "\xC3\xA9z";  // e-acute over the cut
  EXPECT_EQ(ParseTrdText(accents).at("En1"), std::string(254, 'a'));
}

TEST(TrdFile, SaveAndLoadFiles) {
  const std::string path = ::testing::TempDir() + "quor_trd_test.trd";
  FieldValues fields = TransformerDefaults();
  fields["En2"] = "1152.5";
  SaveTrdFile(path, fields);
  FieldValues loaded = LoadTrdFile(path);
  EXPECT_EQ(loaded.size(), 12u);
  for (const std::string& name : TrdFieldNames()) EXPECT_EQ(loaded[name], fields[name]) << name;
  std::remove(path.c_str());

  try {
    SaveTrdFile(::testing::TempDir() + "no such dir/x.trd", fields);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("no such dir/x.trd"), std::string::npos) << e.what();
  }
  EXPECT_THROW(LoadTrdFile(path), FileError);
}
