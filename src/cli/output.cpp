#include "cli/output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "quor_version.h"

std::string ExactNumberText(Extended v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.20Le", v);
  return buffer;
}

namespace {

void AppendNumber(std::string& out, Extended v) {
  if (std::isfinite(v)) {
    out += ExactNumberText(v);
  } else {
    out += '"';
    out += ExactNumberText(v);
    out += '"';
  }
}

// A comma before every item but the first.
void Comma(std::string& out, std::size_t i) {
  if (i) out += ',';
}

// The length of the UTF-8 sequence at text[i], or 0 when it is not one.
std::size_t Utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t j) { return static_cast<unsigned char>(text[j]); };
  const unsigned char b = byte(i);
  std::size_t n = 0;
  unsigned minimum = 0, code = 0;
  if (b >= 0xC2 && b <= 0xDF) n = 2, minimum = 0x80, code = b & 0x1F;
  else if (b >= 0xE0 && b <= 0xEF) n = 3, minimum = 0x800, code = b & 0x0F;
  else if (b >= 0xF0 && b <= 0xF4) n = 4, minimum = 0x10000, code = b & 0x07;
  else return 0;
  if (i + n > text.size()) return 0;
  for (std::size_t j = 1; j < n; ++j) {
    if ((byte(i + j) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + j) & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < minimum || code > 0x10FFFF || surrogate ? 0 : n;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (const std::size_t n = Utf8Length(text, i)) {
        out.append(text, i, n);
        i += n;
        continue;
      }
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

const char* StatusName(CommandStatus status) {
  switch (status) {
    case CommandStatus::Ok: return "ok";
    case CommandStatus::Refused: return "refused";
    case CommandStatus::Fault: return "fault";
  }
  return "fault";
}

std::string JsonOfRun(const CliInvocation& invocation, const CollectedRun& run) {
  const Result& r = run.result;
  std::string out = "{\"command\":";
  out += JsonString(invocation.command->name);
  out += ",\"version\":";
  out += JsonString(kQuorVersion);
  if (!invocation.emaxTexts.empty()) {
    out += ",\"Emax\":[";
    for (std::size_t i = 0; i < invocation.emaxTexts.size(); ++i) {
      Comma(out, i);
      out += JsonString(invocation.emaxTexts[i]);
    }
    out += ']';
  }
  if (!invocation.options.empty()) {
    out += ",\"options\":{";
    std::size_t n = 0;
    for (const auto& [name, values] : invocation.options) {
      Comma(out, n++);
      out += JsonString(name);
      out += ":[";
      for (std::size_t i = 0; i < values.size(); ++i) {
        Comma(out, i);
        out += JsonString(values[i]);
      }
      out += ']';
    }
    out += '}';
  }
  out += ",\"fields\":{";
  std::size_t n = 0;
  for (const FieldDef& f : *invocation.fieldDefs) {
    const auto text = run.fields.find(f.name);
    Comma(out, n++);
    out += JsonString(f.name);
    out += ':';
    out += JsonString(text == run.fields.end() ? f.defaultText : text->second);
  }
  out += '}';
  if (!invocation.sweeps.empty()) {
    out += ",\"sweep\":{";
    for (std::size_t i = 0; i < run.swept.size(); ++i) {
      Comma(out, i);
      out += JsonString(run.swept[i].first);
      out += ':';
      out += JsonString(run.swept[i].second);
    }
    out += '}';
  }
  out += ",\"status\":\"";
  out += StatusName(r.status);
  out += '"';
  if (!r.Ok()) {
    out += ",\"message\":";
    out += JsonString(r.message);
  }
  out += ",\"lines\":[";
  for (std::size_t i = 0; i < r.lines.size(); ++i) {
    Comma(out, i);
    out += JsonString(r.lines[i]);
  }
  out += "],\"values\":{";
  for (std::size_t i = 0; i < r.values.size(); ++i) {
    const NamedValue& v = r.values[i];
    Comma(out, i);
    out += JsonString(v.key);
    out += ":{\"unit\":";
    out += JsonString(v.unit);
    if (v.IsScalar()) {
      out += ",\"value\":";
      AppendNumber(out, v.Number());
      out += '}';
      continue;
    }
    out += ",\"dims\":[";
    for (std::size_t d = 0; d < v.dims.size(); ++d) {
      Comma(out, d);
      out += std::to_string(v.dims[d]);
    }
    out += "],\"value\":[";
    for (std::size_t k = 0; k < v.numbers.size(); ++k) {
      Comma(out, k);
      AppendNumber(out, v.numbers[k]);
    }
    out += "]}";
  }
  out += "}}";
  return out;
}

CsvTable::CsvTable(const CliInvocation& invocation) : invocation_(invocation) {}

void CsvTable::Add(const CollectedRun& run) {
  Row row{run.result.status, run.result.Ok() ? "" : run.result.message, {}, {}};
  for (const FieldDef& f : *invocation_.fieldDefs) {
    const auto text = run.fields.find(f.name);
    row.fields.push_back(text == run.fields.end() ? f.defaultText : text->second);
  }
  for (const NamedValue& v : run.result.values) {
    if (!v.IsScalar()) continue;
    if (std::find(valueKeys_.begin(), valueKeys_.end(), v.key) == valueKeys_.end())
      valueKeys_.push_back(v.key);
    row.values.emplace_back(v.key, v.Number());
  }
  rows_.push_back(std::move(row));
}

std::string CsvTable::Text() const {
  std::string out = "command,status,message";
  for (const FieldDef& f : *invocation_.fieldDefs) {
    out += ',';
    out += CsvField(f.name);
  }
  for (const std::string& key : valueKeys_) {
    out += ',';
    out += CsvField(key);
  }
  out += "\r\n";
  for (const Row& row : rows_) {
    out += CsvField(invocation_.command->name);
    out += ',';
    out += StatusName(row.status);
    out += ',';
    out += CsvField(row.message);
    for (const std::string& text : row.fields) {
      out += ',';
      out += CsvField(text);
    }
    for (const std::string& key : valueKeys_) {
      out += ",";
      for (const auto& [k, v] : row.values)
        if (k == key) {
          out += ExactNumberText(v);
          break;
        }
    }
    out += "\r\n";
  }
  return out;
}
