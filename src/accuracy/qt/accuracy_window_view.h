#pragma once

#include <cstddef>

#include "accuracy/accuracy_window.h"
#include "dialogs/qt/dialog_view.h"
#include "platform/qt/file_chooser.h"

class QChart;
class QLabel;
class QLineSeries;
class QPushButton;
class QSpinBox;
class QValueAxis;

namespace rtceval::qt {

// Draws "走时精度测量": the interval and the Start, Stop and Save buttons, the state of the
// measurement, the error in ppm with its uncertainty and per day and month, the plot of the offset
// over time, and the advised trimming with its Apply button. Save asks for a file and has the
// model write its CSV there.
class AccuracyWindowView : public DialogViewOf<AccuracyWindow> {
 public:
  AccuracyWindowView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  void save();
  void redrawPlot(const AccuracyWindow& window);

  QSpinBox* interval_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* apply_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* result_ = nullptr;
  QLabel* perDay_ = nullptr;
  QLabel* perMonth_ = nullptr;
  QLabel* advice_ = nullptr;
  QChart* chart_ = nullptr;
  QLineSeries* series_ = nullptr;
  QValueAxis* timeAxis_ = nullptr;
  QValueAxis* offsetAxis_ = nullptr;
  std::size_t plotted_ = 0;
  FileChooser files_;
  double plottedFirstMs_ = -1.0;
};

}  // namespace rtceval::qt
