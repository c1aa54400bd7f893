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
  profile_ = selected->profile;
  MFUN_FR();
}

void MainWindow::MFUN_FR() {
  // The items of the windows only some chips offer; the others follow their menu alone.
  for (MenuControl& m : controls_.menus)
    if (m.window && m.window->offeredBy) m.enabled = profile_.*(m.window->offeredBy);
}

}  // namespace rtceval
