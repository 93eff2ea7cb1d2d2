#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "db/schema.h"
#include "platform/cp949.h"
#include "dbtest.h"

namespace orvan::test {
namespace {

struct ColInfo {
  QString name, type;
  bool notNull;
};

std::vector<ColInfo> columnsOf(const QSqlDatabase& db, const QString& table) {
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT name, type, \"notnull\" FROM pragma_table_info(?)"));
  q.addBindValue(table);
  EXPECT_TRUE(q.exec());
  std::vector<ColInfo> out;
  while (q.next()) out.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toBool()});
  return out;
}

// Index name -> (unique, columns in order).
std::map<QString, std::pair<bool, QStringList>> indexesOf(const QSqlDatabase& db, const QString& table) {
  std::map<QString, std::pair<bool, QStringList>> out;
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT name, \"unique\" FROM pragma_index_list(?)"));
  q.addBindValue(table);
  EXPECT_TRUE(q.exec());
  while (q.next()) {
    QString name = q.value(0).toString();
    QSqlQuery c(db);
    c.prepare(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"));
    c.addBindValue(name);
    EXPECT_TRUE(c.exec());
    QStringList cols;
    while (c.next()) cols << c.value(0).toString();
    out[name] = {q.value(1).toBool(), cols};
  }
  return out;
}

using SchemaTest = DbTest;

TEST_F(SchemaTest, FreshDatabaseHoldsEveryTableColumnKeyAndIndexOfTheCatalogue) {
  QSqlDatabase db = dm_->db();
  for (const TableDef& t : Catalogue()) {
    SCOPED_TRACE(t.name.toStdString());
    ASSERT_TRUE(TableExists(db, t.name));
    std::vector<ColInfo> cols = columnsOf(db, t.name);
    ASSERT_EQ(cols.size(), t.columns.size());
    for (size_t i = 0; i < cols.size(); ++i) {
      EXPECT_EQ(cols[i].name, t.columns[i].name);  // exact spelling and stored order
      EXPECT_EQ(cols[i].type, SqlType(t.columns[i]));
      EXPECT_EQ(cols[i].notNull, t.columns[i].required && t.columns[i].type != ColType::AutoInc);
    }
    auto ix = indexesOf(db, t.name);
    if (!t.primary.columns.isEmpty()) {
      ASSERT_TRUE(ix.count(t.primary.name)) << t.primary.name.toStdString();
      EXPECT_TRUE(ix[t.primary.name].first);
      EXPECT_EQ(ix[t.primary.name].second, t.primary.columns);
    }
    for (const Index& i : t.indexes) {
      QString physical = PhysicalIndexName(t, i);
      ASSERT_TRUE(ix.count(physical)) << physical.toStdString();
      EXPECT_EQ(ix[physical].second, i.columns);
      EXPECT_EQ(ix[physical].first, i.unique);
    }
  }
}

