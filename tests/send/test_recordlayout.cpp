#include <gtest/gtest.h>

#include "send/nehead.h"
#include "send/recordlayout.h"
#include "send/transferforms.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::cp;

namespace {
using N = Notation;

QVariantHash values(std::initializer_list<std::pair<const char*, QVariant>> kv) {
  QVariantHash h;
  for (const auto& [k, v] : kv) h.insert(QString::fromLatin1(k), v);
  return h;
}
}  // namespace

TEST(RecordLayout, EveryWrittenLayoutTilesItsRecord) {
  std::vector<const RecordLayout*> all = AllTransferLayouts();
  all.push_back(&NeHeadLayout());
  ASSERT_GE(all.size(), 20u);
  for (const RecordLayout* l : all) EXPECT_EQ(CheckTiling(*l), QString()) << l->name;
  // Each form's records all have the form's length.
  for (TransferForm f : {TransferForm::General100, TransferForm::Savings100, TransferForm::General80,
                         TransferForm::Bank20, TransferForm::Bank04, TransferForm::Bank05, TransferForm::Bank81}) {
    const TransferLayouts& l = LayoutsOf(f);
    ASSERT_NE(l.start, nullptr);
    EXPECT_EQ(l.start->length, InfoOf(f).recordLength);
    EXPECT_EQ(l.end->length, InfoOf(f).recordLength);
    for (const auto& d : l.data) EXPECT_EQ(d.layout->length, InfoOf(f).recordLength);
  }
}

TEST(RecordLayout, TilingCheckFindsGapsOverlapsAndWrongLengths) {
  struct Case {
    RecordLayout layout;
    const char* fault;  // part of the expected message
  } cases[] = {
      {RecordLayout("gap", 5, {{1, 2, N::A, "a"}, {4, 2, N::A, "b"}}), "gap from 3"},
      {RecordLayout("overlap", 4, {{1, 3, N::A, "a"}, {3, 2, N::A, "b"}}), "overlaps"},
      {RecordLayout("short", 6, {{1, 3, N::A, "a"}, {4, 2, N::A, "b"}}), "record length is 6"},
      {RecordLayout("long", 4, {{1, 3, N::A, "a"}, {4, 2, N::A, "b"}}), "record length is 4"},
      {RecordLayout("late start", 3, {{2, 2, N::A, "a"}}), "gap from 1"},
      {RecordLayout("literal", 2, {{1, 2, N::Literal, "ABC"}}), "longer"},
      {RecordLayout("date", 6, {{1, 6, N::Date8, "d"}}), "date"},
  };
  for (const Case& c : cases) EXPECT_TRUE(CheckTiling(c.layout).contains(QLatin1String(c.fault))) << c.layout.name;
}

TEST(RecordLayout, DeriveReplacesTheFieldsItOverlaps) {
  const RecordLayout base("base", 6, {{1, 2, N::A, "a"}, {3, 2, N::A, "b"}, {5, 2, N::A, "c"}});
  const RecordLayout d = base.derive("derived", {{2, 3, N::Blanks}, {1, 1, N::Literal, "X"}});
  EXPECT_EQ(CheckTiling(d), QString());
  ASSERT_EQ(d.fields.size(), 3u);
  EXPECT_EQ(d.fields[0].pos, 1);
  EXPECT_EQ(d.fields[1].notation, N::Blanks);
  EXPECT_STREQ(d.fields[2].key, "c");
  EXPECT_EQ(d.find("a"), nullptr);
}

TEST(RecordLayout, FormatsEveryNotation) {
  const RecordLayout l("all", 48,
                       {
                           {1, 1, N::Literal, "S"},
                           {2, 5, N::A, "name"},
                           {7, 5, N::AR, "right"},
                           {12, 4, N::N, "code"},
                           {16, 4, N::NL, "left"},
                           {20, 6, N::Number, "won", "금액"},
                           {26, 3, N::Blanks},
                           {29, 3, N::Zeros},
                           {32, 8, N::Date8, "d8"},
                           {40, 6, N::Date6, "d6"},
                           {46, 3, N::Literal, "Y"},
                       });
  ASSERT_EQ(CheckTiling(l), QString());
  QByteArray out = "prev";
  ASSERT_TRUE(FormatRecord(l,
                           values({{"name", QStringLiteral("홍길동")},  // 6 bytes into 5: no half syllable
                                   {"right", QStringLiteral("가나다")},
                                   {"code", QByteArray("12345")},  // plain N keeps the first bytes
                                   {"left", 12},
                                   {"won", qint64(1234)},
                                   {"d8", QDate(2024, 3, 15)},
                                   {"d6", QStringLiteral("2024-12-01")}}),
                           out));
  EXPECT_EQ(out, QByteArray("prev") + "S" + cp("홍길 ") + cp("가나 ") + "1234" + "1200" + "001234" + "   " + "000" +
                     "20240315" + "241201" + "Y  ");
}

