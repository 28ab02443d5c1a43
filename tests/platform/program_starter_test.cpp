#include "ProgramStarter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr auto kStartTimeout = 30s;

// A stand-in program: records its arguments, working directory and parent, then stays running
// until the test creates "release" beside it.
const char kFakeProgram[] = R"(#!/bin/sh
here=$(dirname "$0")
record="$here/records/$$"
{ echo "$#"; for a in "$@"; do echo "arg:$a"; done; pwd; echo "$PPID"; } > "$record.tmp"
mv "$record.tmp" "$record"
i=0
while [ -d "$here/records" ] && [ ! -e "$here/release" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
)";

class ProgramStarterTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    ASSERT_TRUE(QDir(Dir.path()).mkdir("records"));
  }
  void TearDown() override { QFile(Dir.filePath("release")).open(QIODevice::WriteOnly); }

  QString WriteProgram(const QString& Name, bool Executable) {
    QFile file(Dir.filePath(Name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kFakeProgram);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                        (Executable ? QFileDevice::ExeOwner : QFileDevice::Permissions()));
    return file.fileName();
  }

  QStringList Records() const { return QDir(Dir.filePath("records")).entryList(QDir::Files); }

  // Polls until Count records exist or the timeout passes.
  bool WaitForRecords(int Count) const {
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (Records().size() < Count && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(20ms);
    return Records().size() >= Count;
  }

  QStringList RecordLines(const QString& Record) const {
    QFile file(Dir.filePath("records/" + Record));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  }

  QTemporaryDir Dir;
};

TEST_F(ProgramStarterTest, StartsDetachedWithTheOneArgumentInOurDirectory) {
  const QString program = WriteProgram("Ardeval.exe", true);
  ASSERT_TRUE(StartProgram(0, program, "Velmo"));
  // The program is still running (it waits for "release"), so the call did not wait for it.
  ASSERT_TRUE(WaitForRecords(1));
  const QStringList lines = RecordLines(Records().front());
  ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();
  EXPECT_EQ(lines[0], "1");
  EXPECT_EQ(lines[1], "arg:Velmo");
  EXPECT_EQ(QDir(lines[2]).canonicalPath(), QDir::current().canonicalPath());
  EXPECT_NE(lines[3].toLongLong(), static_cast<long long>(getpid()));
  // Not our child: there is nothing to wait for and no zombie can be left behind.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(ProgramStarterTest, EachCallStartsAnotherInstance) {
  const QString program = WriteProgram("Pelquin.exe", true);
  ASSERT_TRUE(StartProgram(0, program, "Velmo"));
  ASSERT_TRUE(StartProgram(0, program, "Velmo"));
  EXPECT_TRUE(WaitForRecords(2));
}

TEST_F(ProgramStarterTest, ProgramsThatCannotStartAreRefusedQuietly) {
  const QString notExecutable = WriteProgram("Storvik.exe", false);
  EXPECT_FALSE(StartProgram(0, Dir.filePath("Missing.exe"), "Velmo"));
  EXPECT_FALSE(StartProgram(0, notExecutable, "Velmo"));
  EXPECT_FALSE(StartProgram(0, Dir.path(), "Velmo")) << "a directory";
  EXPECT_TRUE(Records().isEmpty());
}

}  // namespace
