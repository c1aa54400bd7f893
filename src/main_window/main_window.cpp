#include "main_window/main_window.h"

#include <chrono>

#include "connection/connection_dialogs.h"
#include "core/value_codecs.h"
#include "main_window/dialog_table.h"
#include "platform/desktop.h"
#include "platform/pc_clock.h"
#include "platform/serial_port.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis kMainInterval = 200ms;
constexpr Millis kMonitorInterval = 1000ms;
// A box posted from the receive path opens on the next pass of the event loop.
constexpr Millis kNoticeDelay = 1ms;
constexpr Millis kWriteStepInterval = 50ms;
}  // namespace

MainWindow::MainWindow(SerialPort& port, TimerFactory& timers, const MonotonicClock& clock,
                       MessageBoxes& messageBoxes, const PcClock& pcClock, Desktop& desktop)
    : port_(port),
      clock_(clock),
      pcClock_(pcClock),
      desktop_(desktop),
      events_(timers, messageBoxes),
      mainTimer_(events_.timers().createTimer()),
      monitorTimer_(events_.timers().createTimer()),
      writeTimer_(events_.timers().createTimer()),
      overflowNotice_(events_.timers().createTimer()),
      link_(port, events_.timers(), profile_),
      search_(link_, *mainTimer_),
      reconnect_(link_, port, desktop, events_.timers()),
      commands_(link_, profile_, registers_, records_),
      sequencer_(*writeTimer_, commands_, profile_),
      launcher_(desktop, events_.messageBoxes()),
      host_(events_, allDialogs(), dialogContext()) {
  mainTimer_->setInterval(kMainInterval);
  monitorTimer_->setInterval(kMonitorInterval);
  writeTimer_->setInterval(kWriteStepInterval);
  mainTimer_->setTickHandler([this] { mainTick(); });
  monitorTimer_->setTickHandler([this] { monitorTick(); });
  writeTimer_->setTickHandler([this] { sequencer_.tick(); });
  overflowNotice_->setInterval(kNoticeDelay);
  overflowNotice_->setTickHandler([this] { showOverflow(); });
  for (const DialogRow& row : allDialogs())
    if (row.kind == WindowKind::Tool)
      toolHosts_.emplace_back(row.number,
                              std::make_unique<DialogHost>(events_, allDialogs(), dialogContext()));
  mainTimer_->setEnabled(true);
  events_.setOutermostEnded([this] {
    host_.freeClosed();
    for (auto& [number, tool] : toolHosts_) tool->freeClosed();
  });
  port_.setReceiveHandler([this](std::span<const std::uint8_t> chunk) {
    WindowEvents::Scope scope(events_);
    link_.onReceived(chunk);
  });
  link_.setListener([this](const LinkEvent& event) { onLinkEvent(event); });
  port_.setLostHandler([this] {
    WindowEvents::Scope scope(events_);
    onDeviceLost();
  });
  // The user choosing a port by hand goes first.
  reconnect_.setHold(
      [this] { return host_.current() && host_.OpenSubForm() == sub_form::frmComm; });
}

MainWindow::~MainWindow() {
  port_.setLostHandler({});
  port_.setReceiveHandler({});
  events_.setRedraw({});
}

void MainWindow::Form_Load() {
  WindowEvents::Scope scope(events_);
  for (MenuControl& m : controls_.menus)
    if (m.needsModel) m.enabled = false;
  controls_.autoReadTime.enabled = false;
  controls_.autoMonitor.enabled = false;
  profile_ = DeviceProfile{};
  controls_.colours = IndicatorColours{};

  // The PC's date with each number in the sign place of a non-negative number, and the weekday
  // in the words a chip read shows it in (a number counted from Sunday = 1 would read as the
  // next day: "星期 5" is Friday to a Chinese reader).
  const PcDate d = pcClock_.today();
  const auto num = [](int v) { return " " + std::to_string(v); };
  controls_.dateLabel.caption =
      num(d.year) + "年" + num(d.month) + "月" + num(d.day) + "日 星期" + weekdayName(d.weekday);

  link_.setPortNo(kFirstPort);
  search_.Auto_Dect_Brd();
  for (ButtonControl& b : controls_.buttons) b.visible = false;
  link_.discardReply();
}

