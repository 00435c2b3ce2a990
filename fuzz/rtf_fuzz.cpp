// Fuzz target for the RTF reader. Besides never crashing or hanging, what was read must
// survive the writer: written and read again it gives the same text, and writing that
// gives the same bytes. Inserting the input into a document must not break either.
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "platform/rtf_lesen.h"
#include "platform/rtf_schreiben.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "rtf_fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QByteArray rtf = QByteArray::fromRawData(reinterpret_cast<const char*>(daten),
                                                 static_cast<qsizetype>(groesse));
  QTextDocument doc;
  if (!rtfLesen(rtf, doc)) {
    if (!doc.isEmpty()) std::abort();  // refused input leaves the document empty
    return 0;
  }
  const QByteArray geschrieben = rtfSchreiben(doc);
  QTextDocument zweites;
  zweites.setDefaultFont(doc.defaultFont());
  if (!rtfLesen(geschrieben, zweites)) std::abort();
  if (zweites.toRawText() != doc.toRawText()) std::abort();
  if (rtfSchreiben(zweites) != geschrieben) std::abort();

  QTextDocument ziel;
  ziel.setPlainText(QStringLiteral("ab\ncd"));
  QTextCursor c(&ziel);
  c.setPosition(1);
  c.setPosition(4, QTextCursor::KeepAnchor);
  rtfEinfuegen(c, rtf);
  return 0;
}
