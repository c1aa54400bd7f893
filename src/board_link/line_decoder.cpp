#include "board_link/line_decoder.h"

#include "board_link/board_status.h"
#include "board_link/frame_codec.h"
#include "board_link/frame_fault_texts.h"
#include "core/device_profile.h"
#include "core/protocol.h"
#include "core/register_map.h"
#include "core/value_codecs.h"

namespace rtceval {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr const char* kTextNotRequest = "不是请求帧";
constexpr const char* kTextProbe = "探测评估板";
constexpr const char* kTextProbeAnswer = "评估板应答";
constexpr const char* kTextStatusOk = "成功";

bool sumIsRight(Bytes frame) {
  return frame.size() >= protocol::kFrameOverhead &&
         frameSum(frame.first(frame.size() - 1)) == frame.back();
}

// The register or block a request names, by address and count on the layout; "" for none.
std::string targetName(Layout layout, std::uint8_t address, std::uint8_t count) {
  const auto is = [&](std::optional<RegisterBlock> block) {
    return block && block->address == address && block->count == count;
  };
  if (is(timeBlock(layout))) return "时间";
  if (is(alarm0Block(layout))) return "报警0";
  if (is(alarm1Block(layout))) return "报警1";
  if (is(controlBlock(layout))) return "控制寄存器";
  if (is(userRegisterBlock(layout))) return "用户寄存器";
  if (count == 1)
    for (const RegisterInfo& reg : registers())
      if (reg.address(layout) == address) return reg.name;
  return {};
}

const RegisterInfo* registerAt(Layout layout, std::uint8_t address) {
  for (const RegisterInfo& reg : registers())
    if (reg.address(layout) == address) return &reg;
  return nullptr;
}

// "SR=06 (WEL RWEL)": a register's value and the names of its set bits.
std::string registerValue(const RegisterInfo& reg, Layout layout, std::uint8_t value) {
  std::string text = std::string(reg.name) + "=" + HexByte(value);
  std::string bits;
  for (int b = 7; b >= 0; --b) {
    const char* name = reg.bits(layout)[static_cast<std::size_t>(b)].dialog;
    if (name && ((value >> b) & 1)) bits += (bits.empty() ? "" : " ") + std::string(name);
  }
  if (!bits.empty()) text += " (" + bits + ")";
  return text;
}

std::string timeText(Bytes data) {
  const DecodedTime t = decodeTime(data);
  std::string text = t.display.dateText + " " + t.display.timeText;
  if (!t.is24Hour) text += t.display.pmEnabled ? " PM" : " AM";
  return text;
}

std::string hexBytes(Bytes data) {
  std::string text;
  for (std::uint8_t b : data) text += (text.empty() ? "" : " ") + HexByte(b);
  return text;
}

const char* deviceName(std::uint8_t device) {
  if (device == protocol::DEV_CCR) return "CCR";
  if (device == protocol::DEV_EEPROM) return "EEPROM";
  return nullptr;
}

}  // namespace

LineDecoder::LineDecoder(const DeviceProfile& profile) : profile_(profile) {}

std::string LineDecoder::meaning(const LineFrame& frame) {
  switch (frame.kind) {
    case LineFrame::Kind::Sent:
      return requestMeaning(frame.bytes);
    case LineFrame::Kind::Received:
      return replyMeaning(frame.bytes);
    case LineFrame::Kind::Late:
      return "迟到的应答，已丢弃（" + std::to_string(frame.bytes.size()) + "字节）";
    case LineFrame::Kind::Stray:
      break;
  }
  return "未成帧的字节（" + std::to_string(frame.bytes.size()) + "个）";
}

