#include "platform/klartextbrief.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace {

// The text as the document takes it, with a paragraph separator for each paragraph break,
// and the paragraphs (counted from 0 at the first) that start a new page.
struct Absaetze {
  QString text;
  std::vector<int> neueSeiten;
};

Absaetze absaetze(const QString& text) {
  Absaetze a;
  a.text.reserve(text.size());
  int absatz = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    if (u == u'\f' || u == u'\n' || u == u'\r' || u == QChar::ParagraphSeparator) {
      if (u == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      a.text += QChar(QChar::ParagraphSeparator);
      ++absatz;
      if (u == u'\f') a.neueSeiten.push_back(absatz);
    } else if (u == u'\v') {
      a.text += QChar(QChar::LineSeparator);
    } else if (u != 0xFFFC && !(u >= 0xFDD0 && u <= 0xFDEF) && u != 0xFFFE && u != 0xFFFF) {
      a.text += text[i];
    }
  }
  return a;
}

void seitenumbrueche(QTextDocument& doc, int ersterAbsatz, const std::vector<int>& neueSeiten) {
  for (const int n : neueSeiten) {
    const QTextBlock b = doc.findBlockByNumber(ersterAbsatz + n);
    QTextBlockFormat f = b.blockFormat();
    f.setPageBreakPolicy(f.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(b).setBlockFormat(f);
  }
}

}  // namespace

void klartextLesen(const QString& text, QTextDocument& ziel) {
  const Absaetze a = absaetze(text);
  ziel.setPlainText(a.text);
  seitenumbrueche(ziel, 0, a.neueSeiten);
}

void klartextEinfuegen(QTextCursor& cursor, const QString& text) {
  const Absaetze a = absaetze(text);
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  const int ersterAbsatz = cursor.blockNumber();
  cursor.insertText(a.text);
  seitenumbrueche(*cursor.document(), ersterAbsatz, a.neueSeiten);
  cursor.endEditBlock();
}
