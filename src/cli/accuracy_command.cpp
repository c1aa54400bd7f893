#include <CLI/CLI.hpp>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "accuracy/accuracy_report.h"
#include "accuracy/accuracy_window.h"
#include "accuracy/edge_sampler.h"
#include "cli/chip_values.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "core/protocol.h"
#include "core/register_map.h"
#include "platform/event_pump.h"
#include "platform/files.h"

namespace rtceval::cli {
namespace {

using AccuracyTexts = AccuracyWindow::Texts;

// The window waits for the main window to find an unplugged board again; the command line has no
// such search, so a board that has not answered for this long is taken as gone.
constexpr std::chrono::seconds kSilenceLimit{60};

// The measurement on the session's link: the sampler's reads go out when the line is free and
// are known by their ticket; what it finds goes into the report.
class Measurement : private SampleLine, private SampleListener {
 public:
  Measurement(Session& session, const TrimSetting& trim, std::chrono::seconds interval)
      : session_(session), sampler_(*this, *this, session.seams().timers, session.seams().clock) {
    report_.clear(trim, session.layout());
    sampler_.setInterval(interval);
    observer_ = session.link().addFrameObserver([this](const LineFrame& frame) {
      if (frame.kind == LineFrame::Kind::Sent) sampler_.frameSent();
    });
    session.replyObserver = [this](const LinkEvent& event, bool accepted) {
      silentSince_.reset();
      tellSilent(false);
      if (event.request == StReadTime)
        sampler_.timeRead(event.ticket, accepted, session_.reads.time.time);
    };
    // The port stays open while the board is silent, so the sampler goes on sending into the
    // gap: the user is told as when the board is unplugged, once, and again when it answers.
    session.timeoutObserver = [this](const LinkEvent&) {
      const std::int64_t now = session_.seams().clock.elapsedMs();
      if (!silentSince_) silentSince_ = now;
      tellSilent(true);
      if (std::chrono::milliseconds(now - *silentSince_) >= kSilenceLimit) boardGone_ = true;
    };
  }
  ~Measurement() override {
    sampler_.stop();
    session_.replyObserver = {};
    session_.timeoutObserver = {};
    session_.link().removeFrameObserver(observer_);
  }
  Measurement(const Measurement&) = delete;
  Measurement& operator=(const Measurement&) = delete;

  // Measures for `span`, or until interrupted or the chip's clock is found stopped.
  void run(Millis span) {
    // The chip latches its time once the request's bytes are on the board: that share of a read's
    // round trip, from the sizes of the request (five payload bytes) and the reply.
    const auto requestBytes = static_cast<double>(protocol::kFrameOverhead + 5);
    const auto replyBytes =
        static_cast<double>(protocol::kFrameOverhead + timeBlock(session_.layout()).count);
    sampler_.start(requestBytes / (requestBytes + replyBytes));
    const std::unique_ptr<Timer> deadline = session_.seams().timers.createTimer();
    bool over = false;
    deadline->setTickHandler([&over] { over = true; });
    deadline->setInterval(span);
    deadline->setEnabled(true);
    session_.seams().pump.runUntil(
        [&] { return over || stopped_ || boardGone_ || session_.interrupted(); });
    deadline->setEnabled(false);
    sampler_.stop();
  }

  const AccuracyReport& report() const { return report_; }
  bool clockStopped() const { return stopped_; }
  // The board has not answered for kSilenceLimit.
  bool boardGone() const { return boardGone_; }

 private:
  bool portOpen() const override { return session_.link().isPortOpen(); }
  bool lineFree() const override { return session_.link().lineFree(); }
  RequestTicket readTime() override {
    return session_.link().request(requests::readTime(session_.layout()));
  }
  bool timeReadOnLine() const override { return session_.link().pendingRequest() == StReadTime; }
  void edgeFound(const EdgeSample& edge, bool afresh) override {
    if (afresh) report_.clear();
    report_.add(edge);
    sampler_.setRatePpm(report_.fit() ? report_.fit()->ppm : 0.0);
  }
  void timeChanged() override {
    report_.clear();
    session_.out().error(AccuracyTexts::kTimeChanged);
  }
  void paused() override { tellSilent(true); }
  void resumed() override { tellSilent(false); }
  // Says when the board goes away (the port closed, or no replies) and when it is back.
  void tellSilent(bool silent) {
    if (silent == silentSaid_) return;
    silentSaid_ = silent;
    session_.out().error(silent ? AccuracyTexts::kPaused : AccuracyTexts::kResumed);
  }
  // Said once: the measurement goes on, and the reason does not change while the line stays slow.
  void edgesMissed(std::chrono::duration<double, std::milli> roundTrip) override {
    if (slowLineSaid_) return;
    slowLineSaid_ = true;
    session_.out().error(AccuracyTexts::slowLine(static_cast<int>(std::lround(roundTrip.count()))));
  }
  void ended(End) override {
    stopped_ = true;
    session_.out().error(AccuracyTexts::kClockStopped);
  }

