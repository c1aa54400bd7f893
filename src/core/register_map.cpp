#include "core/register_map.h"

namespace rtceval {
namespace {

constexpr BitName bit(const char* name) {
  return {name, name};
}
constexpr BitName bitAs(const char* panel, const char* dialog) {
  return {panel, dialog};
}
constexpr BitName kNone{};

// Bit 0 first in each row.
const std::array<RegisterInfo, 6> kRegisters{{
    {RegisterId::SR,
     "SR",
     0x3F,
     0x07,
     {bit("RTCF"), bit("WEL"), bit("RWEL"), kNone, kNone, bit("AL0"), bit("AL1"), bit("BAT")},
     {bit("RTCF"), bit("BAT"), bit("ALM"), bit("EVT"), bit("WRTC"), kNone, bit("XTOSCB"),
      bit("ARST")},
     {"读SR", StReadSR, "读SR成功"},
     {"写SR", StWriteSR, "设置SR成功"},
     &RegisterImage::RegSR},
    {RegisterId::INT,
     "INT",
     0x11,
     0x08,
     {kNone, kNone, kNone, bit("FO0"), bit("FO1"), bit("AL0E"), bit("AL1E"), bit("IM")},
     {bit("FO0"), bit("FO1"), bit("FO2"), bit("FO3"), bit("FOBATB"), bit("LPMODE"), bit("ALME"),
      bit("IM")},
     {"读INT", StReadINT, "读INT成功"},
     {"写INT", StWriteINT, "设置INT成功"},
     &RegisterImage::RegINT},
    {RegisterId::BL,
     "BL",
     0x10,
     std::nullopt,
     {kNone, kNone, kNone, bitAs("WD0", "WDT0"), bitAs("WD1", "WDT1"), bit("BP0"), bit("BP1"),
      bit("BP2")},
     {},
     {"读BL", StReadBL, "读BL成功"},
     {"写BL", StWriteBL, "设置BL成功"},
     &RegisterImage::RegBL},
    {RegisterId::ATR,
     "ATR",
     0x12,
     0x0A,
     {bit("ATR0"), bitAs("ART1", "ATR1"), bit("ATR2"), bit("ATR3"), bit("ATR4"), bit("ATR5"), kNone,
      kNone},
     {bit("ATR0"), bitAs("ART1", "ATR1"), bit("ATR2"), bit("ATR3"), bit("ATR4"), bit("ATR5"),
      bit("BMATR0"), bit("BMATR1")},
     {"读ATR", StReadATR, "读ATR成功"},
     {"写ATR", StWriteATR, "设置ATR成功"},
     &RegisterImage::RegATR},
    {RegisterId::DTR,
     "DTR",
     0x13,
     0x0B,
     {bit("DTR0"), bit("DTR1"), bit("DTR2"), kNone, kNone, kNone, kNone, kNone},
     {bit("DTR0"), bit("DTR1"), bit("DTR2"), kNone, kNone, kNone, kNone, kNone},
     {"读DTR", StReadDTR, "读DTR成功"},
     {"写DTR", StWriteDTR, "设置DTR成功"},
     &RegisterImage::RegDTR},
    {RegisterId::EV,
     "EV",
     std::nullopt,
     0x09,
     {},
     {bit("ESMP0"), bit("ESMP1"), bit("EHYS0"), bitAs("EHYST1", "EHYS1"), bit("EVEN"),
      bit("RTCHLT"), bit("EVBATB"), bitAs("EVTENB", "EVIENB")},
     {"读EV", StReadEV, "读EV成功"},
     {"写EV", StWriteEV, "设置EV成功"},
     &RegisterImage::RegEV},
}};

constexpr std::array<WriteEnableStep, 2> kUnlockA{{
    {0x02, {"写WEL", StWriteWEL, "写WEL成功"}},
    {0x06, {"写RWEL", StWriteRWEL, "写RWEL成功"}},
}};
constexpr std::array<WriteEnableStep, 1> kUnlockB{{
    {0x10, {"写WRTC", StWriteWRTC, "写WRTC成功"}},
}};

}  // namespace

std::span<const RegisterInfo> registers() {
  return kRegisters;
}

const RegisterInfo& registerOf(RegisterId id) {
  return kRegisters[static_cast<std::size_t>(id)];
}

RegisterBlock timeBlock(Layout layout) {
  return layout == Layout::A ? RegisterBlock{0x30, 8} : RegisterBlock{0x00, 7};
}

RegisterBlock alarm0Block(Layout layout) {
  return layout == Layout::A ? RegisterBlock{0x00, 8} : RegisterBlock{0x0C, 6};
}

std::optional<RegisterBlock> alarm1Block(Layout layout) {
  if (layout == Layout::A) return RegisterBlock{0x08, 8};
  return std::nullopt;
}

RegisterBlock controlBlock(Layout layout) {
  return layout == Layout::A ? RegisterBlock{0x10, 4} : RegisterBlock{0x08, 4};
}

std::optional<RegisterBlock> userRegisterBlock(Layout layout) {
  if (layout == Layout::B) return RegisterBlock{0x12, 2};
  return std::nullopt;
}

std::array<RegisterId, 4> controlBlockOrder(Layout layout) {
  if (layout == Layout::A)
    return {RegisterId::BL, RegisterId::INT, RegisterId::ATR, RegisterId::DTR};
  return {RegisterId::INT, RegisterId::EV, RegisterId::ATR, RegisterId::DTR};
}

std::span<const WriteEnableStep> writeEnableSteps(Layout layout) {
  if (layout == Layout::A) return kUnlockA;
  return kUnlockB;
}

StatusIndicatorBits indicatorBits(Layout layout) {
  if (layout == Layout::A) return {7, 5, 6, std::nullopt};
  return {1, 2, std::nullopt, 3};
}

}  // namespace rtceval
