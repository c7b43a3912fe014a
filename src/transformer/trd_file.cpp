#include "transformer/trd_file.h"

#include "numerics/file_read.h"
#include "numerics/file_write.h"
#include "transformer/coil_pair.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

// A line as Pascal's ReadLn into a short string reads it: at most kMaxTrdLine
// characters, the rest lost. Not half a character of a UTF-8 text: when the first byte
// cut off continues a character, that character goes too.
std::string Cut(std::string_view line) {
  if (line.size() <= kMaxTrdLine) return std::string(line);
  std::size_t cut = kMaxTrdLine;
  while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
  return std::string(line.substr(0, cut));
}

}  // namespace

const std::vector<std::string>& TrdFieldNames() {
  static const std::vector<std::string> names = {"En1", "Eh1", "Er1", "Es1", "Eb1", "En2",
                                                 "Eh2", "Er2", "Es2", "Eb2", "Ewd1", "Ewd2"};
  return names;
}

std::string TrdFileText(const FieldValues& fields) {
  std::string text;
  for (const std::string& name : TrdFieldNames()) {
    std::string line = FieldText(fields, TransformerFieldDefs(), name);
    for (char& c : line)
      if (c == '\r' || c == '\n') c = ' ';
    text += line;
    text += "\r\n";
  }
  return text;
}

FieldValues ParseTrdText(std::string_view text) {
  const std::vector<std::string>& names = TrdFieldNames();
  const std::vector<std::string> lines = SplitLines(text);
  // Past the end of the file every line reads as an empty text.
  auto line = [&lines](std::size_t i) {
    return i < lines.size() ? std::string_view(lines[i]) : std::string_view();
  };
  FieldValues fields;
  for (std::size_t i = 0; i < 10; ++i) fields[names[i]] = Cut(line(i));
  // Blanks are skipped before the eleventh line; unless that line ends there, lines 11
  // and 12 hold the wire diameters.
  const std::string_view eleventh = line(10);
  if (const std::size_t k = eleventh.find_first_not_of(" \t"); k != std::string_view::npos) {
    fields[names[10]] = Cut(eleventh.substr(k));
    fields[names[11]] = Cut(line(11));
  }
  return fields;
}

void SaveTrdFile(const std::string& path, const FieldValues& fields) {
  WriteFileAtomically(path, TrdFileText(fields));
}

FieldValues LoadTrdFile(const std::string& path) {
  return ParseTrdText(ReadRegularFile(path, kMaxTrdFileBytes, "a transformer description"));
}

void LoadTrdFields(const std::string& path, FieldValues& fields) {
  for (auto& [name, text] : LoadTrdFile(path)) fields[name] = text;
}

const std::vector<FieldDef>& TrdTextFieldDefs() {
  static const std::vector<FieldDef> defs = [] {
    std::vector<FieldDef> all = TransformerFieldDefs();
    for (FieldDef& f : all)
      if (f.Kind() == FieldKind::Number || f.Kind() == FieldKind::Count) f.kind = FieldKind::Text;
    return all;
  }();
  return defs;
}

Result SaveTrdCommand(const FieldValues& fields, CommandEnv& env) {
  SaveTrdFile(env.Argument("FILE"), fields);
  return {};
}

}  // namespace quor::transformer
