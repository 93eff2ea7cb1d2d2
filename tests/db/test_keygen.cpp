#include <gtest/gtest.h>

#include "db/keygen.h"
#include "dbtest.h"

namespace orvan::test {
namespace {

class KeyGenTest : public DbTest {
 protected:
  int stored(const QString& table) {
    return scalar(QStringLiteral("SELECT keyval_next FROM KeyTable WHERE tblname = ?"), {table}).toInt();
  }
  void setStored(const QString& table, int k) {
    sql(QStringLiteral("UPDATE KeyTable SET keyval_next = ? WHERE tblname = ?"), {k, table});
  }
};

TEST_F(KeyGenTest, SeedingStartsEachTableWhereItsRowsEnd) {
  // A fresh database: every seeded table empty, stored value 1.
  for (const QString& t : TKeyGen::SeededTables()) EXPECT_EQ(stored(t), 1) << t.toStdString();
  EXPECT_EQ(dm_->NextKey(QStringLiteral("Trans")), 2);
  EXPECT_EQ(stored(QStringLiteral("Trans")), 2);

  // Seeding again after a restore without the key table: from the rows.
  sql(QStringLiteral("INSERT INTO Cms (ID) VALUES (40), (7)"));
  sql(QStringLiteral("DROP TABLE KeyTable"));
  TKeyGen gen(dm_->dataDir(), TFbDM::kAlias);
  gen.setSleeper([](int) {});
  EXPECT_EQ(gen.EnsureKeyTable(), TKeyGen::SeededTables());
  EXPECT_TRUE(gen.keyTableCreated());
  EXPECT_EQ(stored(QStringLiteral("Cms")), 41);
  EXPECT_EQ(stored(QStringLiteral("Trans")), 1);
  EXPECT_EQ(gen.NextKey(QStringLiteral("Cms")), 42);
  // With the table there, nothing changes.
  EXPECT_TRUE(gen.EnsureKeyTable().isEmpty());
  EXPECT_FALSE(gen.keyTableCreated());
}

TEST_F(KeyGenTest, NextKeyWrapsAndSkipsKeysInUse) {
  struct Case {
    int stored;
    std::vector<int> used;  // Trans IDs present
    int issued;
  } cases[] = {
      {41, {}, 42},
      {9998, {}, 9999},
      {9999, {}, 1},              // after 9999 the keys start again at 1
      {9999, {1, 2, 4}, 3},       // keys still used by a batch are skipped
      {9998, {9999, 1}, 2},       // skipping also wraps
      {5, {6, 7, 8}, 9},
  };
  for (const Case& c : cases) {
    sql(QStringLiteral("DELETE FROM Trans"));
    for (int id : c.used) sql(QStringLiteral("INSERT INTO Trans (ID) VALUES (?)"), {id});
    setStored(QStringLiteral("Trans"), c.stored);
    EXPECT_EQ(dm_->NextKey(QStringLiteral("Trans")), c.issued) << c.stored;
    EXPECT_EQ(stored(QStringLiteral("Trans")), c.issued);
  }
  // Every key issued paused for the 300 ms the program waits.
  EXPECT_EQ(pauses_, std::vector<int>(std::size(cases), 300));
}

TEST_F(KeyGenTest, ANameWithoutItsRowIsSeededFromItsTableFirst) {
  sql(QStringLiteral("DELETE FROM KeyTable WHERE tblname = 'Purchase'"));
  sql(QStringLiteral("INSERT INTO Purchase (ID, Gubun) VALUES (12, '1'), (15, '2')"));
  EXPECT_EQ(dm_->NextKey(QStringLiteral("Purchase")), 17);  // seeded 16, then the next
  EXPECT_EQ(dm_->NextKey(QStringLiteral("Purchase")), 18);
  // A name that is no table at all starts at 1 and goes on from there.
  EXPECT_EQ(dm_->NextKey(QStringLiteral("No\"Such'Table")), 2);
  EXPECT_EQ(dm_->NextKey(QStringLiteral("No\"Such'Table")), 3);
  EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM KeyTable")).toInt(), 7);
}

TEST_F(KeyGenTest, AllKeysInUseIsAnErrorNotACollision) {
  QSqlDatabase db = dm_->db();
  DbTransaction tx(db);
  QSqlQuery q(db);
  q.prepare(QStringLiteral("INSERT INTO Trans (ID) VALUES (?)"));
  for (int id = 1; id <= TKeyGen::kMaxKey; ++id) {
    q.bindValue(0, id);
    ASSERT_TRUE(q.exec());
  }
  tx.commit();
  EXPECT_THROW(dm_->NextKey(QStringLiteral("Trans")), DbError);
}

}  // namespace
}  // namespace orvan::test
