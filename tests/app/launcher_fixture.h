// A shown main window whose suite directory holds stand-in programs that record how they were
// started, and helpers to wait for conditions.
#pragma once

#include "UntVelmo.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtTest/QTest>

#include <memory>

constexpr int kWaitMs = 30000;  // generous: a loaded machine may be slow to start a program

// The suite's program files, in the order of the buttons BitBtn1 ... BitBtn7.
inline const QStringList kProgramFiles = {"Ardeval.exe", "Pelquin.exe",  "Storvik.exe", "Tallomar.exe",
                                          "Rodanel.exe", "Cargoven.exe", "Bilmaro.exe"};

enum class TProgramKind { Recording, NotExecutable, Missing };

class LauncherTest : public testing::Test {
 protected:
  // Creates the window; PageAddress defaults to a page that needs no network.
  void Open(TProgramKind Programs, const QUrl& PageAddress = QUrl("about:blank"));
  // Waits until the shown page window has become active, then makes the main window active again,
  // as a user clicking back would.
  void ReturnToMainWindow();
  static bool WaitForKeyboard(QWidget* TopLevel);
  // Ends the stand-in programs and destroys the window; Open may follow again.
  void Close();
  void TearDown() override { Close(); }

  // Records of started programs named File, each "<argument count>|<arguments...>|<directory>".
  QStringList Records(const QString& File) const;
  // True when a started File has ended (the stand-ins run until the fixture releases them).
  bool AnyEnded(const QString& File) const;
  QString ProgramDirectory() const { return Dir->path() + "/"; }

  std::unique_ptr<QTemporaryDir> Dir;
  std::unique_ptr<TFrmVelmo> Window;
};
