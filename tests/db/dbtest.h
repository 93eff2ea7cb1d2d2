#pragma once
// A data module on a fresh database in a temporary application folder,
// with the key generator's pause switched off.
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <memory>

#include "db/dbinit.h"
#include "db/fbdm.h"
#include "testsupport.h"

namespace orvan::test {

class DbTest : public AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    dm_ = std::make_unique<TFbDM>(home() + QStringLiteral("Data/"));
    dm_->keyGen().setSleeper([this](int ms) { pauses_.push_back(ms); });
    ASSERT_TRUE(InitializeDatabase(*dm_).ok);
  }
  void TearDown() override {
    dm_.reset();
    AppFolderTest::TearDown();
  }

  // Runs a statement with bound values on the main connection.
  QSqlQuery sql(const QString& statement, const QVariantList& values = {}) {
    QSqlQuery q(dm_->db());
    q.prepare(statement);
    for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
    EXPECT_TRUE(q.exec()) << statement.toStdString() << ": " << q.lastError().text().toStdString();
    DbTable::noteExternalWrite();
    return q;
  }
  QVariant scalar(const QString& statement, const QVariantList& values = {}) {
    QSqlQuery q = sql(statement, values);
    return q.next() ? q.value(0) : QVariant();
  }

  std::unique_ptr<TFbDM> dm_;
  std::vector<int> pauses_;
};

}  // namespace orvan::test
