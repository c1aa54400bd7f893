#include "main_window/main_window.h"

#include <chrono>

#include "board_link/connect_dialog.h"
#include "board_link/reply_dispatcher.h"
#include "main_window/sub_forms.h"
#include "platform/pc_clock.h"
#include "platform/serial_port.h"
#include "register_editors/register_map.h"
#include "time_alarms/set_time_dialog.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis TIMER1_INTERVAL = 200ms;
constexpr Millis TIMER2_INTERVAL = 2000ms;
constexpr Millis TIMER3_INTERVAL = 1000ms;
constexpr Millis TIMER4_INTERVAL = 50ms;

}  // namespace

// Marks one handled event: the view redraws when it ends, and dialogs closed during it are freed
// once no event is running any more.
class MainWindow::Scope {
 public:
  explicit Scope(MainWindow& w) : w_(w) { ++w_.scopeDepth_; }
  ~Scope() {
    --w_.scopeDepth_;
    w_.notify();
    if (w_.scopeDepth_ == 0) w_.retired_.clear();
  }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

 private:
  MainWindow& w_;
};

// Timers whose ticks run as events of this window.
class MainWindow::ScopedTimerFactory : public TimerFactory {
 public:
  ScopedTimerFactory(MainWindow& w, TimerFactory& inner) : w_(w), inner_(inner) {}
  std::unique_ptr<Timer> createTimer() override {
    return std::make_unique<ScopedTimer>(w_, inner_.createTimer());
  }

 private:
  class ScopedTimer : public Timer {
   public:
    ScopedTimer(MainWindow& w, std::unique_ptr<Timer> inner) : w_(w), inner_(std::move(inner)) {}
    void setInterval(Millis interval) override { inner_->setInterval(interval); }
    Millis interval() const override { return inner_->interval(); }
    void setEnabled(bool enabled) override { inner_->setEnabled(enabled); }
    bool isEnabled() const override { return inner_->isEnabled(); }
    void setTickHandler(std::function<void()> handler) override {
      inner_->setTickHandler([this, handler = std::move(handler)] {
        Scope scope(w_);
        handler();
      });
    }

   private:
    MainWindow& w_;
    std::unique_ptr<Timer> inner_;
  };

  MainWindow& w_;
  TimerFactory& inner_;
};

// Message boxes that first let the view catch up, so the window behind a box is current.
class MainWindow::FlushingDialogs : public Dialogs {
 public:
  FlushingDialogs(MainWindow& w, Dialogs& inner) : w_(w), inner_(inner) {}
  void message(const std::string& text, const std::string& title) override {
    w_.notify();
    inner_.message(text, title);
  }
  bool askYesNo(const std::string& text, const std::string& title) override {
    w_.notify();
    return inner_.askYesNo(text, title);
  }
  void beep() override { inner_.beep(); }

 private:
  MainWindow& w_;
  Dialogs& inner_;
};

MainWindow::MainWindow(SerialPort& port, TimerFactory& timers, Dialogs& dialogs,
                       const PcClock& pcClock)
    : port_(port),
      pcClock_(pcClock),
      timers_(std::make_unique<ScopedTimerFactory>(*this, timers)),
      dialogs_(std::make_unique<FlushingDialogs>(*this, dialogs)),
      timer1_(timers_->createTimer()),
      timer2_(timers_->createTimer()),
      timer3_(timers_->createTimer()),
      timer4_(timers_->createTimer()),
      link_(port, *timer2_, controls_.StatusBar1, *dialogs_, profile_),
      search_(link_, *timer1_, controls_.StatusBar1),
      commands_(link_, profile_, registers_, records_),
      sequencer_(*timer4_, commands_, profile_) {
  timer1_->setInterval(TIMER1_INTERVAL);
  timer2_->setInterval(TIMER2_INTERVAL);
  timer3_->setInterval(TIMER3_INTERVAL);
  timer4_->setInterval(TIMER4_INTERVAL);
  timer1_->setTickHandler([this] { Timer1_Tick(); });
  timer2_->setTickHandler([this] { Timer2_Tick(); });
  timer3_->setTickHandler([this] { Timer3_Tick(); });
  timer4_->setTickHandler([this] { Timer4_Tick(); });
  timer1_->setEnabled(true);
  port_.setReceiveHandler([this](std::span<const std::uint8_t> chunk) {
    Scope scope(*this);
    link_.OnReceived(chunk);
  });
  link_.setReplyHandler([this] {
    ReplyContext ctx{link_.state(), registers_, profile_, *this};
    ParseReply(ctx);
  });
}

