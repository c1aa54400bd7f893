#include "main_window/status_bar.h"

namespace rtceval {

StatusBar::StatusBar() : panels_{"评估板状态", "", "当前器件", "", "串口", "", "系统时间", ""} {}

int StatusBar::width(int n) {
  static constexpr std::array<int, kPanels> kWidths{1050, 2800, 880, 700, 500, 400, 880, 1080};
  return kWidths.at(static_cast<std::size_t>(n - 1));
}

}  // namespace rtceval
