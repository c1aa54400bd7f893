#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/device_profile.h"
#include "core/twips.h"
#include "dialogs/dialog_table.h"
#include "main_window/dialog_table.h"
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

// The main window's own menus and menu items: the top menus, the device items and 读取时间. The
// items that open windows come from the windows' rows (dialog_table.h).
enum class MenuId {
  MDEVICE,
  X1226,
  X1227,
  X1228,
  X1205,
  X1208,
  X1209,
  MCOMM,
  READTIME,
  MFUNCTION,
  MTOOLS,
  MHELP,
};

struct MenuControl {
  const char* name;              // the objectName, by which tests and assistive technology know it
  const char* caption;           // "&" marks the access key
  std::optional<MenuId> parent;  // none for a top menu
  std::optional<MenuId> id;      // one of the main window's own items; none for a window's item
  const DialogRow* window = nullptr;  // the window the item opens
  bool needsModel = false;            // disabled from the start until the user picks a chip model
  bool enabled = true;
  bool checked = false;
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

  // Every menu and menu item in menu order: each top menu followed by its items.
  std::vector<MenuControl> menus = makeMenus(allDialogs());
  StatusBar statusBar;

  MenuControl& menu(MenuId id);
  const MenuControl& menu(MenuId id) const;
  // The item named `name`; std::invalid_argument when there is none.
  MenuControl& menu(std::string_view name);
  const MenuControl& menu(std::string_view name) const;

  static std::array<LabelControl, kApplicationNoteCount> makeNoteLinks();
  // The main window's own items and the items of the windows in `windows`, each in its menu at
  // its place.
  static std::vector<MenuControl> makeMenus(std::span<const DialogRow> windows);
};

}  // namespace rtceval
