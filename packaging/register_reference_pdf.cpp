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
    QFont font(QStringLiteral("Noto Sans CJK SC"), 9);
    // Shaped as Latin text, the digits next to Latin letters ("X1226", "0x6F") would take the
    // font's Latin-context forms, which no character maps to; the PDF writer finds the text of a
    // glyph only through the font's character map, so those digits would drop out of the text
    // layer. Unshaped, every glyph is the one the character map names and the PDF's text holds
    // each character drawn.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setHtml(QString::fromStdString(rtceval::registerReferenceHtml(model)));
    document.print(&writer);
  }
  return 0;
}
