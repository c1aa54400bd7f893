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
// The alarm's hour is compared in the clock's format: on a 12-hour clock it is 12, 1 … 11 with
// this bit for PM.
constexpr std::uint8_t kPm = 0x20;

// The match byte of an hour of the day (0 to 23) in the clock's format.
std::uint8_t hourByte(int hour, bool is24Hour) {
  if (is24Hour) return BcdByte(hour);
  const int twelve = hour % 12 == 0 ? 12 : hour % 12;
  return static_cast<std::uint8_t>(BcdByte(twelve) | (hour >= 12 ? kPm : 0));
}

// The hour of the day (0 to 23) a match byte's value bits stand for in the clock's format.
int hourOf(std::uint8_t bits, bool is24Hour) {
  const auto bcd = [](std::uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); };
  if (is24Hour) return bcd(bits);
  return bcd(bits & 0x1F) % 12 + ((bits & kPm) ? 12 : 0);
}

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

void printAlarm(Session& session, int alarm, bool is24Hour) {
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
    const int value =
        f.bounds == AlarmHour ? hourOf(bcd, is24Hour) : (bcd >> 4) * 10 + (bcd & 0x0F);
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
    // The alarm's hour is in the clock's format, and its year, where it keeps one, is the clock's.
    if (const int done = readClock(session); done != kDone) return done;
    const bool is24Hour = session.reads.time.is24Hour;
    if (!set_->parsed()) {
      const int done = read();
      if (done == kDone) printAlarm(session, alarm_, is24Hour);
      return done;
    }
    TimeRecord wanted;
    wanted.year = static_cast<std::uint16_t>(session.reads.time.time.century << 8 |
                                             session.reads.time.time.year);
    for (std::size_t i = 0; i < kFields.size(); ++i) {
      if (!values_[i]) continue;
      const std::uint8_t value =
          kFields[i].bounds == AlarmHour ? hourByte(*values_[i], is24Hour) : BcdByte(*values_[i]);
      wanted.*kFields[i].byte = value | kEnable;
    }
    recordOf(session, alarm_) = wanted;
    const WriteJob job = alarm_ == 0 ? WriteJob::Kind::Alarm0 : WriteJob::Kind::Alarm1;
    if (const int done = session.write(job); done != kDone) return done;
    if (const int done = read(); done != kDone) return done;
    printAlarm(session, alarm_, is24Hour);
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
