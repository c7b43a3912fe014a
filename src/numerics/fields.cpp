#include "numerics/fields.h"

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
