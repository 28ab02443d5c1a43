#include "launcher_fixture.h"

#include "UntPagina.h"

#include <QDir>
#include <QFile>

namespace {

// Writes "<pid>.run" when started and "<pid>.end" when done; it runs until "release" exists.
const char kRecordingProgram[] = R"sh(#!/bin/sh
here=$(dirname "$0")
name=$(basename "$0")
record="$here/records/$name.$$"
{ printf '%s' "$#"; for a in "$@"; do printf '|%s' "$a"; done; printf '|%s' "$(pwd)"; } > "$record.tmp"
mv "$record.tmp" "$record.run"
i=0
while [ -d "$here/records" ] && [ ! -e "$here/release" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
[ -d "$here/records" ] && : > "$record.end"
)sh";

}  // namespace

void LauncherTest::Open(TProgramKind Programs, const QUrl& PageAddress) {
  Dir = std::make_unique<QTemporaryDir>();
  ASSERT_TRUE(Dir->isValid());
  ASSERT_TRUE(QDir(Dir->path()).mkdir("records"));
  if (Programs != TProgramKind::Missing) {
    for (const QString& name : kProgramFiles) {
      QFile file(Dir->filePath(name));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(kRecordingProgram);
      QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
      if (Programs == TProgramKind::Recording) permissions |= QFile::ExeOwner;
      file.setPermissions(permissions);
    }
  }
  Window = std::make_unique<TFrmVelmo>(ProgramDirectory(), PageAddress);
  Window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get(), kWaitMs));
  ASSERT_TRUE(WaitForKeyboard(Window.get()));
}

// QWidget::isActiveWindow also holds for the owner of the active window; the keyboard goes to
// the focus window alone.
bool LauncherTest::WaitForKeyboard(QWidget* TopLevel) {
  TopLevel->activateWindow();
  return QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == TopLevel->windowHandle(); },
                         kWaitMs);
}

void LauncherTest::ReturnToMainWindow() {
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return QGuiApplication::focusWindow() == Window->FrmPagina->windowHandle(); }, kWaitMs));
  ASSERT_TRUE(WaitForKeyboard(Window.get()));
}

void LauncherTest::Close() {
  Window.reset();
  if (Dir) QFile(Dir->filePath("release")).open(QIODevice::WriteOnly);
  Dir.reset();
}

QStringList LauncherTest::Records(const QString& File) const {
  QStringList records;
  const QDir recordsDir(Dir->filePath("records"));
  for (const QString& entry : recordsDir.entryList({File + ".*.run"}, QDir::Files)) {
    QFile file(recordsDir.filePath(entry));
    if (file.open(QIODevice::ReadOnly)) records << QString::fromUtf8(file.readAll());
  }
  return records;
}

bool LauncherTest::AnyEnded(const QString& File) const {
  return !QDir(Dir->filePath("records")).entryList({File + ".*.end"}, QDir::Files).isEmpty();
}
