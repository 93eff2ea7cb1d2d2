#include <gtest/gtest.h>

#include <functional>

#include "platform/cp949.h"
#include "send/transferforms.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::cp;

namespace {

QByteArray B(int n) { return QByteArray(n, ' '); }
QByteArray Z(int n) { return QByteArray(n, '0'); }

// A batch of three lines with Korean passbook texts, hyphenated accounts and
// resident numbers; column names as the tables spell them (TranSub.BankId).
TransferBatch fixture(const QString& bankId, const QString& codeA = QStringLiteral("B")) {
  TransferBatch b;
  b.master = {
      {"ID", 123},
      {"KiGwanID", 7},
      {"CodeA", codeA},
      {"CorCode", "CORP01"},
      {"BankID", bankId},
      {"Pass", "pw12"},
      {"TrsDate", QDate(2024, 3, 15)},
      {"TrsEndDate", "2024-03-18"},
      {"BankNo", "123-45-678901"},
      {"TrsNo", "1"},
      {"CodeB", "2"},
      {"ReTrs", "3"},
      {"LocalBank", QStringLiteral("1서초")},  // 5 bytes: four of them would split 초
      {"VANCODE", "VAN0001"},
      {"EtcH", QStringLiteral("급여이체")},
      {"EtcE", QStringLiteral("비고란")},
      {"BackCode", "BK123456"},
      {"SendName", "FB0001"},
      {"BCode", "BCODE00001"},
      {"State", 1},
  };
  auto line = [](int id, const char* bank, const char* no, const char* codeD, qint64 won, const char* day,
                 const QString& ninja, const char* jumin, const char* napbu, const char* etcD) {
    return QVariantHash{{"TransID", 123}, {"ID", id},         {"BankId", bank}, {"BankNo", no},
                        {"CodeD", codeD}, {"TrsWon", won},    {"TrsDate", day}, {"Ninja", ninja},
                        {"Jumin", jumin}, {"NapbuNo", napbu}, {"EtcD", etcD},   {"State", 1}};
  };
  b.lines = {
      line(1, "04", "110-222-333333", "40", 1500000, "15", QStringLiteral("홍길동"), "800101-1234567", "NB-001", "E1"),
      line(2, "20", "1002-345-678901", "UJ", 250000, "15", QStringLiteral("A김영희"), "", " 77-88 ", ""),
      line(3, "88", "333-01-123456", "0j", 37050, "5", QStringLiteral("1급여"), "7001012345678", "", "XYZ"),
  };
  b.bank = {{"ID", bankId}, {"Chk100", false}, {"ChkJumin", false}, {"SENDVERSION", "0"}};
  b.loginId = QStringLiteral("ORVAN01");
  b.codeDNames = {{QStringLiteral("0j"), QStringLiteral("기타입금")}};
  return b;
}

const QByteArray CORP = "CORP01    ";
const QByteArray ACC = "12345678901    ";
const QByteArray PASS = "pw12    ";
const QByteArray LB6 = cp("1서초") + " ";
const QByteArray LB4 = cp("1서") + " ";
const QByteArray VAN6 = "VAN000";
const QByteArray ACC1 = "110222333333   ";
const QByteArray ACC2 = "1002345678901  ";
const QByteArray ACC3 = "33301123456    ";

QByteArray header(const char* login, const char* length) {
  return QByteArray("<<NEHEAD>>1N") + length + B(10) + QByteArray(login).leftJustified(10, ' ') + "FB0001" + "001" +
         "BCODE00001";
}

struct FormCase {
  const char* name;
  const char* bank;
  std::function<void(TransferBatch&)> setup;
  TransferForm form;
  QByteArray head, start;
  QList<QByteArray> data;  // empty: not compared
  QByteArray end;          // empty: not compared
};

// Totals of the fixture: n = 3, total = 1,500,000 + 250,000 + 37,050 = 1,787,050.
//
// Bank 20 check: A = digit sums of the accounts 110222333333 (26), 1002345678901 (46),
//   33301123456 (31) = 103; B = digit sums of the amounts 1500000 (6), 250000 (7),
//   37050 (15) = 28; A mod B = 103 - 3 x 28 = 19 -> "000019".
// Bank 81 check: a per line = digit sum of the first 7 account bytes:
//   1102223 -> 11, 11 x 1,500,000 / 100 = 165,000; 1002345 -> 15, 37,500;
//   3330112 -> 13, 13 x 37,050 / 100 = 4,816.5 -> 4,816; S = 207,316.
//   D = 0318 -> 318, P = 5829: 318 + 5829 + 3 + 1,787,050 - 207,316 = 1,585,884 -> "5884".
// Records are written field by field, one string piece per field.
// clang-format off
std::vector<FormCase> formCases() {
  return {
      {"100-byte general", "26",
       [](TransferBatch& b) {
         b.bank["Chk100"] = true;
         b.bank["ChkJumin"] = true;
       },
       TransferForm::General100,
       header("ORVAN01", "0000000500"),  // 3 x 100 + 200
       "S" "B2" "Y" + CORP + "26" "20240315" "20240318" + ACC + PASS + "123" + LB6 + VAN6 + "07" "000123" +
           cp("급여이체") + B(12),
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(16) + cp("홍길동") + B(4) + "C" "8001011234567" + "NB-001" +
            B(10) + "000000001",
        "D" "20" + ACC2 + "UJ" "00000250000" "15" + B(16) + cp("A김영희") + B(3) + "C" + B(13) + " 77-88 " + B(9) +
            "000000002",
        "D" "88" + ACC3 + "0j" "00000037050" "05" + B(16) + cp("1급여") + B(5) + "C" "7001012345678" + B(16) +
            "000000003"},
       "E" "0000005" "0000003" "0000001787050" + B(40) + "BK123456" + cp("비고란") + B(16)},
      {"100-byte general, CodeA F at bank 05", "05",
       [](TransferBatch& b) {
         b.bank["Chk100"] = true;
         b.master["CodeA"] = "F";
       },
       TransferForm::General100,
       {},
       "S" "C2" "Y" + CORP + "05" "20240315" "20240318" + ACC + PASS + "123" + LB6 + VAN6 + "07" "000123" "SALARY" +
           B(14),
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(16) + cp("홍길동") + B(4) + " " "8001011234567" + "NB-001" +
        B(10) + "000000001"},
       {}},
      {"100-byte savings bank", "45",
       [](TransferBatch& b) { b.bank["Chk100"] = true; },
       TransferForm::Savings100,
       header("ORVAN01", "0000000500"),
       "S" "B2" + CORP + "45" "240315" "240318" + ACC + PASS + "112" + LB4 + B(6) + "07" "00123" + B(28),
       // Full width: A -> Ａ, 1 -> １, each then cut to the input's even length.
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(15) + "R" + B(2) + "00000000001" + cp("홍길동") + B(8) + B(2) +
            "NB-001" + B(14),
        "D" "20" + ACC2 + "UJ" "00000250000" "15" + B(15) + "R" + B(2) + "00000000002" + cp("Ａ김영") + B(8) + B(2) +
            "77-88" + B(15),
        "D" "88" + ACC3 + "0j" "00000037050" "05" + B(15) + "R" + B(2) + "00000000003" + cp("１급") + B(10) + B(2) +
            B(20)},
       "E" "0000005" "0000003" "0000001787050" + Z(40) + "BK123456" + B(22)},
      {"80-byte general, send version 1", "26",
       [](TransferBatch& b) { b.bank["SENDVERSION"] = "1"; },
       TransferForm::General80,
       header("ORVAN01", "0000000400"),  // 3 x 80 + 160
       "S" "B2" + CORP + "26" "240315" "240318" + ACC + PASS + "123" + LB4 + VAN6 + "07" "00123" + B(8),
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(15) + "NB-001" + B(8) + "0000000001" + cp("홍길") + "E1",
        "D" "20" + ACC2 + "UJ" "00000250000" "15" + B(15) + "77-88" + B(9) + "0000000002" + cp("A김") + " " + B(2),
        "D" "88" + ACC3 + "0j" "00000037050" "05" + B(15) + B(14) + "0000000003" + cp("1급") + " " + "XY"},
       "E" "0000005" "0000003" "0000001787050" + Z(40) + "BK123456" + cp("비")},
      {"bank 20, login BK02405", "20",
       [](TransferBatch& b) { b.loginId = QStringLiteral("BK02405"); },
       TransferForm::Bank20,
       header("BK02405", "0000000400"),
       "S" "B2" + CORP + "20" "240315" "240318" + ACC + PASS + "123" + LB4 + VAN6 + B(8) + "07" "00123",
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(15) + "8001011234567 " + B(10) + "000001",
        "D" "20" + ACC2 + "UJ" "00000250000" "15" + B(15) + B(14) + cp("A김영희") + B(3) + "000002",
        "D" "88" + ACC3 + "UP" "00000037050" "05" + B(15) + "7001012345678 " + cp("기타입금") + B(2) + "000003"},
       "E" "0000005" "0000003" "0000001787050" + B(40) + "000019" + cp("비고")},
      {"bank 22, other login, send version 1", "22",
       [](TransferBatch& b) { b.bank["SENDVERSION"] = "1"; },
       TransferForm::Bank20,
       {},
       {},
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(15) + B(10) + "NB001" + B(9) + "000001",
        "D" "20" + ACC2 + "UJ" "00000250000" "15" + B(15) + cp("A김영희") + B(3) + " 7788 " + B(8) + "000002",
        "D" "88" + ACC3 + "UP" "00000037050" "05" + B(15) + cp("기타입금") + B(2) + B(14) + "000003"},
       {}},
      {"bank 04", "04",
       [](TransferBatch&) {},
       TransferForm::Bank04,
       header("ORVAN01", "0000000400"),
       "S" "B2" + CORP + "04" "20240315" "20240318" + ACC + PASS + "123" + LB4 + VAN6 + B(4) + "07" "00123",
       // Code 0j compares as 0J: the passbook text goes out shifted, "1급여 " -> SO １ 급여 full-width blank SI.
       {"D" "04" + ACC1 + "0" "00001500000" + B(15) + "8001011234567" + "NB-001" + B(10) + cp("홍길"),
        "D" "20" + ACC2 + "J" "00000250000" + B(15) + B(13) + " 77-88 " + B(9) + cp("A김") + " ",
        "D" "88" + ACC3 + "j" "00000037050" + B(15) + "\x0e" + cp("１급여") + cp("　") + "\x0f" + B(4) + B(15) + B(4)},
       "E" "0000005" "00003" "00001787050" + Z(48) + "BK12" + B(2)},
      {"bank 05, CodeA F", "05",
       [](TransferBatch& b) { b.master["CodeA"] = "F"; },
       TransferForm::Bank05,
       header("ORVAN01", "0000000400"),
       "S" "C2" + CORP + "05" "240315" "240318" + ACC + PASS + "123" + LB4 + VAN6 + "SALARY  " + "07" "00123",
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(15) + "8001011234567" + B(11) + cp("홍길") + "E1"},
       "E" "0000005" "0000003" "0000001787050" + Z(40) + "BK123456" + cp("비")},
      {"bank 05, CodeA B, send version 1", "05",
       [](TransferBatch& b) { b.bank["SENDVERSION"] = "1"; },
       TransferForm::Bank05,
       {},
       "S" "B2" + CORP + "05" "240315" "240318" + ACC + PASS + "123" + LB4 + VAN6 + cp("급여이체") + "07" "00123",
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(15) + "NB001" + B(19) + cp("홍길") + "E1",
        "D" "20" + ACC2 + "UJ" "00000250000" "15" + B(15) + " 7788 " + B(18) + cp("A김") + " " + B(2)},
       {}},
      {"bank 81, send version 1", "81",
       [](TransferBatch& b) { b.bank["SENDVERSION"] = "1"; },
       TransferForm::Bank81,
       header("ORVAN01", "0000000400"),
       "S" "B2" + CORP + "81" "240315" "240318" + ACC + "5829    " + "123" + LB4 + VAN6 + "07" "00123" + B(8),
       {"D" "04" + ACC1 + "40" "00001500000" "15" + B(15) + "NB001" + B(9) + "0000000001" + cp("홍길") + "E1",
        "D" "20" + ACC2 + "UJ" "00000250000" "15" + B(15) + " 7788 " + B(8) + "0000000002" + cp("A김") + " " + B(2)},
       "E" "0000005" "0000003" "0000001787050" + Z(40) + "5884    " + cp("비")},
  };
}
// clang-format on

