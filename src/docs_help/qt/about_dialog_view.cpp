#include "docs_help/qt/about_dialog_view.h"
#include "platform/qt/utf8_text.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rtceval::qt {
namespace {

using Texts = AboutDialog::Texts;

constexpr int kIconPixels = 48;
constexpr int kTextWidthChars = 28;
constexpr int kSysInfoColumns = 80;
constexpr int kSysInfoLines = 20;

QLabel* label(const char* name, const char* caption, bool bold, QWidget* parent) {
  auto* l = new QLabel(utf8(caption), parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setWordWrap(true);
  l->setAccessibleName(l->text());
  if (bold) {
    QFont font = l->font();
    font.setBold(true);
    l->setFont(font);
  }
  return l;
}

QFrame* line(QWidget* parent) {
  auto* l = new QFrame(parent);
  l->setObjectName(QStringLiteral("Line1"));
  l->setFrameShape(QFrame::HLine);
  l->setFrameShadow(QFrame::Sunken);
  return l;
}

}  // namespace

AboutDialogView::AboutDialogView(DialogHost& host, QWidget* owner) : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(utf8(Texts::kCaption));

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("picIcon"));
  icon->setPixmap(QIcon(QStringLiteral(":/rtceval/rtceval.png")).pixmap(kIconPixels, kIconPixels));
  icon->setAccessibleName(QStringLiteral("rtceval"));
  auto* title = label("lblTitle", Texts::kTitle, true, this);
  auto* version = label("lblVersion", Texts::kVersion, false, this);
  auto* description = label("lblDescription", Texts::kDescription, false, this);
  auto* disclaimer = label("lblDisclaimer", Texts::kDisclaimer, true, this);
  const int width = fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kTextWidthChars;
  for (QLabel* l : {title, version, description, disclaimer}) l->setFixedWidth(width);

  auto* ok = new QPushButton(utf8(Texts::kOk), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  auto* sysInfo = new QPushButton(utf8(Texts::kSysInfo), this);
  sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  for (QPushButton* b : {ok, sysInfo}) b->setAccessibleName(b->text());
  connect(ok, &QPushButton::clicked, this, [this] { send([](AboutDialog& d) { d.okClicked(); }); });
  connect(sysInfo, &QPushButton::clicked, this,
          [this] { send([](AboutDialog& d) { d.sysInfoClicked(); }); });

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(version);
  texts->addWidget(description);
  auto* upper = new QHBoxLayout;
  upper->addWidget(icon, 0, Qt::AlignTop);
  upper->addLayout(texts);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(sysInfo);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(upper);
  layout->addWidget(line(this));
  layout->addWidget(disclaimer);
  layout->addWidget(line(this));
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialogView::makeSysInfoWindow() {
  sysInfoWindow_ = new QDialog(this);
  sysInfoWindow_->setObjectName(QStringLiteral("frmSysInfo"));
  sysInfoWindow_->setWindowTitle(utf8(Texts::kSysInfoCaption));
  sysInfoText_ = new QPlainTextEdit(sysInfoWindow_);
  sysInfoText_->setObjectName(QStringLiteral("txtSysInfo"));
  sysInfoText_->setReadOnly(true);
  sysInfoText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  sysInfoText_->setAccessibleName(utf8(Texts::kSysInfoCaption));
  const QFontMetrics metrics(sysInfoText_->font());
  sysInfoWindow_->resize(metrics.horizontalAdvance(QLatin1Char('0')) * kSysInfoColumns,
                         metrics.lineSpacing() * kSysInfoLines);

  auto* copy = new QPushButton(utf8(Texts::kSysInfoCopy), sysInfoWindow_);
  copy->setObjectName(QStringLiteral("cmdCopy"));
  copy->setDefault(true);
  auto* close = new QPushButton(utf8(Texts::kSysInfoClose), sysInfoWindow_);
  close->setObjectName(QStringLiteral("cmdClose"));
  for (QPushButton* b : {copy, close}) b->setAccessibleName(b->text());
  connect(copy, &QPushButton::clicked, this,
          [this] { send([](AboutDialog& d) { d.sysInfoCopyClicked(); }); });
  connect(close, &QPushButton::clicked, this,
          [this] { send([](AboutDialog& d) { d.sysInfoCloseClicked(); }); });
  // The title bar's close button and the Escape key close it as "关闭" does.
  connect(sysInfoWindow_, &QDialog::finished, this,
          [this] { send([](AboutDialog& d) { d.sysInfoCloseClicked(); }); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copy);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(sysInfoWindow_);
  layout->addWidget(sysInfoText_);
  layout->addLayout(buttons);
}

void AboutDialogView::redraw() {
  const AboutDialog* about = model();
  if (!about) return;
  if (!about->systemInformationOpen()) {
    if (sysInfoWindow_) sysInfoWindow_->hide();
    return;
  }
  if (about->systemInformationRequests() == shownRequests_) return;
  shownRequests_ = about->systemInformationRequests();
  if (!sysInfoWindow_) makeSysInfoWindow();
  sysInfoText_->setPlainText(QString::fromStdString(about->systemInformation()));
  sysInfoWindow_->show();
  sysInfoWindow_->raise();
  sysInfoWindow_->activateWindow();
}

}  // namespace rtceval::qt
