#include "main_window/qt/main_window_menus.h"

#include <map>

#include <QMenu>
#include <QMenuBar>

#include "main_window/main_window.h"

namespace rtceval::qt {

MainWindowMenus::MainWindowMenus(QMenuBar& bar, MainWindow& model) {
  std::map<MenuId, QMenu*> menus;
  for (const MenuControl& m : model.controls().menus) {
    const QString caption = QString::fromUtf8(m.caption);
    if (!m.parent) {
      QMenu* menu = bar.addMenu(caption);
      menu->setObjectName(QString::fromUtf8(m.name));
      menus[*m.id] = menu;
      actions_.push_back(menu->menuAction());
      continue;
    }
    QMenu* parent = menus.at(*m.parent);
    QAction* action = parent->addAction(caption);
    action->setObjectName(QString::fromUtf8(m.name));
    // The device menu ticks the selected model.
    action->setCheckable(*m.parent == MenuId::MDEVICE);
    const char* name = m.name;
    QObject::connect(action, &QAction::triggered, action,
                     [&model, name] { model.menuClick(name); });
    actions_.push_back(action);
  }
}

void MainWindowMenus::redraw(const MainWindowControls& controls) {
  for (std::size_t i = 0; i < controls.menus.size(); ++i) {
    const MenuControl& m = controls.menus[i];
    QAction* action = actions_[i];
    action->setEnabled(m.enabled);
    if (action->isCheckable()) action->setChecked(m.checked);
  }
}

}  // namespace rtceval::qt
