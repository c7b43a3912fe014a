#pragma once
// A small JSON reader for the tests of quor-cli's output, written from RFC 8259 and not
// sharing code with the writer: objects keep their keys in order, numbers keep their
// text so that they can be read back as long double.
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace json_reader {

struct Value {
  enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
  bool boolean = false;
  std::string text;  // a string's characters, a number's digits
  std::vector<Value> items;
  std::vector<std::pair<std::string, Value>> members;

  const Value& operator[](const std::string& key) const {
    for (const auto& [k, v] : members)
      if (k == key) return v;
    throw std::out_of_range("no member " + key);
  }
  bool Has(const std::string& key) const {
    for (const auto& m : members)
      if (m.first == key) return true;
    return false;
  }
  long double AsNumber() const { return std::strtold(text.c_str(), nullptr); }
};

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}
  Value Document() {
    Value v = Parse();
    Blank();
    if (i_ != s_.size()) Fail("text after the value");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error("JSON: " + what + " at " + std::to_string(i_));
  }
  void Blank() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
      ++i_;
  }
  bool Take(char c) {
    Blank();
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected ") + c);
  }
  bool Word(const char* w) {
    const std::string word(w);
    if (s_.compare(i_, word.size(), word) != 0) return false;
    i_ += word.size();
    return true;
  }
  static void PutUtf8(std::string& out, unsigned c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  std::string String() {
    Expect('"');
    std::string out;
    while (i_ < s_.size() && s_[i_] != '"') {
      const unsigned char c = static_cast<unsigned char>(s_[i_++]);
      if (c < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (i_ == s_.size()) Fail("unfinished escape");
      const char e = s_[i_++];
      switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          if (i_ + 4 > s_.size()) Fail("short \\u escape");
          PutUtf8(out, static_cast<unsigned>(std::stoul(s_.substr(i_, 4), nullptr, 16)));
          i_ += 4;
          break;
        }
        default: Fail("unknown escape");
      }
    }
    if (i_ == s_.size()) Fail("unfinished string");
    ++i_;
    return out;
  }
  Value Parse() {
    Blank();
    if (i_ == s_.size()) Fail("no value");
    Value v;
    const char c = s_[i_];
    if (c == '{') {
      v.kind = Value::Object;
      ++i_;
      if (Take('}')) return v;
      do {
        Blank();
        std::string key = String();
        Expect(':');
        v.members.emplace_back(std::move(key), Parse());
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      v.kind = Value::Array;
      ++i_;
      if (Take(']')) return v;
      do v.items.push_back(Parse());
      while (Take(','));
      Expect(']');
    } else if (c == '"') {
      v.kind = Value::String;
      v.text = String();
    } else if (Word("true") || Word("false")) {
      v.kind = Value::Bool;
      v.boolean = s_[i_ - 1] == 'e' && s_[i_ - 2] == 'u';
    } else if (Word("null")) {
      v.kind = Value::Null;
    } else {
      // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
      const std::size_t start = i_;
      auto digits = [&] {
        const std::size_t from = i_;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
        return i_ > from;
      };
      if (s_[i_] == '-') ++i_;
      if (i_ < s_.size() && s_[i_] == '0') ++i_;
      else if (!digits()) Fail("malformed number");
      if (i_ < s_.size() && s_[i_] == '.' && (++i_, !digits())) Fail("malformed fraction");
      if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
        ++i_;
        if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
        if (!digits()) Fail("malformed exponent");
      }
      v.kind = Value::Number;
      v.text = s_.substr(start, i_ - start);
    }
    return v;
  }

  const std::string& s_;
  std::size_t i_ = 0;
};

inline Value Parse(const std::string& text) { return Parser(text).Document(); }

}  // namespace json_reader
