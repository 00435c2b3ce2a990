#include "platform/dialoglage.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QVariant>

namespace {
const char* const kLage = "qxRahmenlage";
}

Dialoglage::Dialoglage(QObject* eltern) : QObject(eltern) {
  QCoreApplication::instance()->installEventFilter(this);
}

bool Dialoglage::eventFilter(QObject* objekt, QEvent* ereignis) {
  const QEvent::Type typ = ereignis->type();
  // Spontaneous events are the window system's own (minimised and restored): the window
  // manager keeps the place then.
  if ((typ != QEvent::Hide && typ != QEvent::Show) || ereignis->spontaneous()) return false;
  auto* dialog = qobject_cast<QDialog*>(objekt);
  if (!dialog || !dialog->isWindow()) return false;
  if (typ == QEvent::Hide) {
    dialog->setProperty(kLage, dialog->frameGeometry().topLeft());
  } else if (const QVariant lage = dialog->property(kLage); lage.isValid()) {
    // Before the window is mapped; the dialog's own show handler then sees a moved window
    // and leaves it there.
    dialog->move(lage.toPoint());
  }
  return false;
}
