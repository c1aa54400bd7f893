// Writes docs/<model>.pdf, the register reference of each chip model, into the folder given as
// the only argument: the page the program's register map makes, rendered with Qt's PDF writer.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

#include "core/device_profile.h"
#include "docs_help/register_reference.h"
#include "pdf_text_map.h"

namespace {

// The font the references are drawn in.
QFont pageFont() {
  QFont font(QStringLiteral("Noto Sans CJK SC"), 9);
  // Shaped as Latin text, the digits next to Latin letters ("X1226", "0x6F") would take the
  // font's Latin-context forms, which no character maps to; the PDF writer finds the text of a
  // glyph only through the font's character map, so those digits would drop out of the text
  // layer. Unshaped, every glyph is the one the character map names and the PDF's text holds
  // each character drawn.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// Renders the model's register reference into a PDF at `path` (written whole when the writer
// goes out of scope) and returns the text drawn.
QString print(const rtceval::DeviceModel& model, const QString& path) {
  const QString name = QString::fromUtf8(model.name);
  QPdfWriter writer(path);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setTitle(name + QStringLiteral(" register reference"));
  writer.setCreator(QStringLiteral("rtceval"));
  QTextDocument document;
  document.setDefaultFont(pageFont());
  document.setHtml(QString::fromStdString(rtceval::registerReferenceHtml(model)));
  document.print(&writer);
  return document.toPlainText();
}

// Rewrites the PDF at `path` so that its text layer reads the characters drawn.
bool mapTextToDrawnCharacters(const QString& path, const QString& drawn) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return false;
  const QByteArray mapped =
      withDrawnCharactersInTextMaps(file.readAll(), drawn, QRawFont::fromFont(pageFont()));
  return file.seek(0) && file.write(mapped) == mapped.size();
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  for (const rtceval::DeviceModel& model : rtceval::deviceModels()) {
    const QString path = folder.filePath(QString::fromUtf8(model.name) + QStringLiteral(".pdf"));
    if (!mapTextToDrawnCharacters(path, print(model, path))) {
      std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
