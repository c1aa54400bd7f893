#include "cli/time_command.h"

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "platform/pc_clock.h"
#include "time_alarms/time_fields.h"

namespace rtceval::cli {
namespace {

// A read back may show the clock a few seconds on from what was written.
constexpr std::int64_t kReadBackSlackS = 3;

// time / time set now|'YYYY-MM-DD HH:MM:SS' [--weekday N] [--12h] / time sync
class TimeCommand : public Command {
 public:
  void define(CLI::App& app) override {
    set_ = app.add_subcommand("set", "Set the chip's clock (24-hour time typed) and read it back");
    set_->add_option("when", when_, "now, or 'YYYY-MM-DD HH:MM:SS'")->required();
    set_->add_option("--weekday", weekday_, "0 (Sunday) to 6; else the date's weekday")
        ->option_text("N");
    set_->add_flag("--12h", twelveHour_, "Keep the clock in the 12-hour format");
    sync_ = app.add_subcommand(
        "sync", "Set the chip to the PC's time at the PC's second boundary; report the offset");
    app.require_subcommand(0, 1);
  }

  std::string check(const DeviceProfile&) override {
    if (!set_->parsed()) return {};
    if (when_ != "now") {
      const ParsedTime parsed = parseTimeText(when_);
      if (!parsed.fields) return parsed.refusal;
      fields_ = *parsed.fields;
    }
    if (!weekday_.empty()) {
      const FieldBounds b = setTimeBounds(twelveHour_)[SetWeekday];
      const auto weekday = readByteField(weekday_, b.low, b.high);
      if (!weekday) return b.message;
      weekdayGiven_ = *weekday;
    }
    return {};
  }

  int run(Session& session) override {
    if (sync_->parsed()) return syncClock(session);
    if (!set_->parsed()) {
      const int read = readClock(session);
      if (read == kDone) printClock(session, "time");
      return read;
    }
    if (when_ == "now") {
      const PcDate today = session.seams().pcClock.today();
      const int ms = session.seams().pcClock.now().msOfDay;
      fields_ = {today.year,      today.month,    today.day,    ms / 3600000,
                 ms / 60000 % 60, ms / 1000 % 60, today.weekday};
    }
    if (weekdayGiven_) fields_.weekday = *weekdayGiven_;
    session.records.NewTime = timeRecordOf(fields_, twelveHour_);
    if (const int written = session.write(WriteJob::Kind::Time); written != kDone) return written;
    const int read = readClock(session);
    if (read != kDone) return read;
    printClock(session, "time");
    const DecodedTime wanted = decodedRecord(session.records.NewTime);
    const std::int64_t ahead = secondsOf(session.reads.time) - secondsOf(wanted);
    if (ahead < 0 || ahead > kReadBackSlackS ||
        session.reads.time.time.weekday != wanted.time.weekday ||
        session.reads.time.is24Hour != wanted.is24Hour) {
      session.out().error("read back " + timeText(session.reads.time) + ", written " +
                          timeText(wanted));
      return kDiffers;
    }
    return kDone;
  }

 private:
  CLI::App* set_ = nullptr;
  CLI::App* sync_ = nullptr;
  std::string when_;
  std::string weekday_;
  bool twelveHour_ = false;
  CivilFields fields_;
  std::optional<int> weekdayGiven_;
};

}  // namespace

int readClock(Session& session) {
  return session.transact(requests::readTime(session.layout()));
}

void printClock(Session& session, const char* what) {
  const DecodedTime& t = session.reads.time;
  const std::string text = timeText(t);
  session.out().result({{what, text},
                        {"weekday", static_cast<int>(t.time.weekday)},
                        {"hour_format", t.is24Hour ? 24 : 12}},
                       text + " " + weekdayName(t.time.weekday) + (t.is24Hour ? "" : " (12h)"));
}

std::unique_ptr<Command> makeTimeCommand() {
  return std::make_unique<TimeCommand>();
}

}  // namespace rtceval::cli