QList<QByteArray> recordsOf(const QByteArray& block) {
  QList<QByteArray> recs = block.split('\n');
  EXPECT_TRUE(recs.back().isEmpty()) << "block must end with CR LF";
  recs.removeLast();
  for (QByteArray& r : recs) {
    EXPECT_TRUE(r.endsWith('\r'));
    r.chop(1);
  }
  return recs;
}

}  // namespace

TEST(TransferForms, WriterTableChoosesTheForm) {
  struct Case {
    const char* bank;
    bool chk100;
    TransferForm form;
  } cases[] = {
      {"45", true, TransferForm::Savings100}, {"20", true, TransferForm::General100},
      {"26", true, TransferForm::General100}, {"45", false, TransferForm::General80},
      {"20", false, TransferForm::Bank20},    {"22", false, TransferForm::Bank20},
      {"24", false, TransferForm::Bank20},    {"21", false, TransferForm::Bank21},
      {"04", false, TransferForm::Bank04},    {"05", false, TransferForm::Bank05},
      {"81", false, TransferForm::Bank81},    {"03", false, TransferForm::Bank03},
      {"07", false, TransferForm::Bank07},    {"11", false, TransferForm::Nacf},
      {"12", false, TransferForm::Nacf},      {"23", false, TransferForm::General80},
      {"88", false, TransferForm::General80},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SelectTransferForm(QLatin1String(c.bank), c.chk100), c.form) << c.bank << " " << c.chk100;
  for (TransferForm f : {TransferForm::Bank21, TransferForm::Bank03, TransferForm::Bank07, TransferForm::Nacf})
    EXPECT_FALSE(InfoOf(f).built);
  EXPECT_EQ(InfoOf(TransferForm::Bank07).recordLength, 178);
  EXPECT_EQ(InfoOf(TransferForm::Nacf).recordLength, 198);
}

