#pragma once

#include <QByteArray>
#include <QRawFont>
#include <QString>

// The text maps (ToUnicode) of a PDF written by Qt name, for each glyph, the lowest character the
// font maps to it. A CJK font draws several characters with one glyph (片 and the radical ⽚, 门
// and ⻔, 户 and 戶), so the text would read back with characters never drawn and a search for 芯片
// or 用户 would find nothing. Returns the PDF with every character in its text maps replaced by the
// character of `drawn` (the text rendered) that `font` draws with the same glyph: the same number
// of bytes, so the file's cross-reference offsets stay right.
QByteArray withDrawnCharactersInTextMaps(QByteArray pdf, const QString& drawn,
                                         const QRawFont& font);
