#include "core/brieftext.h"

#include <QTextCursor>

#include "elements/text/seriendruck.h"

namespace {
// Replaces `laenge` characters at `anfang` by `text`, in the format of the first of them.
void ersetzeImBrief(QTextDocument& brief, int anfang, int laenge, const QString& text) {
  QTextCursor format(&brief);
  format.setPosition(anfang + 1);
  const QTextCharFormat zeichen = format.charFormat();
  QTextCursor auswahl(&brief);
  auswahl.setPosition(anfang);
  auswahl.setPosition(anfang + laenge, QTextCursor::KeepAnchor);
  auswahl.insertText(text, zeichen);
}

// The letter: "#Feld" in any letter case; the field number is read from the two characters
// after it, or from the one before a line or paragraph break or the end of the letter. The
// search runs in a copy of the letter's characters kept in step with every replacement, so
// that it does not copy a long paragraph's text for every field.
class Brief : public Mischtext {
 public:
  Brief(const Programmzustand& s, QTextDocument& brief)
      : s_(s), brief_(brief), text_(brief.toRawText()) {}
  qsizetype feldSuchen(qsizetype ab) override {
    return text_.indexOf(QLatin1String("#Feld"), ab, Qt::CaseInsensitive);
  }
  std::optional<Feldersetzung> feld(qsizetype p) override {
    const qsizetype anfang = p + 5;
    qsizetype n = 0;
    while (n < 2 && anfang + n < text_.size() && text_[anfang + n] != QChar::ParagraphSeparator &&
           text_[anfang + n] != QChar::LineSeparator) {
      ++n;
    }
    const std::optional<int> nummer =
        n == 0 ? std::nullopt : Feldnummer(QStringView(text_).mid(anfang, n));
    if (!nummer) return std::nullopt;
    return Feldersetzung{5 + n, s_.fenster->Text1(*nummer)};
  }
  void ersetzen(qsizetype p, qsizetype laenge, const QString& text) override {
    ersetzeImBrief(brief_, static_cast<int>(p), static_cast<int>(laenge), text);
    // The document makes paragraph breaks of line ends: the copy takes what it holds.
    QString eingefuegt = text;
    for (qsizetype i = 0; i < eingefuegt.size(); ++i)
      eingefuegt[i] = brief_.characterAt(static_cast<int>(p + i));
    text_.replace(p, laenge, eingefuegt);
  }

 private:
  const Programmzustand& s_;
  QTextDocument& brief_;
  QString text_;
};
}  // namespace

void FelderMischen(const Programmzustand& s, QTextDocument& brief) {
  // One edit block: the cursors then do not lay out the paragraph after every change.
  QTextCursor bearbeitung(&brief);
  bearbeitung.beginEditBlock();
  const QString datum = DatumText();
  int p = 0;
  for (;;) {
    const QTextCursor fund = brief.find(QStringLiteral("#Datum"), p);
    if (fund.isNull()) break;
    const int anfang = fund.selectionStart();
    ersetzeImBrief(brief, anfang, 6, datum);
    p = anfang + static_cast<int>(datum.size());
  }
  Brief b(s, brief);
  FeldmarkenErsetzen(b);
  bearbeitung.endEditBlock();
}
