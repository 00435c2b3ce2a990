// A folder on a disk that is nearly full: a tmpfs of 64 KiB of its own, filled but for a few
// KiB, so that a save larger than that fails for want of space. Mounting needs the right to
// (root); where it is missing the test is skipped.
#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <string>

class VollerDatentraeger {
 public:
  // False (with the reason in grund()) when no tmpfs could be mounted.
  bool bereit() {
    punkt_ = QFile::encodeName(ordner_.path());
    if (::mount("tmpfs", punkt_.constData(), "tmpfs", 0, "size=64k") != 0) {
      grund_ = std::strerror(errno);
      return false;
    }
    eingehaengt_ = true;
    QFile fuellung(pfad(QStringLiteral("fuellung")));
    return fuellung.open(QIODevice::WriteOnly) &&
           fuellung.write(QByteArray(56 * 1024, 'x')) == 56 * 1024;
  }
  ~VollerDatentraeger() {
    if (eingehaengt_) ::umount2(punkt_.constData(), MNT_DETACH);
  }
  // Takes the last free bytes too: then every save of anything fails.
  void ganzFuellen() const {
    QFile fuellung(pfad(QStringLiteral("fuellung")));
    if (!fuellung.open(QIODevice::Append | QIODevice::Unbuffered)) return;
    while (fuellung.write(QByteArray(512, 'x')) > 0) {
    }
  }
  QString pfad(const QString& name) const { return QDir(ordner_.path()).filePath(name); }
  // A file of the given content, as an earlier save left it.
  void alteDatei(const QString& name, const QByteArray& inhalt) const {
    QFile alt(pfad(name));
    if (alt.open(QIODevice::WriteOnly)) alt.write(inhalt);
  }
  QByteArray inhalt(const QString& name) const {
    QFile f(pfad(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // The files in the folder, the filling among them.
  QStringList dateien() const {
    return QDir(ordner_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }
  const std::string& grund() const { return grund_; }

 private:
  QTemporaryDir ordner_;
  QByteArray punkt_;
  bool eingehaengt_ = false;
  std::string grund_;
};

// Skips the test where no full disk can be made.
#define VOLLER_DATENTRAEGER(name) \
  VollerDatentraeger name;        \
  if (!name.bereit()) GTEST_SKIP() << "kein tmpfs einzuhängen: " << name.grund()
