#include "snapshot/json_value.h"

#include <charconv>
#include <cstdint>

namespace rtceval {
namespace {

constexpr int kMaxDepth = 32;
constexpr std::uint32_t kSurrogateFirst = 0xD800;
constexpr std::uint32_t kSurrogateSecond = 0xDC00;
constexpr std::uint32_t kSurrogateEnd = 0xE000;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  JsonParse run() {
    JsonParse out;
    skipBlanks();
    JsonValue v;
    if (value(v, 0)) {
      skipBlanks();
      if (pos_ == text_.size()) {
        out.value = std::move(v);
        return out;
      }
      fail("多余的内容");
    }
    out.error = error_;
    return out;
  }

 private:
  bool fail(const char* what) {
    if (!error_.empty()) return false;
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    error_ = std::string(what) + "（第 " + std::to_string(line) + " 行第 " +
             std::to_string(column) + " 列）";
    return false;
  }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }

  void skipBlanks() {
    while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
      ++pos_;
  }

  bool literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return fail("无效的值");
    pos_ += word.size();
    return true;
  }

  bool value(JsonValue& v, int depth) {
    if (depth > kMaxDepth) return fail("嵌套过深");
    switch (peek()) {
      case '{':
        return object(v, depth);
      case '[':
        return array(v, depth);
      case '"': {
        std::string s;
        if (!string(s)) return false;
        v.data = std::move(s);
        return true;
      }
      case 't':
        v.data = true;
        return literal("true");
      case 'f':
        v.data = false;
        return literal("false");
      case 'n':
        v.data = nullptr;
        return literal("null");
      default:
        return number(v);
    }
  }

  bool object(JsonValue& v, int depth) {
    ++pos_;
    JsonObject members;
    skipBlanks();
    if (peek() == '}') {
      ++pos_;
      v.data = std::move(members);
      return true;
    }
    for (;;) {
      skipBlanks();
      if (peek() != '"') return fail("应为成员名");
      std::string name;
      if (!string(name)) return false;
      if (members.count(name)) return fail("重复的成员名");
      skipBlanks();
      if (peek() != ':') return fail("应为冒号");
      ++pos_;
      skipBlanks();
      JsonValue member;
      if (!value(member, depth + 1)) return false;
      members.emplace(std::move(name), std::move(member));
      skipBlanks();
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      if (peek() == '}') {
        ++pos_;
        v.data = std::move(members);
        return true;
      }
      return fail("应为逗号或右花括号");
    }
  }

  bool array(JsonValue& v, int depth) {
    ++pos_;
    JsonArray items;
    skipBlanks();
    if (peek() == ']') {
      ++pos_;
      v.data = std::move(items);
      return true;
    }
    for (;;) {
      skipBlanks();
      JsonValue item;
      if (!value(item, depth + 1)) return false;
      items.push_back(std::move(item));
      skipBlanks();
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      if (peek() == ']') {
        ++pos_;
        v.data = std::move(items);
        return true;
      }
      return fail("应为逗号或右方括号");
    }
  }

  bool hex4(std::uint32_t& out) {
    if (pos_ + 4 > text_.size()) return fail("不完整的转义");
    const char* first = text_.data() + pos_;
    const auto r = std::from_chars(first, first + 4, out, 16);
    if (r.ec != std::errc{} || r.ptr != first + 4) return fail("无效的转义");
    pos_ += 4;
    return true;
  }

  static void appendUtf8(std::string& s, std::uint32_t c) {
    if (c < 0x80) {
      s += static_cast<char>(c);
    } else if (c < 0x800) {
      s += static_cast<char>(0xC0 | (c >> 6));
      s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      s += static_cast<char>(0xE0 | (c >> 12));
      s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      s += static_cast<char>(0xF0 | (c >> 18));
      s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  bool escape(std::string& s) {
    const char c = peek();
    ++pos_;
    switch (c) {
      case '"':
      case '\\':
      case '/':
        s += c;
        return true;
      case 'b':
        s += '\b';
        return true;
      case 'f':
        s += '\f';
        return true;
      case 'n':
        s += '\n';
        return true;
      case 'r':
        s += '\r';
        return true;
      case 't':
        s += '\t';
        return true;
      case 'u':
        break;
      default:
        --pos_;
        return fail("无效的转义");
    }
    std::uint32_t code = 0;
    if (!hex4(code)) return false;
    if (code >= kSurrogateFirst && code < kSurrogateSecond) {
      std::uint32_t low = 0;
      if (text_.substr(pos_, 2) != "\\u") return fail("不成对的代理项");
      pos_ += 2;
      if (!hex4(low)) return false;
      if (low < kSurrogateSecond || low >= kSurrogateEnd) return fail("不成对的代理项");
      code = 0x10000 + ((code - kSurrogateFirst) << 10) + (low - kSurrogateSecond);
    } else if (code >= kSurrogateSecond && code < kSurrogateEnd) {
      return fail("不成对的代理项");
    }
    appendUtf8(s, code);
    return true;
  }

  bool string(std::string& s) {
    ++pos_;
    for (;;) {
      if (atEnd()) return fail("字符串没有结束");
      const auto c = static_cast<unsigned char>(peek());
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return fail("字符串中有控制字符");
      ++pos_;
      if (c == '\\') {
        if (atEnd()) return fail("字符串没有结束");
        if (!escape(s)) return false;
      } else {
        s += static_cast<char>(c);
      }
    }
  }

  static bool digit(char c) { return c >= '0' && c <= '9'; }

  bool number(JsonValue& v) {
    // The grammar is checked here; from_chars then converts exactly what was checked.
    const std::size_t start = pos_;
    if (peek() == '-') ++pos_;
    if (peek() == '0') {
      ++pos_;
    } else if (digit(peek())) {
      while (digit(peek())) ++pos_;
    } else {
      return fail(atEnd() ? "意外的结尾" : "无效的值");
    }
    if (peek() == '.') {
      ++pos_;
      if (!digit(peek())) return fail("无效的数字");
      while (digit(peek())) ++pos_;
    }
    if (peek() == 'e' || peek() == 'E') {
      ++pos_;
      if (peek() == '+' || peek() == '-') ++pos_;
      if (!digit(peek())) return fail("无效的数字");
      while (digit(peek())) ++pos_;
    }
    double d = 0;
    const auto r = std::from_chars(text_.data() + start, text_.data() + pos_, d);
    if (r.ec != std::errc{}) return fail("无效的数字");
    v.data = d;
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
};

}  // namespace

JsonParse parseJson(std::string_view text) {
  return Reader(text).run();
}

std::string jsonQuoted(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      out += "\\u00";
      out += kDigits[c >> 4];
      out += kDigits[c & 0xF];
    } else {
      out += ch;
    }
  }
  out += '"';
  return out;
}

}  // namespace rtceval
