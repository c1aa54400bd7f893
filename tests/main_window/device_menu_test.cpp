// The load sequence, the device menu and its profiles, the function menu and the dialog switch.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

#include "connection/connect_dialog.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;

const char* const kFunctionItems[] = {"mINT", "ALARM1", "ALARM2", "FOUT",   "mEVENT",
                                      "WDT",  "BP",     "MEMORY", "USERREG"};
const MenuId kDeviceItems[] = {MenuId::X1226, MenuId::X1227, MenuId::X1228,
                               MenuId::X1205, MenuId::X1208, MenuId::X1209};

int visibleNoteLinks(const MainWindowControls& c) {
  int n = 0;
  for (const auto& l : c.noteLinks) n += l.visible;
  return n;
}

// Everything a device click may change, as one comparable text.
std::string snapshot(const WindowBench& b) {
  const auto& c = b.controls();
  std::ostringstream s;
  s << c.caption << '|' << b.panel(4) << '|' << c.introLink.caption << '|'
    << c.datasheetLink.caption << '|' << c.alarm1Caption.enabled << c.eventCaption.enabled
    << c.autoReadTime.enabled << c.autoMonitor.enabled << '|';
  for (const auto& m : c.menus) s << m.enabled << m.checked;
  s << '|';
  for (const auto& l : c.noteLinks) s << l.visible;
  const DeviceProfile& p = b.window.profile();
  s << '|' << p.Is1208Family << p.HasINT << p.HasWDT << p.HasAlarm0 << p.HasAlarm1 << p.HasBP
    << p.HasEvent << p.HasFOUT << p.HasMemory << p.HasUserReg;
  return s.str();
}

// --- Load sequence -------------------------------------------------------------------------------

TEST(LoadSequence, DateTextUsesBlanksAndNamesTheWeekdayAsAChipReadDoes) {
  struct Case {
    PcDate date;
    const char* text;
  };
  const Case cases[] = {{{2004, 5, 20, 4}, " 2004年 5月 20日 星期四"},
                        {{2004, 5, 23, 0}, " 2004年 5月 23日 星期日"},
                        {{2004, 5, 22, 6}, " 2004年 5月 22日 星期六"},
                        {{2011, 12, 1, 4}, " 2011年 12月 1日 星期四"}};
  for (const Case& c : cases) {
    WindowBench b;
    b.pc.date = c.date;
    b.window.Form_Load();
    EXPECT_EQ(b.controls().dateLabel.caption, c.text);
  }
}

TEST(LoadSequence, StartsWithNoDeviceAndDarkIndicators) {
  WindowBench b;
  // An SR reply before the load lights indicators; the load must darken them again.
  b.replyTo(StReadSR, dataReply({0xE0}));
  ASSERT_EQ(b.controls().colours.batteryLamp, (Rgb{0, 255, 0}));
  b.port.receive({0x55, 0x80});
  b.window.Form_Load();

  const auto& c = b.controls();
  EXPECT_EQ(c.colours.alarm0Lamp, (Rgb{128, 0, 0}));
  EXPECT_EQ(c.colours.alarm1Lamp, (Rgb{128, 0, 0}));
  EXPECT_EQ(c.colours.eventLamp, (Rgb{128, 0, 0}));
  EXPECT_EQ(c.colours.batteryLamp, (Rgb{0, 64, 0}));
  EXPECT_FALSE(c.autoReadTime.enabled);
  EXPECT_FALSE(c.autoMonitor.enabled);
  for (const auto& button : c.buttons) EXPECT_FALSE(button.visible) << button.name;
  for (const char* id : {"READTIME", "SETTIME", "STATUS", "MFUNCTION"})
    EXPECT_FALSE(c.menu(id).enabled) << c.menu(id).name;
  for (const char* id : {"MDEVICE", "CONNECT", "MHELP", "MCOMM"})
    EXPECT_TRUE(c.menu(id).enabled) << c.menu(id).name;
  for (MenuId id : kDeviceItems) EXPECT_FALSE(c.menu(id).checked);
  EXPECT_EQ(b.panel(4), "");
  EXPECT_EQ(visibleNoteLinks(c), 0);
  EXPECT_FALSE(c.documentsHeading.visible || c.introLink.visible || c.datasheetLink.visible ||
               c.notesHeading.visible);
  EXPECT_EQ(c.caption, "KESMO时钟芯片简易评估系统");
  EXPECT_EQ(b.window.OpenSubForm(), 255);
  EXPECT_EQ(b.link().PortNo(), 1);
}