TEST_F(SchemaTest, NamedKeysAndIndexesOfTheSchema) {
  struct Case {
    const char* table;
    const char* index;
    const char* columns;
    bool unique;
  } cases[] = {
      {"TongRegister", "TongRegister_PK", "Giganid,Bankcd,Bankno,NapbuNO", true},
      {"TongRegister", "TongRegister_PK_IDX1", "Status,Bankcd,Bankno", false},
      {"TongRegister", "TongRegister_PK_IDX2", "Status,Senddate", false},
      {"Evidential", "Evidential_PK", "BANKCD,CUSTNO,CMSSERIALNO", true},
      {"EvidentialAuthKey", "EvidentialAuthKey_PK", "SendId", true},
      {"SahooMain", "SahooMain_PK", "Sahooid", true},
      {"SahooSub", "SahooSub_PK", "SahooId,SahooSeq", true},
      {"TradeIcheSub", "TradeIcheSub_PK", "ID,TradeIcheID", true},
      {"TradeIcheSub", "Ndx_TradeIcheID", "TradeIcheID", false},
      {"TradeIcheSub", "Ndx_Check", "GumaeNo,MainSaupNo,SubSaupNo,OutBankNo,InBanKNo", false},
      {"TradeIche", "Ndx_TradeID", "TradeID", false},
      {"Recv", "Recv_Ndx_ID", "ID", false},  // Ndx_ID of Recv and of Note
      {"Note", "Note_Ndx_ID", "ID", false},
      {"Purchase", "Purchase_PK", "ID,Gubun", true},
      {"FBCodes", "FBCodes_PK", "BankID,Kind,ID", true},
      {"TongRegisterConv", "TongRegisterConv_PK", "NAME", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    auto ix = indexesOf(dm_->db(), QString::fromLatin1(c.table));
    ASSERT_TRUE(ix.count(QString::fromLatin1(c.index)));
    EXPECT_EQ(ix[QString::fromLatin1(c.index)].second, QString::fromLatin1(c.columns).split(QLatin1Char(',')));
    EXPECT_EQ(ix[QString::fromLatin1(c.index)].first, c.unique);
  }
  // The case-insensitive secondary indexes serve case-insensitive lookups.
  sql(QStringLiteral("INSERT INTO TradeIcheSub (ID, TradeIcheID, GumaeNo) VALUES (1, 1, 'abc')"));
  EXPECT_EQ(scalar(QStringLiteral(
                       "SELECT count(*) FROM TradeIcheSub INDEXED BY Ndx_Check WHERE GumaeNo = 'ABC' COLLATE NOCASE"))
                .toInt(),
            1);
}

TEST_F(SchemaTest, PurchaseAndReversePurchaseWithTheSameIdAreTwoRows) {
  sql(QStringLiteral("INSERT INTO Purchase (ID, Gubun) VALUES (7, '1')"));
  sql(QStringLiteral("INSERT INTO Purchase (ID, Gubun) VALUES (7, '2')"));
  EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM Purchase WHERE ID = 7")).toInt(), 2);
  QSqlQuery dup(dm_->db());
  EXPECT_FALSE(dup.exec(QStringLiteral("INSERT INTO Purchase (ID, Gubun) VALUES (7, '1')")));
}

// An older database: made from the catalogue without the consent and
// evidence tables and the added columns, holding rows.
class OlderDatabaseTest : public AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    QDir().mkpath(home() + QStringLiteral("Data"));
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
      db.setDatabaseName(home() + QStringLiteral("Data/Orvan.db"));
      ASSERT_TRUE(db.open());
      CreateMissingTables(db, PreConsentCatalogue());
      QSqlQuery q(db);
      ASSERT_TRUE(q.exec(QStringLiteral(
          "INSERT INTO BankCode (ID, Name, Chk100, ChkJumin, ChkBankNo) VALUES ('26', '신한은행', 1, 0, 1)")));
      ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO KiGwan (Part, KiGwanID, KiGwanName, BankID, CorCode, RecvName) "
                                        "VALUES ('1', 1, '본사', '26', '1234567890', 'AB001')")));
      ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO Trans (ID, BankID, State, TotWon) VALUES (5, '26', 1, 1500)")));
      db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    dm_ = std::make_unique<TFbDM>(home() + QStringLiteral("Data/"));
    dm_->keyGen().setSleeper([](int) {});
  }
  void TearDown() override {
    dm_.reset();
    AppFolderTest::TearDown();
  }
  QVariant value(const QString& statement) {
    QSqlQuery q(dm_->db());
    EXPECT_TRUE(q.exec(statement)) << q.lastError().text().toStdString();
    return q.next() ? q.value(0) : QVariant();
  }
  std::unique_ptr<TFbDM> dm_;
};