TEST(TransferForms, EveryFormByteExact) {
  for (const FormCase& c : formCases()) {
    SCOPED_TRACE(c.name);
    TransferBatch b = fixture(QLatin1String(c.bank));
    c.setup(b);
    QByteArray out;
    TransferBlockInfo info;
    QString error;
    ASSERT_TRUE(WriteTransferBlock(b, out, &info, &error)) << error.toStdString();
    EXPECT_EQ(info.form, c.form);
    EXPECT_EQ(info.count, 3);
    EXPECT_EQ(info.total, 1787050);
    EXPECT_EQ(info.hasCollectionTransfer, b.master["CodeA"] == QStringLiteral("B"));
    EXPECT_EQ(info.sendVersion, b.bank["SENDVERSION"].toString());

    const QList<QByteArray> recs = recordsOf(out);
    ASSERT_EQ(recs.size(), 6);
    const int len = InfoOf(c.form).recordLength;
    EXPECT_EQ(recs[0].size(), 61);
    for (int i = 1; i < recs.size(); ++i) {
      EXPECT_EQ(recs[i].size(), len) << "record " << i;
      // No field ends in half a double-byte character.
      EXPECT_TRUE(cp949::isValid(recs[i])) << "record " << i;
    }
    EXPECT_EQ(recs[0].mid(12, 10).toLongLong(), qint64(out.size() - recs[0].size() - 2));
    if (!c.head.isEmpty()) EXPECT_EQ(recs[0], c.head);
    if (!c.start.isEmpty()) EXPECT_EQ(recs[1], c.start);
    for (int i = 0; i < c.data.size(); ++i) EXPECT_EQ(recs[2 + i], c.data[i]) << "data " << i;
    if (!c.end.isEmpty()) EXPECT_EQ(recs[5], c.end);
  }
}