TEST(LoadSequence, BeforeAnyDeviceOnlyDeviceConnectAndHelpWork) {
  WindowBench b;
  b.loadConnected();
  b.window.menuClick(MenuId::READTIME);
  for (const char* id : kFunctionItems) b.window.menuClick(id);
  b.window.menuClick("DTR");
  b.window.menuClick("SETTIME");
  b.window.menuClick("STATUS");
  EXPECT_TRUE(b.port.writes.empty());
  EXPECT_EQ(b.window.OpenSubForm(), 255);
  EXPECT_FALSE(b.window.link().awaitingReply());

  b.window.autoReadTimeClicked(true);
  b.window.autoMonitorClicked(true);
  EXPECT_FALSE(b.controls().autoReadTime.checked);
  EXPECT_FALSE(b.controls().autoMonitor.checked);
  EXPECT_FALSE(b.window.monitorTimer().isEnabled());
  b.clock.advance(3000ms);
  EXPECT_TRUE(b.port.writes.empty());

  b.window.menuClick("MABOUT");
  EXPECT_EQ(b.window.OpenSubForm(), 17);
  b.window.menuClick("CONNECT");
  EXPECT_EQ(b.window.OpenSubForm(), 0);
  EXPECT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
}

TEST(LoadSequence, UnloadStopsTimersAndClosesThePortOnce) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.autoMonitorClicked(true);
  b.window.menuClick(MenuId::READTIME);
  b.window.Form_Unload();
  EXPECT_FALSE(b.window.mainTimer().isEnabled());
  EXPECT_FALSE(b.window.link().awaitingReply());
  EXPECT_FALSE(b.window.monitorTimer().isEnabled());
  EXPECT_FALSE(b.port.isOpen());
  const int closes = b.port.closeCount;
  const auto sent = b.port.writes.size();
  b.window.Form_Unload();
  EXPECT_EQ(b.port.closeCount, closes);
  b.clock.advance(5000ms);
  EXPECT_EQ(b.port.writes.size(), sent);
  EXPECT_TRUE(b.messageBoxes.shown.empty());
}

// --- Device profiles -----------------------------------------------------------------------------

struct ProfileCase {
  MenuId item;
  const char* name;
  // 1208 INT WDT AL0 AL1 BP EV FOUT MEM UR
  std::array<bool, 10> flags;
  int noteLinks;
};
void PrintTo(const ProfileCase& c, std::ostream* os) {
  *os << c.name;
}

class DeviceClick : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(DeviceClick, AppliesTheModelsProfile) {
  const ProfileCase& c = GetParam();
  WindowBench b;
  b.loadConnected();
  b.window.menuClick(c.item);
  const DeviceProfile& p = b.window.profile();
  const std::array<bool, 10> flags{p.Is1208Family, p.HasINT,    p.HasWDT,   p.HasAlarm0,
                                   p.HasAlarm1,    p.HasBP,     p.HasEvent, p.HasFOUT,
                                   p.HasMemory,    p.HasUserReg};
  EXPECT_EQ(flags, c.flags);