TEST_F(OlderDatabaseTest, SchemaStepsBringItUpToDateKeepingRowsAndGivingDefaults) {
  QSqlDatabase db = dm_->db();
  ASSERT_FALSE(TableExists(db, QStringLiteral("TongRegister")));
  ASSERT_FALSE(ColumnExists(db, QStringLiteral("KiGwan"), QStringLiteral("TREGISTERIN")));
  dm_->clearSchemaLog();

  EXPECT_EQ(dm_->RunSchemaSteps(), QString());
  for (const char* t : {"TongRegister", "TongRegisterConv", "EvidentialAuthKey", "Evidential", "SahooMain", "SahooSub"})
    EXPECT_TRUE(TableExists(db, QString::fromLatin1(t))) << t;
  struct Added {
    const char* table;
    const char* column;
    QVariant existingRowGets;
  } added[] = {
      {"BankCode", "MONEYLAW", 0},
      {"BankCode", "JUMINCHECK", 0},
      {"BankCode", "SENDVERSION", QStringLiteral("0")},
      {"KiGwan", "TREGISTERIN", QString()},
      {"KiGwan", "TREGISTEROUT", QString()},
      {"KiGwan", "REGISTER_SENDKIGWAN", QString()},
      {"KiGwan", "AUTHSENDTYPE", QString()},
      {"TongRegister", "DisplayBankno", {}},
  };
  for (const Added& a : added) {
    SCOPED_TRACE(a.column);
    EXPECT_TRUE(ColumnExists(db, QString::fromLatin1(a.table), QString::fromLatin1(a.column)));
    if (!a.existingRowGets.isValid()) continue;
    QVariant v = value(QStringLiteral("SELECT %1 FROM %2").arg(QString::fromLatin1(a.column), QString::fromLatin1(a.table)));
    EXPECT_FALSE(v.isNull());
    EXPECT_EQ(v.toString(), a.existingRowGets.toString());
  }
  // The rows kept their values.
  EXPECT_EQ(value(QStringLiteral("SELECT Name || '/' || Chk100 || ChkJumin || ChkBankNo FROM BankCode")).toString(),
            QStringLiteral("신한은행/101"));
  EXPECT_EQ(value(QStringLiteral("SELECT KiGwanName || CorCode FROM KiGwan")).toString(),
            QStringLiteral("본사1234567890"));
  EXPECT_EQ(value(QStringLiteral("SELECT TotWon FROM Trans WHERE ID = 5")).toLongLong(), 1500);
  // The consent file layout row.
  EXPECT_EQ(value(QStringLiteral("SELECT NAME || LEN || ':' || FIELD1S || ',' || FIELD1N || ',' || FIELD10S || ',' "
                                 "|| FIELD10N FROM TongRegisterConv"))
                .toString(),
            QStringLiteral("출금동의0:1,6,94,1"));
  EXPECT_FALSE(dm_->schemaLog().isEmpty());

  // Once more: every step succeeds and nothing changes.
  dm_->clearSchemaLog();
  EXPECT_EQ(dm_->RunSchemaSteps(), QString());
  EXPECT_TRUE(dm_->schemaLog().isEmpty()) << dm_->schemaLog().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM TongRegisterConv")).toInt(), 1);

  // The tables open with the added columns afterwards.
  ASSERT_TRUE(dm_->ReopenAllTables());
  EXPECT_TRUE(dm_->tblKiGwan().hasField(QStringLiteral("AUTHSENDTYPE")));
  EXPECT_EQ(dm_->tblBankCode().text(QStringLiteral("SENDVERSION")), QStringLiteral("0"));
}

TEST_F(OlderDatabaseTest, TablesOfAnOlderDatabaseOpenBeforeTheSteps) {
  // The table objects read the columns the file has, so a lookup that
  // runs before the steps does not fail on the missing ones.
  dm_->tblKiGwan().open();
  EXPECT_FALSE(dm_->tblKiGwan().hasField(QStringLiteral("AUTHSENDTYPE")));
  EXPECT_EQ(dm_->tblKiGwan().text(QStringLiteral("KiGwanName")), QStringLiteral("본사"));
}

