#include <QSignalSpy>
#include <gtest/gtest.h>

#include "db/tablemodel.h"
#include "dbtest.h"

namespace orvan::test {
namespace {

class TableTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    ASSERT_TRUE(dm_->ReopenAllTables());
  }
  void addBatch(int id, const QString& bank, int state = 1) {
    DbTable& t = dm_->tblTrans();
    t.append();
    t.setValue(QStringLiteral("ID"), id);
    t.setValue(QStringLiteral("BankID"), bank);
    t.setValue(QStringLiteral("State"), state);
    t.post();
  }
  void addLine(int id, qint64 won, const QString& codeH = {}) {
    DbTable& l = dm_->tblTranSub();
    l.append();
    l.setValue(QStringLiteral("ID"), id);
    l.setValue(QStringLiteral("TrsWon"), won);
    l.setValue(QStringLiteral("CodeH"), codeH);
    l.setValue(QStringLiteral("State"), 1);
    l.post();
  }
  QList<int> ids(DbTable& t) {
    QList<int> out;
    for (int r = 0; r < t.rowCount(); ++r) out << t.valueAt(r, QStringLiteral("ID")).toInt();
    return out;
  }
};

TEST_F(TableTest, RowsStayInKeyOrderThroughInsertsAndKeyEdits) {
  for (int id : {30, 10, 20}) addBatch(id, QStringLiteral("26"));
  DbTable& t = dm_->tblTrans();
  EXPECT_EQ(ids(t), (QList<int>{10, 20, 30}));
  EXPECT_EQ(t.toInt(QStringLiteral("ID")), 20);  // the posted row is current

  t.first();
  t.edit();
  t.setValue(QStringLiteral("ID"), 25);
  t.post();
  EXPECT_EQ(ids(t), (QList<int>{20, 25, 30}));
  EXPECT_EQ(t.recNo(), 1);

  // A walk from the first row visits every row once.
  QList<int> walked;
  for (t.first(); !t.eof(); t.next()) walked << t.toInt(QStringLiteral("ID"));
  EXPECT_EQ(walked, (QList<int>{20, 25, 30}));

  // What the engine holds agrees after a refresh.
  t.refresh();
  EXPECT_EQ(ids(t), (QList<int>{20, 25, 30}));
}

TEST_F(TableTest, FilterTakesBoundValuesAndIsRemovedAgain) {
  addBatch(1, QStringLiteral("26"), 1);
  addBatch(2, QStringLiteral("04"), 2);
  addBatch(3, QStringLiteral("04"), 1);
  DbTable& t = dm_->tblTrans();
  t.edit();
  t.setValue(QStringLiteral("Comment"), QStringLiteral("x' OR '1'='1"));  // a value, never SQL
  t.post();
  t.setFilter(QStringLiteral("BankID = ? AND State = ?"), {QStringLiteral("26"), 1});
  t.setFiltered(true);
  EXPECT_EQ(ids(t), (QList<int>{1}));
  t.setFilter(QStringLiteral("Comment = ?"), {QStringLiteral("x' OR '1'='1")});
  EXPECT_EQ(ids(t), (QList<int>{3}));
  t.clearFilter();
  EXPECT_EQ(ids(t), (QList<int>{1, 2, 3}));
  EXPECT_FALSE(t.filtered());
}

TEST_F(TableTest, DetailFollowsTheCurrentMasterRow) {
  addBatch(1, QStringLiteral("26"));
  addLine(1, 100);
  addLine(2, 200);
  addBatch(2, QStringLiteral("04"));
  EXPECT_EQ(dm_->tblTranSub().rowCount(), 0);  // the new batch has no lines yet
  addLine(1, 300);
  EXPECT_EQ(dm_->tblTranSub().toInt(QStringLiteral("TransID")), 2);  // link filled from the master

  DbTable& t = dm_->tblTrans();
  DbTable& l = dm_->tblTranSub();
  t.first();
  EXPECT_EQ(ids(l), (QList<int>{1, 2}));
  EXPECT_EQ(l.money(QStringLiteral("TrsWon")), 100);
  t.next();
  EXPECT_EQ(ids(l), (QList<int>{1}));
  EXPECT_EQ(l.money(QStringLiteral("TrsWon")), 300);

  // Deleting every batch leaves the detail empty.
  t.removeRows({0, 1});
  EXPECT_EQ(t.rowCount(), 0);
  EXPECT_EQ(l.rowCount(), 0);
}