  const auto& m = b.controls();
  const std::array<bool, 9> menus{
      m.menu("mINT").enabled,   m.menu("WDT").enabled,    m.menu("ALARM1").enabled,
      m.menu("ALARM2").enabled, m.menu("BP").enabled,     m.menu("mEVENT").enabled,
      m.menu("FOUT").enabled,   m.menu("MEMORY").enabled, m.menu("USERREG").enabled};
  const std::array<bool, 9> expectedMenus{c.flags[1], c.flags[2], c.flags[3],
                                          c.flags[4], c.flags[5], c.flags[6],
                                          c.flags[7], c.flags[8], c.flags[9]};
  EXPECT_EQ(menus, expectedMenus);
  EXPECT_TRUE(m.menu("DTR").enabled);
  EXPECT_TRUE(m.menu("ATR").enabled);
  for (const char* id : {"READTIME", "SETTIME", "STATUS", "MFUNCTION"})
    EXPECT_TRUE(m.menu(id).enabled);
  EXPECT_TRUE(m.autoReadTime.enabled);
  EXPECT_TRUE(m.autoMonitor.enabled);
  EXPECT_FALSE(m.autoReadTime.checked);

  EXPECT_EQ(m.alarm1Caption.enabled, c.flags[4]);
  EXPECT_EQ(m.eventCaption.enabled, c.flags[6]);
  EXPECT_TRUE(m.alarm1Caption.visible && m.eventCaption.visible) << "greyed, never hidden";

  EXPECT_EQ(m.caption, std::string("KESMO时钟芯片简易评估系统-----") + c.name);
  EXPECT_EQ(b.panel(4), c.name);
  EXPECT_EQ(m.introLink.caption, std::string(c.name) + "简介");
  EXPECT_EQ(m.datasheetLink.caption, std::string(c.name) + "数据手册");
  EXPECT_TRUE(m.introLink.visible && m.datasheetLink.visible && m.notesHeading.visible &&
              m.documentsHeading.visible);
  EXPECT_EQ(visibleNoteLinks(m), c.noteLinks);
  EXPECT_TRUE(m.noteLinks[0].visible);
  EXPECT_EQ(m.noteLinks[0].caption, "AN154");
  for (MenuId id : kDeviceItems) EXPECT_EQ(m.menu(id).checked, id == c.item) << m.menu(id).name;
  EXPECT_TRUE(b.port.writes.empty()) << "choosing a model sends nothing";
}

constexpr bool kT = true;
constexpr bool kF = false;
INSTANTIATE_TEST_SUITE_P(
    Models, DeviceClick,
    ::testing::Values(
        ProfileCase{MenuId::X1226, "X1226", {kF, kT, kF, kT, kT, kT, kF, kT, kT, kF}, 9},
        ProfileCase{MenuId::X1227, "X1227", {kF, kF, kT, kT, kT, kT, kF, kF, kT, kF}, 9},
        ProfileCase{MenuId::X1228, "X1228", {kF, kT, kT, kT, kT, kT, kF, kT, kT, kF}, 9},
        ProfileCase{MenuId::X1205, "X1205", {kF, kT, kF, kT, kT, kF, kF, kF, kF, kF}, 1},
        ProfileCase{MenuId::X1208, "X1208", {kT, kT, kF, kT, kF, kF, kF, kT, kF, kT}, 1},
        ProfileCase{MenuId::X1209, "X1209", {kT, kT, kF, kT, kF, kF, kT, kT, kF, kT}, 1}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DeviceSelection, BackFromX1205ToX1226ShowsAllNineNoteLinks) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1205);
  ASSERT_EQ(visibleNoteLinks(b.controls()), 1);
  b.window.menuClick(MenuId::X1226);
  EXPECT_EQ(visibleNoteLinks(b.controls()), 9);
  EXPECT_EQ(b.controls().noteLinks[8].caption, "AN87");
  EXPECT_TRUE(b.controls().menu("BP").enabled);
  EXPECT_FALSE(b.controls().menu(MenuId::X1205).checked);
}

TEST(DeviceSelection, SameModelTwiceChangesNothing) {
  for (MenuId model : kDeviceItems) {
    WindowBench b;
    b.loadConnectedWith(model);
    const std::string once = snapshot(b);
    b.window.menuClick(model);
    EXPECT_EQ(snapshot(b), once);
  }
}

