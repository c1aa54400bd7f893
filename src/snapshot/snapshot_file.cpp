#include "snapshot/snapshot_file.h"

#include <set>

#include "core/value_codecs.h"
#include "snapshot/json_value.h"

namespace rtceval {
namespace {

constexpr const char* kFormat = "rtceval-register-snapshot";
constexpr double kFormatVersion = 1;
constexpr const char* kCorrupt = "快照文件已损坏或不完整：";
// A snapshot of the largest model is about 3 KB; anything far larger is not one.
constexpr std::size_t kMaxFileBytes = 1 << 20;

std::string hexField(std::uint8_t b) {
  return "0x" + HexByte(b);
}

// "0x" and exactly two hexadecimal digits, either case.
std::optional<std::uint8_t> byteField(const JsonValue* v) {
  const std::string* s = v ? v->string() : nullptr;
  if (!s || s->size() != 4 || (*s)[0] != '0' || ((*s)[1] != 'x' && (*s)[1] != 'X'))
    return std::nullopt;
  unsigned value = 0;
  for (std::size_t i = 2; i < 4; ++i) {
    const char c = (*s)[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else
      return std::nullopt;
    value = value * 16 + digit;
  }
  return static_cast<std::uint8_t>(value);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

const JsonValue* member(const JsonObject& object, std::string_view name) {
  const auto it = object.find(name);
  return it == object.end() ? nullptr : &it->second;
}

SnapshotLoad refuse(std::string reason) {
  return {std::nullopt, kCorrupt + reason};
}

}  // namespace

std::string toJson(const Snapshot& s) {
  std::string out = "{\n";
  out += "  \"format\": " + jsonQuoted(kFormat) + ",\n";
  out += "  \"formatVersion\": 1,\n";
  out += "  \"model\": " + jsonQuoted(s.model) + ",\n";
  out += "  \"time\": " + jsonQuoted(s.takenAt) + ",\n";
  out += "  \"programVersion\": " + jsonQuoted(s.programVersion) + ",\n";
  out += "  \"registers\": [";
  for (std::size_t i = 0; i < s.registers.size(); ++i) {
    const SnapshotRegister& r = s.registers[i];
    out += i ? ",\n" : "\n";
    out += "    {\"name\": " + jsonQuoted(r.name) + ", \"address\": \"" + hexField(r.address) +
           "\", \"value\": \"" + hexField(r.value) + "\"}";
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
  if (text.size() > kMaxFileBytes) return {std::nullopt, "文件太大，不是寄存器快照文件"};
  const JsonParse parsed = parseJson(text);
  if (!parsed.value) return refuse("不是有效的 JSON，" + parsed.error);
  const JsonObject* top = parsed.value->object();
  const JsonValue* format = top ? member(*top, "format") : nullptr;
  if (!format || !format->string() || *format->string() != kFormat)
    return {std::nullopt, "这不是寄存器快照文件"};
  const JsonValue* version = member(*top, "formatVersion");
  if (!version || !version->number()) return refuse("缺少格式版本");
  if (*version->number() != kFormatVersion) return {std::nullopt, "不支持这个版本的快照文件"};

  Snapshot s;
  const auto field = [&](const char* name, std::string& into) {
    const JsonValue* v = member(*top, name);
    if (!v || !v->string()) return false;
    into = *v->string();
    return true;
  };
  if (!field("model", s.model)) return refuse("缺少器件型号");
  if (!field("time", s.takenAt)) return refuse("缺少快照时间");
  if (!field("programVersion", s.programVersion)) return refuse("缺少程序版本");
  const std::vector<SnapshotSlot> slots = snapshotSlots(s.model);
  if (slots.empty()) return {std::nullopt, "快照文件中的器件型号“" + s.model + "”未知"};

  const JsonValue* list = member(*top, "registers");
  if (!list || !list->array()) return refuse("缺少寄存器表");
  // Each register of the model exactly once, at its address; in the model's order whatever the
  // file's order.
  s.registers.resize(slots.size());
  std::set<std::size_t> seen;
  for (const JsonValue& entry : *list->array()) {
    const JsonObject* reg = entry.object();
    const JsonValue* name = reg ? member(*reg, "name") : nullptr;
    if (!name || !name->string()) return refuse("寄存器没有名称");
    const std::string& n = *name->string();
    std::size_t index = slots.size();
    for (std::size_t i = 0; i < slots.size(); ++i)
      if (slots[i].name == n) index = i;
    if (index == slots.size()) return refuse(s.model + " 没有寄存器“" + n + "”");
    if (!seen.insert(index).second) return refuse("寄存器 " + n + " 出现了两次");
    const auto address = byteField(member(*reg, "address"));
    if (!address || *address != slots[index].address)
      return refuse("寄存器 " + n + " 的地址应为 " + hexField(slots[index].address));
    const auto value = byteField(member(*reg, "value"));
    if (!value) return refuse("寄存器 " + n + " 的值无效");
    s.registers[index] = {n, *address, *value};
  }
  for (std::size_t i = 0; i < slots.size(); ++i)
    if (!seen.count(i)) return refuse("缺少寄存器 " + slots[i].name);

  const std::size_t size = eepromSizeOf(s.model);
  const JsonValue* eeprom = member(*top, "eeprom");
  if (size == 0) {
    if (eeprom) return refuse(s.model + " 没有 EEPROM，文件中却有 EEPROM 数据");
    return {std::move(s), {}};
  }
  if (!eeprom || !eeprom->string()) return refuse("缺少 EEPROM 数据");
  const std::string& digits = *eeprom->string();
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