TEST_F(TableTest, FailedPostKeepsTheEntryOpenAndReportsWhy) {
  addBatch(1, QStringLiteral("26"));
  DbTable& t = dm_->tblTrans();
  t.append();
  t.setValue(QStringLiteral("ID"), 1);
  try {
    t.post();
    FAIL() << "duplicate key posted";
  } catch (const DbError& e) {
    EXPECT_EQ(e.kind(), DbError::KeyViolation);
  }
  EXPECT_EQ(t.state(), DbTable::Insert);
  t.setValue(QStringLiteral("ID"), 2);
  t.post();
  EXPECT_EQ(ids(t), (QList<int>{1, 2}));

  DbTable& codes = dm_->tblCodes();
  codes.append();
  codes.setValue(QStringLiteral("BankID"), QStringLiteral("00"));
  codes.setValue(QStringLiteral("Kind"), QStringLiteral("D"));
  try {
    codes.post();  // no ID and no Name
    FAIL() << "row without required values posted";
  } catch (const DbError& e) {
    EXPECT_EQ(e.kind(), DbError::RequiredMissing);
  }
  codes.cancel();
  EXPECT_EQ(codes.state(), DbTable::Browse);
}

TEST_F(TableTest, TextIsStoredCutAtItsSizeInBytes) {
  addBatch(1, QStringLiteral("26"));
  DbTable& l = dm_->tblTranSub();
  l.append();
  l.setValue(QStringLiteral("ID"), 1);
  l.setValue(QStringLiteral("ExName"), QStringLiteral("홍길동홍길동a"));  // 13 bytes into text(10)
  l.post();
  EXPECT_EQ(scalar(QStringLiteral("SELECT ExName FROM TranSub")).toString(), QStringLiteral("홍길동홍길"));
  EXPECT_EQ(l.text(QStringLiteral("ExName")), QStringLiteral("홍길동홍길"));
}

TEST_F(TableTest, ModelShowsDisplayTextsAndFollowsTheTable) {
  addBatch(1, QStringLiteral("26"));
  DbTable& t = dm_->tblTrans();
  DbTableModel model(&dm_->tblTranSub(),
                     {QStringLiteral("ID"), QStringLiteral("TrsWon"), QStringLiteral("Stat"), QStringLiteral("ExName")});
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  addLine(1, 1234567);
  addLine(2, -5);
  EXPECT_EQ(inserted.count(), 2);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("₩1,234,567"));
  EXPECT_EQ(model.data(model.index(1, 1)).toString(), QStringLiteral("-₩5"));
  EXPECT_EQ(model.data(model.index(0, 1), Qt::EditRole).toLongLong(), 1234567);
  EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("송신대기"));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("이체금액"));
  EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("예금주명"));

  addBatch(2, QStringLiteral("26"));
  EXPECT_GE(reset.count(), 1);
  EXPECT_EQ(model.rowCount(), 0);
  t.first();
  EXPECT_EQ(model.rowCount(), 2);

  // A multi-row selection is acted on by row id.
  std::vector<qint64> selected = model.rowIds({1});
  dm_->tblTranSub().removeRows({dm_->tblTranSub().rowOfRowId(selected[0])});
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("1"));
}

TEST(Formats, WonAndCounts) {
  struct Case {
    qint64 n;
    const char* won;
    const char* count;
  } cases[] = {{0, "₩0", "0"},
               {999, "₩999", "999"},
               {1000, "₩1,000", "1,000"},
               {123456789, "₩123,456,789", "123,456,789"},
               {-1234, "-₩1,234", "-1,234"}};
  for (const Case& c : cases) {
    EXPECT_EQ(FormatWon(c.n), QString::fromUtf8(c.won));
    EXPECT_EQ(FormatCount(c.n), QString::fromUtf8(c.count));
  }
}

}  // namespace
}  // namespace orvan::test