TEST(DeviceSelection, SwitchingFamiliesKeepsRegistersAndTheOpenDialog) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1228);
  b.window.registers().RegBL = 0x84;
  b.window.registers().RegINT = 0x61;
  b.window.menuClick("CONNECT");
  b.window.menuClick(MenuId::X1208);
  EXPECT_EQ(b.window.registers().RegBL, 0x84);
  EXPECT_EQ(b.window.registers().RegINT, 0x61);
  EXPECT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_EQ(b.window.OpenSubForm(), 0);
  EXPECT_TRUE(b.window.profile().Is1208Family);
  EXPECT_TRUE(b.port.writes.empty());
}

TEST(DeviceSelection, DeviceSelByNameSetsNoFlagAndTicksOnlyAnExactName) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1205);
  b.window.Device_Sel("x1208");
  const auto& c = b.controls();
  EXPECT_EQ(c.caption, "KESMO时钟芯片简易评估系统-----x1208");
  EXPECT_EQ(b.panel(4), "x1208");
  for (MenuId id : kDeviceItems) EXPECT_FALSE(c.menu(id).checked) << c.menu(id).name;
  EXPECT_EQ(visibleNoteLinks(c), 9);
  EXPECT_FALSE(b.window.profile().Is1208Family);
  EXPECT_TRUE(b.window.profile().HasAlarm1) << "the X1205 profile stays in force";

  b.window.Device_Sel("X1209");
  EXPECT_TRUE(c.menu(MenuId::X1209).checked);
  EXPECT_EQ(visibleNoteLinks(c), 1);
  EXPECT_FALSE(b.window.profile().HasEvent);
  EXPECT_FALSE(c.eventCaption.enabled) << "labels follow the click, not Device_Sel";
}

// --- Dialog switch -------------------------------------------------------------------------------

TEST(SubForms, OpeningAnotherFormClosesThePortDialog) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.menuClick("CONNECT");
  ASSERT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  b.window.menuClick("mINT");
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_EQ(b.window.OpenSubForm(), 3);
}

TEST(SubForms, ReopeningThePortDialogLoadsItAfresh) {
  WindowBench b;
  b.loadConnected();
  b.port.openable = {1, 2, 3, 4};
  b.window.menuClick("CONNECT");
  b.pickPort(3);
  b.clickConnect();
  b.clock.advance(1000ms);
  ASSERT_EQ(b.window.dialogHost().current<ConnectDialog>()->progress(), 10);
  b.window.menuClick("CONNECT");
  ConnectDialog* again = b.window.dialogHost().current<ConnectDialog>();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->selectedPort(), 3) << "loads with the port now in use";
  EXPECT_EQ(again->ackCount(), 0);
  EXPECT_FALSE(again->progressTimer().isEnabled());
  b.clock.advance(10000ms);
  EXPECT_TRUE(b.messageBoxes.shown.empty()) << "the closed dialog's timer is gone with it";
}

TEST(SubForms, NumberOutsideTheTableShowsNothing) {
  WindowBench b;
  b.loadConnected();
  b.window.dialogHost().Load_Sub_Form(0);
  ASSERT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  b.window.dialogHost().Load_Sub_Form(18);
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_EQ(b.window.OpenSubForm(), 18);
  b.window.dialogHost().Load_Sub_Form(0);
  EXPECT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  b.window.dialogHost().Load_Sub_Form(255);
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_EQ(b.window.OpenSubForm(), 255);
}

TEST(SubForms, ClosedByTheUserAndOpenedAgain) {
  WindowBench b;
  b.loadConnected();
  b.window.menuClick("CONNECT");
  b.window.dialogHost().closedByUser();
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_EQ(b.window.OpenSubForm(), 0) << "not reset when the user closes a dialog";
  b.window.menuClick("CONNECT");
  EXPECT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
}

}  // namespace
}  // namespace rtceval::testing
