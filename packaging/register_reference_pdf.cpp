// Writes docs/<model>.pdf, the register reference of each chip model, into the folder given as
// the only argument: the page the program's register map makes, rendered with Qt's PDF writer.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

#include "core/device_profile.h"
#include "docs_help/register_reference.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  for (const rtceval::DeviceModel& model : rtceval::deviceModels()) {
    const QString name = QString::fromUtf8(model.name);
    QPdfWriter writer(folder.filePath(name + QStringLiteral(".pdf")));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(name + QStringLiteral(" register reference"));
    writer.setCreator(QStringLiteral("rtceval"));
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    document.setHtml(QString::fromStdString(rtceval::registerReferenceHtml(model)));
    document.print(&writer);
  }
  return 0;
}
