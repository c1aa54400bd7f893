#include "line_monitor/line_export.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <numeric>
#include <vector>

#include "core/value_codecs.h"

namespace rtceval {
namespace {

constexpr const char* kOutgoing = "发送";
constexpr const char* kIncoming = "接收";
// Spreadsheets read a CSV file as UTF-8 only when it starts with the byte order mark.
constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

void appendCsvField(std::string& out, const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void appendRow(std::string& out, std::span<const std::string> fields, ExportFormat format) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += format == ExportFormat::Csv ? ',' : '\t';
    if (format == ExportFormat::Csv)
      appendCsvField(out, fields[i]);
    else
      out += fields[i];
  }
  out += format == ExportFormat::Csv ? "\r\n" : "\n";
}

}  // namespace

std::string wallClockText(int msOfDay) {
  char text[32];
  const int ms = msOfDay % 1000;
  const int s = msOfDay / 1000;
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", s / 3600 % 24, s / 60 % 60, s % 60, ms);
  return text;
}

std::string hexText(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    if (!text.empty()) text += ' ';
    text += HexByte(static_cast<std::uint8_t>(c));
  }
  return text;
}

std::string columnText(const MonitorLine& line, int column) {
  switch (column) {
    case 0:
      return std::to_string(line.sinceOpenMs);
    case 1:
      return wallClockText(line.msOfDay);
    case 2:
      return line.outgoing ? kOutgoing : kIncoming;
    case 3:
      return hexText(line.bytes);
    case 4:
      return line.meaning;
    default:
      return {};
  }
}

std::string exportLines(const LineRing& lines, std::span<const std::size_t> rows,
                        ExportFormat format) {
  std::string out;
  std::vector<std::string> fields(kLineColumnCount);
  if (format == ExportFormat::Csv) {
    out += kUtf8Bom;
    std::copy(std::begin(kLineColumns), std::end(kLineColumns), fields.begin());
    appendRow(out, fields, format);
  }
  for (const std::size_t row : rows) {
    if (row >= lines.size()) continue;
    for (int c = 0; c < kLineColumnCount; ++c)
      fields[static_cast<std::size_t>(c)] = columnText(lines[row], c);
    appendRow(out, fields, format);
  }
  return out;
}

std::string exportAll(const LineRing& lines, ExportFormat format) {
  std::vector<std::size_t> rows(lines.size());
  std::iota(rows.begin(), rows.end(), std::size_t{0});
  return exportLines(lines, rows, format);
}

ExportFormat formatForPath(const std::string& path) {
  constexpr std::string_view kCsv = ".csv";
  if (path.size() < kCsv.size()) return ExportFormat::Text;
  const std::string tail = path.substr(path.size() - kCsv.size());
  const bool csv = std::equal(tail.begin(), tail.end(), kCsv.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
  return csv ? ExportFormat::Csv : ExportFormat::Text;
}

}  // namespace rtceval
