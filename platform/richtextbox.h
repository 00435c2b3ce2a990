// The rich text box that holds the letter text for the whole run: an editor widget that
// also serves without ever being shown (the letter merge searches, selects and replaces
// in it while printing).
//
// Positions are those of the plain text (Text()): every paragraph break counts as one
// character. Selection values that differ within the selection read as no value
// (std::nullopt). The box's default font is Times New Roman 12.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextEdit>
#include <optional>

class QMimeData;

class RichTextBox : public QTextEdit {
  Q_OBJECT

 public:
  explicit RichTextBox(QWidget* parent = nullptr);

  // Loads a file, replacing the content. A file that is not RTF shows as plain text
  // (klartext()), as word processors open it. False, with the content unchanged and
  // fehler() saying why in German, when the file cannot be read or holds neither RTF nor
  // text (NUL characters).
  bool LoadFile(const QString& pfad);
  // Saves the content as RTF (through a temporary file, so a failed save leaves the old
  // file whole). False, with fehler() saying why, when it cannot be written.
  bool SaveFile(const QString& pfad);
  QString fehler() const { return fehler_; }

  // The whole content as rich text; setting it replaces everything (text that is not RTF
  // is taken as plain text).
  QByteArray TextRTF() const;
  void setTextRTF(const QByteArray& rtf);
  // The whole content as plain text; setting it replaces everything by the text in the
  // default font.
  QString Text() const;
  void setText(const QString& text);

  // Position of the first occurrence of `suchtext` (letter case ignored) lying within
  // [start, ende) of the plain text, or -1. An `ende` below 0 or beyond the text means
  // the end of the text. A match is selected, as the search of the box always did.
  int Find(const QString& suchtext, int start = 0, int ende = -1);

  // The selection: its start, its length and its text. Setting SelStart removes the
  // selection; setting SelLength selects from SelStart on. Setting SelText replaces the
  // selection (or inserts at the caret) with text in the format of the first replaced
  // character, so "#Datum" in bold stays bold once merged.
  int SelStart() const;
  void setSelStart(int start);
  int SelLength() const;
  void setSelLength(int laenge);
  QString SelText() const;
  void setSelText(const QString& text);
  // The selection as rich text; setting it replaces the selection by the rich text
  // (text that is not RTF is inserted as plain text).
  QByteArray SelRTF() const;
  void setSelRTF(const QByteArray& rtf);

  // Character values of the selection (of the caret when nothing is selected). Setting
  // applies to the selection, or to what is typed next at the caret.
  std::optional<QString> SelFontName() const;
  void setSelFontName(const QString& name);  // an empty name is ignored
  std::optional<double> SelFontSize() const;
  void setSelFontSize(double punkte);      // a size of 0 or less is ignored
  std::optional<QColor> SelColor() const;  // the automatic colour reads as black
  void setSelColor(const QColor& farbe);
  std::optional<bool> SelBold() const;
  void setSelBold(bool an);
  std::optional<bool> SelItalic() const;
  void setSelItalic(bool an);
  std::optional<bool> SelUnderline() const;
  void setSelUnderline(bool an);
  // Alignment of the paragraphs of the selection: 0 left, 1 right, 2 centre; justified
  // paragraphs read as left. Other values are ignored when set.
  std::optional<int> SelAlignment() const;
  void setSelAlignment(int ausrichtung);

  // Clipboard: the selection as rich text ("text/rtf") with plain text beside it; paste
  // of rich text, or of plain text when the clipboard holds no rich text. A paste with
  // nothing usable on the clipboard leaves the selection in place.
  void kopieren();
  void einfuegen();

 signals:
  // The selection or the caret moved, or the content was replaced.
  void SelChange();

 protected:
  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* quelle) const override;
  void insertFromMimeData(const QMimeData* quelle) override;

 private:
  template <typename Wert, typename Lesen>
  std::optional<Wert> einheitlich(Lesen lesen) const;
  void mitFormat(const QTextCharFormat& format);
  void inhaltErsetzt();

  QString fehler_;
};
