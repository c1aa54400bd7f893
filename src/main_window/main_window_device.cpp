#include "main_window/main_window.h"

#include <string>
#include <string_view>

namespace rtceval {
namespace {
constexpr const char* kCaptionSeparator = "-----";
}  // namespace

void MainWindow::Device_Sel(std::string_view name, DeviceClick click) {
  const std::string shown(name);
  controls_.statusBar.setPanel(StatusBar::kDevicePanel, shown);
  controls_.caption = std::string(MainWindowControls::kBaseCaption) + kCaptionSeparator + shown;
  controls_.introLink.caption = shown + "简介";
  controls_.datasheetLink.caption = shown + "数据手册";
  for (LabelControl* l : {&controls_.introLink, &controls_.datasheetLink, &controls_.notesHeading,
                          &controls_.documentsHeading})
    l->visible = true;
  for (LabelControl& link : controls_.noteLinks) link.visible = true;
  for (MenuControl& m : controls_.menus)
    if (m.needsModel) m.enabled = true;
  controls_.autoReadTime.enabled = true;
  controls_.autoMonitor.enabled = true;
  const DeviceModel* selected = findDeviceModel(name);
  for (MenuControl& m : controls_.menus)
    if (m.parent == MenuId::MDEVICE)
      m.checked = selected && std::string_view(m.name) == selected->name;
  if (!selected) return;
  for (int i = selected->applicationNotes; i < kApplicationNoteCount; ++i)
    controls_.noteLinks[static_cast<std::size_t>(i)].visible = false;

  if (click == DeviceClick::No) return;
  controls_.alarm1Caption.enabled = selected->profile.HasAlarm1;
  controls_.eventCaption.enabled = selected->profile.HasEvent;
  const bool modelChanged = std::string_view(profile_.name) != selected->name;
  profile_ = selected->profile;
  MFUN_FR();
  if (modelChanged) followModel();
}

void MainWindow::followModel() {
  if (!host_.current()) return;
  const MenuControl* item = nullptr;
  for (const MenuControl& m : controls_.menus)
    if (m.window && m.window->kind == WindowKind::SubForm &&
        m.window->number == host_.OpenSubForm())
      item = &m;
  if (!item) return;
  const MenuControl& menu = controls_.menu(*item->parent);
  // A window the new chip does not offer closes, as its item is now disabled. A window that
  // waits for a chip model shows and writes what the chip picked when it opened has: it opens
  // afresh for the new one (its boxes, their enabling and its opening read). The others (the
  // connection dialog, the help texts) do not depend on the chip and stay as they are.
  if (!item->enabled || !menu.enabled)
    host_.close();
  else if (item->needsModel || menu.needsModel || item->window->offeredBy)
    host_.Load_Sub_Form(host_.OpenSubForm());
}

void MainWindow::MFUN_FR() {
  // The items of the windows only some chips offer; the others follow their menu alone.
  for (MenuControl& m : controls_.menus)
    if (m.window && m.window->offeredBy) m.enabled = profile_.*(m.window->offeredBy);
}

}  // namespace rtceval
