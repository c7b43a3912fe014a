#pragma once
// The fields of a window as its commands see them: texts by component name. Every
// window command is a plain function of these texts, called alike by the window, the
// tests and quor-cli.
#include <map>
#include <string>
#include <vector>

// Field texts by component name ("En1" -> "12", "CBel" -> "1"). Check boxes hold
// "1" when checked and "0" when not; radio groups their item index; combo boxes
// their text.
using FieldValues = std::map<std::string, std::string>;

// One input of a window: component name, label or caption, default text, hint.
struct FieldDef {
  std::string name;
  std::string label;
  std::string defaultText;
  std::string hint;
  bool isCheckBox = false;
};

// The defaults of a window's fields as a FieldValues map.
FieldValues DefaultValues(const std::vector<FieldDef>& defs);
// The text of a field, or its default when the map lacks it (or "" when the window
// has no such field).
std::string FieldText(const FieldValues& fields, const std::vector<FieldDef>& defs,
                      const std::string& name);
// A check box is checked when its text is "1".
bool FieldChecked(const FieldValues& fields, const std::vector<FieldDef>& defs,
                  const std::string& name);