TEST_F(OlderDatabaseTest, ConsentTableWithoutDisplayBanknoGetsItEmpty) {
  const TableDef* tong = FindTableDef(QStringLiteral("TongRegister"));
  TableDef older = *tong;
  older.columns.pop_back();  // DisplayBankno
  QSqlDatabase db = dm_->updateDb();
  CreateMissingTables(db, {older});
  QSqlQuery q(db);
  ASSERT_TRUE(q.exec(QStringLiteral(
      "INSERT INTO TongRegister (Giganid, Bankcd, Bankno, NapbuNO, Status) VALUES ('1', '26', '111', 'P1', 2)")));
  EXPECT_TRUE(dm_->CreateTongRegister());
  EXPECT_TRUE(dm_->AddDisplayBankno());
  EXPECT_EQ(value(QStringLiteral("SELECT DisplayBankno IS NOT NULL AND DisplayBankno = '' FROM TongRegister")).toInt(),
            1);
  EXPECT_EQ(value(QStringLiteral("SELECT Status FROM TongRegister")).toInt(), 2);
}

TEST(TextColumns, CutAtTheSizeInCp949BytesWithoutHalfCharacters) {
  struct Case {
    const char* text;
    int size;
    const char* stored;
  } cases[] = {
      {"abcdef", 4, "abcd"},
      {"가나다", 5, "가나"},     // 6 bytes: the third character would be split
      {"가나다", 6, "가나다"},
      {"a가나", 4, "a가"},       // 1 + 2 + 2: the second syllable does not fit
      {"홍길동 자금이체", 15, "홍길동 자금이체"},
      {"홍길동 자금이체", 8, "홍길동"},  // cut after the blank, and the blank dropped
      {"똠방각하", 3, "똠"},      // extended Hangul is two bytes as well
      {"abc   ", 10, "abc"},      // trailing blanks are not significant
      {"", 4, ""},
  };
  for (const Case& c : cases) {
    Column col;
    col.name = QStringLiteral("T");
    col.type = ColType::Text;
    col.size = c.size;
    QString stored = ToStored(col, QString::fromUtf8(c.text)).toString();
    EXPECT_EQ(stored, QString::fromUtf8(c.stored)) << c.text << " / " << c.size;
    EXPECT_LE(cp(stored).size(), c.size);
    EXPECT_EQ(cp949::decode(cp(stored)), stored);  // no broken character
  }
}

TEST(ColumnValues, StoredFormsOfDatesMoneyBooleansAndBadValues) {
  auto column = [](ColType t) {
    Column c;
    c.name = QStringLiteral("C");
    c.type = t;
    return c;
  };
  EXPECT_EQ(ToStored(column(ColType::Date), QDate(2024, 3, 9)).toString(), QStringLiteral("2024-03-09"));
  EXPECT_EQ(ToStored(column(ColType::Date), QStringLiteral("20240309")).toString(), QStringLiteral("2024-03-09"));
  EXPECT_EQ(ToStored(column(ColType::DateTime), QDateTime(QDate(2024, 3, 9), QTime(7, 5, 1))).toString(),
            QStringLiteral("2024-03-09 07:05:01"));
  EXPECT_EQ(ToStored(column(ColType::Money), QStringLiteral("1,234,567")).toLongLong(), 1234567);
  EXPECT_EQ(ToStored(column(ColType::Bool), QStringLiteral("FALSE")).toInt(), 0);
  EXPECT_EQ(ToStored(column(ColType::Bool), true).toInt(), 1);
  EXPECT_TRUE(ToStored(column(ColType::Int32), QString()).isNull());
  EXPECT_EQ(FromStored(column(ColType::Date), QStringLiteral("2024-03-09")).toDate(), QDate(2024, 3, 9));
  EXPECT_EQ(FromStored(column(ColType::Bool), 1).toBool(), true);

  EXPECT_THROW(ToStored(column(ColType::Int16), 40000), DbError);
  EXPECT_THROW(ToStored(column(ColType::Date), QStringLiteral("2024-13-40")), DbError);
  EXPECT_THROW(ToStored(column(ColType::Int32), QStringLiteral("12a")), DbError);
}

}  // namespace
}  // namespace orvan::test
