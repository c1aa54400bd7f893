#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/device_profile.h"
#include "core/twips.h"
#include "main_window/indicators.h"
#include "main_window/status_bar.h"

namespace rtceval {

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
  MTOOLS,
  LINEMONITOR,
  ACCURACY,
  SNAPSHOT,
  MHELP,
  UM,
  IICS,
  AN,
  MABOUT,
};
inline constexpr int kMenuCount = static_cast<int>(MenuId::MABOUT) + 1;

struct MenuControl {
  MenuId id;
  const char* name;
  const char* caption;           // "&" marks the access key
  std::optional<MenuId> parent;  // none for a top menu
  int subForm = -1;              // the sub-form the item opens, -1 for none
  bool enabled = true;
  bool checked = false;
  int toolWindow = -1;  // the tool window the item opens, -1 for none
};

// The state of every control of the main window, as the view draws it.
struct MainWindowControls {
  static constexpr Twips kClient{0, 0, 8355, 6210};
  static constexpr int kStatusBarHeight = 375;
  static constexpr const char* kBaseCaption = "KESMO时钟芯片简易评估系统";

  std::string caption = kBaseCaption;
  Twips clockFrame{240, 120, 7815, 3375};
  LabelControl timeLabel{"LabTime", "12:00:00", {240, 360, 7335, 1935}};
  LabelControl amLabel{"LabAM", "AM", {240, 2520, 855, 615}};
  LabelControl pmLabel{"LabPM", "PM", {1320, 2520, 855, 615}, false};
  LabelControl dateLabel{"LabDate", "", {2760, 2640, 4695, 375}};

  IndicatorControl alarm0Lamp{"ShapeAlarm0", {720, 4200, 255, 255}};
  IndicatorControl alarm1Lamp{"ShapeAlarm1", {1560, 4200, 255, 255}};
  IndicatorControl eventLamp{"ShapeEV", {2280, 4200, 375, 255}};
  IndicatorControl batteryLamp{"ShapeBAT", {4920, 4200, 375, 255}};
  IndicatorColours colours;

  LabelControl alarm0Caption{"LabAlm0", "报警 0", {480, 4560, 735, 375}};
  LabelControl alarm1Caption{"LabAlm1", "报警 1", {1320, 4560, 735, 375}, false};
  LabelControl eventCaption{"LabEV", "事件", {2160, 4560, 615, 255}, false};
  LabelControl batteryCaption{"LabBAT", "备用电源", {4680, 4560, 1095, 255}, true, false};

  CheckControl autoReadTime{"Check1", "自动读时间", {240, 5040, 1335, 255}};
  CheckControl autoMonitor{"Check2", "自动监测报警或事件", {240, 5400, 2175, 255}};

  LabelControl documentsHeading{"Label1", "相关资料", {3360, 4200, 855, 255}, true, false};
  LabelControl introLink{"Labmht", "器件简介", {3360, 4440, 1455, 255}, true, false};
  LabelControl datasheetLink{"Labds", "数据手册", {3360, 4680, 1695, 255}, true, false};
  LabelControl notesHeading{"LabAN0", "应用笔记", {3360, 5040, 855, 255}, true, false};
  std::array<LabelControl, kApplicationNoteCount> noteLinks = makeNoteLinks();

  Twips picture{5280, 3600, 2655, 1695};

  // Buttons of the commands that menus and timers run; the load sequence hides them.
  std::array<ButtonControl, 6> buttons{{{"CmdConect", "连接"},
                                        {"CmdReadTime", "读时间"},
                                        {"CmdSetWEL", "写WEL"},
                                        {"CmdSetRWEL", "写RWEL"},
                                        {"CmdGetSR", "读SR"},
                                        {"CmdWriteTime", "写时间"}}};

  std::array<MenuControl, kMenuCount> menus = makeMenus();
  StatusBar statusBar;

  MenuControl& menu(MenuId id) { return menus[static_cast<std::size_t>(id)]; }
  const MenuControl& menu(MenuId id) const { return menus[static_cast<std::size_t>(id)]; }

  static std::array<LabelControl, kApplicationNoteCount> makeNoteLinks();
  static std::array<MenuControl, kMenuCount> makeMenus();
};

}  // namespace rtceval
