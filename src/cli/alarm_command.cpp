#include <CLI/CLI.hpp>
#include <array>

#include "cli/chip_values.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/time_command.h"
#include "time_alarms/time_fields.h"

namespace rtceval::cli {
namespace {

// Bit 7 of each match register enables the field.
constexpr std::uint8_t kEnable = 0x80;

struct MatchField {
  const char* option;
  AlarmField bounds;
  std::uint8_t TimeRecord::*byte;
  std::uint8_t valueMask;
};
constexpr std::array<MatchField, 6> kFields{{
    {"second", AlarmSecond, &TimeRecord::second, 0x7F},
    {"minute", AlarmMinute, &TimeRecord::minute, 0x7F},
    {"hour", AlarmHour, &TimeRecord::hour, 0x3F},
    {"date", AlarmDate, &TimeRecord::date, 0x3F},
    {"month", AlarmMonth, &TimeRecord::month, 0x1F},
    {"weekday", AlarmWeekday, &TimeRecord::weekday, 0x07},
}};

TimeRecord& recordOf(Session& session, int alarm) {
  return alarm == 0 ? session.records.Alarm0Regs : session.records.Alarm1Regs;
}

void printAlarm(Session& session, int alarm) {
  const TimeRecord& r = recordOf(session, alarm);
  nlohmann::json fields = nlohmann::json::object();
  std::string text = "alarm " + std::to_string(alarm) + ":";
  for (const MatchField& f : kFields) {
    const std::uint8_t byte = r.*f.byte;
    if (!(byte & kEnable)) {
      fields[f.option] = nullptr;
      text += std::string(" ") + f.option + "=*";
      continue;
    }
    const std::uint8_t bcd = byte & f.valueMask;
    const int value = (bcd >> 4) * 10 + (bcd & 0x0F);
    fields[f.option] = value;
    text += std::string(" ") + f.option + "=" + std::to_string(value);
  }
  session.out().result({{"alarm", alarm}, {"fields", fields}}, text);
}

// alarm N / alarm set N [--second S] [--minute M] [--hour H] [--date D] [--month M] [--weekday W]
class AlarmCommand : public Command {
 public:
  void define(CLI::App& app) override {
    app.add_option("n", alarm_, "0 or 1");
    set_ = app.add_subcommand("set", "Set the alarm; only the given fields take part");
    set_->add_option("n", alarm_, "0 or 1")->required();
    for (std::size_t i = 0; i < kFields.size(); ++i)
      set_->add_option(std::string("--") + kFields[i].option, texts_[i]);
    app.require_subcommand(0, 1);
  }

  std::string check(const DeviceProfile& profile) override {
    if (alarm_ < 0) return "which alarm: 0 or 1";
    if (alarm_ > 1 || (alarm_ == 0 && !profile.HasAlarm0) || (alarm_ == 1 && !profile.HasAlarm1))
      return "the " + std::string(profile.name) + " has no alarm " + std::to_string(alarm_);
    for (std::size_t i = 0; i < kFields.size(); ++i) {
      if (texts_[i].empty()) continue;
      const FieldBounds& b = kAlarmBounds[kFields[i].bounds];
      const auto value = readByteField(texts_[i], b.low, b.high);
      if (!value) return b.message;
      values_[i] = *value;
    }
    return {};
  }

  int run(Session& session) override {
    const Layout layout = session.layout();
    const auto read = [&] { return session.transact(*requests::readAlarm(layout, alarm_)); };
    if (!set_->parsed()) {
      const int done = read();
      if (done == kDone) printAlarm(session, alarm_);
      return done;
    }
    // The alarm's year, where it keeps one, is the clock's.
    if (const int done = readClock(session); done != kDone) return done;
    TimeRecord wanted;
    wanted.year = static_cast<std::uint16_t>(session.reads.time.time.century << 8 |
                                             session.reads.time.time.year);
    for (std::size_t i = 0; i < kFields.size(); ++i)
      if (values_[i]) wanted.*kFields[i].byte = BcdByte(*values_[i]) | kEnable;
    recordOf(session, alarm_) = wanted;
    const WriteJob job = alarm_ == 0 ? WriteJob::Kind::Alarm0 : WriteJob::Kind::Alarm1;
    if (const int done = session.write(job); done != kDone) return done;
    if (const int done = read(); done != kDone) return done;
    printAlarm(session, alarm_);
    const TimeRecord& got = recordOf(session, alarm_);
    for (const MatchField& f : kFields) {
      if (got.*f.byte != wanted.*f.byte) {
        session.out().error(std::string("alarm ") + f.option + " read back " +
                            HexByte(got.*f.byte) + ", written " + HexByte(wanted.*f.byte));
        return kDiffers;
      }
    }
    return kDone;
  }

 private:
  CLI::App* set_ = nullptr;
  int alarm_ = -1;
  std::array<std::string, 6> texts_;
  std::array<std::optional<int>, 6> values_;
};

}  // namespace

std::unique_ptr<Command> makeAlarmCommand() {
  return std::make_unique<AlarmCommand>();
}

}  // namespace rtceval::cli
