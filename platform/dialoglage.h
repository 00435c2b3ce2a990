// Dialogs keep their place on the screen when they are hidden and shown again, as the
// program's windows are expected to: a dialog reopens exactly where it was closed, also after
// the user moved it.
//
// Qt centres a dialog over its parent on every showing that no move() preceded, and works
// the frame's size out from the other windows visible at that moment; under a window manager
// that estimate differs between the first showing and the next, so a dialog came back one
// title bar lower. The filter keeps the frame's top-left corner when a dialog is hidden and
// moves the dialog there (move() places the frame) when it is shown again; its first showing
// is left to Qt.
#pragma once

#include <QObject>

class Dialoglage : public QObject {
 public:
  // Watches every dialog of the application for as long as the object lives.
  explicit Dialoglage(QObject* eltern = nullptr);

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};
