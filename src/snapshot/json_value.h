#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rtceval {

// A JSON value as a strict reader finds it. Numbers are kept as doubles; objects keep their
// members by name (a name twice is an error of the text, not a value).
struct JsonValue;
using JsonObject = std::map<std::string, JsonValue, std::less<>>;
using JsonArray = std::vector<JsonValue>;

struct JsonValue {
  std::variant<std::nullptr_t, bool, double, std::string, JsonArray, JsonObject> data;

  const std::string* string() const { return std::get_if<std::string>(&data); }
  const double* number() const { return std::get_if<double>(&data); }
  const JsonArray* array() const { return std::get_if<JsonArray>(&data); }
  const JsonObject* object() const { return std::get_if<JsonObject>(&data); }
};

// Reads one JSON text (RFC 8259: one value, whitespace around it, nothing after it). Nesting is
// limited so that a hostile file cannot exhaust the stack. On an error, `error` says where:
// "第 L 行第 C 列".
struct JsonParse {
  std::optional<JsonValue> value;
  std::string error;
};
JsonParse parseJson(std::string_view text);

// `text` as a JSON string literal with its quotes; UTF-8 passes through, control characters,
// quotes and backslashes are escaped.
std::string jsonQuoted(std::string_view text);

}  // namespace rtceval
