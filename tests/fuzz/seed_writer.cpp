// Writes the fuzz targets' seed inputs: for the receive path a valid reply (and a board status
// reply) under every request kind on both register layouts, the set-time dialog's OK with each
// write step acknowledged, every write job, the monitor, the time-out and an overflow; for the
// other targets their well-formed inputs. The replies' bytes are written out here as the board
// sends them, not taken from the program. Usage: seed_writer DIR (one folder per target in DIR).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_input.h"

using namespace rtceval::fuzz;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Writes one seed into the target's folder of the working directory.
void write(const std::string& target, const std::string& name, const Bytes& input) {
  std::filesystem::create_directories(target);
  std::ofstream out(std::filesystem::path(target) / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(input.data()),
            static_cast<std::streamsize>(input.size()));
}

void append(Bytes& to, std::initializer_list<std::uint8_t> bytes) {
  to.insert(to.end(), bytes);
}

namespace rp {
using namespace receive_path;

// A reply as the board frames it, without its sum: the Sealed operation adds it.
Bytes sealed(std::uint8_t flag, const Bytes& data) {
  Bytes op = {head(Op::Sealed, static_cast<std::uint8_t>(3 + data.size())), 0x55, flag,
              static_cast<std::uint8_t>(data.size())};
  op.insert(op.end(), data.begin(), data.end());
  op.push_back(0);  // no split
  return op;
}
Bytes ack() {
  return sealed(0x81, {0x00});
}

std::uint8_t kindIndex(std::int16_t code) {
  const auto* at = std::find(std::begin(kRequestKinds), std::end(kRequestKinds), code);
  return static_cast<std::uint8_t>(at - std::begin(kRequestKinds));
}

// The model first (X1226: layout A, X1209: layout B), then the board answering the search's probe
// a quarter of a second in.
Bytes start(bool layoutB, std::uint8_t flags = 0) {
  Bytes in = {static_cast<std::uint8_t>((layoutB ? 5 : 0) | flags), head(Op::Wait, 20)};
  const Bytes probe = sealed(0x80, {});
  in.insert(in.end(), probe.begin(), probe.end());
  return in;
}

struct Kind {
  std::int16_t code;
  int lengthA;  // data bytes of the reply on layout A; -1: an acknowledgement
  int lengthB;
  const char* name;
};
constexpr Kind kKinds[] = {
    {0x01, 8, 7, "read_time"},   {0x02, -1, -1, "write_time"},   {0x08, 0, 0, "probe"},
    {0x09, 0, 0, "connect"},     {0x10, -1, -1, "write_sr"},     {0x11, 1, 1, "read_sr"},
    {0x12, -1, -1, "wel"},       {0x13, -1, -1, "rwel"},         {0x18, -1, -1, "wrtc"},
    {0x20, -1, -1, "write_int"}, {0x21, 1, 1, "read_int"},       {0x30, -1, -1, "write_bl"},
    {0x31, 1, 1, "read_bl"},     {0x40, -1, -1, "write_atr"},    {0x41, 1, 1, "read_atr"},
    {0x50, -1, -1, "write_dtr"}, {0x51, 1, 1, "read_dtr"},       {0x60, -1, -1, "write_ev"},
    {0x61, 1, 1, "read_ev"},     {0x70, -1, -1, "write_al0"},    {0x71, 8, 6, "read_al0"},
    {0x77, 4, 4, "read_ctrl"},   {0x80, -1, -1, "write_al1"},    {0x81, 8, 8, "read_al1"},
    {0xB0, -1, -1, "write_mem"}, {0xB1, 1, 1, "read_mem"},       {0xC0, -1, -1, "write_ur"},
    {0xC1, 2, 2, "read_ur"},     {0xB3, 8, 8, "read_mem_block"},
};
// Plausible register contents: a time of 09:05:30 on 2004-05-20 in register order, then more.
const Bytes kData = {0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20};

void writeAll() {
  for (bool layoutB : {false, true}) {
    const std::string layout = layoutB ? "_b" : "_a";
    for (const Kind& kind : kKinds) {
      Bytes in = start(layoutB);
      in.push_back(head(Op::Request, kindIndex(kind.code)));
      const int length = layoutB ? kind.lengthB : kind.lengthA;
      const Bytes reply =
          length < 0 ? ack() : sealed(0x80, Bytes(kData.begin(), kData.begin() + length));
      in.insert(in.end(), reply.begin(), reply.end());
      write("receive_path", std::string(kind.name) + layout, in);
    }
    // Every status code of the board, as the reply to a time read.
    for (std::uint8_t code : Bytes{0x01, 0x02, 0x03, 0x04, 0x06, 0x07, 0x08, 0x82, 0x84, 0x85}) {
      Bytes in = start(layoutB);
      in.push_back(head(Op::Request, kindIndex(0x01)));
      const Bytes reply = sealed(0x81, {code});
      in.insert(in.end(), reply.begin(), reply.end());
      write("receive_path", "status_" + std::to_string(code) + layout, in);
    }
    // The set-time dialog's OK and each write job: every step 50 ms apart, each acknowledged.
    const std::uint8_t steps = layoutB ? 2 : 3;
    const auto sequence = [&](std::uint8_t action, const std::string& name) {
      Bytes in = start(layoutB);
      in.push_back(head(Op::Action, action));
      for (int i = 0; i < steps; ++i) {
        in.push_back(head(Op::Wait, 5));
        const Bytes a = ack();
        in.insert(in.end(), a.begin(), a.end());
      }
      write("receive_path", name + layout, in);
    };
    sequence(static_cast<std::uint8_t>(Action::SetTime), "set_time");
    sequence(static_cast<std::uint8_t>(Action::SetTimeTwelvePm), "set_time_pm");
    for (std::size_t j = 0; j < std::size(kWriteJobs); ++j)
      sequence(static_cast<std::uint8_t>(static_cast<std::size_t>(Action::FirstJob) + j),
               "job_" + std::to_string(kWriteJobs[j]));
    // The monitor polls SR, which carries every flag; a box stays open while time passes behind
    // it.
    {
      Bytes in = start(layoutB, kAutoMonitorBit);
      in.push_back(head(Op::Wait, 23));
      const Bytes sr = sealed(0x80, {layoutB ? std::uint8_t{0x0E} : std::uint8_t{0xE0}});
      in.insert(in.end(), sr.begin(), sr.end());
      append(in, {head(Op::Box, 30), head(Op::Wait, 23), head(Op::Wait, 23)});
      write("receive_path", "monitor" + layout, in);
    }
    // The automatic time read meets a board that no longer answers; the question is answered
    // Yes.
    {
      Bytes in = start(layoutB, kAutoReadBit);
      append(in, {head(Op::Box, 1), head(Op::Wait, 28)});
      write("receive_path", "timeout" + layout, in);
    }
    // Every menu item, its dialog's first request acknowledged and then answered with data.
    for (std::uint8_t item = 0; item < 30; ++item) {
      Bytes in = start(layoutB);
      in.push_back(head(Op::Menu, item));
      for (const Bytes& reply :
           {ack(), sealed(0x80, {0x00}), sealed(0x80, {0x00, 0x00, 0x00, 0x00})})
        in.insert(in.end(), reply.begin(), reply.end());
      in.push_back(head(Op::Wait, 5));
      write("receive_path", "menu_" + std::to_string(item) + layout, in);
    }
  }
  // More bytes than a reply can hold, with a message box open while more arrive.
  Bytes in = start(false);
  append(in, {head(Op::Box, 10), head(Op::Flood, 17), 0x11, head(Op::Flood, 17), 0x11});
  write("receive_path", "overflow", in);
}
}  // namespace rp