  Session& session_;
  bool slowLineSaid_ = false;
  EdgeSampler sampler_;
  AccuracyReport report_;
  int observer_ = 0;
  bool stopped_ = false;
  bool silentSaid_ = false;
  std::optional<std::int64_t> silentSince_;  // the first time-out since the last reply
  bool boardGone_ = false;
};

// The report as JSON: the rate with its uncertainty, and the advice once the gate allows it.
nlohmann::json reportJson(const AccuracyReport& report) {
  const std::optional<RateFit>& fit = report.fit();
  nlohmann::json j{{"samples", report.samples().size()},
                   {"atr", report.trimAtStart().atr},
                   {"dtr", report.trimAtStart().dtr},
                   {"span_s", fit ? fit->spanSeconds : 0.0},
                   {"ppm", nullptr},
                   {"uncertainty_ppm", nullptr},
                   {"seconds_per_day", nullptr},
                   {"advice", nullptr},
                   {"advice_ready", report.advice().has_value()},
                   {"more_seconds", nullptr}};
  if (fit && fit->uncertaintyPpm) {
    j["ppm"] = fit->ppm;
    j["uncertainty_ppm"] = *fit->uncertaintyPpm;
    j["seconds_per_day"] = secondsPerDay(fit->ppm);
  }
  if (const auto& a = report.advice())
    j["advice"] = {
        {"atr", a->setting.atr}, {"dtr", a->setting.dtr}, {"residual_ppm", a->residualPpm}};
  if (report.gate() && report.gate()->moreSeconds) j["more_seconds"] = *report.gate()->moreSeconds;
  return j;
}

std::string reportText(const AccuracyReport& report) {
  std::string text = report.resultText();
  if (!report.perDayText().empty())
    text += "\n" + report.perDayText() + "\n" + report.perMonthText();
  return text + "\n" + report.adviceText();
}

// accuracy [--minutes N] [--csv FILE] [--apply]
class AccuracyCommand : public Command {
 public:
  void define(CLI::App& app) override {
    app.add_option("--minutes", minutes_, "How long to measure (default 10)")
        ->check(CLI::Range(1, 7 * 24 * 60));
    app.add_option("--interval", intervalSeconds_, "Seconds between edges (default 10)")
        ->check(
            CLI::Range(AccuracyWindow::kMinIntervalSeconds, AccuracyWindow::kMaxIntervalSeconds));
    app.add_option("--csv", csv_, "Write the edges as CSV into FILE")->option_text("FILE");
    app.add_flag("--apply", apply_, "Write the advised ATR and DTR and read them back");
  }
  std::string check(const DeviceProfile&) override { return {}; }

  int run(Session& session) override {
    const Layout layout = session.layout();
    for (const RegisterId id : {RegisterId::ATR, RegisterId::DTR})
      if (const int done = session.transact(*requests::readRegister(layout, id)); done != kDone) {
        if (done != kInterrupted) session.out().error(AccuracyTexts::kTrimFailed);
        return done;
      }
    Measurement measurement(session, {session.registers.RegATR, session.registers.RegDTR},
                            std::chrono::seconds(intervalSeconds_));
    measurement.run(std::chrono::minutes(minutes_));
    const AccuracyReport& report = measurement.report();
    if (session.interrupted()) session.out().error(AccuracyTexts::kStopped);
    const bool gone = measurement.boardGone();
    if (gone)
      session.out().error("no reply from the board for " + std::to_string(kSilenceLimit.count()) +
                          " s: measurement stopped");
    nlohmann::json fields = reportJson(report);
    if (!csv_.empty()) {
      const FileWrite w = session.seams().files.writeFile(csv_, report.csv());
      session.out().error(w.ok() ? AccuracyTexts::saved(csv_)
                                 : AccuracyTexts::notSaved(csv_, w.failure));
      if (!w.ok()) {
        session.out().result(fields, reportText(report));
        return session.interrupted() ? kInterrupted : kUsage;
      }
    }
    if (session.interrupted() || gone || measurement.clockStopped() || !apply_) {
      if (apply_) fields["applied"] = false;
      session.out().result(fields, reportText(report));
      if (session.interrupted()) return kInterrupted;
      if (gone) return kNoBoard;
      return measurement.clockStopped() ? kRefused : kDone;
    }
    return applyAdvice(session, report, fields);
  }

 private:
  // Writes the advised trimming through the write sequencer and reads it back.
  static int applyAdvice(Session& session, const AccuracyReport& report, nlohmann::json& fields) {
    fields["applied"] = false;
    const std::optional<TrimAdvice>& advice = report.advice();
    if (!advice) {
      session.out().result(fields, reportText(report));
      session.out().error("not applied: " + report.adviceText());
      return kNotApplied;
    }
    const Layout layout = session.layout();
    const TrimSetting wanted = advice->setting;
    session.registers.RegATR = wanted.atr;
    session.registers.RegDTR = wanted.dtr;
    for (const RegisterId id : {RegisterId::ATR, RegisterId::DTR})
      if (const int done = session.write(WriteJob(registerOf(id).write.state)); done != kDone)
        return done;
    for (const RegisterId id : {RegisterId::ATR, RegisterId::DTR})
      if (const int done = session.transact(*requests::readRegister(layout, id)); done != kDone)
        return done;
    const TrimSetting back{session.registers.RegATR, session.registers.RegDTR};
    fields["applied"] = true;
    fields["verified"] = back == wanted;
    session.out().result(fields, reportText(report) + "\nATR = 0x" + HexByte(back.atr) +
                                     ", DTR = 0x" + HexByte(back.dtr) +
                                     (back == wanted ? ", verified" : ""));
    if (back != wanted) {
      session.out().error("read back ATR " + HexByte(back.atr) + " DTR " + HexByte(back.dtr) +
                          ", written ATR " + HexByte(wanted.atr) + " DTR " + HexByte(wanted.dtr));
      return kDiffers;
    }
    return kDone;
  }

  int minutes_ = 10;
  int intervalSeconds_ = AccuracyWindow::kDefaultIntervalSeconds;
  std::string csv_;
  bool apply_ = false;
};

}  // namespace

std::unique_ptr<Command> makeAccuracyCommand() {
  return std::make_unique<AccuracyCommand>();
}

}  // namespace rtceval::cli
