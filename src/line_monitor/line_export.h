#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "line_monitor/line_ring.h"

namespace rtceval {

// The column captions of the line monitor, in column order.
inline constexpr const char* kLineColumns[] = {"毫秒", "时间", "方向", "字节", "含义"};
inline constexpr int kLineColumnCount = 5;

// The texts of a line's columns: ms since the window opened, wall-clock time "HH:MM:SS.mmm",
// "发送" or "接收", the bytes in upper-case hex, the meaning.
std::string columnText(const MonitorLine& line, int column);
std::string wallClockText(int msOfDay);
std::string hexText(const std::string& bytes);

enum class ExportFormat { Text, Csv };

// The lines at `rows` (positions in the ring, in the order given), one per line: tab-separated
// columns for text, a header and RFC 4180 quoting for CSV.
std::string exportLines(const LineRing& lines, std::span<const std::size_t> rows,
                        ExportFormat format);
// Every line the ring holds.
std::string exportAll(const LineRing& lines, ExportFormat format);

// CSV when the file name ends in ".csv" (any case), text otherwise.
ExportFormat formatForPath(const std::string& path);

}  // namespace rtceval