void setTime() {
  using namespace set_time;
  const auto seed = [](const std::string& name, std::uint8_t model, std::uint8_t clicks,
                       const std::string& texts) {
    Bytes in = {model, clicks};
    in.insert(in.end(), texts.begin(), texts.end());
    write("set_time", name, in);
  };
  seed("defaults_a", 0, 0, "2004\n5\n25\n11\n59\n59\n2");
  seed("defaults_b", 5, 0, "2004\n5\n25\n11\n59\n59\n2");
  seed("pm", 3, kTickTwelveHour | kClickPm, "2099\n12\n31\n11\n0\n0\n6");
  seed("am_again", 4, kTickTwelveHour | kClickPm | kClickAm, "1900\n1\n1\n0\n0\n0\n0");
  seed("untick", 1, kTickTwelveHour | kClickPm | kUntickTwelveHour, "2100\n0\n0\n23\n59\n59\n0");
  seed("halves", 0, 0, "2099.5\n12.5\n30.5\n22.5\n58.5\n0.5\n5.5");
  seed("blanks_signs", 2, 0, " +2004.4\n\t-0.5\n+1\n 7abc\n-.4\n59.49\n1e3");
  seed("year_low", 0, 0, "1899.9");
  seed("month_high", 0, 0, "2004\n12.6");
  seed("date_high", 0, 0, "2004\n5\n32");
  seed("hour_high", 0, 0, "2004\n5\n25\n24");
  seed("minute_high", 0, 0, "2004\n5\n25\n11\n60");
  seed("second_high", 0, 0, "2004\n5\n25\n11\n59\n59.5");
  seed("weekday_high", 0, 0, "2004\n5\n25\n11\n59\n59\n7");
  seed("long_number", 5, 0, "2004.000000000000000000001\n00000000005\n1." + std::string(40, '9'));
}

