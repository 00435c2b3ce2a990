#include "platform/richtextbox.h"

#include <QFile>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <algorithm>

#include "platform/klartextbrief.h"
#include "platform/rtf_lesen.h"
#include "platform/rtf_schreiben.h"
#include "platform/textdatei.h"

namespace {

constexpr qint64 kMaxDateigroesse = 256LL * 1024 * 1024;
constexpr const char* kRtfTypen[] = {"text/rtf", "text/richtext", "application/rtf"};

int ausrichtungswert(Qt::Alignment a) {
  const Qt::Alignment h = a & Qt::AlignHorizontal_Mask;
  if (h & Qt::AlignHCenter) return 2;
  if ((h & Qt::AlignRight) && !(h & Qt::AlignJustify)) return 1;
  return 0;  // left and justified
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
  QFont schrift(QStringLiteral("Times New Roman"));
  schrift.setPointSize(12);
  setFont(schrift);
  document()->setDefaultFont(schrift);
  QTextOption option = document()->defaultTextOption();
  option.setTabStopDistance(48);  // half an inch, as word processors default to
  document()->setDefaultTextOption(option);
  setAcceptRichText(true);
  connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::SelChange);
  connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::SelChange);
}

bool RichTextBox::LoadFile(const QString& pfad) {
  fehler_.clear();
  // Only a regular file, and only up to the size limit: a device or a pipe never ends.
  const textdatei::Bytes datei = textdatei::bytesLesen(pfad, kMaxDateigroesse);
  if (!datei.ok) {
    fehler_ = textdatei::nichtLesbar(pfad, datei.fehler, datei.detail);
    return false;
  }
  const QByteArray& daten = datei.daten;
  // Text files hold no NUL characters: such a file (a word-processor document, a picture,
  // text in an encoding without its byte-order mark) would show as garbage.
  if (!istRtf(daten) && klartext(daten).contains(QChar(u'\0'))) {
    fehler_ =
        QStringLiteral("Die Datei „%1“ ist weder ein RTF-Brief noch eine Textdatei.").arg(pfad);
    return false;
  }
  setTextRTF(daten);
  return true;
}

bool RichTextBox::SaveFile(const QString& pfad) {
  fehler_.clear();
  QString grund;
  if (textdatei::bytesSchreiben(pfad, TextRTF(), &grund)) return true;
  fehler_ = QStringLiteral("Die Datei „%1“ kann nicht gespeichert werden: %2").arg(pfad, grund);
  return false;
}

QByteArray RichTextBox::TextRTF() const { return rtfSchreiben(*document()); }

void RichTextBox::setTextRTF(const QByteArray& rtf) {
  QTextDocument* d = document();
  d->setUndoRedoEnabled(false);
  if (!rtfLesen(rtf, *d)) klartextLesen(klartext(rtf), *d);
  d->setUndoRedoEnabled(true);
  d->setModified(false);
  inhaltErsetzt();
}

QString RichTextBox::Text() const { return toPlainText(); }

void RichTextBox::setText(const QString& text) {
  setPlainText(text);
  inhaltErsetzt();
}

void RichTextBox::inhaltErsetzt() {
  setTextCursor(QTextCursor(document()));
  emit SelChange();
}

int RichTextBox::Find(const QString& suchtext, int start, int ende) {
  if (suchtext.isEmpty()) return -1;
  const QString text = toPlainText();
  const int laenge = static_cast<int>(text.size());
  start = std::clamp(start, 0, laenge);
  if (ende < 0 || ende > laenge) ende = laenge;
  if (ende - start < suchtext.size()) return -1;
  const qsizetype treffer =
      QStringView(text).mid(start, ende - start).indexOf(suchtext, 0, Qt::CaseInsensitive);
  if (treffer < 0) return -1;
  const int position = start + static_cast<int>(treffer);
  QTextCursor c(document());
  c.setPosition(position);
  c.setPosition(position + static_cast<int>(suchtext.size()), QTextCursor::KeepAnchor);
  setTextCursor(c);
  return position;
}

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }

void RichTextBox::setSelStart(int start) {
  QTextCursor c = textCursor();
  c.setPosition(std::clamp(start, 0, document()->characterCount() - 1));
  setTextCursor(c);
}

int RichTextBox::SelLength() const {
  const QTextCursor c = textCursor();
  return c.selectionEnd() - c.selectionStart();
}

void RichTextBox::setSelLength(int laenge) {
  QTextCursor c = textCursor();
  const int start = c.selectionStart();
  const int ende = std::clamp(start + std::max(laenge, 0), start, document()->characterCount() - 1);
  c.setPosition(start);
  c.setPosition(ende, QTextCursor::KeepAnchor);
  setTextCursor(c);
}

QString RichTextBox::SelText() const {
  QString text = textCursor().selectedText();
  text.replace(QChar(QChar::ParagraphSeparator), QChar(u'\n'));
  text.replace(QChar(QChar::LineSeparator), QChar(u'\n'));
  return text;
}

void RichTextBox::setSelText(const QString& text) {
  QTextCursor c = textCursor();
  QTextCharFormat format = c.charFormat();
  if (c.hasSelection()) {
    // The format of the first replaced character, not of the one before the selection.
    QTextCursor erstes(document());
    erstes.setPosition(c.selectionStart());
    erstes.movePosition(QTextCursor::NextCharacter);
    format = erstes.charFormat();
  }
  QString neu = text;
  neu.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  neu.replace(QChar(u'\r'), QChar(u'\n'));
  c.insertText(neu, format);
  setTextCursor(c);
}

QByteArray RichTextBox::SelRTF() const {
  const QTextCursor c = textCursor();
  return rtfSchreiben(*document(), c.selectionStart(), c.selectionEnd());
}

