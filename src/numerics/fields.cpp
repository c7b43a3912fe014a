#include "numerics/fields.h"

#include "numerics/number_reading.h"

namespace quor::numerics {

const std::vector<FieldDef>& NoFieldDefs() {
  static const std::vector<FieldDef> none;
  return none;
}

FieldValues DefaultValues(const std::vector<FieldDef>& defs) {
  FieldValues v;
  for (const FieldDef& f : defs) v[f.name] = f.defaultText;
  return v;
}

std::string FieldText(const FieldValues& fields, const std::vector<FieldDef>& defs,
                      const std::string& name) {
  if (auto it = fields.find(name); it != fields.end()) return it->second;
  for (const FieldDef& f : defs)
    if (f.name == name) return f.defaultText;
  return {};
}

bool FieldChecked(const FieldValues& fields, const std::vector<FieldDef>& defs,
                  const std::string& name) {
  return FieldText(fields, defs, name) == "1";
}

std::optional<std::string> InvalidNumberLine(const std::vector<FieldDef>& defs,
                                             const FieldValues& fields) {
  for (const FieldDef& f : defs) {
    const FieldKind kind = f.Kind();
    if (kind != FieldKind::Number && kind != FieldKind::Count) continue;
    const std::string text = FieldText(fields, defs, f.name);
    const bool ok = kind == FieldKind::Count ? IsIntegerText(text) : IsNumberText(text);
    if (!ok)
      return "Invalid number in \"" + f.label + "\": " + text +
             " (use \".\" as the decimal point)";
  }
  return std::nullopt;
}

}  // namespace quor::numerics