void requestAssembler() {
  using namespace request_assembler;
  const Bytes readTime = {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08};
  const auto sealedOp = [](const Bytes& frame) {
    Bytes op = {head(Op::Sealed, static_cast<std::uint8_t>(frame.size()))};
    op.insert(op.end(), frame.begin(), frame.end());
    return op;
  };
  Bytes one = sealedOp(readTime);
  write("request_assembler", "read_time", one);

  Bytes two = one;
  const Bytes probe = sealedOp({0x55, 0x00, 0x00});
  two.insert(two.end(), probe.begin(), probe.end());
  append(two, {head(Op::Wait, 20), head(Op::Poll, 0)});
  two.insert(two.end(), one.begin(), one.end());
  write("request_assembler", "two_and_probe", two);

  // A request cut in two with 100 ms, then 105 ms, between its halves; the board polls.
  for (std::uint8_t wait : Bytes{20, 21}) {
    Bytes in = {head(Op::Chunk, 4),
                0x55,
                0x00,
                0x05,
                0x00,
                head(Op::Wait, wait),
                head(Op::Poll, 0),
                head(Op::Chunk, 5),
                0x6F,
                0x00,
                0x30,
                0x08,
                0x00};
    in.back() = sumOf(readTime);
    write("request_assembler", "gap_" + std::to_string(wait * 5), in);
  }
  // Stray bytes, a bad flag, an over-long frame and a wrong sum, each followed by a good request.
  for (const Bytes& bad : {Bytes{0x11, 0x22}, Bytes{0x55, 0x01}, Bytes{0x55, 0x00, 0x22},
                           Bytes{0x55, 0x00, 0x00, 0x00}}) {
    Bytes in = {head(Op::Chunk, static_cast<std::uint8_t>(bad.size()))};
    in.insert(in.end(), bad.begin(), bad.end());
    in.insert(in.end(), one.begin(), one.end());
    write("request_assembler",
          "bad_then_good_" + std::to_string(bad.size()) + "_" + std::to_string(bad.back()), in);
  }
}

void controlChannel() {
  const std::string all =
      "help\nevent\nbattery on\nbattery off\npowerfail\nfault drop\nfault corrupt\nfault stall\n"
      "fault split 3\nfault off\ndump\n\n  fault\tsplit  007\r\nfault split 0\nbogus line";
  for (std::uint8_t model = 0; model < 6; ++model) {
    Bytes in = {model};
    in.insert(in.end(), all.begin(), all.end());
    write("control_channel", "all_commands_" + std::to_string(model), in);
  }
}

void boardSession() {
  using namespace board_session;
  for (std::uint8_t model = 0; model < 6; ++model) {
    for (std::uint8_t flags :
         {std::uint8_t{0}, kAutoReadBit, std::uint8_t(kEventBit | kAutoReadBit)}) {
      const Bytes in = {static_cast<std::uint8_t>(model | flags),
                        head(Op::Fault, 1),
                        head(Op::Wait, 9),
                        head(Op::ReadTime, 0),
                        head(Op::LongWait, 3),
                        head(Op::Fault, 3),
                        head(Op::Wait, 27),
                        head(Op::Fault, 2 + 5),
                        head(Op::Event, 0),
                        head(Op::LongWait, 2),
                        head(Op::Fault, 4 + 10),
                        head(Op::SetTime, 0),
                        head(Op::Toggle, 3),
                        head(Op::Menu, 11),
                        head(Op::Wait, 13),
                        head(Op::Fault, 0)};
      write("board_session", "faults_" + std::to_string(model) + "_" + std::to_string(flags), in);
    }
  }
}

