#include "platform/feldbindung.h"

#include <QLineEdit>
#include <limits>

#include "platform/datensteuerung.h"

namespace {

// A line edit as the data control sees it. It is a child of the edit, so it goes with it.
class Zeilenfeld : public GebundenesFeld {
 public:
  explicit Zeilenfeld(QLineEdit* feld) : GebundenesFeld(feld), feld_(feld) {}
  QString text() const override { return feld_->text(); }
  void setText(const QString& text) override { feld_->setText(text); }

 private:
  QLineEdit* feld_;
};

}  // namespace

void bindeFeld(Datensteuerung& daten, QLineEdit* feld, const QString& feldname) {
  if (!feld) return;
  // One stand-in per edit, whichever controls it is bound to.
  auto* gebunden = feld->findChild<GebundenesFeld*>(QString(), Qt::FindDirectChildrenOnly);
  if (!gebunden) gebunden = new Zeilenfeld(feld);
  // The edit shows every value the table holds, however long.
  feld->setMaxLength(std::numeric_limits<int>::max());
  daten.bindeFeld(gebunden, feldname);
}
