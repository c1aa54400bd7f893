#include "pdf_text_map.h"

#include <QHash>
#include <QList>

namespace {

quint32 glyphOf(const QRawFont& font, char16_t c) {
  const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar(c)));
  return glyphs.isEmpty() ? 0 : glyphs.first();
}

// Replaces the <XXXX> values of one map line from `from` on by the drawn characters.
void mapValues(QByteArray& line, qsizetype from, const QHash<quint32, char16_t>& drawnByGlyph,
               const QRawFont& font) {
  for (qsizetype open = line.indexOf('<', from); open >= 0; open = line.indexOf('<', open + 1)) {
    if (open + 5 >= line.size() || line.at(open + 5) != '>') continue;
    bool ok = false;
    const auto code = static_cast<char16_t>(line.mid(open + 1, 4).toUInt(&ok, 16));
    if (!ok || code == 0) continue;
    const char16_t drawn = drawnByGlyph.value(glyphOf(font, code), code);
    if (drawn != code)
      line.replace(open + 1, 4, QByteArray::number(drawn, 16).toUpper().rightJustified(4, '0'));
  }
}

// Where the values of a map line start: after the glyph code of a bfchar line, after the two
// glyph codes of a bfrange line. A range of several glyphs that maps them to consecutive
// characters from one value is left alone: its characters could not be replaced one by one.
qsizetype valuesStart(const QByteArray& line, bool inRange) {
  const qsizetype first = line.indexOf('>');
  if (!inRange) return first < 0 ? -1 : first + 1;
  const qsizetype second = line.indexOf('>', first + 1);
  if (first < 0 || second < 0) return -1;
  const bool oneGlyph = line.mid(1, first - 1) == line.mid(line.indexOf('<', first) + 1, 4);
  const bool eachValue = line.mid(second + 1).trimmed().startsWith('[');
  return eachValue || oneGlyph ? second + 1 : -1;
}

}  // namespace

QByteArray withDrawnCharactersInTextMaps(QByteArray pdf, const QString& drawn,
                                         const QRawFont& font) {
  QHash<quint32, char16_t> drawnByGlyph;
  for (const QChar c : drawn)
    if (!c.isSurrogate() && !c.isSpace())
      drawnByGlyph.insert(glyphOf(font, c.unicode()), c.unicode());
  drawnByGlyph.remove(0);
  for (qsizetype begin = pdf.indexOf("begincmap"); begin >= 0;
       begin = pdf.indexOf("begincmap", begin + 1)) {
    const qsizetype end = pdf.indexOf("endcmap", begin);
    if (end < 0) break;
    QList<QByteArray> lines = pdf.mid(begin, end - begin).split('\n');
    bool inChar = false;
    bool inRange = false;
    for (QByteArray& line : lines) {
      if (line.endsWith("beginbfchar")) inChar = true;
      if (line.endsWith("beginbfrange")) inRange = true;
      if (line == "endbfchar") inChar = false;
      if (line == "endbfrange") inRange = false;
      if (!line.startsWith('<') || !(inChar || inRange)) continue;
      const qsizetype from = valuesStart(line, inRange);
      if (from >= 0) mapValues(line, from, drawnByGlyph, font);
    }
    pdf.replace(begin, end - begin, lines.join('\n'));
  }
  return pdf;
}
