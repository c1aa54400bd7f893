#include "main_window/main_window_controls.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace rtceval {

std::array<LabelControl, kApplicationNoteCount> MainWindowControls::makeNoteLinks() {
  static constexpr std::array<const char*, kApplicationNoteCount> kNames = {
      "LabAN(0)", "LabAN(1)", "LabAN(2)", "LabAN(3)", "LabAN(4)",
      "LabAN(5)", "LabAN(6)", "LabAN(7)", "LabAN(8)"};
  constexpr int kRowLefts[] = {3360, 4080, 4800, 5520, 6240};
  constexpr int kFirstRowTop = 5280;
  constexpr int kSecondRowTop = 5520;
  constexpr std::size_t kPerRow = 5;
  std::array<LabelControl, kApplicationNoteCount> links{};
  for (std::size_t i = 0; i < links.size(); ++i) {
    const int top = i < kPerRow ? kFirstRowTop : kSecondRowTop;
    links[i] = LabelControl{kNames[i], applicationNoteNames()[i],
                            Twips{kRowLefts[i % kPerRow], top, 735, 255}, true, false};
  }
  return links;
}

namespace {

// One of the main window's own menus or items.
struct OwnItem {
  MenuId id;
  const char* name;
  const char* caption;
  std::optional<MenuId> parent;  // none for a top menu
  int place;                     // among all items of its menu, windows' items included
  bool needsModel = false;
};

// A top menu and the windows' menu whose items it holds.
struct TopMenu {
  MenuId id;
  std::optional<WindowMenu> holds;
};

constexpr TopMenu kTopMenus[] = {{MenuId::MDEVICE, std::nullopt},
                                 {MenuId::MCOMM, WindowMenu::Command},
                                 {MenuId::MFUNCTION, WindowMenu::Function},
                                 {MenuId::MTOOLS, WindowMenu::Tools},
                                 {MenuId::MHELP, WindowMenu::Help}};

constexpr OwnItem kOwnItems[] = {
    {MenuId::MDEVICE, "MDEVICE", "(&D)器件", std::nullopt, 0},
    {MenuId::X1226, "X1226", "X1226", MenuId::MDEVICE, 0},
    {MenuId::X1227, "X1227", "X1227", MenuId::MDEVICE, 1},
    {MenuId::X1228, "X1228", "X1228", MenuId::MDEVICE, 2},
    {MenuId::X1205, "X1205", "X1205", MenuId::MDEVICE, 3},
    {MenuId::X1208, "X1208", "X1208", MenuId::MDEVICE, 4},
    {MenuId::X1209, "X1209", "X1209", MenuId::MDEVICE, 5},
    {MenuId::MCOMM, "MCOMM", "(&C)命令", std::nullopt, 1},
    {MenuId::READTIME, "READTIME", "读取时间", MenuId::MCOMM, 1, true},
    {MenuId::MFUNCTION, "MFUNCTION", "(&F)功能", std::nullopt, 2, true},
    {MenuId::MTOOLS, "MTOOLS", "(&T)工具", std::nullopt, 3},
    {MenuId::MHELP, "MHELP", "(&H)帮助", std::nullopt, 4},
};

MenuControl ownControl(const OwnItem& own) {
  return {own.name, own.caption, own.parent, own.id, nullptr, own.needsModel};
}

}  // namespace

std::vector<MenuControl> MainWindowControls::makeMenus(std::span<const DialogRow> windows) {
  std::vector<MenuControl> menus;
  for (const TopMenu& top : kTopMenus) {
    std::vector<std::pair<int, MenuControl>> items;
    for (const OwnItem& own : kOwnItems) {
      if (own.id == top.id) menus.push_back(ownControl(own));
      if (own.parent == top.id) items.emplace_back(own.place, ownControl(own));
    }
    for (const DialogRow& row : windows)
      if (row.menu == top.holds)
        items.emplace_back(row.place, MenuControl{row.item, row.caption, top.id, std::nullopt, &row,
                                                  row.needsModel});
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [place, item] : items) menus.push_back(item);
  }
  return menus;
}

namespace {
template <class Menus, class Match>
auto& findMenu(Menus& menus, Match match, std::string_view what) {
  for (auto& m : menus)
    if (match(m)) return m;
  throw std::invalid_argument("no menu item " + std::string(what));
}
}  // namespace

MenuControl& MainWindowControls::menu(MenuId id) {
  return findMenu(
      menus, [id](const MenuControl& m) { return m.id == id; }, "by id");
}

const MenuControl& MainWindowControls::menu(MenuId id) const {
  return findMenu(
      menus, [id](const MenuControl& m) { return m.id == id; }, "by id");
}

MenuControl& MainWindowControls::menu(std::string_view name) {
  return findMenu(
      menus, [name](const MenuControl& m) { return name == m.name; }, name);
}

const MenuControl& MainWindowControls::menu(std::string_view name) const {
  return findMenu(
      menus, [name](const MenuControl& m) { return name == m.name; }, name);
}

}  // namespace rtceval