std::string LineDecoder::requestMeaning(Bytes frame) {
  asked_.reset();
  if (frame.size() < protocol::kFrameOverhead || frame[0] != protocol::kLeadByte ||
      frame[1] != protocol::kRequestFlag ||
      frame[protocol::kReplyLength] + protocol::kFrameOverhead != frame.size())
    return kTextNotRequest;
  if (!sumIsRight(frame)) return kTextBadChecksum;
  const Bytes payload = frame.subspan(3, frame.size() - protocol::kFrameOverhead);
  if (payload.empty()) {
    asked_ = Asked{.probe = true};
    return kTextProbe;
  }
  if (payload.size() <= protocol::kPayloadCount) return kTextNotRequest;

  const Layout layout = layoutOf(profile_.Is1208Family);
  Asked asked;
  asked.read = payload[protocol::kPayloadCmd] == protocol::CMD_READ;
  asked.device = payload[protocol::kPayloadDev];
  asked.address = payload[protocol::kPayloadAddrLow];
  asked.count = payload[protocol::kPayloadCount];
  const std::uint8_t high = payload[protocol::kPayloadAddrHigh];
  if (!asked.read && payload[protocol::kPayloadCmd] != protocol::CMD_WRITE)
    return "未知命令 " + HexByte(payload[protocol::kPayloadCmd]);
  asked_ = asked;

  std::string text = asked.read ? "读 " : "写 ";
  const char* device = deviceName(asked.device);
  text += device ? device : "器件" + HexByte(asked.device);
  if (asked.device == protocol::DEV_CCR) {
    const std::string name = targetName(layout, asked.address, asked.count);
    if (!name.empty()) text += " " + name;
    text += " 地址" + HexByte(asked.address);
  } else {
    // The X1208 family's requests carry a marker, not an address, in the high byte.
    const bool marker = layout == Layout::B && high == protocol::kAddrHigh1208;
    text += " 地址" + (marker ? "" : HexByte(high)) + HexByte(asked.address);
  }
  text += " " + std::to_string(asked.count) + "字节";
  if (!asked.read) {
    const Bytes data = payload.subspan(protocol::kPayloadData);
    if (data.size() != asked.count)
      text += "，实带" + std::to_string(data.size()) + "字节";
    else
      text += "：" + dataMeaning(asked, data);
  }
  return text;
}

std::string LineDecoder::replyMeaning(Bytes frame) const {
  // In the order the link checks a reply: its sum, its lead byte, its flag.
  if (!sumIsRight(frame)) return kTextBadChecksum;
  if (frame[protocol::kReplyLead] != protocol::kLeadByte) return kTextBadLead;
  const std::uint8_t flag = frame[protocol::kReplyFlag];
  const Bytes data = frame.subspan(protocol::kReplyData, frame.size() - protocol::kFrameOverhead);
  if (flag == protocol::kFlagStatus && data.size() == 1) {
    if (data[0] == protocol::kStatusOk) return std::string("状态00：") + kTextStatusOk;
    return "状态" + HexByte(data[0]) + "：" + boardErrorText(data[0]);
  }
  if (flag != protocol::kFlagData) return kTextBadFlag;
  if (asked_ && asked_->probe && data.empty()) return kTextProbeAnswer;
  if (!asked_ || !asked_->read) return "数据" + std::to_string(data.size()) + "字节";
  if (data.size() != asked_->count)
    return "数据" + std::to_string(data.size()) + "字节，请求的是" + std::to_string(asked_->count) +
           "字节";
  return dataMeaning(*asked_, data);
}

std::string LineDecoder::dataMeaning(const Asked& asked, Bytes data) const {
  const Layout layout = layoutOf(profile_.Is1208Family);
  if (asked.device == protocol::DEV_CCR) {
    const auto is = [&](std::optional<RegisterBlock> block) {
      return block && block->address == asked.address && block->count == data.size();
    };
    if (is(timeBlock(layout))) return timeText(data);
    if (is(controlBlock(layout))) {
      std::string text;
      const auto order = controlBlockOrder(layout);
      for (std::size_t i = 0; i < order.size(); ++i)
        text += (i ? " " : "") + registerValue(registerOf(order[i]), layout, data[i]);
      return text;
    }
    if (data.size() == 1)
      if (const RegisterInfo* reg = registerAt(layout, asked.address))
        return registerValue(*reg, layout, data[0]);
  }
  return hexBytes(data);
}

}  // namespace rtceval
