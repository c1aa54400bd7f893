#include "main_window/main_window.h"

#include <string_view>

namespace rtceval {
namespace {
constexpr const char* CAPTION_SEPARATOR = "-----";
}  // namespace

void MainWindow::selectDevice(const DeviceModel& model) {
  Device_Sel(model.name);
  controls_.LabAlm1.enabled = model.profile.HasAlarm1;
  controls_.LabEV.enabled = model.profile.HasEvent;
  profile_ = model.profile;
  MFUN_FR();
}

void MainWindow::Device_Sel(const std::string& name) {
  controls_.StatusBar1.setPanel(StatusBar::DEVICE, name);
  controls_.caption = std::string(MainWindowControls::BASE_CAPTION) + CAPTION_SEPARATOR + name;
  controls_.Labmht.caption = name + "简介";
  controls_.Labds.caption = name + "数据手册";
  for (LabelControl* l :
       {&controls_.Labmht, &controls_.Labds, &controls_.LabAN0, &controls_.Label1})
    l->visible = true;
  for (LabelControl& link : controls_.LabAN) link.visible = true;
  for (MenuId id : {MenuId::READTIME, MenuId::SETTIME, MenuId::STATUS, MenuId::MFUNCTION})
    controls_.menu(id).enabled = true;
  controls_.Check1.enabled = true;
  controls_.Check2.enabled = true;
  const DeviceModel* selected = FindDeviceModel(name);
  for (const DeviceModel& model : DeviceModels()) {
    for (MenuControl& m : controls_.menus)
      if (std::string_view(m.name) == model.name) m.checked = (&model == selected);
  }
  if (selected) {
    for (int i = selected->applicationNotes; i < APPLICATION_NOTE_COUNT; ++i)
      controls_.LabAN[static_cast<std::size_t>(i)].visible = false;
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
