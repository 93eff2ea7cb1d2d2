#include <QFileInfo>
#include <QTextStream>
#include <gtest/gtest.h>
#include <numeric>

#include "app/ctl.h"
#include "dbtest.h"

namespace orvan::test {
namespace {

class DataModuleTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    ASSERT_TRUE(dm_->ReopenAllTables());
    prompter_.clear();
  }
  void insert(const QString& table, const QVariantMap& values) {
    DbTable& t = dm_->table(table);
    t.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it) t.setValue(it.key(), it.value());
    t.post();
  }
};

// A code table in which bank "26" has a text of its own for one refusal code.
class DisplayFieldTest : public DataModuleTest {
 protected:
  void SetUp() override {
    DataModuleTest::SetUp();
    insert("FBCodes", {{"BankID", "26"}, {"Kind", "H"}, {"ID", "0001"}, {"Name", "신한 잔액부족"}});
    insert("KiGwan", {{"Part", "1"}, {"KiGwanID", 3}, {"KiGwanName", "본사"}, {"BankID", "26"}, {"RecvName", "AB001"}});
    insert("Trans", {{"ID", 1}, {"BankID", "26"}, {"KiGwanID", 3}, {"CodeA", "C"}, {"CodeB", "2"}, {"State", 1}});
    insert("TranSub", {{"ID", 1}, {"BankId", "04"}, {"CodeD", "01"}, {"CodeG", "N"}, {"CodeH", "0001"}, {"State", 3}});
    insert("TranSub", {{"ID", 2}, {"BankId", "04"}, {"CodeH", "0002"}, {"State", 4}});
    insert("TranSub", {{"ID", 3}, {"BankId", "04"}, {"CodeH", "7777"}, {"State", 9}});
    insert("Note", {{"ID", 1}, {"BankID", "05"}});
    insert("NoteSub", {{"ID", 1}, {"BankID", "04"}, {"GBankID", "99"}, {"CodeL", "02"}, {"CodeM", "1"}});
    insert("NoteSub", {{"ID", 2}, {"BankID", "04"}, {"GBankID", "26"}});
    insert("Trade", {{"ID", 1}, {"BankID", "26"}, {"KiGwanID", 9}, {"Gubun", "3"}, {"State", 0}});
    insert("TradeIche", {{"ID", 1}, {"Gubun", "3"}});
    insert("CTrade", {{"ID", 1}, {"BankID", "21"}, {"KiGwanID", 3}, {"State", -1}});
    insert("CTradeSub", {{"ID", 1}, {"Gubun", "2"}, {"Result", "0000"}, {"State", 2}});
    insert("Purchase", {{"ID", 1}, {"Gubun", "1"}, {"BankID", "26"}});
    insert("PurchaseSub", {{"ID", 1}, {"BankID", "04"}, {"Result", "0002"}, {"SaupNo", "1234567890"},
                           {"BankNo", "12345678901234"}});
    insert("PurchaseSub", {{"ID", 2}, {"BankID", "04"}, {"Result", "4444"}, {"BankNo", "123"}});
    dm_->tblTrans().first();
    dm_->tblNote().first();
  }
  QString shown(const QString& table, int row, const QString& field) {
    DbTable& t = dm_->table(table);
    return t.displayText(row, t.col(field));
  }
};

