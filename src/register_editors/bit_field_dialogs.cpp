#include "register_editors/bit_field_dialogs.h"

namespace rtceval {
namespace {

constexpr std::nullopt_t kNo = std::nullopt;

// frmINT. On layout A the frequency-output bits FO1/FO0 (0x18) are kept, on layout B FO3..FO0
// (0x0F).
constexpr BitBox kInterruptBoxes[] = {
    {"Check1", "IM", 7, 7},       {"Check2", "ALME", kNo, 6}, {"Check3", "LPMODE", kNo, 5},
    {"Check4", "FOBATB", kNo, 4}, {"Check5", "AL1E", 6, kNo}, {"Check6", "AL0E", 5, kNo},
};
constexpr BitNote kInterruptNotes[] = {
    {"IM是中断方式控制，为1表示允许重复产生中断，为0表示仅产生一次中断。", 0, 1},
    // One sentence a line, as the label shows them.
    {"ALME是X1208/1209的报警中断输出允许。\n"
     "LPMODE是X1208/1209的低功耗模式选择。\n"
     "FOBATB控制X1208/1209的频率输出能否工作于备电方式。",
     1, 3},
    {"AL0/1E是X1226/1228中两个报警中断输出的允许位，置1时允许，当产生报警时在IRQ/"
     "FO脚输出一个脉冲。",
     4, 2},
};

// frmFO. On layout A the interrupt bits IM, AL1E, AL0E (0xE0) are kept, on layout B IM, ALME,
// LPMODE, FOBATB (0xF0).
constexpr BitBox kFrequencyBoxes[] = {
    {"Check1", "FO3", kNo, 3},
    {"Check2", "FO2", kNo, 2},
    {"Check3", "FO1", 4, 1},
    {"Check4", "FO0", 3, 0},
};
constexpr BitNote kFrequencyNotes[] = {
    {"X1208/9有四位FO3~ FO0选择，可输出1/32Hz至4096Hz的16种不同频率的脉冲。", 0, 2},
    {"X1226/"
     "8有一个频率输出脚FO，根据FO0和FO1选择可输出：中断IRQ(00)，32K(01)、4096Hz(10)或1Hz(11)脉冲。",
     2, 2},
};

// frmEV, the X1209 only: every bit of EV comes from a box.
constexpr BitBox kEventBoxes[] = {
    {"Check1", "EVIENB", kNo, 7, true}, {"Check2", "EVBATB", kNo, 6, true},
    {"Check3", "RTCHLT", kNo, 5},       {"Check4", "EVEN", kNo, 4},
    {"Check5", "EHYS1", kNo, 3},        {"Check6", "EHYS0", kNo, 2},
    {"Check7", "ESMP1", kNo, 1},        {"Check8", "ESMP0", kNo, 0},
};
constexpr BitNote kEventNotes[] = {
    {"EVIN引脚内部电流源允许位", 0, 1},
    {"EVDET引脚备电下输出允许位", 1, 1},
    {"事件发生时RTC挂起允许位", 2, 1},
    {"事件检测模式允许位", 3, 1},
    {"EVIN输入引脚去抖滤波时间选择：0(00),3.9ms(01), 15.625ms(10),  31.25ms(11)", 4, 2},
    {"EVIN输入引脚采样频率选择：0(00),2Hz(01),1Hz(10),1/4Hz(11)", 6, 2},
};

// frmWDT, layout A: the block-protect bits BP2..BP0 (0xE0) are kept.
constexpr BitBox kWatchdogBoxes[] = {
    {"Check1", "WDT1", 4, kNo},
    {"Check2", "WDT0", 3, kNo},
};
constexpr BitNote kWatchdogNotes[] = {
    {"X1227/"
     "X1228具有电源监控功能，能够产生低有效的复位输出信号。看门狗电路当在设定和时间内未收到一个有效"
     "的‘开始’信号时看门狗溢出。WDT1/"
     "WDT0设置看门狗定时间隔为1.75秒(00)、750(01)或250毫秒(10)，或者禁止(11)。",
     0, 2},
};

// frmBP, layout A: the watchdog bits WD1/WD0 (0x18) are kept.
constexpr BitBox kProtectBoxes[] = {
    {"Check1", "BP2", 7, kNo},
    {"Check2", "BP1", 6, kNo},
    {"Check3", "BP0", 5, kNo},
};
constexpr BitNote kProtectNotes[] = {
    {"X1226/7/8的EEPROM存储器写保护，详见下表：", 0, 3},
};

}  // namespace

const BitFieldForm InterruptDialog::kForm{
    "frmINT",       "中断", &RegisterImage::RegINT, StWriteINT,
    0x18,           0x0F,   &DeviceProfile::HasINT, kInterruptBoxes,
    kInterruptNotes};

const BitFieldForm FrequencyOutputDialog::kForm{
    "frmFO",        "频率输出", &RegisterImage::RegINT,  StWriteINT,
    0xE0,           0xF0,       &DeviceProfile::HasFOUT, kFrequencyBoxes,
    kFrequencyNotes};

const BitFieldForm EventDialog::kForm{"frmEV",    "事件", &RegisterImage::RegEV,    StWriteEV,
                                      0x00,       0x00,   &DeviceProfile::HasEvent, kEventBoxes,
                                      kEventNotes};

const BitFieldForm WatchdogDialog::kForm{
    "frmWDT",      "看门狗", &RegisterImage::RegBL,  StWriteBL,
    0xE0,          0x00,     &DeviceProfile::HasWDT, kWatchdogBoxes,
    kWatchdogNotes};

const BitFieldForm BlockProtectDialog::kForm{
    "frmBP",      "页保护", &RegisterImage::RegBL, StWriteBL,
    0x18,         0x00,     &DeviceProfile::HasBP, kProtectBoxes,
    kProtectNotes};

}  // namespace rtceval
