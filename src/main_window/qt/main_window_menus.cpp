#include "main_window/qt/main_window_menus.h"

#include <QMenu>
#include <QMenuBar>

#include "main_window/main_window.h"

namespace rtceval::qt {

MainWindowMenus::MainWindowMenus(QMenuBar& bar, MainWindow& model) {
  std::array<QMenu*, kMenuCount> menus{};
  for (const MenuControl& m : model.controls().menus) {
    const auto index = static_cast<std::size_t>(m.id);
    const QString caption = QString::fromUtf8(m.caption);
    if (!m.parent) {
      QMenu* menu = bar.addMenu(caption);
      menu->setObjectName(QString::fromUtf8(m.name));
      menus[index] = menu;
      actions_[index] = menu->menuAction();
      continue;
    }
    QMenu* parent = menus[static_cast<std::size_t>(*m.parent)];
    QAction* action = parent->addAction(caption);
    action->setObjectName(QString::fromUtf8(m.name));
    // The device menu ticks the selected model.
    action->setCheckable(*m.parent == MenuId::MDEVICE);
    const MenuId id = m.id;
    QObject::connect(action, &QAction::triggered, action, [&model, id] { model.menuClick(id); });
    actions_[index] = action;
  }
}

void MainWindowMenus::redraw(const MainWindowControls& controls) {
  for (const MenuControl& m : controls.menus) {
    QAction* action = actions_[static_cast<std::size_t>(m.id)];
    action->setEnabled(m.enabled);
    if (action->isCheckable()) action->setChecked(m.checked);
  }
}

}  // namespace rtceval::qt
