#include "docs_help/qt/text_viewer_view.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace rtceval::qt {
namespace {
// Room for a line of the listing and a screenful of the manual.
constexpr int kColumns = 90;
constexpr int kLines = 32;
}  // namespace

TextViewerView::TextViewerView(DialogHost& host, QWidget* owner, const char* formName)
    : DialogViewOf(host, owner) {
  setObjectName(QString::fromLatin1(formName));
  textBox_ = new QPlainTextEdit(this);
  textBox_->setObjectName(QStringLiteral("RichTextBox1"));
  textBox_->setReadOnly(true);
  textBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // A fixed-pitch face keeps the listing's and the manual's columns aligned.
  textBox_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const QFontMetrics metrics(textBox_->font());
  resize(metrics.horizontalAdvance(QLatin1Char('0')) * kColumns, metrics.lineSpacing() * kLines);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(textBox_);
}

void TextViewerView::redraw() {
  const TextViewer* viewer = model();
  if (!viewer || shown_) return;
  // The text is read once, when the window loads.
  shown_ = true;
  const QString caption = QString::fromUtf8(viewer->caption());
  setWindowTitle(caption);
  textBox_->setAccessibleName(caption);
  textBox_->setPlainText(QString::fromStdString(viewer->text()));
}

}  // namespace rtceval::qt
