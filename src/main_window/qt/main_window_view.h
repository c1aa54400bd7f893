#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "main_window/main_window_controls.h"

class QCheckBox;
class QLabel;

namespace rtceval {
class DialogHost;
class MainWindow;
}  // namespace rtceval

namespace rtceval::qt {

class IndicatorWidget;
class MainWindowMenus;
class DialogView;

// Draws the main window Main from its model: every control at its twips place, the menus, the
// status bar and the dialog that is open. Redraws everything whenever the model changes and sends
// the user's clicks and the closing of the window to the model's handlers. Holds no state of its
// own beyond the widgets.
class MainWindowView : public QMainWindow {
 public:
  explicit MainWindowView(MainWindow& model);
  ~MainWindowView() override;
  MainWindowView(const MainWindowView&) = delete;
  MainWindowView& operator=(const MainWindowView&) = delete;

  void redraw();
  // Runs when the window has been closed and the model unloaded: the program ends. Message boxes
  // still open over the window have to go with it.
  void setClosedHandler(std::function<void()> handler) { closed_ = std::move(handler); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct PlacedLabel;
  struct Lamp;

  void buildClock(QWidget& central);
  void buildIndicators(QWidget& central);
  void buildChecks(QWidget& central);
  void buildDocumentBlock(QWidget& central);
  void buildPicture(QWidget& central);
  void buildStatusBar();
  QLabel* addLabel(QWidget& parent, const LabelControl& control, const QFont& font);
  void redrawSubForm();

  MainWindow& model_;
  std::unique_ptr<MainWindowMenus> menus_;
  // Each label with the model control it shows.
  std::vector<PlacedLabel> labels_;
  std::vector<Lamp> lamps_;
  QCheckBox* autoReadTime_ = nullptr;
  QCheckBox* autoMonitor_ = nullptr;
  std::array<QLabel*, StatusBar::kPanels> panels_{};
  // A dialog host with the view of what it has open.
  struct HostedView {
    DialogHost* host;
    QPointer<DialogView> view;
    int shownGeneration = -1;
    int shownRaise = 0;
  };
  void redrawHosted(HostedView& hosted);
  HostedView subForm_;
  std::vector<HostedView> toolWindows_;
  std::function<void()> closed_;
  bool unloaded_ = false;
};

}  // namespace rtceval::qt