MainWindow::~MainWindow() {
  port_.setReceiveHandler({});
  changed_ = nullptr;
}

void MainWindow::notify() {
  if (changed_) changed_();
}

void MainWindow::Form_Load() {
  Scope scope(*this);
  for (MenuId id : {MenuId::READTIME, MenuId::SETTIME, MenuId::STATUS, MenuId::MFUNCTION})
    controls_.menu(id).enabled = false;
  controls_.Check1.enabled = false;
  controls_.Check2.enabled = false;
  profile_ = DeviceProfile{};
  openSubForm_ = SubForm::NONE;
  controls_.colours = IndicatorColours{};

  // The PC's date with each number in the sign place of a non-negative number, and the weekday
  // counted from Sunday = 1.
  const PcDate d = pcClock_.today();
  const auto num = [](int v) { return " " + std::to_string(v); };
  controls_.LabDate.caption =
      num(d.year) + "年" + num(d.month) + "月" + num(d.day) + "日 星期" + num(d.weekday + 1);

  link_.state().PortNo = PortSearch::FIRST_PORT;
  search_.Auto_Dect_Brd();
  for (ButtonControl& b : controls_.buttons) b.visible = false;
  link_.state().RecvCount = 0;
}

void MainWindow::Form_Unload() {
  Scope scope(*this);
  timer1_->setEnabled(false);
  timer2_->setEnabled(false);
  timer3_->setEnabled(false);
  timer4_->setEnabled(false);
  unloadSubForm();
  link_.ClosePort();
}

void MainWindow::MenuClick(MenuId id) {
  Scope scope(*this);
  const MenuControl& item = controls_.menu(id);
  if (!item.enabled || (item.parent && !controls_.menu(*item.parent).enabled)) return;
  for (const DeviceModel& model : DeviceModels()) {
    if (std::string_view(item.name) == model.name) {
      selectDevice(model);
      return;
    }
  }
  if (id == MenuId::READTIME) {
    commands_.CmdReadTime();
  } else if (item.subForm >= 0) {
    Load_Sub_Form(item.subForm);
  }
}

void MainWindow::Load_Sub_Form(int n) {
  if (openSubForm_ >= 0 && openSubForm_ <= SubForm::LAST) unloadSubForm();
  switch (n) {
    case SubForm::frmComm: {
      auto dialog =
          std::make_unique<ConnectDialog>(link_, controls_.StatusBar1, *dialogs_, *timers_);
      dialog->Form_Load();
      subForm_ = std::move(dialog);
      break;
    }
    case SubForm::frmTime: {
      auto dialog = std::make_unique<SetTimeDialog>(records_.NewTime, sequencer_, *dialogs_,
                                                    [this] { unloadSubForm(); });
      dialog->Form_Load();
      subForm_ = std::move(dialog);
      break;
    }
    default:
      break;  // dialogs that do not exist yet show nothing
  }
  if (subForm_) ++subFormGeneration_;
  openSubForm_ = n;
}

void MainWindow::unloadSubForm() {
  if (subForm_) {
    subForm_->Unload();
    retired_.push_back(std::move(subForm_));
    ++subFormGeneration_;
  }
}

ConnectDialog* MainWindow::connectDialog() {
  return dynamic_cast<ConnectDialog*>(subForm_.get());
}

SetTimeDialog* MainWindow::setTimeDialog() {
  return dynamic_cast<SetTimeDialog*>(subForm_.get());
}

void MainWindow::RunEvent(const std::function<void()>& handler) {
  Scope scope(*this);
  handler();
}

void MainWindow::SubForm_Closed() {
  Scope scope(*this);
  unloadSubForm();
}

void MainWindow::Comm_Option_Click(int portNo) {
  Scope scope(*this);
  if (ConnectDialog* dialog = connectDialog()) dialog->Option_Click(portNo);
}

void MainWindow::Comm_Command1_Click() {
  Scope scope(*this);
  if (ConnectDialog* dialog = connectDialog()) dialog->Command1_Click();
}

void MainWindow::setCheck1(bool checked) {
  controls_.Check1.checked = checked;
}

void MainWindow::setCheck2(bool checked) {
  controls_.Check2.checked = checked;
  timer3_->setEnabled(checked);
}

void MainWindow::Check1_Click(bool checked) {
  Scope scope(*this);
  if (controls_.Check1.enabled) setCheck1(checked);
}

void MainWindow::Check2_Click(bool checked) {
  Scope scope(*this);
  if (controls_.Check2.enabled) setCheck2(checked);
}

}  // namespace rtceval