TEST(TransferForms, CodeDIsTextOnlyForBank23) {
  struct Case {
    const char* bank;
    QByteArray code;
  } cases[] = {{"23", "9 "}, {"26", "09"}};
  for (const Case& c : cases) {
    TransferBatch b = fixture(QLatin1String(c.bank));
    b.lines = {b.lines.front()};
    b.lines[0]["CodeD"] = "9";
    QByteArray out;
    ASSERT_TRUE(WriteTransferBlock(b, out, nullptr, nullptr));
    EXPECT_EQ(recordsOf(out)[2].mid(18, 2), c.code) << c.bank;
  }
}

TEST(TransferForms, OnlyReadyLinesAreWrittenInIdOrder) {
  TransferBatch b = fixture(QStringLiteral("26"));
  b.lines = {b.lines[2], b.lines[0], b.lines[1]};
  b.lines[1]["State"] = 2;  // line 1 was sent already
  QByteArray out;
  TransferBlockInfo info;
  ASSERT_TRUE(WriteTransferBlock(b, out, &info, nullptr));
  const QList<QByteArray> recs = recordsOf(out);
  ASSERT_EQ(recs.size(), 5);
  EXPECT_EQ(recs[2].mid(62, 10), "0000000002");
  EXPECT_EQ(recs[3].mid(62, 10), "0000000003");
  EXPECT_EQ(info.count, 2);
  EXPECT_EQ(info.total, 287050);
  EXPECT_EQ(recs[4].left(28),
            "E"
            "0000004"
            "0000002"
            "0000000287050");
}

