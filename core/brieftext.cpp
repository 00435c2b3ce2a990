#include "core/brieftext.h"

#include <QFont>
#include <QTextCursor>

#include "elements/text/seriendruck.h"
#include "platform/rtf_lesen.h"
#include "platform/rtf_schreiben.h"

namespace {
// Replaces `laenge` characters at `anfang` by `text`, in the format of the first of them.
void ersetzen(QTextDocument& brief, int anfang, int laenge, const QString& text) {
  QTextCursor format(&brief);
  format.setPosition(anfang + 1);
  const QTextCharFormat zeichen = format.charFormat();
  QTextCursor auswahl(&brief);
  auswahl.setPosition(anfang);
  auswahl.setPosition(anfang + laenge, QTextCursor::KeepAnchor);
  auswahl.insertText(text, zeichen);
}
}  // namespace

void FelderMischen(const Programmzustand& s, QTextDocument& brief) {
  const QString datum = DatumText();
  int p = 0;
  for (;;) {
    const QTextCursor fund = brief.find(QStringLiteral("#Datum"), p);
    if (fund.isNull()) break;
    const int anfang = fund.selectionStart();
    ersetzen(brief, anfang, 6, datum);
    p = anfang + static_cast<int>(datum.size());
  }

  constexpr int hoechstensErsetzungen = 99;
  int ersetzungen = 0;
  p = 0;
  for (;;) {
    const QTextCursor fund = brief.find(QStringLiteral("#Feld"), p);
    if (fund.isNull()) break;
    const int anfang = fund.selectionStart();
    QString zweiZeichen;
    for (int i = 5; i <= 6; ++i) {
      const QChar c = brief.characterAt(anfang + i);
      // The end of the document and paragraph ends are no field characters.
      if (c.isNull() || c == QChar::ParagraphSeparator) break;
      zweiZeichen += c;
    }
    const auto nummer = zweiZeichen.size() == 2 ? Feldnummer(zweiZeichen) : std::nullopt;
    if (nummer && ersetzungen < hoechstensErsetzungen) {
      ersetzen(brief, anfang, 7, s.fenster->Text1(*nummer));
      ++ersetzungen;
      p = anfang;  // the inserted text is searched again
    } else {
      p = anfang + 1;
    }
  }
}

QByteArray BriefGemischt(const Programmzustand& s, const QByteArray& rtf) {
  QTextDocument brief;
  // A letter without a font table prints in the letter editor's font.
  brief.setDefaultFont(QFont(QStringLiteral("Times New Roman"), 12));
  if (!rtfLesen(rtf, brief)) return rtf;
  FelderMischen(s, brief);
  return rtfSchreiben(brief);
}