void RichTextBox::setSelRTF(const QByteArray& rtf) {
  QTextCursor c = textCursor();
  if (!rtfEinfuegen(c, rtf)) klartextEinfuegen(c, klartext(rtf));
  setTextCursor(c);
}

template <typename Wert, typename Lesen>
std::optional<Wert> RichTextBox::einheitlich(Lesen lesen) const {
  const QTextCursor c = textCursor();
  const QFont standard = document()->defaultFont();
  if (!c.hasSelection()) return lesen(zeichenwerte(c.charFormat(), standard));
  const int anfang = c.selectionStart();
  const int ende = c.selectionEnd();
  std::optional<Wert> wert;
  for (QTextBlock b = document()->findBlock(anfang); b.isValid() && b.position() < ende;
       b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      if (!fr.isValid() || fr.position() + fr.length() <= anfang || fr.position() >= ende) {
        continue;
      }
      const Wert w = lesen(zeichenwerte(fr.charFormat(), standard));
      if (!wert) {
        wert = w;
      } else if (!(*wert == w)) {
        return std::nullopt;
      }
    }
  }
  if (!wert) return lesen(zeichenwerte(c.charFormat(), standard));  // only paragraph marks
  return wert;
}

void RichTextBox::mitFormat(const QTextCharFormat& format) { mergeCurrentCharFormat(format); }

std::optional<QString> RichTextBox::SelFontName() const {
  return einheitlich<QString>([](const Zeichenwerte& w) { return w.schrift; });
}

void RichTextBox::setSelFontName(const QString& name) {
  if (name.trimmed().isEmpty()) return;
  QTextCharFormat f;
  f.setFontFamilies(QStringList{name});
  mitFormat(f);
}

std::optional<double> RichTextBox::SelFontSize() const {
  return einheitlich<double>([](const Zeichenwerte& w) { return w.punkte; });
}

void RichTextBox::setSelFontSize(double punkte) {
  if (!(punkte > 0)) return;
  QTextCharFormat f;
  f.setFontPointSize(std::min(punkte, 1638.0));
  mitFormat(f);
}

std::optional<QColor> RichTextBox::SelColor() const {
  return einheitlich<QColor>([](const Zeichenwerte& w) {
    return w.farbe.isValid() ? QColor(w.farbe.rgb()) : QColor(Qt::black);
  });
}

void RichTextBox::setSelColor(const QColor& farbe) {
  if (!farbe.isValid()) return;
  QTextCharFormat f;
  f.setForeground(farbe);
  mitFormat(f);
}

std::optional<bool> RichTextBox::SelBold() const {
  return einheitlich<bool>([](const Zeichenwerte& w) { return w.fett; });
}

void RichTextBox::setSelBold(bool an) {
  QTextCharFormat f;
  f.setFontWeight(an ? QFont::Bold : QFont::Normal);
  mitFormat(f);
}

std::optional<bool> RichTextBox::SelItalic() const {
  return einheitlich<bool>([](const Zeichenwerte& w) { return w.kursiv; });
}

void RichTextBox::setSelItalic(bool an) {
  QTextCharFormat f;
  f.setFontItalic(an);
  mitFormat(f);
}

std::optional<bool> RichTextBox::SelUnderline() const {
  return einheitlich<bool>([](const Zeichenwerte& w) { return w.unterstrichen; });
}

void RichTextBox::setSelUnderline(bool an) {
  QTextCharFormat f;
  f.setFontUnderline(an);
  mitFormat(f);
}

std::optional<int> RichTextBox::SelAlignment() const {
  const QTextCursor c = textCursor();
  const QTextBlock letzter = document()->findBlock(c.selectionEnd());
  std::optional<int> wert;
  for (QTextBlock b = document()->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
    const int w = ausrichtungswert(b.blockFormat().alignment());
    if (!wert) {
      wert = w;
    } else if (*wert != w) {
      return std::nullopt;
    }
    if (b == letzter) break;
  }
  return wert;
}

void RichTextBox::setSelAlignment(int ausrichtung) {
  static constexpr Qt::Alignment werte[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
  if (ausrichtung < 0 || ausrichtung > 2) return;
  setAlignment(werte[ausrichtung]);
}

void RichTextBox::kopieren() { copy(); }

void RichTextBox::einfuegen() { paste(); }

QMimeData* RichTextBox::createMimeDataFromSelection() const {
  // A plain QMimeData: the text edit's own mime data lists only the formats it knows, so
  // "text/rtf" set on it would not be offered to readers of the clipboard.
  auto* daten = new QMimeData;
  daten->setData(QStringLiteral("text/rtf"), SelRTF());
  daten->setHtml(textCursor().selection().toHtml());
  daten->setText(SelText());
  return daten;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* quelle) const {
  if (!quelle) return false;
  for (const char* typ : kRtfTypen) {
    if (quelle->hasFormat(QLatin1String(typ))) return true;
  }
  return quelle->hasText();
}

void RichTextBox::insertFromMimeData(const QMimeData* quelle) {
  if (!quelle || isReadOnly()) return;
  QTextCursor c = textCursor();
  for (const char* typ : kRtfTypen) {
    if (!quelle->hasFormat(QLatin1String(typ))) continue;
    if (rtfEinfuegen(c, quelle->data(QLatin1String(typ)))) {
      setTextCursor(c);
      ensureCursorVisible();
      return;
    }
  }
  if (quelle->hasText()) {
    klartextEinfuegen(c, quelle->text());
    setTextCursor(c);
    ensureCursorVisible();
  }
  // Nothing usable: the selection stays as it is.
}