TEST(TransferForms, BatchWithoutReadyLinesWritesHeaderStartAndEnd) {
  struct Case {
    const char* bank;
    bool chk100;
    QByteArray length;  // 2 x (record length + 2)
    QByteArray endHead;
  } cases[] = {
      {"26", true, "0000000200",
       "E"
       "0000002"
       "0000000"
       "0000000000000"},
      {"26", false, "0000000160",
       "E"
       "0000002"
       "0000000"
       "0000000000000"},
      {"04", false, "0000000160",
       "E"
       "0000002"
       "00000"
       "00000000000"},
      {"81", false, "0000000160",
       "E"
       "0000002"
       "0000000"
       "0000000000000"},
  };
  // Two batches with the same send name share one file, one block after the other.
  QByteArray file = "previous block\r\n";
  for (const Case& c : cases) {
    TransferBatch b = fixture(QLatin1String(c.bank));
    b.bank["Chk100"] = c.chk100;
    b.lines.clear();
    const qsizetype before = file.size();
    TransferBlockInfo info;
    ASSERT_TRUE(WriteTransferBlock(b, file, &info, nullptr)) << c.bank;
    const QList<QByteArray> recs = recordsOf(file.mid(before));
    ASSERT_EQ(recs.size(), 3);
    EXPECT_EQ(recs[0].mid(12, 10), c.length);
    EXPECT_TRUE(recs[1].startsWith('S'));
    EXPECT_TRUE(recs[2].startsWith(c.endHead)) << recs[2].toStdString();
    EXPECT_EQ(info.count, 0);
  }
  EXPECT_TRUE(file.startsWith("previous block\r\n<<NEHEAD>>"));
  // 81 check value without lines: 0318 + 5829 + 0 + 0 - 0 = 6147.
  EXPECT_TRUE(file.endsWith(QByteArray("6147    " + cp("비") + "\r\n")));
}