// A register snapshot file of each layout as the program saves it: an X1209 (layout B, user
// registers) and an X1228 (layout A, two alarms, the EEPROM array).
void snapshotFile() {
  struct SeedFile {
    const char* model;
    std::vector<std::pair<const char*, int>> registers;
    std::size_t eepromBytes;
  };
  const SeedFile files[] = {
      {"X1209",
       {{"SC", 0x00},  {"MN", 0x01},  {"HR", 0x02},  {"DT", 0x03},   {"MO", 0x04},
        {"YR", 0x05},  {"DW", 0x06},  {"SCA", 0x0C}, {"MNA", 0x0D},  {"HRA", 0x0E},
        {"DTA", 0x0F}, {"MOA", 0x10}, {"DWA", 0x11}, {"SR", 0x07},   {"INT", 0x08},
        {"EV", 0x09},  {"ATR", 0x0A}, {"DTR", 0x0B}, {"USR1", 0x12}, {"USR2", 0x13}},
       0},
      {"X1228",
       {{"SC", 0x30},   {"MN", 0x31},   {"HR", 0x32},   {"DT", 0x33},   {"MO", 0x34},
        {"YR", 0x35},   {"DW", 0x36},   {"Y2K", 0x37},  {"SCA0", 0x00}, {"MNA0", 0x01},
        {"HRA0", 0x02}, {"DTA0", 0x03}, {"MOA0", 0x04}, {"YRA0", 0x05}, {"DWA0", 0x06},
        {"Y2K0", 0x07}, {"SCA1", 0x08}, {"MNA1", 0x09}, {"HRA1", 0x0A}, {"DTA1", 0x0B},
        {"MOA1", 0x0C}, {"YRA1", 0x0D}, {"DWA1", 0x0E}, {"Y2K1", 0x0F}, {"SR", 0x3F},
        {"BL", 0x10},   {"INT", 0x11},  {"ATR", 0x12},  {"DTR", 0x13}},
       512},
  };
  for (const SeedFile& l : files) {
    std::string text = std::string("{\n  \"format\": \"rtceval-register-snapshot\",\n") +
                       "  \"formatVersion\": 1,\n  \"model\": \"" + l.model +
                       "\",\n  \"time\": \"2026-12-08 14:55:03\",\n" +
                       "  \"programVersion\": \"1.05\",\n  \"registers\": [";
    char line[96];
    for (std::size_t i = 0; i < l.registers.size(); ++i) {
      std::snprintf(line, sizeof line,
                    "%s\n    {\"name\": \"%s\", \"address\": \"0x%02X\", \"value\": \"0x%02X\"}",
                    i ? "," : "", l.registers[i].first, l.registers[i].second,
                    static_cast<unsigned>(i * 37 % 256));
      text += line;
    }
    text += "\n  ]";
    if (l.eepromBytes) text += ",\n  \"eeprom\": \"" + std::string(l.eepromBytes * 2, 'F') + "\"";
    text += "\n}\n";
    write("snapshot_file", l.model, Bytes(text.begin(), text.end()));
  }
}

// The value readers: a time as typed and hex in each form the command line takes.
void valueParsers() {
  const std::vector<std::string> texts{"2026-12-08 14:55:03",
                                       "2000-02-31 23:59:59",
                                       "0x1F",
                                       "3fff",
                                       "01 2a ff",
                                       "012aff",
                                       "0x01,0x2a",
                                       "a"};
  for (std::size_t i = 0; i < texts.size(); ++i)
    write("value_parsers", "text" + std::to_string(i), Bytes(texts[i].begin(), texts[i].end()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_writer DIR\n");
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  std::filesystem::current_path(argv[1]);
  rp::writeAll();
  setTime();
  requestAssembler();
  controlChannel();
  boardSession();
  snapshotFile();
  valueParsers();
  return 0;
}
