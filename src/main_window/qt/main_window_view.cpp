#include "main_window/qt/main_window_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>

#include "main_window/main_window.h"
#include "main_window/qt/dialog_view_table.h"
#include "main_window/qt/indicator_widget.h"
#include "main_window/qt/main_window_menus.h"
#include "platform/qt/twips.h"
#include "platform/qt/ui_fonts.h"
#include "platform/qt/user_input.h"

// Resources of a static library are registered by name from outside any namespace.
static void registerResources() {
  Q_INIT_RESOURCE(rtceval);
}

namespace rtceval::qt {
namespace {

constexpr double kClockPoints = 95.25;
constexpr double kMeridiemPoints = 24;
constexpr double kDatePoints = 18;
constexpr double kIndicatorLabelPoints = 12;
constexpr double kLinkPoints = 9.75;
constexpr double kPlainPoints = 9;
constexpr auto kPicture = ":/rtceval/picture1.png";

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

QColor toQColor(const Rgb& c) {
  return {c.r, c.g, c.b};
}

// The clock face at its nominal size, made smaller only if the widest time would not fit.
QFont fittedClockFont(const QRect& box) {
  QFont font = clockFont(kClockPoints);
  const QFontMetrics metrics(font);
  const QString widest = QStringLiteral("00:00:00");
  const double widthRatio = double(box.width()) / metrics.horizontalAdvance(widest);
  const double heightRatio = double(box.height()) / metrics.tightBoundingRect(widest).height();
  const double ratio = std::min(widthRatio, heightRatio);
  if (ratio < 1.0) font.setPixelSize(std::max(1, int(font.pixelSize() * ratio)));
  return font;
}

// Makes a label act as a link: a pointing-hand cursor, reachable with the Tab key, and a left
// click or Enter, Return or Space while it has the focus runs `activate`.
class LinkActivation : public QObject {
 public:
  LinkActivation(QLabel* label, std::function<void()> activate)
      : QObject(label), activate_(std::move(activate)) {
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setStyleSheet(QStringLiteral("QLabel:focus { border: 1px dotted; }"));
    label->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      activate_();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        activate_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> activate_;
};

QFont linkFont() {
  QFont font = uiFont(kLinkPoints);
  font.setUnderline(true);
  return font;
}

}  // namespace

struct MainWindowView::PlacedLabel {
  QLabel* widget;
  const LabelControl* control;
};

struct MainWindowView::Lamp {
  IndicatorWidget* widget;
  Rgb IndicatorColours::*fill;
  Rgb lit;                      // the colour of the lamp switched on
  const LabelControl* caption;  // the label under the lamp names it
};

MainWindowView::MainWindowView(MainWindow& model) : model_(model) {
  registerResources();
  subForm_.host = &model_.dialogHost();
  for (DialogHost* tool : model_.toolHosts()) toolWindows_.push_back({tool, nullptr});
  // A fixed-size window with a close button only, like a dialog, that still has its own entry in
  // the task bar.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setObjectName(QStringLiteral("Main"));

  auto* central = new QWidget(this);
  central->setFixedSize(
      toPixels(MainWindowControls::kClient.width),
      toPixels(MainWindowControls::kClient.height - MainWindowControls::kStatusBarHeight));
  setCentralWidget(central);
  menus_ = std::make_unique<MainWindowMenus>(*menuBar(), model_);
  buildClock(*central);
  buildIndicators(*central);
  buildChecks(*central);
  buildDocumentBlock(*central);
  buildPicture(*central);
  buildStatusBar();
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  redraw();
  model_.setChangedHandler([this] { redraw(); });
}

MainWindowView::~MainWindowView() {
  model_.setChangedHandler({});
}

QLabel* MainWindowView::addLabel(QWidget& parent, const LabelControl& control, const QFont& font) {
  auto* label = new QLabel(&parent);
  label->setObjectName(QString::fromUtf8(control.name));
  label->setGeometry(toPixels(control.place));
  label->setFont(font);
  // Centred vertically: the line height of the Chinese face exceeds the smaller boxes, and a
  // top-aligned line would lose the lower part of its glyphs.
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  labels_.push_back({label, &control});
  return label;
}

void MainWindowView::buildClock(QWidget& central) {
  const MainWindowControls& c = model_.controls();
  auto* frame = new QGroupBox(&central);
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setGeometry(toPixels(c.clockFrame));
  addLabel(*frame, c.timeLabel, fittedClockFont(toPixels(c.timeLabel.place)));
  addLabel(*frame, c.amLabel, uiFont(kMeridiemPoints));
  addLabel(*frame, c.pmLabel, uiFont(kMeridiemPoints));
  addLabel(*frame, c.dateLabel, uiFont(kDatePoints));
}

void MainWindowView::buildIndicators(QWidget& central) {
  const MainWindowControls& c = model_.controls();
  const auto lamp = [&](const IndicatorControl& shape, Rgb IndicatorColours::*fill, Rgb lit,
                        const LabelControl& caption) {
    auto* widget = new IndicatorWidget(&central);
    widget->setObjectName(QString::fromUtf8(shape.name));
    widget->setGeometry(toPixels(shape.place));
    lamps_.push_back({widget, fill, lit, &caption});
  };
  lamp(c.alarm0Lamp, &IndicatorColours::alarm0Lamp, kAlarmLit, c.alarm0Caption);
  lamp(c.alarm1Lamp, &IndicatorColours::alarm1Lamp, kAlarmLit, c.alarm1Caption);
  lamp(c.eventLamp, &IndicatorColours::eventLamp, kAlarmLit, c.eventCaption);
  lamp(c.batteryLamp, &IndicatorColours::batteryLamp, kBatteryLit, c.batteryCaption);
  const QFont font = uiFont(kIndicatorLabelPoints);
  for (const LabelControl* l :
       {&c.alarm0Caption, &c.alarm1Caption, &c.eventCaption, &c.batteryCaption})
    addLabel(central, *l, font);
}

void MainWindowView::buildChecks(QWidget& central) {
  const MainWindowControls& c = model_.controls();
  const auto place = [&central](const CheckControl& control) {
    auto* box = new QCheckBox(&central);
    box->setObjectName(QString::fromUtf8(control.name));
    box->setGeometry(toPixels(control.place));
    return box;
  };
  autoReadTime_ = place(c.autoReadTime);
  autoMonitor_ = place(c.autoMonitor);
  onUserToggle(autoReadTime_, this, [this](bool on) { model_.autoReadTimeClicked(on); });
  onUserToggle(autoMonitor_, this, [this](bool on) { model_.autoMonitorClicked(on); });
}

void MainWindowView::buildDocumentBlock(QWidget& central) {
  const MainWindowControls& c = model_.controls();
  const QFont plain = uiFont(kPlainPoints);
  const QFont link = linkFont();
  addLabel(central, c.documentsHeading, plain);
  addLabel(central, c.notesHeading, plain);
  std::vector<QLabel*> links{addLabel(central, c.introLink, link),
                             addLabel(central, c.datasheetLink, link)};
  for (const LabelControl& note : c.noteLinks) links.push_back(addLabel(central, note, link));
  for (QLabel* l : links) {
    QPalette palette = l->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
      palette.setColor(group, QPalette::WindowText, Qt::blue);
    l->setPalette(palette);
  }
  new LinkActivation(links[0], [this] { model_.introLinkClicked(); });
  new LinkActivation(links[1], [this] { model_.datasheetLinkClicked(); });
  for (int i = 0; i < kApplicationNoteCount; ++i)
    new LinkActivation(links[static_cast<std::size_t>(i) + 2],
                       [this, i] { model_.noteLinkClicked(i); });
}

void MainWindowView::buildPicture(QWidget& central) {
  auto* picture = new QLabel(&central);
  picture->setObjectName(QStringLiteral("Picture1"));
  picture->setGeometry(toPixels(model_.controls().picture));
  picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setPixmap(QPixmap(QString::fromLatin1(kPicture)));
  picture->setAccessibleName(QStringLiteral("rtceval"));
  new LinkActivation(picture, [this] { model_.pictureClicked(); });
}

void MainWindowView::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(toPixels(MainWindowControls::kStatusBarHeight));
  for (int n = 1; n <= StatusBar::kPanels; ++n) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("Panel%1").arg(n));
    panel->setFixedWidth(toPixels(StatusBar::width(n)));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(panel);
    panels_[static_cast<std::size_t>(n - 1)] = panel;
  }
}

