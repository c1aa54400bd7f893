#include "main_window/main_window.h"

#include <string_view>

namespace rtceval {
namespace {
constexpr const char* kCaptionSeparator = "-----";
}  // namespace

void MainWindow::selectDevice(const DeviceModel& model) {
  Device_Sel(model.name);
  controls_.alarm1Caption.enabled = model.profile.HasAlarm1;
  controls_.eventCaption.enabled = model.profile.HasEvent;
  profile_ = model.profile;
  MFUN_FR();
}

void MainWindow::Device_Sel(const std::string& name) {
  controls_.statusBar.setPanel(StatusBar::kDevicePanel, name);
  controls_.caption = std::string(MainWindowControls::kBaseCaption) + kCaptionSeparator + name;
  controls_.introLink.caption = name + "简介";
  controls_.datasheetLink.caption = name + "数据手册";
  for (LabelControl* l : {&controls_.introLink, &controls_.datasheetLink, &controls_.notesHeading,
                          &controls_.documentsHeading})
    l->visible = true;
  for (LabelControl& link : controls_.noteLinks) link.visible = true;
  for (MenuId id : {MenuId::READTIME, MenuId::SETTIME, MenuId::STATUS, MenuId::MFUNCTION})
    controls_.menu(id).enabled = true;
  controls_.autoReadTime.enabled = true;
  controls_.autoMonitor.enabled = true;
  const DeviceModel* selected = findDeviceModel(name);
  for (MenuControl& m : controls_.menus)
    if (m.parent == MenuId::MDEVICE)
      m.checked = selected && std::string_view(m.name) == selected->name;
  if (selected) {
    for (int i = selected->applicationNotes; i < kApplicationNoteCount; ++i)
      controls_.noteLinks[static_cast<std::size_t>(i)].visible = false;
  }
}

void MainWindow::MFUN_FR() {
  const DeviceProfile& p = profile_;
  controls_.menu(MenuId::mINT).enabled = p.HasINT;
  controls_.menu(MenuId::ALARM1).enabled = p.HasAlarm0;
  controls_.menu(MenuId::ALARM2).enabled = p.HasAlarm1;
  controls_.menu(MenuId::FOUT).enabled = p.HasFOUT;
  controls_.menu(MenuId::mEVENT).enabled = p.HasEvent;
  controls_.menu(MenuId::WDT).enabled = p.HasWDT;
  controls_.menu(MenuId::BP).enabled = p.HasBP;
  controls_.menu(MenuId::MEMORY).enabled = p.HasMemory;
  controls_.menu(MenuId::USERREG).enabled = p.HasUserReg;
}

}  // namespace rtceval
