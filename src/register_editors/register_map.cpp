#include "register_editors/register_map.h"

namespace rtceval {
namespace {

constexpr BitName B(const char* name) {
  return {name, name};
}
constexpr BitName B2(const char* panel, const char* dialog) {
  return {panel, dialog};
}
constexpr BitName NONE{};

// Bit 0 first in each row.
const std::array<RegisterInfo, 6> REGISTERS{{
    {RegisterId::SR,
     "SR",
     0x3F,
     0x07,
     {B("RTCF"), B("WEL"), B("RWEL"), NONE, NONE, B("AL0"), B("AL1"), B("BAT")},
     {B("RTCF"), B("BAT"), B("ALM"), B("EVT"), B("WRTC"), NONE, B("XTOSCB"), B("ARST")},
     {"读SR", StReadSR, "读SR成功"},
     {"写SR", StWriteSR, "设置SR成功"},
     &RegisterImage::RegSR},
    {RegisterId::INT,
     "INT",
     0x11,
     0x08,
     {NONE, NONE, NONE, B("FO0"), B("FO1"), B("AL0E"), B("AL1E"), B("IM")},
     {B("FO0"), B("FO1"), B("FO2"), B("FO3"), B("FOBATB"), B("LPMODE"), B("ALME"), B("IM")},
     {"读INT", StReadINT, "读INT成功"},
     {"写INT", StWriteINT, "设置INT成功"},
     &RegisterImage::RegINT},
    {RegisterId::BL,
     "BL",
     0x10,
     std::nullopt,
     {NONE, NONE, NONE, B2("WD0", "WDT0"), B2("WD1", "WDT1"), B("BP0"), B("BP1"), B("BP2")},
     {},
     {"读BL", StReadBL, "读BL成功"},
     {"写BL", StWriteBL, "设置BL成功"},
     &RegisterImage::RegBL},
    {RegisterId::ATR,
     "ATR",
     0x12,
     0x0A,
     {B("ATR0"), B2("ART1", "ATR1"), B("ATR2"), B("ATR3"), B("ATR4"), B("ATR5"), NONE, NONE},
     {B("ATR0"), B2("ART1", "ATR1"), B("ATR2"), B("ATR3"), B("ATR4"), B("ATR5"), B("BMATR0"),
      B("BMATR1")},
     {"读ATR", StReadATR, "读ATR成功"},
     {"写ATR", StWriteATR, "设置ATR成功"},
     &RegisterImage::RegATR},
    {RegisterId::DTR,
     "DTR",
     0x13,
     0x0B,
     {B("DTR0"), B("DTR1"), B("DTR2"), NONE, NONE, NONE, NONE, NONE},
     {B("DTR0"), B("DTR1"), B("DTR2"), NONE, NONE, NONE, NONE, NONE},
     {"读DTR", StReadDTR, "读DTR成功"},
     {"写DTR", StWriteDTR, "设置DTR成功"},
     &RegisterImage::RegDTR},
    {RegisterId::EV,
     "EV",
     std::nullopt,
     0x09,
     {},
     {B("ESMP0"), B("ESMP1"), B("EHYS0"), B2("EHYST1", "EHYS1"), B("EVEN"), B("RTCHLT"),
      B("EVBATB"), B2("EVTENB", "EVIENB")},
     {"读EV", StReadEV, "读EV成功"},
     {"写EV", StWriteEV, "设置EV成功"},
     &RegisterImage::RegEV},
}};

constexpr std::array<WriteEnableStep, 2> UNLOCK_A{{
    {0x02, {"写WEL", StWriteWEL, "写WEL成功"}},
    {0x06, {"写RWEL", StWriteRWEL, "写RWEL成功"}},
}};
constexpr std::array<WriteEnableStep, 1> UNLOCK_B{{
    {0x10, {"写WRTC", StWriteWRTC, "写WRTC成功"}},
}};

}  // namespace

std::span<const RegisterInfo> Registers() {
  return REGISTERS;
}

const RegisterInfo& RegisterOf(RegisterId id) {
  return REGISTERS[static_cast<std::size_t>(id)];
}

RegisterBlock TimeBlock(Layout layout) {
  return layout == Layout::A ? RegisterBlock{0x30, 8} : RegisterBlock{0x00, 7};
}

RegisterBlock Alarm0Block(Layout layout) {
  return layout == Layout::A ? RegisterBlock{0x00, 8} : RegisterBlock{0x0C, 6};
}

std::optional<RegisterBlock> Alarm1Block(Layout layout) {
  if (layout == Layout::A) return RegisterBlock{0x08, 8};
  return std::nullopt;
}

RegisterBlock ControlBlock(Layout layout) {
  return layout == Layout::A ? RegisterBlock{0x10, 4} : RegisterBlock{0x08, 4};
}

std::optional<RegisterBlock> UserRegisterBlock(Layout layout) {
  if (layout == Layout::B) return RegisterBlock{0x12, 2};
  return std::nullopt;
}

std::array<RegisterId, 4> ControlBlockOrder(Layout layout) {
  if (layout == Layout::A)
    return {RegisterId::BL, RegisterId::INT, RegisterId::ATR, RegisterId::DTR};
  return {RegisterId::INT, RegisterId::EV, RegisterId::ATR, RegisterId::DTR};
}

std::span<const WriteEnableStep> WriteEnableSteps(Layout layout) {
  if (layout == Layout::A) return UNLOCK_A;
  return UNLOCK_B;
}

StatusIndicatorBits IndicatorBits(Layout layout) {
  if (layout == Layout::A) return {7, 5, 6, std::nullopt};
  return {1, 2, std::nullopt, 3};
}

}  // namespace rtceval