TEST(TransferForms, Bank81CheckIgnoresAccountsWithoutDigitsUpFront) {
  TransferBatch b = fixture(QStringLiteral("81"));
  b.master["TrsEndDate"] = QDate(2024, 1, 1);
  b.lines = {b.lines.front()};
  b.lines[0]["BankNo"] = "ABCDEFG-123";  // the first 7 account bytes hold no digit
  b.lines[0]["TrsWon"] = qint64(100);
  QByteArray out;
  ASSERT_TRUE(WriteTransferBlock(b, out, nullptr, nullptr));
  // 0101 + 5829 + 1 + 100 - 0 = 6031
  EXPECT_EQ(recordsOf(out)[3].mid(68, 8), "6031    ");
}

TEST(TransferForms, BatchesThatCannotBeWrittenCorrectlyAreRefusedWhole) {
  struct Case {
    const char* name;
    const char* bank;
    std::function<void(TransferBatch&)> setup;
    QStringList says;  // parts of the message besides the batch ID
  } cases[] = {
      {"12-digit amount",
       "26",
       [](TransferBatch& b) { b.lines[0]["TrsWon"] = qint64(123456789012); },
       {"거래인(ID 1)", "이체금액", "123456789012", "11자리"}},
      {"total over the bank 04 field",
       "04",
       [](TransferBatch& b) {
         b.lines[0]["TrsWon"] = qint64(60000000000);
         b.lines[1]["TrsWon"] = qint64(60000000000);
         b.lines.removeLast();
       },
       {"이체 합계금액", "120000000000", "11자리"}},
      {"negative amount",
       "26",
       [](TransferBatch& b) { b.lines[1]["TrsWon"] = qint64(-500); },
       {"거래인(ID 2)", "음수"}},
      {"amount not a number",
       "05",
       [](TransferBatch& b) { b.lines[2]["TrsWon"] = QStringLiteral("3만"); },
       {"거래인(ID 3)", "숫자가 아닙니다"}},
      {"institution number over N(2)",
       "26",
       [](TransferBatch& b) { b.master["KiGwanID"] = 123; },
       {"기관번호", "2자리"}},
      {"bank 20 without lines", "20", [](TransferBatch& b) { b.lines.clear(); }, {"검증값"}},
      {"bank 24 with zero amounts only",
       "24",
       [](TransferBatch& b) {
         for (auto& l : b.lines) l["TrsWon"] = qint64(0);
       },
       {"검증값"}},
      {"bank 21", "21", [](TransferBatch&) {}, {"은행 21", "지원하지 않습니다"}},
      {"bank 03", "03", [](TransferBatch&) {}, {"은행 03", "지원하지 않습니다"}},
      {"bank 07", "07", [](TransferBatch&) {}, {"은행 07", "지원하지 않습니다"}},
      {"NACF", "12", [](TransferBatch&) {}, {"은행 12", "지원하지 않습니다"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TransferBatch b = fixture(QLatin1String(c.bank));
    c.setup(b);
    QByteArray out = "earlier block\r\n";
    QString error;
    EXPECT_FALSE(WriteTransferBlock(b, out, nullptr, &error));
    EXPECT_EQ(out, "earlier block\r\n");
    EXPECT_TRUE(error.contains(QStringLiteral("자금이체 의뢰(ID 123)"))) << error.toStdString();
    for (const QString& part : c.says) EXPECT_TRUE(error.contains(part)) << error.toStdString();
  }
}
