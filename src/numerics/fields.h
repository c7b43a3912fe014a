#pragma once
// The fields of a window as its commands see them: texts by component name. Every
// window command is a plain function of these texts, called alike by the window, the
// tests and quor-cli.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quor::numerics {

// Field texts by component name ("En1" -> "12", "CBel" -> "1"). Check boxes hold
// "1" when checked and "0" when not; radio groups their item index; combo boxes
// their text.
using FieldValues = std::map<std::string, std::string>;

// What a field holds, and so how its text is read and checked.
enum class FieldKind {
  Number,    // a real number (ReadNumber)
  Count,     // a whole number (ReadInteger): turns, segments, rings, table sizes
  CheckBox,  // "1" or "0"
  Choice,    // the index of a radio group's item
  Text,      // free text: a combo box's text, a structure description, a file's text
};

// One input of a window: component name, label or caption, default text, hint, and
// what it holds. A check box may say so by isCheckBox alone; Kind() is the one to ask.
struct FieldDef {
  std::string name;
  std::string label;
  std::string defaultText;
  std::string hint;
  bool isCheckBox = false;
  FieldKind kind = FieldKind::Number;

  FieldKind Kind() const { return isCheckBox ? FieldKind::CheckBox : kind; }
};

// The field list of a command that reads no fields.
const std::vector<FieldDef>& NoFieldDefs();

// The defaults of a window's fields as a FieldValues map.
FieldValues DefaultValues(const std::vector<FieldDef>& defs);
// The text of a field, or its default when the map lacks it (or "" when the window
// has no such field).
std::string FieldText(const FieldValues& fields, const std::vector<FieldDef>& defs,
                      const std::string& name);
// A check box is checked when its text is "1".
bool FieldChecked(const FieldValues& fields, const std::vector<FieldDef>& defs,
                  const std::string& name);

// The refusal line of the first numeric field (in the order of defs) whose text is
// neither empty nor one complete number (a whole number for a count), after trimming
// blanks: Invalid number in "LABEL": TEXT (use "." as the decimal point), LABEL the
// field's label as the window shows it and TEXT the text as typed. Nothing when every
// number field reads as what it says. Fields missing from the map take their defaults.
std::optional<std::string> InvalidNumberLine(const std::vector<FieldDef>& defs,
                                             const FieldValues& fields);

}  // namespace quor::numerics