TEST_F(DisplayFieldTest, TextsOfEveryHandler) {
  struct Case {
    const char* table;
    int row;
    const char* field;
    const char* text;
  } cases[] = {
      {"Trans", 0, "AName", "지급이체"},
      {"Trans", 0, "BName", "불능분통보"},
      {"Trans", 0, "KiGwanName", "본사"},
      {"Trans", 0, "BankName", "신한은행"},
      {"Trans", 0, "Stat", "송신대기"},
      // Lines look their codes up for the batch's bank, "26".
      {"TranSub", 0, "HName", "신한 잔액부족"},
      {"TranSub", 1, "HName", "계좌번호오류"},  // only bank "00" has it
      {"TranSub", 2, "HName", "7777"},          // nobody has it: the code itself
      {"TranSub", 0, "GName", "불능처리"},
      {"TranSub", 0, "DName", "급여"},
      {"TranSub", 0, "BankName", "국민은행"},   // the line's own bank
      {"TranSub", 0, "Stat", "수신완료"},
      {"TranSub", 1, "Stat", "송신오류"},
      {"TranSub", 2, "Stat", ""},               // a state without a text
      {"NoteSub", 0, "GBankName", ""},          // paying bank not in the bank table
      {"NoteSub", 1, "GBankName", "신한은행"},
      {"NoteSub", 0, "BankName", "국민은행"},
      {"NoteSub", 0, "LName", "결제"},
      {"NoteSub", 0, "MName", "자행추심"},
      {"Trade", 0, "GubunName", "외상매출수금"},
      {"Trade", 0, "KiGwanName", ""},          // no institution 9
      {"Trade", 0, "Stat", "송신불가"},
      {"TradeIche", 0, "GubunK", "상환"},
      {"CTrade", 0, "KiGwanName", "본사"},
      {"CTrade", 0, "Stat", "거래인없슴"},
      {"CTradeSub", 0, "GubunName", "어음"},
      {"CTradeSub", 0, "ResultName", "정상처리"},
      {"CTradeSub", 0, "Stat", "송신완료"},
      {"PurchaseSub", 0, "ResultName", "계좌번호오류"},
      {"PurchaseSub", 1, "ResultName", ""},     // no fallback to the code
      {"PurchaseSub", 0, "BankName", "국민은행"},
      {"PurchaseSub", 0, "SaupNo", "123-45-67890"},
      {"PurchaseSub", 0, "BankNo", "123456-78-901234"},  // hyphenated for bank "04"
      {"PurchaseSub", 1, "BankNo", "123"},               // no form for it: as stored
      {"Purchase", 0, "BankName", "신한은행"},
      {"KiGwan", 0, "BankName", "신한은행"},
      {"KiGwan", 0, "PartName", "자금이체"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(shown(QString::fromLatin1(c.table), c.row, QString::fromLatin1(c.field)), QString::fromUtf8(c.text))
        << c.table << " row " << c.row << " " << c.field;
}

TEST_F(DisplayFieldTest, BankAndCodeTableTexts) {
  DbTable& banks = dm_->tblBankCode();
  ASSERT_TRUE(banks.locate({QStringLiteral("ID")}, {QStringLiteral("45")}));
  EXPECT_EQ(banks.text(QStringLiteral("Chk100Text")), QStringLiteral("100 바이트 포맷 적용"));
  EXPECT_EQ(banks.text(QStringLiteral("ChkBankNoText")), QStringLiteral("×"));
  ASSERT_TRUE(banks.locate({QStringLiteral("ID")}, {QStringLiteral("04")}));
  EXPECT_EQ(banks.text(QStringLiteral("Chk100Text")), QStringLiteral("80 바이트 포맷 적용"));
  EXPECT_EQ(banks.text(QStringLiteral("ChkBankNoText")), QStringLiteral("●"));
  EXPECT_EQ(banks.text(QStringLiteral("ChkJuminText")), QStringLiteral("×"));

  insert("FBCodes", {{"BankID", "77"}, {"Kind", "A"}, {"ID", "X"}, {"Name", "미등록 은행 코드"}});
  DbTable& codes = dm_->tblCodes();
  auto bankNameOf = [&](const char* bank) {
    EXPECT_TRUE(codes.locate({QStringLiteral("BankID")}, {QString::fromLatin1(bank)}));
    return codes.text(QStringLiteral("BankName"));
  };
  EXPECT_EQ(bankNameOf("00"), QStringLiteral("모든은행"));
  EXPECT_EQ(bankNameOf("26"), QStringLiteral("신한은행"));
  EXPECT_EQ(bankNameOf("77"), QStringLiteral("77"));  // not in the bank table: the code
  banks.close();
  EXPECT_EQ(bankNameOf("26"), QString());  // only while the bank table is open
}

TEST_F(DisplayFieldTest, ChangedCodeTextsShowAtOnce) {
  DbTable& codes = dm_->tblCodes();
  ASSERT_TRUE(codes.locate({QStringLiteral("BankID"), QStringLiteral("Kind"), QStringLiteral("ID")},
                           {QStringLiteral("26"), QStringLiteral("H"), QStringLiteral("0001")}));
  codes.edit();
  codes.setValue(QStringLiteral("Name"), QStringLiteral("잔액 부족"));
  codes.post();
  EXPECT_EQ(shown(QStringLiteral("TranSub"), 0, QStringLiteral("HName")), QStringLiteral("잔액 부족"));
}

TEST_F(DataModuleTest, CodeNameAndFillCodeBoxFallBackToBank00) {
  insert("FBCodes", {{"BankID", "26"}, {"Kind", "D"}, {"ID", "51"}, {"Name", "신한 전용"}});
  EXPECT_EQ(dm_->CodeName(QStringLiteral("26"), QStringLiteral("H"), QStringLiteral("0001")), QStringLiteral("잔액부족"));
  EXPECT_EQ(dm_->CodeName(QStringLiteral("26"), QStringLiteral("H"), QStringLiteral("5555")), QStringLiteral("5555"));
  EXPECT_EQ(dm_->CodeName(QStringLiteral("26"), QStringLiteral("D"), QStringLiteral("51")), QStringLiteral("신한 전용"));
  EXPECT_EQ(dm_->CodeName(QStringLiteral("04"), QStringLiteral("D"), QStringLiteral("51")), QStringLiteral("51"));

  struct Box : CodeBox {
    QStringList names, values;
    bool valueMode = false;
    void clearItems() override { names.clear(), values.clear(); }
    void addItem(const QString& n, const QString& v) override { names << n, values << v; }
    void setValueMode(bool on) override { valueMode = on; }
    int itemCount() const override { return static_cast<int>(names.size()); }
  } box;
  box.addItem(QStringLiteral("old"), QStringLiteral("old"));
  // Bank "04" has no kind "F" codes of its own: bank "00"'s are listed.
  EXPECT_EQ(dm_->FillCodeBox(QStringLiteral("04"), QStringLiteral("F"), box), 4);
  EXPECT_EQ(box.values, (QStringList{"1", "2", "3", "4"}));
  EXPECT_EQ(box.names.first(), QStringLiteral("신규"));
  EXPECT_TRUE(box.valueMode);
  // Bank "26" has one kind "D" code of its own: only that one.
  EXPECT_EQ(dm_->FillCodeBox(QStringLiteral("26"), QStringLiteral("D"), box), 1);
  EXPECT_EQ(box.names, QStringList{QStringLiteral("신한 전용")});
  // Bank "45" got its collection code at start-up.
  EXPECT_EQ(dm_->FillCodeBox(QStringLiteral("45"), QStringLiteral("A"), box), 1);
  EXPECT_EQ(box.names, QStringList{QStringLiteral("수납대행")});
}

TEST_F(DataModuleTest, MarkSentMovesEveryWaitingGroupOnAndNothingElse) {
  const char* groups[][2] = {{"Trans", "TranSub"}, {"Cms", "CmsSub"},         {"Trade", "TradeSub"},
                             {"CTrade", "CTradeSub"}, {"CHBTrade", "CHBTradeSub"}, {"Purchase", "PurchaseSub"},
                             {"GBank", "GBankSub"}};
  for (auto& g : groups) {
    for (int id : {1, 2}) sql(QStringLiteral("INSERT INTO %1 (ID, State) VALUES (?, ?)").arg(g[0]), {id, id == 1 ? 1 : 0});
  }
  sql(QStringLiteral("INSERT INTO TranSub (TransID, ID, State) VALUES (1, 1, 1), (1, 2, 3)"));
  sql(QStringLiteral("INSERT INTO CmsSub (CMSId, ID, State) VALUES (1, 1, 1)"));
  sql(QStringLiteral("INSERT INTO TradeSub (TradeID, ID, State) VALUES (1, 1, 1)"));
  sql(QStringLiteral("INSERT INTO CTradeSub (CTradeID, ID, State) VALUES (1, 1, 1)"));
  sql(QStringLiteral("INSERT INTO CHBTradeSub (CHBTradeID, ID, State) VALUES (1, 1, 1)"));
  sql(QStringLiteral("INSERT INTO PurchaseSub (PurchaseID, ID, State) VALUES (1, 1, 1)"));
  sql(QStringLiteral("INSERT INTO GBankSub (TransID, ID, State) VALUES (1, 1, 1)"));
  for (int s : {0, 1, 2, 3, 4, 5, 6, 7})
    sql(QStringLiteral("INSERT INTO TongRegister (Giganid, Bankcd, Bankno, NapbuNO, Status) VALUES ('G', '26', ?, 'P', ?)"),
        {QString::number(s), s});
  for (const char* st : {"0", "1", "2"})
    sql(QStringLiteral("INSERT INTO Evidential (BANKCD, CUSTNO, CMSSERIALNO, ACCTNO, SENDSTATE) VALUES ('26', 'C', ?, 'A', ?)"),
        {QString::fromLatin1(st), QString::fromLatin1(st)});
  dm_->tblTrans().setFilter(QStringLiteral("State = ?"), {1});
  dm_->tblTrans().setFiltered(true);
  dm_->tblTrans().onDataChange = [](DbTable&) {};

  EXPECT_TRUE(dm_->MarkSent());
  EXPECT_TRUE(prompter_.texts().isEmpty());
  for (auto& g : groups) {
    bool group = QString::fromLatin1(g[0]) == QLatin1String("GBank");
    EXPECT_EQ(scalar(QStringLiteral("SELECT State FROM %1 WHERE ID = 1").arg(g[0])).toInt(), group ? 1 : 2) << g[0];
    EXPECT_EQ(scalar(QStringLiteral("SELECT State FROM %1 WHERE ID = 2").arg(g[0])).toInt(), 0) << g[0];
    EXPECT_EQ(scalar(QStringLiteral("SELECT min(State) FROM %1").arg(g[1])).toInt(), group ? 1 : 2) << g[1];
  }
  EXPECT_EQ(scalar(QStringLiteral("SELECT State FROM TranSub WHERE ID = 2")).toInt(), 3);
  QStringList consents;
  QSqlQuery q = sql(QStringLiteral("SELECT Status FROM TongRegister ORDER BY Bankno"));
  while (q.next()) consents << q.value(0).toString();
  EXPECT_EQ(consents, (QStringList{"1", "1", "2", "3", "5", "5", "6", "7"}));
  QStringList evidence;
  q = sql(QStringLiteral("SELECT SENDSTATE FROM Evidential ORDER BY CMSSERIALNO"));
  while (q.next()) evidence << q.value(0).toString();
  EXPECT_EQ(evidence, (QStringList{"0", "2", "2"}));
  // The reset took the windows' filters and hooks away and shows the new states.
  EXPECT_FALSE(dm_->tblTrans().filtered());
  EXPECT_FALSE(dm_->tblTrans().onDataChange);
  EXPECT_EQ(dm_->tblTrans().rowCount(), 2);
  EXPECT_EQ(dm_->tblTrans().toInt(QStringLiteral("State")), 2);
}

TEST_F(DataModuleTest, MarkSentThatFailsMarksNothing) {
  sql(QStringLiteral("INSERT INTO Trans (ID, State) VALUES (1, 1)"));
  sql(QStringLiteral("INSERT INTO TongRegister (Giganid, Bankcd, Bankno, NapbuNO, Status) VALUES ('G', '26', '1', 'P', 0)"));
  dm_->CloseDatabase();  // the evidence table goes missing
  {
    QSqlDatabase u = dm_->updateDb();
    ASSERT_TRUE(u.open());
    QSqlQuery d(u);
    ASSERT_TRUE(d.exec(QStringLiteral("DROP TABLE Evidential")));
  }
  dm_->OpenDatabaseAt(dm_->dataDir());

  EXPECT_FALSE(dm_->MarkSent());
  EXPECT_EQ(prompter_.texts(), QStringList{QStringLiteral("송신상태를 기록할 수 없습니다.")});
  EXPECT_EQ(scalar(QStringLiteral("SELECT State FROM Trans")).toInt(), 1);
  EXPECT_EQ(scalar(QStringLiteral("SELECT Status FROM TongRegister")).toInt(), 0);
}

TEST_F(DataModuleTest, ConsentStatusTextCountsAndWarns) {
  sql(QStringLiteral("INSERT INTO TongRegister (Giganid, Bankcd, Bankno, NapbuNO, Status) VALUES "
                     "('1234567890', '26', '110123456', 'P1', 2), ('1234567890', '26', '110123456', 'P2', 4), "
                     "('1234567890', '26', '110123456', 'P3', 9)"));
  struct Case {
    const char* cor;
    const char* bank;
    const char* account;
    const char* payer;
    const char* text;
    bool warns;
  } cases[] = {
      {" 1234567890 ", "26 ", "110-123-456", " P1 ", "등록완료", false},  // trimmed, hyphens removed
      {"1234567890", "26", "110123456", "P2", "해지대기", true},
      {"1234567890", "26", "110123456", "P3", "미등록", true},  // a state without a text
      {"1234567890", "26", "110123456", "P4", "미등록", true},  // no consent
      {"1234567890' OR '1'='1", "26", "110123456", "P1", "미등록", true},
  };
  for (const Case& c : cases) {
    dm_->ConsentWarning.clear();
    EXPECT_EQ(dm_->ConsentStatusText(QString::fromUtf8(c.cor), QString::fromUtf8(c.bank), QString::fromUtf8(c.account),
                                     QString::fromUtf8(c.payer)),
              QString::fromUtf8(c.text))
        << c.payer;
    EXPECT_EQ(dm_->ConsentWarning.isEmpty(), !c.warns) << c.payer;
    if (c.warns) EXPECT_EQ(dm_->ConsentWarning, QStringLiteral("출금동의 등록이 안된 데이타가 발견되었습니다"));
  }
  EXPECT_EQ(dm_->ConsentCounters[2], 1);
  EXPECT_EQ(dm_->ConsentCounters[4], 1);
  EXPECT_EQ(std::accumulate(dm_->ConsentCounters.begin(), dm_->ConsentCounters.end(), 0), 2);
}

TEST_F(DataModuleTest, LineConsentStatusShowsWhenBothSwitchesAreSet) {
  sql(QStringLiteral("INSERT INTO TongRegister (Giganid, Bankcd, Bankno, NapbuNO, Status, DisplayBankno) VALUES "
                     "('C1', '04', '11122', 'P1', 2, '111-22')"));
  insert("Trans", {{"ID", 1}, {"BankID", "04"}, {"CorCode", "C1"}, {"State", 1}});
  insert("TranSub", {{"ID", 1}, {"BankId", "04"}, {"BankNo", "111-22"}, {"NapbuNo", "P1"}});
  DbTable& l = dm_->tblTranSub();
  EXPECT_EQ(l.text(QStringLiteral("cStatus")), QString());
  dm_->ConsentCheckApplies = dm_->ShowConsentStatus = true;
  l.invalidateDisplayFields();
  EXPECT_EQ(l.text(QStringLiteral("cStatus")), QStringLiteral("등록완료"));
}

TEST_F(DataModuleTest, UnconsentedLinesAreFoundColumnByColumn) {
  // Joined, "C1"+"04"+"111-2"+"2P" equals "C1"+"04"+"111-22"+"P": another consent.
  sql(QStringLiteral("INSERT INTO TongRegister (Giganid, Bankcd, Bankno, NapbuNO, Status, DisplayBankno) VALUES "
                     "('C1', '04', '1112', '2P', 2, '111-2')"));
  dm_->ConsentCheckApplies = true;
  insert("Trans", {{"ID", 1}, {"BankID", "04"}, {"CorCode", "C1"}, {"State", 1}});
  dm_->ConsentWarning.clear();
  insert("TranSub", {{"ID", 1}, {"BankId", "04"}, {"BankNo", "111-22"}, {"NapbuNo", "P"}});
  EXPECT_EQ(dm_->ConsentWarning, TFbDM::kConsentWarningText);

  // With its own consent registered the batch is clean.
  sql(QStringLiteral("INSERT INTO TongRegister (Giganid, Bankcd, Bankno, NapbuNO, Status, DisplayBankno) VALUES "
                     "('C1', '04', '11122', 'P', 2, '111-22')"));
  dm_->ConsentWarning.clear();
  dm_->CheckUnconsentedLines();
  EXPECT_TRUE(dm_->ConsentWarning.isEmpty());

  // Not while the lines are being edited, nor without the switch.
  sql(QStringLiteral("UPDATE TongRegister SET Status = 3"));
  dm_->tblTranSub().edit();
  dm_->CheckUnconsentedLines();
  EXPECT_TRUE(dm_->ConsentWarning.isEmpty());
  dm_->tblTranSub().cancel();
  dm_->ConsentCheckApplies = false;
  dm_->CheckUnconsentedLines();
  EXPECT_TRUE(dm_->ConsentWarning.isEmpty());
  dm_->ConsentCheckApplies = true;
  dm_->CheckUnconsentedLines();
  EXPECT_FALSE(dm_->ConsentWarning.isEmpty());
}

TEST_F(DataModuleTest, InstitutionLookups) {
  insert("KiGwan", {{"Part", "1"}, {"KiGwanID", 1}, {"KiGwanName", "A"}, {"BankID", "22"}, {"RecvName", "R1"},
                    {"CorCode", "C1"}, {"AUTHSENDTYPE", "면제"}});
  insert("KiGwan", {{"Part", "2"}, {"KiGwanID", 1}, {"KiGwanName", "B"}, {"BankID", "21"}, {"RecvName", "R2"},
                    {"CorCode", "C2"}, {"AUTHSENDTYPE", "제출"}});
  insert("KiGwan", {{"Part", "1"}, {"KiGwanID", 2}, {"KiGwanName", "C"}, {"BankID", "04"}, {"RecvName", "R3"},
                    {"CorCode", "C3"}, {"AUTHSENDTYPE", "면제"}});
  TFbDM::InstitutionBanks b = dm_->HasInstitutionOfBanks();
  EXPECT_TRUE(b.bank202224);
  EXPECT_FALSE(b.bank21);  // bank 21 only for CMS
  EXPECT_TRUE(b.bank04);

  dm_->ReloadInstitutionBankList();
  EXPECT_EQ(dm_->InstitutionBankList().size(), 3);
  EXPECT_EQ(dm_->BankOfInstitution(QStringLiteral("C2")), QStringLiteral("21"));
  EXPECT_EQ(dm_->BankOfInstitution(QStringLiteral("C9")), QString());

  EXPECT_EQ(dm_->EvidenceTypeQuery(QStringLiteral("AuthType"), QStringLiteral("2")), QStringLiteral("2"));
  EXPECT_EQ(dm_->EvidenceTypeQuery(QStringLiteral("AuthType"), QStringLiteral("0")), QStringLiteral("1"));
  EXPECT_EQ(dm_->EvidenceTypeQuery(QStringLiteral("AuthType"), QStringLiteral("1")), QStringLiteral("0"));
  EXPECT_EQ(dm_->EvidenceTypeQuery(QStringLiteral("CorCode"), QStringLiteral("C2")), QStringLiteral("제출"));
  EXPECT_EQ(dm_->EvidenceTypeQuery(QStringLiteral("CorCode"), QStringLiteral("C2' OR '1'='1")), QString());

  sql(QStringLiteral("INSERT INTO TradeIche (ID) VALUES (41)"));
  EXPECT_EQ(dm_->NextTradeIcheId(), 42);
}

TEST_F(DataModuleTest, EnsureBank45AddsTheSavingsBankOnce) {
  sql(QStringLiteral("DELETE FROM BankCode WHERE ID = '45'"));
  sql(QStringLiteral("DELETE FROM FBCodes WHERE BankID = '45'"));
  dm_->clearSchemaLog();
  ASSERT_TRUE(dm_->EnsureBank45());
  EXPECT_EQ(scalar(QStringLiteral("SELECT Name || Chk100 || ChkBankNo || MONEYLAW || JUMINCHECK || SENDVERSION "
                                  "FROM BankCode WHERE ID = '45'"))
                .toString(),
            QStringLiteral("새마을금고10000"));
  EXPECT_EQ(scalar(QStringLiteral("SELECT Kind || ID || Name FROM FBCodes WHERE BankID = '45'")).toString(),
            QStringLiteral("AB수납대행"));
  EXPECT_EQ(dm_->schemaLog().size(), 2);
  dm_->clearSchemaLog();
  ASSERT_TRUE(dm_->EnsureBank45());
  EXPECT_TRUE(dm_->schemaLog().isEmpty());
  EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM FBCodes WHERE BankID = '45'")).toInt(), 1);
}

TEST_F(DataModuleTest, ReopenAllTablesReportsAMissingTableAndOpensTheRest) {
  dm_->CloseDatabase();
  {
    QSqlDatabase u = dm_->updateDb();
    ASSERT_TRUE(u.open());
    QSqlQuery d(u);
    ASSERT_TRUE(d.exec(QStringLiteral("DROP TABLE CoInfo")));
  }
  dm_->OpenDatabaseAt(dm_->dataDir());
  EXPECT_FALSE(dm_->ReopenAllTables());
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].kind, MsgKind::Error);
  EXPECT_TRUE(prompter_.lastText().startsWith(QStringLiteral(
      "자료를 사용할수가 없습니다.\r\rPC를 재시작한 후 자료 재정리를 수행하여 주십시오.\r\r자료 재정리후에도 정상적으로 "
      "실행되지 않으면 고객센터로 연락하여 주십시오.\r\r\r오류내용 : \r")));
  EXPECT_TRUE(prompter_.lastText().contains(QStringLiteral("CoInfo")));
  EXPECT_FALSE(dm_->tblCoInfo().isOpen());
  EXPECT_TRUE(dm_->tblTrans().isOpen());
  EXPECT_TRUE(dm_->table(QStringLiteral("CatchPrc")).isOpen());
}

TEST_F(AppFolderTest, OrvanctlInitCreatesThenChangesNothing) {
  QString out1, err1, out2, err2;
  {
    QTextStream o(&out1), e(&err1);
    EXPECT_EQ(RunCtl({QStringLiteral("init")}, o, e), 0);
  }
  EXPECT_TRUE(out1.contains(QStringLiteral("TongRegister 테이블 생성")));
  EXPECT_TRUE(out1.contains(QStringLiteral("BankCode 은행 26개 입력")));
  EXPECT_TRUE(QFileInfo::exists(home() + QStringLiteral("Data/Orvan.db")));
  {
    QTextStream o(&out2), e(&err2);
    EXPECT_EQ(RunCtl({QStringLiteral("init")}, o, e), 0);
  }
  EXPECT_TRUE(out2.contains(QStringLiteral("nothing changed"))) << out2.toStdString();
  EXPECT_EQ(out2.count(QLatin1Char('\n')), 2);
}

}  // namespace
}  // namespace orvan::test
