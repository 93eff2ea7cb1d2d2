#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "testsupport.h"

using namespace orvan;

TEST(ScriptedPrompter, AnswersInOrderAndRecordsEverything) {
  ScriptedPrompter p;
  p.answer(No).answer(Yes);
  EXPECT_EQ(p.message(MsgKind::Information, QStringLiteral("t"), QStringLiteral("정보"), Ok, Ok), Ok);
  EXPECT_EQ(p.message(MsgKind::Question, QStringLiteral("t"), QStringLiteral("q1"), Yes | No, Yes), No);
  EXPECT_EQ(p.message(MsgKind::Question, QStringLiteral("t"), QStringLiteral("q2"), Yes | No, No), Yes);
  EXPECT_EQ(p.message(MsgKind::Question, QStringLiteral("t"), QStringLiteral("q3"), Ok | Cancel, Cancel), Cancel);
  EXPECT_EQ(p.unanswered(), 1);
  EXPECT_EQ(p.texts(), (QStringList{QStringLiteral("정보"), QStringLiteral("q1"), QStringLiteral("q2"), QStringLiteral("q3")}));
}

TEST(ScriptedPrompter, InputRunsTheValidatorOverEachEntry) {
  ScriptedPrompter p;
  p.type(QStringLiteral("a")).type(QStringLiteral("bb")).type(QStringLiteral("ccc"));
  InputRequest req;
  req.caption = QStringLiteral("c");
  req.validate = [](const QString& e) {
    return e.size() == 2 ? InputVerdict::accept() : InputVerdict::retry(QStringLiteral("두 글자"));
  };
  EXPECT_EQ(p.input(req), QStringLiteral("bb"));
  EXPECT_EQ(p.texts(), QStringList{QStringLiteral("두 글자")});
  // The remaining entry is used by the next dialog; nothing left then means cancel.
  EXPECT_EQ(p.input(InputRequest{}), QStringLiteral("ccc"));
  EXPECT_FALSE(p.input(InputRequest{}).has_value());
}

TEST(Clock, ScopedClockReplacesAndRestores) {
  const QDateTime t(QDate(2026, 3, 2), QTime(15, 59, 59));
  {
    ScopedClock c(t);
    EXPECT_EQ(Now(), t);
    EXPECT_EQ(Today(), QDate(2026, 3, 2));
  }
  EXPECT_NE(Now(), t);
}

TEST(Process, FindsThisProgramAndLaunchesAndWaits) {
  EXPECT_TRUE(IsProcessRunning(ExecutablePath()));
  EXPECT_TRUE(IsProcessRunning(ExecutablePath().toLower()));  // compared in capitals
  EXPECT_FALSE(IsProcessRunning(QStringLiteral("/nonexistent/Velmarc")));

  QTemporaryDir dir;
  const QString script = dir.path() + QStringLiteral("/tool.sh");
  QFile f(script);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("#!/bin/sh\npwd > ran.txt\nsleep 0.2\n");
  f.close();
  f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  int ticks = 0;
  EXPECT_TRUE(RunAndWait(script, {}, [&] { ++ticks; }));
  EXPECT_GT(ticks, 0);
  QFile ran(dir.path() + QStringLiteral("/ran.txt"));
  ASSERT_TRUE(ran.open(QIODevice::ReadOnly));  // ran in its own directory
  EXPECT_EQ(QString::fromUtf8(ran.readAll()).trimmed(), QDir(dir.path()).canonicalPath());
  EXPECT_FALSE(RunAndWait(dir.path() + QStringLiteral("/missing"), {}));
}

TEST(Process, InstanceLockAdmitsOneHolder) {
  const QString name = QStringLiteral("orvan-test-") + QString::number(QCoreApplication::applicationPid());
  InstanceLock a(name), b(name);
  EXPECT_TRUE(a.tryLock());
  EXPECT_FALSE(b.tryLock());
}
