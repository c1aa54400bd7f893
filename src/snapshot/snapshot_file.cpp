#include "snapshot/snapshot_file.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/value_codecs.h"

namespace rtceval {
namespace {

using Json = nlohmann::json;

constexpr const char* kFormat = "rtceval-register-snapshot";
constexpr double kFormatVersion = 1;
constexpr const char* kCorrupt = "快照文件已损坏或不完整：";
// A snapshot nests three deep; a hostile file gets no further than this.
constexpr std::size_t kMaxDepth = 32;

// The reader's words for what it found wrong, by the phrase its message contains; the first
// phrase found names the fault.
constexpr std::array<std::pair<const char*, const char*>, 16> kSyntaxFaults{{
    {"control character", "字符串中有控制字符"},
    {"forbidden character after backslash", "无效的转义"},
    {"must be followed by 4 hex digits", "不完整的转义"},
    {"surrogate", "不成对的代理项"},
    {"missing closing quote", "字符串没有结束"},
    {"ill-formed UTF-8", "无效的 UTF-8 字符"},
    {"invalid number", "无效的数字"},
    {"number overflow", "无效的数字"},
    {"invalid literal", "无效的值"},
    {"unexpected end of input", "意外的结尾"},
    {"expected end of input", "多余的内容"},
    {"parsing object key", "应为成员名"},
    {"parsing object separator", "应为冒号"},
    {"parsing object", "应为逗号或右花括号"},
    {"parsing array", "应为逗号或右方括号"},
    {"parsing value", "无效的值"},
}};

// Checks the text as JSON before anything is built from it: one value and nothing after it, no
// member name twice in an object, no deeper nesting than a snapshot could need. `fault` says
// what is wrong, with the line and column where the reader stopped.
class SyntaxCheck : public nlohmann::json_sax<Json> {
 public:
  explicit SyntaxCheck(std::string_view text) : text_(text) {}
  const std::string& fault() const { return fault_; }

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return open(true); }
  bool end_object() override { return close(); }
  bool start_array(std::size_t) override { return open(false); }
  bool end_array() override { return close(); }
  bool key(string_t& name) override {
    if (names_.back().insert(name).second) return true;
    fault_ = "重复的成员名“" + name + "”";
    return false;
  }
  bool parse_error(std::size_t read, const std::string&,
                   const nlohmann::detail::exception& e) override {
    const std::string_view message = e.what();
    fault_ = "语法错误";
    for (const auto& [phrase, fault] : kSyntaxFaults)
      if (message.find(phrase) != std::string_view::npos) {
        fault_ = fault;
        break;
      }
    // The reader counts the character it stopped at as read.
    fault_ += where(read > 0 ? read - 1 : 0);
    return false;
  }

 private:
  bool open(bool object) {
    if (depth_ == kMaxDepth) {
      fault_ = "嵌套过深";
      return false;
    }
    ++depth_;
    if (object) names_.emplace_back();
    objects_.push_back(object);
    return true;
  }
  bool close() {
    --depth_;
    if (objects_.back()) names_.pop_back();
    objects_.pop_back();
    return true;
  }
  std::string where(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    const std::string_view before = text_.substr(0, offset);
    const std::size_t lineStart = before.rfind('\n');
    const std::size_t line =
        1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t column =
        lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
    return "（第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列）";
  }

