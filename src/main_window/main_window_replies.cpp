#include "main_window/main_window.h"

#include "board_link/value_codecs.h"
#include "main_window/indicators.h"

namespace rtceval {

void MainWindow::setLinkStatus(const std::string& text) {
  controls_.StatusBar1.setPanel(StatusBar::LINK, text);
}

void MainWindow::beep() {
  dialogs_->beep();
}

void MainWindow::stopResponseTimeout() {
  timer2_->setEnabled(false);
}

void MainWindow::showTime(std::span<const std::uint8_t> data) {
  const DecodedTime decoded = ShowTime(data);
  chipTime_ = decoded.time;
  is24Hour_ = decoded.is24Hour;
  controls_.LabTime.caption = decoded.display.LabTime;
  controls_.LabDate.caption = decoded.display.LabDate;
  controls_.LabAM.enabled = decoded.display.LabAMEnabled;
  controls_.LabPM.enabled = decoded.display.LabPMEnabled;
}

void MainWindow::showBoardPort(int portNo) {
  controls_.StatusBar1.setPanel(StatusBar::PORT, std::to_string(portNo));
}

void MainWindow::closeConnectDialog() {
  if (connectDialog()) unloadSubForm();
}

void MainWindow::statusRegisterRead() {
  UpdateIndicators(controls_.colours, registers_.RegSR, profile_.Is1208Family);
}

// The control/status panel, the alarm editors and the EEPROM and user-register dialogs are not
// part of this window yet; until they are, their replies only update the register image and the
// status bar.
void MainWindow::refreshPanel() {}
void MainWindow::alarmRead(int, std::span<const std::uint8_t>) {}
void MainWindow::memoryRead(std::uint8_t) {}
void MainWindow::userRegistersRead(std::uint8_t, std::uint8_t) {}

}  // namespace rtceval