void MainWindowView::redraw() {
  const MainWindowControls& c = model_.controls();
  setWindowTitle(text(c.caption));
  menus_->redraw(c);
  for (const PlacedLabel& l : labels_) {
    const QString caption = text(l.control->caption);
    l.widget->setText(caption);
    l.widget->setAccessibleName(caption);
    l.widget->setEnabled(l.control->enabled);
    l.widget->setVisible(l.control->visible);
  }
  for (const Lamp& lamp : lamps_) {
    const Rgb colour = c.colours.*lamp.fill;
    lamp.widget->setColour(toQColor(colour));
    lamp.widget->setLit(colour == lamp.lit);
    lamp.widget->setAccessibleName(text(lamp.caption->caption));
  }
  for (const auto& [box, control] :
       {std::pair{autoReadTime_, &c.autoReadTime}, std::pair{autoMonitor_, &c.autoMonitor}}) {
    box->setText(text(control->caption));
    box->setAccessibleName(text(control->caption));
    box->setEnabled(control->enabled);
    showChecked(box, control->checked);
  }
  for (int n = 1; n <= StatusBar::kPanels; ++n) {
    QLabel* panel = panels_[static_cast<std::size_t>(n - 1)];
    panel->setText(text(c.statusBar.panel(n)));
    panel->setAccessibleName(panel->text());
  }
  redrawSubForm();
}

void MainWindowView::redrawSubForm() {
  redrawHosted(subForm_);
  for (HostedView& tool : toolWindows_) redrawHosted(tool);
}

void MainWindowView::redrawHosted(HostedView& hosted) {
  DialogHost& host = *hosted.host;
  if (host.generation() != hosted.shownGeneration) {
    hosted.shownGeneration = host.generation();
    if (hosted.view) {
      // Closed by the model (a reply, another dialog, the window's unload) or by the user; the
      // view may be inside one of its own handlers, so it goes once they have returned.
      hosted.view->detach();
      hosted.view->hide();
      hosted.view->deleteLater();
      hosted.view = nullptr;
    }
    const DialogModel* open = host.current();
    const DialogViewRow* row = open ? findDialogViewRow(allDialogViews(), *open) : nullptr;
    if (row) {
      hosted.view = row->make(host, this);
      hosted.view->redraw();
      hosted.view->show();
    }
    hosted.shownRaise = host.raised();
  }
  if (!hosted.view) return;
  hosted.view->redraw();
  if (host.raised() != hosted.shownRaise) {
    hosted.shownRaise = host.raised();
    hosted.view->raise();
    hosted.view->activateWindow();
  }
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  // The window may be closed while one of the model's handlers waits in a message box; the model
  // unloads once, and the boxes are dismissed so that the waiting handler returns.
  event->accept();
  if (unloaded_) return;
  unloaded_ = true;
  model_.Form_Unload();
  if (closed_) closed_();
}

}  // namespace rtceval::qt
