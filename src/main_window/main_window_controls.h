#pragma once

#include <array>
#include <optional>
#include <string>

#include "main_window/device_profile.h"
#include "main_window/indicators.h"
#include "main_window/status_bar.h"

namespace rtceval {

// Position and size in twips (15 twips make a pixel at 96 dpi); controls inside Frame1 are
// placed relative to the frame.
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Twips&) const = default;
};

struct LabelControl {
  const char* name;
  std::string caption;
  Twips place;
  bool enabled = true;
  bool visible = true;
};

struct IndicatorControl {
  const char* name;
  Twips place;
};

struct CheckControl {
  const char* name;
  std::string caption;
  Twips place;
  bool enabled = true;
  bool checked = false;
};

struct ButtonControl {
  const char* name;
  const char* caption;
  bool visible = true;
};

// Every menu and menu item, in menu order.
enum class MenuId {
  MDEVICE,
  X1226,
  X1227,
  X1228,
  X1205,
  X1208,
  X1209,
  MCOMM,
  CONNECT,
  READTIME,
  SETTIME,
  STATUS,
  MFUNCTION,
  mINT,
  ALARM1,
  ALARM2,
  FOUT,
  mEVENT,
  WDT,
  BP,
  DTR,
  ATR,
  MEMORY,
  USERREG,
  MHELP,
  UM,
  IICS,
  AN,
  MABOUT,
};
inline constexpr int MENU_COUNT = static_cast<int>(MenuId::MABOUT) + 1;

struct MenuControl {
  MenuId id;
  const char* name;
  const char* caption;           // "&" marks the access key
  std::optional<MenuId> parent;  // none for a top menu
  int subForm = -1;              // the sub-form the item opens, -1 for none
  bool enabled = true;
  bool checked = false;
};

// The state of every control of the main window, as the view draws it.
struct MainWindowControls {
  static constexpr Twips CLIENT{0, 0, 8355, 6210};
  static constexpr int STATUS_BAR_HEIGHT = 375;
  static constexpr const char* BASE_CAPTION = "KESMO时钟芯片简易评估系统";

  std::string caption = BASE_CAPTION;
  Twips Frame1{240, 120, 7815, 3375};
  LabelControl LabTime{"LabTime", "12:00:00", {240, 360, 7335, 1935}};
  LabelControl LabAM{"LabAM", "AM", {240, 2520, 855, 615}};
  LabelControl LabPM{"LabPM", "PM", {1320, 2520, 855, 615}, false};
  LabelControl LabDate{"LabDate", "", {2760, 2640, 4695, 375}};

  IndicatorControl ShapeAlarm0{"ShapeAlarm0", {720, 4200, 255, 255}};
  IndicatorControl ShapeAlarm1{"ShapeAlarm1", {1560, 4200, 255, 255}};
  IndicatorControl ShapeEV{"ShapeEV", {2280, 4200, 375, 255}};
  IndicatorControl ShapeBAT{"ShapeBAT", {4920, 4200, 375, 255}};
  IndicatorColours colours;

  LabelControl LabAlm0{"LabAlm0", "报警 0", {480, 4560, 735, 375}};
  LabelControl LabAlm1{"LabAlm1", "报警 1", {1320, 4560, 735, 375}, false};
  LabelControl LabEV{"LabEV", "事件", {2160, 4560, 615, 255}, false};
  LabelControl LabBAT{"LabBAT", "备用电源", {4680, 4560, 1095, 255}, true, false};

  CheckControl Check1{"Check1", "自动读时间", {240, 5040, 1335, 255}};
  CheckControl Check2{"Check2", "自动监测报警或事件", {240, 5400, 2175, 255}};

  LabelControl Label1{"Label1", "相关资料", {3360, 4200, 855, 255}, true, false};
  LabelControl Labmht{"Labmht", "器件简介", {3360, 4440, 1455, 255}, true, false};
  LabelControl Labds{"Labds", "数据手册", {3360, 4680, 1695, 255}, true, false};
  LabelControl LabAN0{"LabAN0", "应用笔记", {3360, 5040, 855, 255}, true, false};
  std::array<LabelControl, APPLICATION_NOTE_COUNT> LabAN = makeNoteLinks();

  Twips Picture1{5280, 3600, 2655, 1695};

  // Buttons of the commands that menus and timers run; the load sequence hides them.
  std::array<ButtonControl, 6> buttons{{{"CmdConect", "连接"},
                                        {"CmdReadTime", "读时间"},
                                        {"CmdSetWEL", "写WEL"},
                                        {"CmdSetRWEL", "写RWEL"},
                                        {"CmdGetSR", "读SR"},
                                        {"CmdWriteTime", "写时间"}}};

  std::array<MenuControl, MENU_COUNT> menus = makeMenus();
  StatusBar StatusBar1;

  MenuControl& menu(MenuId id) { return menus[static_cast<std::size_t>(id)]; }
  const MenuControl& menu(MenuId id) const { return menus[static_cast<std::size_t>(id)]; }

  static std::array<LabelControl, APPLICATION_NOTE_COUNT> makeNoteLinks();
  static std::array<MenuControl, MENU_COUNT> makeMenus();
};

}  // namespace rtceval
