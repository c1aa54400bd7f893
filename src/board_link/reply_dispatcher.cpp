#include "board_link/reply_dispatcher.h"

#include <functional>
#include <vector>

#include "board_link/board_status.h"
#include "board_link/frame_fault_texts.h"
#include "core/device_profile.h"
#include "core/protocol.h"
#include "core/register_map.h"

namespace rtceval {
namespace {

using Data = std::span<const std::uint8_t>;
using Action = std::function<void(ReplyModels&, Layout, Data)>;

// A data block is a data reply of 1 up to the board's largest read; the window that asked checks
// the count it asked for.
enum class Accepts { Ack, DataReply, DataBlock };

// What one kind of request accepts as its reply, what the reply then stores and its texts.
struct ReplyRule {
  CmdStateCode state;
  Accepts accepts;
  std::size_t lengthA = 0;  // data bytes expected on layout A
  std::size_t lengthB = 0;  // and on layout B
  const char* successText = nullptr;
  const char* failureText = nullptr;
  Action action;  // on an accepted reply, after the success text
};

constexpr const char* kTextConnected = "成功连接评估板于串口";
constexpr const char* kTextNotConnected = "未成功连接到评估板";

ReplyRule ack(CmdStateCode state, const char* done) {
  return {state, Accepts::Ack, 0, 0, done, nullptr, {}};
}

ReplyRule data(CmdStateCode state, std::size_t lengthA, std::size_t lengthB, const char* done,
               const char* failed, Action action = {}) {
  return {state, Accepts::DataReply, lengthA, lengthB, done, failed, std::move(action)};
}

// An alarm record from the bytes of an alarm read, in register order; the X1208 family keeps no
// year in its alarm.
void storeAlarm(TimeRecord& alarm, Layout layout, Data d) {
  alarm.second = d[0];
  alarm.minute = d[1];
  alarm.hour = d[2];
  alarm.date = d[3];
  alarm.month = d[4];
  if (layout == Layout::A) {
    alarm.year = static_cast<std::uint16_t>(d[7] << 8 | d[5]);
    alarm.weekday = d[6];
  } else {
    alarm.weekday = d[5];
  }
}

std::vector<ReplyRule> buildRules() {
  std::vector<ReplyRule> rules;
  rules.push_back(data(StReadTime, 8, 7, "读时间成功", "读时间失败",
                       [](ReplyModels& m, Layout, Data d) { m.reads.time = decodeTime(d); }));
  rules.push_back(ack(StWriteTime, "设置时间成功"));
  rules.push_back(data(StProbe, 0, 0, nullptr, nullptr));
  rules.push_back(data(StConnect, 0, 0, nullptr, kTextNotConnected));

  for (const RegisterInfo& reg : registers()) {
    const auto image = reg.image;
    rules.push_back(data(reg.read.state, 1, 1, reg.read.doneText, nullptr,
                         [image](ReplyModels& m, Layout, Data d) { m.registers.*image = d[0]; }));
    rules.push_back(ack(reg.write.state, reg.write.doneText));
  }
  for (Layout layout : {Layout::A, Layout::B})
    for (const WriteEnableStep& step : writeEnableSteps(layout))
      rules.push_back(ack(step.request.state, step.request.doneText));

  rules.push_back(ack(StWriteAL0, "设置AL0成功"));
  rules.push_back(data(
      StReadAL0, 8, 6, "读AL0成功", "读AL0失败",
      [](ReplyModels& m, Layout layout, Data d) { storeAlarm(m.records.Alarm0Regs, layout, d); }));
  rules.push_back(ack(StWriteAL1, "设置AL1成功"));
  rules.push_back(data(
      StReadAL1, 8, 8, "读AL1成功", "读AL1失败",
      [](ReplyModels& m, Layout layout, Data d) { storeAlarm(m.records.Alarm1Regs, layout, d); }));
  rules.push_back(
      data(StReadCtrlBlock, 4, 4, nullptr, nullptr, [](ReplyModels& m, Layout layout, Data d) {
        const auto order = controlBlockOrder(layout);
        for (std::size_t i = 0; i < order.size(); ++i)
          m.registers.*registerOf(order[i]).image = d[i];
      }));
  rules.push_back(ack(StWriteMem, "写存储器成功"));
  rules.push_back(data(StReadMem, 1, 1, "读存储器成功", "读存储器失败",
                       [](ReplyModels& m, Layout, Data d) { m.reads.memoryByte = d[0]; }));
  rules.push_back(
      {StReadMemBlock, Accepts::DataBlock, 0, 0, "读存储器成功", "读存储器失败",
       [](ReplyModels& m, Layout, Data d) { m.reads.memoryBlock.assign(d.begin(), d.end()); }});
  rules.push_back(ack(StWriteUR, "写用户寄存器成功"));
  rules.push_back(data(StReadUR, 2, 2, "读用户寄存器成功", "读用户寄存器失败",
                       [](ReplyModels& m, Layout, Data d) {
                         m.reads.userRegisters = {d[0], d[1]};
                       }));
  return rules;
}

const ReplyRule* findRule(CmdStateCode state) {
  static const std::vector<ReplyRule> kRules = buildRules();
  for (const ReplyRule& rule : kRules)
    if (rule.state == state) return &rule;
  return nullptr;
}

}  // namespace

ReplyOutcome ParseReply(std::span<const std::uint8_t> frame, CmdStateCode request,
                        const DeviceProfile& profile, int portNo, ReplyModels& models) {
  ReplyOutcome out;
  if (frame[protocol::kReplyLead] != protocol::kLeadByte) {
    out.texts.emplace_back(kTextBadLead);
    out.beep = true;
    return out;
  }
  const std::uint8_t flag = frame[protocol::kReplyFlag];
  const std::uint8_t length = frame[protocol::kReplyLength];
  // A status reply carries exactly its one status byte; with any other length its flag is wrong
  // for what follows, and reading on would take a checksum or a data byte for a status code.
  const bool badStatus = flag == protocol::kFlagStatus && length != 1;
  if ((flag != protocol::kFlagData && flag != protocol::kFlagStatus) || badStatus) {
    out.texts.emplace_back(kTextBadFlag);
    out.beep = true;
    return out;
  }
  const Data data = frame.subspan(protocol::kReplyData, length);
  const bool isStatus = flag == protocol::kFlagStatus;
  const bool isAck = isStatus && data[0] == protocol::kStatusOk;
  if (isStatus && !isAck) out.texts.emplace_back(boardErrorText(data[0]));

  const ReplyRule* rule = findRule(request);
  if (!rule) return out;
  out.interpreted = true;
  const Layout layout = layoutOf(profile.Is1208Family);
  if (rule->accepts == Accepts::Ack) {
    out.accepted = isAck;
  } else if (rule->accepts == Accepts::DataBlock) {
    out.accepted = flag == protocol::kFlagData && length >= 1 && length <= protocol::kMaxReadCount;
  } else {
    const std::size_t expected = layout == Layout::B ? rule->lengthB : rule->lengthA;
    out.accepted = flag == protocol::kFlagData && length == expected;
  }
  if (out.accepted) {
    if (request == StProbe || request == StConnect)
      out.texts.push_back(kTextConnected + std::to_string(portNo));
    else if (rule->successText)
      out.texts.emplace_back(rule->successText);
    if (rule->action) rule->action(models, layout, data);
  } else if (rule->failureText) {
    out.texts.emplace_back(rule->failureText);
  }
  return out;
}

}  // namespace rtceval