TEST(RecordLayout, NumberFieldsRefuseWhatTheyCannotHold) {
  const RecordLayout l("n", 4, {{1, 4, N::Number, "won", "이체금액"}});
  struct Case {
    QVariant value;
    FormatFault::Kind kind;
    QByteArray want;  // when accepted
  } cases[] = {
      {qint64(12345), FormatFault::TooLong, {}},
      {qint64(-5), FormatFault::Negative, {}},
      {QStringLiteral("12만"), FormatFault::NotNumber, {}},
      {QStringLiteral(" 42 "), FormatFault::Missing, "0042"},
      {QStringLiteral("1500.00"), FormatFault::Missing, "1500"},
      {1234.0, FormatFault::Missing, "1234"},
      {QVariant(), FormatFault::Missing, "0000"},
      {qint64(9999), FormatFault::Missing, "9999"},
  };
  for (const Case& c : cases) {
    QByteArray out = "x";
    FormatFault f;
    const bool ok = FormatRecord(l, values({{"won", c.value}}), out, &f);
    if (!c.want.isEmpty()) {
      EXPECT_TRUE(ok) << c.value.toString().toStdString();
      EXPECT_EQ(out, "x" + c.want);
      continue;
    }
    EXPECT_FALSE(ok) << c.value.toString().toStdString();
    EXPECT_EQ(out, "x");
    EXPECT_EQ(f.kind, c.kind);
    EXPECT_EQ(f.label, QStringLiteral("이체금액"));
    EXPECT_EQ(f.length, 4);
  }
}

TEST(RecordLayout, AValueMissingFromTheRecordIsAFault) {
  const RecordLayout l("m", 3, {{1, 3, N::A, "Ninja"}});
  QByteArray out;
  FormatFault f;
  EXPECT_FALSE(FormatRecord(l, values({{"Ninj", QStringLiteral("a")}}), out, &f));
  EXPECT_EQ(f.kind, FormatFault::Missing);
  EXPECT_EQ(f.key, QStringLiteral("Ninja"));
  EXPECT_TRUE(out.isEmpty());
}

TEST(RecordLayout, ParsesARecordBackByTheSameDescription) {
  // The 100-byte data record as a reader sees it.
  const RecordLayout& data = *LayoutsOf(TransferForm::General100).data.front().layout;
  QByteArray rec;
  ASSERT_TRUE(FormatRecord(data,
                           values({{"BankID", QStringLiteral("04")},
                                   {"BankNo", QByteArray("110222333333")},
                                   {"CodeD", QByteArray("40")},
                                   {"TrsWon", qint64(1500000)},
                                   {"TrsDate", QByteArray("15")},
                                   {"Ninja", QStringLiteral("홍길동")},
                                   {"JuminMark", QStringLiteral("C")},
                                   {"Jumin", QByteArray("8001011234567")},
                                   {"NapbuNo", QByteArray("NB-001")},
                                   {"ID", 7}}),
                           rec));
  ParsedRecord p(data, rec);
  EXPECT_TRUE(p.literalsMatch());
  EXPECT_EQ(p.bytes("BankID"), "04");
  EXPECT_EQ(p.trimmed("BankNo"), QStringLiteral("110222333333"));
  EXPECT_EQ(p.number("TrsWon"), 1500000);
  EXPECT_EQ(p.trimmed("Ninja"), QStringLiteral("홍길동"));
  EXPECT_EQ(p.text("NapbuNo"), QStringLiteral("NB-001          "));
  EXPECT_EQ(p.number("ID"), 7);
  EXPECT_FALSE(p.number("Ninja").has_value());
  EXPECT_FALSE(p.has("NoSuchField"));

  QByteArray wrongType = rec;
  wrongType[0] = 'E';
  EXPECT_FALSE(ParsedRecord(data, wrongType).literalsMatch());
  EXPECT_FALSE(ParsedRecord(data, rec.left(50)).literalsMatch());
  EXPECT_TRUE(ParsedRecord(data, rec.left(50)).bytes("ID").isEmpty());

  const RecordLayout& start = *LayoutsOf(TransferForm::General80).start;
  const QByteArray s = "SB2CORP01    26240315240318" + QByteArray(51, ' ');
  EXPECT_EQ(ParsedRecord(start, s).date("TrsDate"), QDate(2024, 3, 15));
  EXPECT_EQ(ParsedRecord(start, s).date("TrsEndDate"), QDate(2024, 3, 18));
}

TEST(NeHead, HeaderLineCarriesTheBlockLength) {
  QByteArray out;
  ASSERT_TRUE(AppendNeHead(out, QStringLiteral("ORVAN01"), QStringLiteral("FB0001"), QStringLiteral("BCODE00001"),
                           NeHeadBlockLength(98, 3 + 2)));
  EXPECT_EQ(out, QByteArray("<<NEHEAD>>1N0000000500") + QByteArray(10, ' ') + "ORVAN01   FB0001001BCODE00001\r\n");
  EXPECT_EQ(out.size(), kNeHeadLength + 2);
  // n x (len + 2) + 2 x (len + 2) for each record length of the writer table.
  EXPECT_EQ(NeHeadBlockLength(78, 0 + 2), 160);
  EXPECT_EQ(NeHeadBlockLength(178, 4 + 2), 4 * 180 + 360);
  EXPECT_EQ(NeHeadBlockLength(198, 10 + 2), 10 * 200 + 400);
}
