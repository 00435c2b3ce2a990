#include "core/brieftext.h"

#include <QTextCursor>
#include <algorithm>
#include <utility>

#include "elements/text/seriendruck.h"

namespace {
// Replaces `laenge` characters at `anfang` by `text`, in the format of the first of them,
// and returns the characters the document holds in their place (it makes paragraph breaks
// of line ends).
QString ersetzeImBrief(QTextDocument& brief, int anfang, int laenge, const QString& text) {
  QTextCursor format(&brief);
  format.setPosition(anfang + 1);
  const QTextCharFormat zeichen = format.charFormat();
  QTextCursor auswahl(&brief);
  auswahl.setPosition(anfang);
  auswahl.setPosition(anfang + laenge, QTextCursor::KeepAnchor);
  const int vorher = brief.characterCount();
  auswahl.insertText(text, zeichen);
  const int neu = brief.characterCount() - vorher + laenge;
  const bool umbruchfrei = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
  });
  if (umbruchfrei && neu == text.size()) return text;
  QString eingefuegt(neu, Qt::Uninitialized);
  for (qsizetype i = 0; i < eingefuegt.size(); ++i)
    eingefuegt[i] = brief.characterAt(anfang + static_cast<int>(i));
  return eingefuegt;
}

// The letter's characters from the merge position on, in step with the document. The
// merge only moves forward and replaces at its position: the characters behind it are
// dropped, and a field text goes into the room they leave before the rest (when that room
// is too small, the rest is copied once behind as much room again as it is long). So no
// replacement copies the rest of the letter, and the merge takes time in proportion to
// the letter and the texts it inserts.
class Reststueck {
 public:
  explicit Reststueck(QString text) : puffer_(std::move(text)) {}
  // The characters from position `p` on (p never goes back).
  QStringView ab(qsizetype p) {
    anfang_ += p - position_;
    position_ = p;
    return QStringView(puffer_).mid(anfang_);
  }
  // Replaces `laenge` characters at the position by `text`.
  void ersetzen(qsizetype laenge, QStringView text) {
    anfang_ += laenge;
    if (text.size() > anfang_) {
      const qsizetype rest = puffer_.size() - anfang_;
      const qsizetype raum = std::max(text.size(), rest);
      QString neu(raum + rest, Qt::Uninitialized);
      std::copy(puffer_.cbegin() + anfang_, puffer_.cend(), neu.begin() + raum);
      puffer_ = std::move(neu);
      anfang_ = raum;
    }
    anfang_ -= text.size();
    std::copy(text.begin(), text.end(), puffer_.begin() + anfang_);
  }

 private:
  QString puffer_;
  qsizetype anfang_ = 0;    // where the characters from the position on begin in puffer_
  qsizetype position_ = 0;  // the merge position in the letter
};

// The letter: "#Feld" in any letter case; the field number is read from the two characters
// after it, or from the one before a line or paragraph break or the end of the letter.
class Brief : public Mischtext {
 public:
  Brief(const Programmzustand& s, QTextDocument& brief, QString text)
      : s_(s), brief_(brief), rest_(std::move(text)) {}
  qsizetype feldSuchen(qsizetype ab) override {
    const qsizetype treffer = rest_.ab(ab).indexOf(QLatin1String("#Feld"), 0, Qt::CaseInsensitive);
    return treffer < 0 ? -1 : ab + treffer;
  }
  std::optional<Feldersetzung> feld(qsizetype p) override {
    const QStringView nach = rest_.ab(p).mid(5);
    qsizetype n = 0;
    while (n < 2 && n < nach.size() && nach[n] != QChar::ParagraphSeparator &&
           nach[n] != QChar::LineSeparator) {
      ++n;
    }
    const std::optional<int> nummer = n == 0 ? std::nullopt : Feldnummer(nach.first(n));
    if (!nummer) return std::nullopt;
    return Feldersetzung{5 + n, s_.fenster->Text1(*nummer)};
  }
  void ersetzen(qsizetype p, qsizetype laenge, const QString& text) override {
    rest_.ab(p);
    rest_.ersetzen(laenge,
                   ersetzeImBrief(brief_, static_cast<int>(p), static_cast<int>(laenge), text));
  }

 private:
  const Programmzustand& s_;
  QTextDocument& brief_;
  Reststueck rest_;
};
}  // namespace

void FelderMischen(const Programmzustand& s, QTextDocument& brief) {
  // One edit block: the cursors then do not lay out the paragraph after every change.
  QTextCursor bearbeitung(&brief);
  bearbeitung.beginEditBlock();
  // Every date in one pass over the letter's characters, which the field merge then
  // searches: a date never forms or ends a merge field.
  const QString datum = DatumText();
  const QString roh = brief.toRawText();
  QString text;
  text.reserve(roh.size());
  qsizetype von = 0;
  qsizetype versatz = 0;
  for (;;) {
    const qsizetype p = roh.indexOf(QLatin1String("#Datum"), von, Qt::CaseInsensitive);
    if (p < 0) break;
    text += QStringView(roh).mid(von, p - von);
    const QString eingefuegt = ersetzeImBrief(brief, static_cast<int>(p + versatz), 6, datum);
    text += eingefuegt;
    versatz += eingefuegt.size() - 6;
    von = p + 6;
  }
  text += QStringView(roh).mid(von);
  const qsizetype laenge = text.size();
  Brief b(s, brief, std::move(text));
  FeldmarkenErsetzen(b, laenge);
  bearbeitung.endEditBlock();
}
