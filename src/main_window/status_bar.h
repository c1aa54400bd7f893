#pragma once

#include <array>
#include <string>

namespace rtceval {

// The main window's eight-panel status bar. Panels are numbered 1 to 8 as the user reads them:
// odd panels are fixed captions, even panels carry values.
class StatusBar {
 public:
  static constexpr int kPanels = 8;
  static constexpr int kLinkPanel = 2;    // progress and result of the last request
  static constexpr int kDevicePanel = 4;  // selected model
  static constexpr int kPortPanel = 6;    // serial port in use
  static constexpr int kTimePanel = 8;    // the PC's time of day

  StatusBar();
  const std::string& panel(int n) const { return panels_.at(static_cast<std::size_t>(n - 1)); }
  void setPanel(int n, std::string text) {
    panels_.at(static_cast<std::size_t>(n - 1)) = std::move(text);
  }
  // Panel widths in twips.
  static int width(int n);

 private:
  std::array<std::string, kPanels> panels_;
};

}  // namespace rtceval