void MainWindow::Form_Unload() {
  WindowEvents::Scope scope(events_);
  mainTimer_->setEnabled(false);
  monitorTimer_->setEnabled(false);
  writeTimer_->setEnabled(false);
  overflowNotice_->setEnabled(false);
  reconnect_.stop();
  link_.stopResponseTimeout();
  host_.close();
  for (auto& [number, tool] : toolHosts_) tool->close();
  link_.closePort();
}

void MainWindow::menuClick(MenuId id) {
  menuClick(controls_.menu(id).name);
}

void MainWindow::menuClick(std::string_view name) {
  WindowEvents::Scope scope(events_);
  const MenuControl& item = controls_.menu(name);
  if (!item.enabled || (item.parent && !controls_.menu(*item.parent).enabled)) return;
  if (item.parent == MenuId::MDEVICE) {
    Device_Sel(item.name, DeviceClick::Yes);
  } else if (item.id == MenuId::READTIME) {
    commands_.CmdReadTime();
  } else if (const DialogRow* window = item.window) {
    if (window->needsFile && !launcher_.findOrReport(window->needsFile)) return;
    if (window->kind == WindowKind::Tool)
      openToolWindow(window->number);
    else
      host_.Load_Sub_Form(window->number);
  }
}

void MainWindow::introLinkClicked() {
  WindowEvents::Scope scope(events_);
  launcher_.openIntroduction(controls_.statusBar.panel(StatusBar::kDevicePanel));
}

void MainWindow::datasheetLinkClicked() {
  WindowEvents::Scope scope(events_);
  launcher_.openDatasheet(controls_.statusBar.panel(StatusBar::kDevicePanel));
}

void MainWindow::noteLinkClicked(int index) {
  WindowEvents::Scope scope(events_);
  if (index < 0 || index >= kApplicationNoteCount) return;
  launcher_.openApplicationNote(controls_.noteLinks[static_cast<std::size_t>(index)].caption);
}

void MainWindow::pictureClicked() {
  WindowEvents::Scope scope(events_);
  launcher_.openHomePage();
}

DialogContext MainWindow::dialogContext() {
  return DialogContext{link_,      commands_,        sequencer_, profile_,
                       registers_, records_,         reads_,     events_.messageBoxes(),
                       desktop_,   events_.timers(), pcClock_,   clock_,
                       {}};
}

DialogHost* MainWindow::toolHost(int number) {
  for (auto& [toolNumber, tool] : toolHosts_)
    if (toolNumber == number) return tool.get();
  return nullptr;
}

std::vector<DialogHost*> MainWindow::toolHosts() {
  std::vector<DialogHost*> hosts;
  for (auto& [number, tool] : toolHosts_) hosts.push_back(tool.get());
  return hosts;
}

void MainWindow::openToolWindow(int number) {
  DialogHost* tool = toolHost(number);
  if (!tool) return;
  // A tool window already open keeps what it holds (a running measurement, the lines seen) and
  // comes to the front instead of starting afresh.
  if (tool->current())
    tool->raise();
  else
    tool->Load_Sub_Form(number);
}

void MainWindow::setAutoReadTime(bool checked) {
  controls_.autoReadTime.checked = checked;
}

void MainWindow::setAutoMonitor(bool checked) {
  if (checked && !controls_.autoMonitor.checked)
    announcements_.monitorStarted(registers_.RegSR, layoutOf(profile_.Is1208Family));
  controls_.autoMonitor.checked = checked;
  monitorTimer_->setEnabled(checked);
}

void MainWindow::autoReadTimeClicked(bool checked) {
  WindowEvents::Scope scope(events_);
  if (controls_.autoReadTime.enabled) setAutoReadTime(checked);
}

void MainWindow::autoMonitorClicked(bool checked) {
  WindowEvents::Scope scope(events_);
  if (controls_.autoMonitor.enabled) setAutoMonitor(checked);
}

}  // namespace rtceval
