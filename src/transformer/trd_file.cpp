#include "transformer/trd_file.h"

#include "numerics/file_write.h"
#include "transformer/coil_pair.h"

namespace {

// A text file read line by line with the conventions of Pascal's ReadLn and SeekEoln.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  // The rest of the current line, cut to kMaxTrdLine characters; the line end is
  // consumed. At the end of the file: an empty text.
  std::string ReadLine() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n') ++pos_;
    std::string line(text_.substr(start, pos_ - start));
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    if (line.size() > kMaxTrdLine) {
      // Not half a character of a UTF-8 text: when the first byte cut off continues a
      // character, that character goes too.
      std::size_t cut = kMaxTrdLine;
      while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
      line.resize(cut);
    }
    return line;
  }

  // Skips spaces and tabs; true when the line or the file ends there.
  bool SeekEoln() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    return pos_ == text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

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
  LineReader reader(text);
  FieldValues fields;
  for (std::size_t i = 0; i < 10; ++i) fields[names[i]] = reader.ReadLine();
  if (!reader.SeekEoln()) {
    fields[names[10]] = reader.ReadLine();
    fields[names[11]] = reader.ReadLine();
  }
  return fields;
}

void SaveTrdFile(const std::string& path, const FieldValues& fields) {
  WriteFileAtomically(path, TrdFileText(fields));
}

FieldValues LoadTrdFile(const std::string& path) { return ParseTrdText(ReadWholeFile(path)); }

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