  std::string_view text_;
  std::string fault_;
  std::size_t depth_ = 0;
  std::vector<bool> objects_;
  std::vector<std::set<std::string>> names_;
};

// `text` as a JSON string with its quotes; UTF-8 passes through.
std::string quoted(const std::string& text) {
  return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "0x" and exactly two hexadecimal digits, either case.
std::optional<std::uint8_t> byteField(const Json* v) {
  if (!v || !v->is_string()) return std::nullopt;
  const std::string& s = v->get_ref<const std::string&>();
  if (s.size() != 4 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X')) return std::nullopt;
  const int high = hexDigit(s[2]);
  const int low = hexDigit(s[3]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<std::uint8_t>(high * 16 + low);
}

const Json* member(const Json& object, const char* name) {
  const auto it = object.find(name);
  return it == object.end() ? nullptr : &*it;
}

const std::string* stringMember(const Json& object, const char* name) {
  const Json* v = member(object, name);
  return v && v->is_string() ? &v->get_ref<const std::string&>() : nullptr;
}

SnapshotLoad refuse(std::string reason) {
  return {std::nullopt, kCorrupt + reason};
}

}  // namespace

std::string toJson(const Snapshot& s) {
  std::string out = "{\n";
  out += "  \"format\": " + quoted(std::string(kFormat)) + ",\n";
  out += "  \"formatVersion\": 1,\n";
  out += "  \"model\": " + quoted(s.model) + ",\n";
  out += "  \"time\": " + quoted(s.takenAt) + ",\n";
  out += "  \"programVersion\": " + quoted(s.programVersion) + ",\n";
  out += "  \"registers\": [";
  for (std::size_t i = 0; i < s.registers.size(); ++i) {
    const SnapshotRegister& r = s.registers[i];
    out += i ? ",\n" : "\n";
    out += "    {\"name\": " + quoted(r.name) + ", \"address\": \"" + byteText(r.address) +
           "\", \"value\": \"" + byteText(r.value) + "\"}";
  }
  out += "\n  ]";
  if (!s.eeprom.empty()) {
    out += ",\n  \"eeprom\": \"";
    for (std::uint8_t b : s.eeprom) out += HexByte(b);
    out += "\"";
  }
  out += "\n}\n";
  return out;
}

SnapshotLoad fromJson(std::string_view text) {
  if (text.size() > kMaxSnapshotFileBytes) return {std::nullopt, kSnapshotFileTooLarge};
  SyntaxCheck check(text);
  if (!Json::sax_parse(text, &check)) return refuse("不是有效的 JSON，" + check.fault());
  const Json parsed = Json::parse(text, nullptr, false);
  if (parsed.is_discarded()) return refuse("不是有效的 JSON");
  const Json* top = parsed.is_object() ? &parsed : nullptr;
  const std::string* format = top ? stringMember(*top, "format") : nullptr;
  if (!format || *format != kFormat) return {std::nullopt, "这不是寄存器快照文件"};
  const Json* version = member(*top, "formatVersion");
  if (!version || !version->is_number()) return refuse("缺少格式版本");
  if (version->get<double>() != kFormatVersion) return {std::nullopt, "不支持这个版本的快照文件"};

  Snapshot s;
  const auto field = [&](const char* name, std::string& into) {
    const std::string* v = stringMember(*top, name);
    if (v) into = *v;
    return v != nullptr;
  };
  if (!field("model", s.model)) return refuse("缺少器件型号");
  if (!field("time", s.takenAt)) return refuse("缺少快照时间");
  if (!field("programVersion", s.programVersion)) return refuse("缺少程序版本");
  const std::vector<SnapshotSlot> slots = snapshotSlots(s.model);
  if (slots.empty()) return {std::nullopt, "快照文件中的器件型号“" + s.model + "”未知"};

  const Json* list = member(*top, "registers");
  if (!list || !list->is_array()) return refuse("缺少寄存器表");
  // Each register of the model exactly once, at its address; in the model's order whatever the
  // file's order.
  s.registers.resize(slots.size());
  std::set<std::size_t> seen;
  for (const Json& entry : *list) {
    const std::string* name = entry.is_object() ? stringMember(entry, "name") : nullptr;
    if (!name) return refuse("寄存器没有名称");
    const std::string& n = *name;
    std::size_t index = slots.size();
    for (std::size_t i = 0; i < slots.size(); ++i)
      if (slots[i].name == n) index = i;
    if (index == slots.size()) return refuse(s.model + " 没有寄存器“" + n + "”");
    if (!seen.insert(index).second) return refuse("寄存器 " + n + " 出现了两次");
    const auto address = byteField(member(entry, "address"));
    if (!address || *address != slots[index].address)
      return refuse("寄存器 " + n + " 的地址应为 " + byteText(slots[index].address));
    const auto value = byteField(member(entry, "value"));
    if (!value) return refuse("寄存器 " + n + " 的值无效");
    s.registers[index] = {n, *address, *value};
  }
  for (std::size_t i = 0; i < slots.size(); ++i)
    if (!seen.count(i)) return refuse("缺少寄存器 " + slots[i].name);

  const std::size_t size = eepromSizeOf(s.model);
  const Json* eeprom = member(*top, "eeprom");
  if (size == 0) {
    if (eeprom) return refuse(s.model + " 没有 EEPROM，文件中却有 EEPROM 数据");
    return {std::move(s), {}};
  }
  if (!eeprom || !eeprom->is_string()) return refuse("缺少 EEPROM 数据");
  const std::string& digits = eeprom->get_ref<const std::string&>();
  if (digits.size() != size * 2)
    return refuse("EEPROM 数据应为 " + std::to_string(size * 2) + " 个十六进制数字，文件中有 " +
                  std::to_string(digits.size()) + " 个");
  s.eeprom.resize(size);
  for (std::size_t i = 0; i < size; ++i) {
    const int high = hexDigit(digits[2 * i]);
    const int low = hexDigit(digits[2 * i + 1]);
    if (high < 0 || low < 0) return refuse("EEPROM 数据中有非十六进制字符");
    s.eeprom[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return {std::move(s), {}};
}

}  // namespace rtceval
