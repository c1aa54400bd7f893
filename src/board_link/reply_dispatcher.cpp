#include "board_link/reply_dispatcher.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "board_link/board_status.h"
#include "board_link/protocol.h"
#include "board_link/reply_effects.h"
#include "main_window/device_profile.h"
#include "register_editors/register_map.h"

namespace rtceval {
namespace {

using Data = std::span<const std::uint8_t>;
using Action = std::function<void(ReplyContext&, Data)>;

enum class Accepts { Ack, Data };

// What one kind of request accepts as its reply and what the reply then does.
struct ReplyRule {
  CmdStateCode state;
  Accepts accepts;
  int lengthA = 0;  // data bytes expected on layout A
  int lengthB = 0;  // and on layout B
  const char* successText = nullptr;
  const char* failureText = nullptr;
  Action action;       // on an accepted reply, after the success text
  Action afterEither;  // after any reply
};

constexpr const char* TEXT_BAD_LEAD = "无效的帧头";
constexpr const char* TEXT_BAD_FLAG = "帧标志错";
constexpr const char* TEXT_CONNECTED = "成功连接评估板于串口";
constexpr const char* TEXT_NOT_CONNECTED = "未成功连接到评估板";

ReplyRule ack(CmdStateCode state, const char* done) {
  return {state, Accepts::Ack, 0, 0, done, nullptr, {}, {}};
}

ReplyRule data(CmdStateCode state, int lengthA, int lengthB, const char* done, const char* failed,
               Action action) {
  return {state, Accepts::Data, lengthA, lengthB, done, failed, std::move(action), {}};
}

void showConnected(ReplyContext& ctx) {
  ctx.effects.setLinkStatus(TEXT_CONNECTED + std::to_string(ctx.link.PortNo));
  ctx.effects.showBoardPort(ctx.link.PortNo);
}

std::vector<ReplyRule> buildRules() {
  std::vector<ReplyRule> rules;
  rules.push_back(data(StReadTime, 8, 7, "读时间成功", "读时间失败",
                       [](ReplyContext& c, Data d) { c.effects.showTime(d); }));
  rules.push_back(ack(StWriteTime, "设置时间成功"));
  rules.push_back(data(StProbe, 0, 0, nullptr, nullptr, [](ReplyContext& c, Data) {
    showConnected(c);
    c.link.Detecting = false;
  }));
  ReplyRule connect = data(StConnect, 0, 0, nullptr, TEXT_NOT_CONNECTED,
                           [](ReplyContext& c, Data) { showConnected(c); });
  connect.afterEither = [](ReplyContext& c, Data) { c.effects.closeConnectDialog(); };
  rules.push_back(std::move(connect));

  for (const RegisterInfo& reg : Registers()) {
    const auto image = reg.image;
    const bool isSR = reg.id == RegisterId::SR;
    rules.push_back(data(reg.read.state, 1, 1, reg.read.doneText, nullptr,
                         [image, isSR](ReplyContext& c, Data d) {
                           c.registers.*image = d[0];
                           if (isSR)
                             c.effects.statusRegisterRead();
                           else
                             c.effects.refreshPanel();
                         }));
    rules.push_back(ack(reg.write.state, reg.write.doneText));
  }
  for (Layout layout : {Layout::A, Layout::B})
    for (const WriteEnableStep& step : WriteEnableSteps(layout))
      rules.push_back(ack(step.request.state, step.request.doneText));

  rules.push_back(ack(StWriteAL0, "设置AL0成功"));
  rules.push_back(data(StReadAL0, 8, 6, "读AL0成功", "读AL0失败",
                       [](ReplyContext& c, Data d) { c.effects.alarmRead(0, d); }));
  rules.push_back(ack(StWriteAL1, "设置AL1成功"));
  rules.push_back(data(StReadAL1, 8, 8, "读AL1成功", "读AL1失败",
                       [](ReplyContext& c, Data d) { c.effects.alarmRead(1, d); }));
  rules.push_back(data(StReadCtrlBlock, 4, 4, nullptr, nullptr, [](ReplyContext& c, Data d) {
    const auto order = ControlBlockOrder(LayoutOf(c.profile.Is1208Family));
    for (std::size_t i = 0; i < order.size(); ++i) c.registers.*RegisterOf(order[i]).image = d[i];
    c.effects.refreshPanel();
  }));
  rules.push_back(ack(StWriteMem, "写存储器成功"));
  rules.push_back(data(StReadMem, 1, 1, "读存储器成功", "读存储器失败",
                       [](ReplyContext& c, Data d) { c.effects.memoryRead(d[0]); }));
  rules.push_back(ack(StWriteUR, "写用户寄存器成功"));
  rules.push_back(data(StReadUR, 2, 2, "读用户寄存器成功", "读用户寄存器失败",
                       [](ReplyContext& c, Data d) { c.effects.userRegistersRead(d[0], d[1]); }));
  return rules;
}

const ReplyRule* findRule(CmdStateCode state) {
  static const std::vector<ReplyRule> RULES = buildRules();
  for (const ReplyRule& rule : RULES)
    if (rule.state == state) return &rule;
  return nullptr;
}

}  // namespace

void ParseReply(ReplyContext& ctx) {
  LinkState& link = ctx.link;
  const auto& buf = link.RecvBuf;
  link.RecvCount = 0;
  ctx.effects.stopResponseTimeout();

  if (buf[protocol::REPLY_LEAD] != protocol::LEAD_BYTE) {
    ctx.effects.setLinkStatus(TEXT_BAD_LEAD);
    ctx.effects.beep();
    return;
  }
  const std::uint8_t flag = buf[protocol::REPLY_FLAG];
  if (flag != protocol::FLAG_DATA && flag != protocol::FLAG_STATUS) {
    ctx.effects.setLinkStatus(TEXT_BAD_FLAG);
    ctx.effects.beep();
    return;
  }
  const std::uint8_t length = buf[protocol::REPLY_LENGTH];
  const Data data(buf.data() + protocol::REPLY_DATA, length);
  const bool isStatus = flag == protocol::FLAG_STATUS && length == 1;
  const bool isAck = isStatus && data[0] == protocol::STATUS_OK;
  if (isStatus && !isAck) ctx.effects.setLinkStatus(BoardErrorText(data[0]));

  const ReplyRule* rule = findRule(link.CmdState);
  if (!rule) return;
  bool accepted = false;
  if (rule->accepts == Accepts::Ack) {
    accepted = isAck;
  } else {
    const int expected = ctx.profile.Is1208Family ? rule->lengthB : rule->lengthA;
    accepted = flag == protocol::FLAG_DATA && length == expected;
  }
  if (accepted) {
    if (rule->successText) ctx.effects.setLinkStatus(rule->successText);
    if (rule->action) rule->action(ctx, data);
  } else if (rule->failureText) {
    ctx.effects.setLinkStatus(rule->failureText);
  }
  if (rule->afterEither) rule->afterEither(ctx, data);
}

}  // namespace rtceval
