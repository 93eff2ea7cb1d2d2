#include "send/transferforms.h"

#include <algorithm>

#include "app/fixedwidth.h"
#include "send/nehead.h"

namespace orvan {
namespace {

using N = Notation;

// ---------------------------------------------------------------------------
// Record descriptions. Keys name the value a field takes: column names where
// the column goes out as it is (hyphens already removed from account and
// resident numbers), derived names otherwise.

const RecordLayout& general100Start() {
  static const RecordLayout l("100-byte general start", 98,
                              {
                                  {1, 1, N::Literal, "S"},
                                  {2, 2, N::A, "WorkTypeC"},
                                  {4, 1, N::Literal, "Y"},
                                  {5, 10, N::A, "CorCode"},
                                  {15, 2, N::N, "BankID"},
                                  {17, 8, N::Date8, "TrsDate"},
                                  {25, 8, N::Date8, "TrsEndDate"},
                                  {33, 15, N::A, "BankNo"},
                                  {48, 8, N::A, "Pass"},
                                  {56, 1, N::A, "TrsNo"},
                                  {57, 1, N::A, "CodeB"},
                                  {58, 1, N::A, "ReTrs"},
                                  {59, 6, N::A, "LocalBank"},
                                  {65, 6, N::A, "VANCODE"},
                                  {71, 2, N::Number, "KiGwanID", "기관번호"},
                                  {73, 6, N::Number, "ID", "의뢰번호"},
                                  {79, 20, N::A, "EtcHOrSalary"},
                              });
  return l;
}

const RecordLayout& general100Data() {
  static const RecordLayout l("100-byte general data", 98,
                              {
                                  {1, 1, N::Literal, "D"},
                                  {2, 2, N::N, "BankID"},
                                  {4, 15, N::A, "BankNo"},
                                  {19, 2, N::N, "CodeD"},
                                  {21, 11, N::Number, "TrsWon", "이체금액"},
                                  {32, 2, N::N, "TrsDate"},
                                  {34, 16, N::Blanks},
                                  {50, 10, N::A, "Ninja"},
                                  {60, 1, N::A, "JuminMark"},
                                  {61, 13, N::A, "Jumin"},
                                  {74, 16, N::A, "NapbuNo"},
                                  {90, 9, N::Number, "ID", "거래인번호"},
                              });
  return l;
}

const RecordLayout& general100End() {
  static const RecordLayout l("100-byte general end", 98,
                              {
                                  {1, 1, N::Literal, "E"},
                                  {2, 7, N::Number, "CountPlus2", "레코드 수"},
                                  {9, 7, N::Number, "Count", "이체 건수"},
                                  {16, 13, N::Number, "Total", "이체 합계금액"},
                                  {29, 40, N::Blanks},
                                  {69, 8, N::A, "BackCode"},
                                  {77, 22, N::A, "EtcE"},
                              });
  return l;
}

const RecordLayout& savings100Start() {
  static const RecordLayout l("100-byte savings-bank start", 98,
                              {
                                  {1, 1, N::Literal, "S"},
                                  {2, 2, N::A, "WorkType"},
                                  {4, 10, N::A, "CorCode"},
                                  {14, 2, N::N, "BankID"},
                                  {16, 6, N::Date6, "TrsDate"},
                                  {22, 6, N::Date6, "TrsEndDate"},
                                  {28, 15, N::A, "BankNo"},
                                  {43, 8, N::A, "Pass"},
                                  {51, 1, N::Literal, "1"},
                                  {52, 1, N::Literal, "1"},
                                  {53, 1, N::Literal, "2"},
                                  {54, 4, N::A, "LocalBank"},
                                  {58, 6, N::Blanks},
                                  {64, 2, N::Number, "KiGwanID", "기관번호"},
                                  {66, 5, N::Number, "ID", "의뢰번호"},
                                  {71, 28, N::Blanks},
                              });
  return l;
}

const RecordLayout& savings100Data() {
  static const RecordLayout l("100-byte savings-bank data", 98,
                              {
                                  {1, 1, N::Literal, "D"},
                                  {2, 2, N::N, "BankID"},
                                  {4, 15, N::A, "BankNo"},
                                  {19, 2, N::N, "CodeD"},
                                  {21, 11, N::Number, "TrsWon", "이체금액"},
                                  {32, 2, N::N, "TrsDate"},
                                  {34, 15, N::Blanks},
                                  {49, 1, N::Literal, "R"},
                                  {50, 2, N::Blanks},
                                  {52, 11, N::Number, "ID", "거래인번호"},
                                  {63, 14, N::A, "NinjaFullWidth"},
                                  {77, 2, N::Blanks},
                                  {79, 20, N::A, "NapbuNoTrimmed"},
                              });
  return l;
}

const RecordLayout& savings100End() {
  static const RecordLayout l =
      general100End().derive("100-byte savings-bank end", {{29, 40, N::Zeros}, {77, 22, N::Blanks}});
  return l;
}

const RecordLayout& general80Start() {
  static const RecordLayout l("80-byte general start", 78,
                              {
                                  {1, 1, N::Literal, "S"},
                                  {2, 2, N::A, "WorkType"},
                                  {4, 10, N::A, "CorCode"},
                                  {14, 2, N::N, "BankID"},
                                  {16, 6, N::Date6, "TrsDate"},
                                  {22, 6, N::Date6, "TrsEndDate"},
                                  {28, 15, N::A, "BankNo"},
                                  {43, 8, N::A, "Pass"},
                                  {51, 1, N::A, "TrsNo"},
                                  {52, 1, N::A, "CodeB"},
                                  {53, 1, N::A, "ReTrs"},
                                  {54, 4, N::A, "LocalBank"},
                                  {58, 6, N::A, "VANCODE"},
                                  {64, 2, N::Number, "KiGwanID", "기관번호"},
                                  {66, 5, N::Number, "ID", "의뢰번호"},
                                  {71, 8, N::Blanks},
                              });
  return l;
}

const RecordLayout& general80Data() {
  static const RecordLayout l("80-byte general data", 78,
                              {
                                  {1, 1, N::Literal, "D"},
                                  {2, 2, N::N, "BankID"},
                                  {4, 15, N::A, "BankNo"},
                                  {19, 2, N::N, "CodeD"},
                                  {21, 11, N::Number, "TrsWon", "이체금액"},
                                  {32, 2, N::N, "TrsDate"},
                                  {34, 15, N::Blanks},
                                  {49, 14, N::A, "PayerTrimmed"},
                                  {63, 10, N::Number, "ID", "거래인번호"},
                                  {73, 4, N::A, "Ninja"},
                                  {77, 2, N::A, "EtcD"},
                              });
  return l;
}

const RecordLayout& general80DataBank23() {
  static const RecordLayout l = general80Data().derive("80-byte general data, bank 23", {{19, 2, N::A, "CodeD"}});
  return l;
}

const RecordLayout& general80End() {
  static const RecordLayout l("80-byte general end", 78,
                              {
                                  {1, 1, N::Literal, "E"},
                                  {2, 7, N::Number, "CountPlus2", "레코드 수"},
                                  {9, 7, N::Number, "Count", "이체 건수"},
                                  {16, 13, N::Number, "Total", "이체 합계금액"},
                                  {29, 40, N::Zeros},
                                  {69, 8, N::A, "BackCode"},
                                  {77, 2, N::A, "EtcE"},
                              });
  return l;
}

const RecordLayout& bank20Start() {
  static const RecordLayout l = general80Start().derive(
      "bank 20 start",
      {{64, 8, N::Blanks}, {72, 2, N::Number, "KiGwanID", "기관번호"}, {74, 5, N::Number, "ID", "의뢰번호"}});
  return l;
}

const RecordLayout& bank20Data() {
  static const RecordLayout l("bank 20 data", 78,
                              {
                                  {1, 1, N::Literal, "D"},
                                  {2, 2, N::N, "BankID"},
                                  {4, 15, N::A, "BankNo"},
                                  {19, 2, N::A, "Code20"},
                                  {21, 11, N::Number, "TrsWon", "이체금액"},
                                  {32, 2, N::N, "TrsDate"},
                                  {34, 15, N::Blanks},
                                  {49, 10, N::A, "Name20"},
                                  {59, 14, N::A, "PayerPlain"},
                                  {73, 6, N::Number, "ID", "거래인번호"},
                              });
  return l;
}

const RecordLayout& bank20DataJuminFirst() {
  static const RecordLayout l =
      bank20Data().derive("bank 20 data, resident number first", {{49, 14, N::A, "Jumin"}, {63, 10, N::A, "Name20"}});
  return l;
}

const RecordLayout& bank20End() {
  static const RecordLayout l =
      general80End().derive("bank 20 end", {{29, 40, N::Blanks}, {69, 6, N::A, "Check20"}, {75, 4, N::A, "EtcE"}});
  return l;
}

const RecordLayout& bank04Start() {
  static const RecordLayout l("bank 04 start", 78,
                              {
                                  {1, 1, N::Literal, "S"},
                                  {2, 2, N::A, "WorkType"},
                                  {4, 10, N::A, "CorCode"},
                                  {14, 2, N::N, "BankID"},
                                  {16, 8, N::Date8, "TrsDate"},
                                  {24, 8, N::Date8, "TrsEndDate"},
                                  {32, 15, N::A, "BankNo"},
                                  {47, 8, N::A, "Pass"},
                                  {55, 1, N::A, "TrsNo"},
                                  {56, 1, N::A, "CodeB"},
                                  {57, 1, N::A, "ReTrs"},
                                  {58, 4, N::A, "LocalBank"},
                                  {62, 6, N::A, "VANCODE"},
                                  {68, 4, N::Blanks},
                                  {72, 2, N::Number, "KiGwanID", "기관번호"},
                                  {74, 5, N::Number, "ID", "의뢰번호"},
                              });
  return l;
}

const RecordLayout& bank04Data() {
  static const RecordLayout l("bank 04 data", 78,
                              {
                                  {1, 1, N::Literal, "D"},
                                  {2, 2, N::N, "BankID"},
                                  {4, 15, N::A, "BankNo"},
                                  {19, 1, N::A, "CodeD04"},
                                  {20, 11, N::Number, "TrsWon", "이체금액"},
                                  {31, 15, N::Blanks},
                                  {46, 13, N::A, "Jumin"},
                                  {59, 16, N::A, "NapbuNo"},
                                  {75, 4, N::A, "Ninja"},
                              });
  return l;
}

const RecordLayout& bank04Data0J() {
  static const RecordLayout l = bank04Data().derive(
      "bank 04 data, code 0J", {{46, 14, N::A, "NinjaHost"}, {60, 15, N::A, "NapbuNo"}, {75, 4, N::Blanks}});
  return l;
}

const RecordLayout& bank04End() {
  static const RecordLayout l("bank 04 end", 78,
                              {
                                  {1, 1, N::Literal, "E"},
                                  {2, 7, N::Number, "CountPlus2", "레코드 수"},
                                  {9, 5, N::Number, "Count", "이체 건수"},
                                  {14, 11, N::Number, "Total", "이체 합계금액"},
                                  {25, 48, N::Zeros},
                                  {73, 4, N::A, "BackCode"},
                                  {77, 2, N::Blanks},
                              });
  return l;
}

const RecordLayout& bank05Start() {
  static const RecordLayout l = general80Start().derive("bank 05 start", {{2, 2, N::A, "WorkTypeC"},
                                                                          {64, 8, N::A, "EtcHOrSalary"},
                                                                          {72, 2, N::Number, "KiGwanID", "기관번호"},
                                                                          {74, 5, N::Number, "ID", "의뢰번호"}});
  return l;
}

const RecordLayout& bank05Data() {
  // The payer field takes the place of the line number as well.
  static const RecordLayout l = general80Data().derive("bank 05 data", {{49, 24, N::A, "PayerPlain"}});
  return l;
}

const RecordLayout& bank81Start() {
  static const RecordLayout l = general80Start().derive("bank 81 start", {{43, 8, N::Literal, "5829"}});
  return l;
}

const RecordLayout& bank81Data() {
  static const RecordLayout l = general80Data().derive("bank 81 data", {{49, 14, N::A, "PayerPlain"}});
  return l;
}

const RecordLayout& bank81End() {
  static const RecordLayout l = general80End().derive("bank 81 end", {{69, 8, N::A, "Check81"}});
  return l;
}

// ---------------------------------------------------------------------------

const TransferFormInfo kForms[] = {
    {TransferForm::General100, "100-byte general", 98, true},
    {TransferForm::Savings100, "100-byte savings-bank", 98, true},
    {TransferForm::General80, "80-byte general", 78, true},
    {TransferForm::Bank20, "bank 20/22/24", 78, true},
    {TransferForm::Bank04, "bank 04", 78, true},
    {TransferForm::Bank05, "bank 05", 78, true},
    {TransferForm::Bank81, "bank 81", 78, true},
    {TransferForm::Bank21, "bank 21", 78, false},
    {TransferForm::Bank03, "bank 03", 78, false},
    {TransferForm::Bank07, "bank 07", 178, false},
    {TransferForm::Nacf, "bank 11/12", 198, false},
};

// Batch- and line-level conditions that pick a data layout.
constexpr const char* kLoginBK02405 = "LoginBK02405";
constexpr const char* kCodeD0J = "CodeD0J";
constexpr const char* kBank23 = "Bank23";

QVariant col(const QVariantHash& row, const char* name) {
  const QString key = QString::fromLatin1(name);
  auto it = row.constFind(key);
  if (it != row.constEnd()) return it.value();
  // SQL column names are not case-sensitive, and the schema spells some
  // differently between tables (TranSub.BankId, Trans.VANCODE).
  for (auto i = row.constBegin(); i != row.constEnd(); ++i)
    if (i.key().compare(key, Qt::CaseInsensitive) == 0) return i.value();
  return {};
}

QString str(const QVariantHash& row, const char* name) { return col(row, name).toString(); }
QByteArray bytes(const QVariantHash& row, const char* name) { return BytesOf(col(row, name)); }
QByteArray noHyphens(const QVariantHash& row, const char* name) { return StripChar(bytes(row, name), '-'); }

// Full-width passbook text of the savings-bank form.
QByteArray fullWidthNinja(const QByteArray& ninja) {
  QByteArray t = CutSplitDoubleByte(ninja.trimmed().left(14)).trimmed();
  t = ToFullWidth(t).left(14);
  return CutSplitDoubleByte(t).trimmed();
}

struct BatchContext {
  QString bankId;
  bool salaryRule = false;  // CodeA "F" at bank 05
  bool sendVersion1 = false;
  bool chkJumin = false;
  bool loginBK02405 = false;
};

QVariantHash startValues(const TransferBatch& b, const BatchContext& c) {
  const QVariantHash& m = b.master;
  const QString codeA = str(m, "CodeA");
  const QString first = codeA.isEmpty() ? QStringLiteral(" ") : codeA.left(1);
  return {
      {QStringLiteral("WorkType"), QString(first + QLatin1Char('2'))},
      {QStringLiteral("WorkTypeC"), QString((c.salaryRule ? QStringLiteral("C") : first) + QLatin1Char('2'))},
      {QStringLiteral("CorCode"), col(m, "CorCode")},
      {QStringLiteral("BankID"), c.bankId},
      {QStringLiteral("TrsDate"), col(m, "TrsDate")},
      {QStringLiteral("TrsEndDate"), col(m, "TrsEndDate")},
      {QStringLiteral("BankNo"), noHyphens(m, "BankNo")},
      {QStringLiteral("Pass"), col(m, "Pass")},
      {QStringLiteral("TrsNo"), col(m, "TrsNo")},
      {QStringLiteral("CodeB"), col(m, "CodeB")},
      {QStringLiteral("ReTrs"), col(m, "ReTrs")},
      {QStringLiteral("LocalBank"), col(m, "LocalBank")},
      {QStringLiteral("VANCODE"), col(m, "VANCODE")},
      {QStringLiteral("KiGwanID"), col(m, "KiGwanID")},
      {QStringLiteral("ID"), col(m, "ID")},
      {QStringLiteral("EtcHOrSalary"), c.salaryRule ? QVariant(QStringLiteral("SALARY")) : col(m, "EtcH")},
  };
}

QVariantHash lineValues(const TransferBatch& b, const BatchContext& c, const QVariantHash& line) {
  const QString codeD = str(line, "CodeD").trimmed();
  const QByteArray ninja = bytes(line, "Ninja");
  const QByteArray jumin = noHyphens(line, "Jumin");
  const QByteArray napbu = bytes(line, "NapbuNo");
  const QByteArray napbuPlain = StripChar(napbu, '-');

  // Bank 20: codes other than 31, 32 and 40 go out as UJ, UM or UP with a name.
  const bool x = codeD != QLatin1String("31") && codeD != QLatin1String("32") && codeD != QLatin1String("40");
  const bool ujum = codeD == QLatin1String("UJ") || codeD == QLatin1String("UM");
  QByteArray code20 = x ? (ujum ? codeD.toLatin1() : QByteArray("UP")) : BytesOf(codeD);
  QByteArray name20;
  if (x) name20 = ujum ? ninja : BytesOf(b.codeDNames.value(codeD));

  const QVariant day = col(line, "TrsDate");
  const QByteArray dayText =
      day.typeId() == QMetaType::QDate ? QByteArray::number(day.toDate().day()) : BytesOf(day).trimmed();

  const QByteArray codeDBytes = BytesOf(codeD);
  return {
      {QStringLiteral("BankID"), str(line, "BankID").trimmed()},
      {QStringLiteral("BankNo"), noHyphens(line, "BankNo")},
      {QStringLiteral("CodeD"), codeDBytes},
      {QStringLiteral("CodeD04"), codeD.size() > 1 ? codeD.mid(1, 1) : codeD},
      {QStringLiteral("Code20"), code20},
      {QStringLiteral("Name20"), name20},
      {QStringLiteral("TrsWon"), col(line, "TrsWon")},
      {QStringLiteral("TrsDate"), dayText},
      {QStringLiteral("Ninja"), ninja},
      {QStringLiteral("NinjaFullWidth"), fullWidthNinja(ninja)},
      {QStringLiteral("NinjaHost"), ToShiftedDoubleByte(FitText(ninja, 6, true))},
      {QStringLiteral("JuminMark"), c.chkJumin ? QStringLiteral("C") : QStringLiteral(" ")},
      {QStringLiteral("Jumin"), jumin},
      {QStringLiteral("NapbuNo"), napbu},
      {QStringLiteral("NapbuNoTrimmed"), napbu.trimmed()},
      {QStringLiteral("PayerTrimmed"), c.sendVersion1 ? napbu.trimmed() : jumin},
      {QStringLiteral("PayerPlain"), c.sendVersion1 ? napbuPlain : jumin},
      {QStringLiteral("ID"), col(line, "ID")},
      {QStringLiteral("EtcD"), col(line, "EtcD")},
      {QString::fromLatin1(kLoginBK02405), c.loginBK02405},
      {QString::fromLatin1(kCodeD0J), codeD.toUpper() == QLatin1String("0J")},
      {QString::fromLatin1(kBank23), c.bankId == QLatin1String("23")},
  };
}

const RecordLayout& dataLayoutFor(const TransferLayouts& layouts, const QVariantHash& values) {
  for (const TransferDataLayout& d : layouts.data)
    if (!*d.condition || values.value(QString::fromLatin1(d.condition)).toBool()) return *d.layout;
  return *layouts.data.back().layout;
}

QList<QVariantHash> readyLines(const QList<QVariantHash>& lines) {
  QList<QVariantHash> ready;
  for (const QVariantHash& l : lines) {
    const QVariant state = col(l, "State");
    if (!state.isNull() && NumberOf(state).value_or(-99) != 1) continue;
    ready.append(l);
  }
  std::stable_sort(ready.begin(), ready.end(), [](const QVariantHash& a, const QVariantHash& b) {
    return NumberOf(col(a, "ID")).value_or(0) < NumberOf(col(b, "ID")).value_or(0);
  });
  return ready;
}

QString batchName(const TransferBatch& b) { return QStringLiteral("자금이체 의뢰(ID %1)").arg(str(b.master, "ID")); }

QString faultMessage(const TransferBatch& b, const QVariantHash* line, const FormatFault& f) {
  QString who = batchName(b);
  if (line) who += QStringLiteral(" 거래인(ID %1)").arg(str(*line, "ID"));
  const QString tail = QStringLiteral(" 이 의뢰는 송신 파일에 쓰지 않았습니다.");
  switch (f.kind) {
    case FormatFault::TooLong:
      return QStringLiteral("%1의 %2 %3은(는) 송신 파일의 %4자리 항목에 들어가지 않습니다.")
                 .arg(who, f.label, f.value)
                 .arg(f.length) +
             tail;
    case FormatFault::Negative:
      return QStringLiteral("%1의 %2 %3은(는) 음수여서 송신 파일에 쓸 수 없습니다.").arg(who, f.label, f.value) + tail;
    case FormatFault::NotNumber:
      return QStringLiteral("%1의 %2 '%3'은(는) 숫자가 아닙니다.").arg(who, f.label, f.value) + tail;
    case FormatFault::Missing:
      break;
  }
  return QStringLiteral("%1: 송신 양식의 항목 %2에 넣을 값이 없습니다.").arg(who, f.key) + tail;
}

bool refuse(QString* error, const QString& message) {
  if (error) *error = message;
  return false;
}

// A mod B of the bank 20 end record, in its six-character field.
QByteArray check20Text(qint64 a, qint64 b) {
  const QByteArray t = QByteArray::number(a % b);
  return t.size() < 7 ? PadZero(t, 6, false) : t.right(6);
}

QByteArray check81Text(qint64 value) {
  const QByteArray t = QByteArray::number(value);
  return t.size() > 4 ? t.right(4) : PadZero(t, 4, false);
}

}  // namespace

TransferForm SelectTransferForm(const QString& bankId, bool chk100) {
  const QString b = bankId.trimmed();
  if (chk100) return IsBank45(b) ? TransferForm::Savings100 : TransferForm::General100;
  if (IsBank202224(b)) return TransferForm::Bank20;
  if (IsBank21(b)) return TransferForm::Bank21;
  if (IsBank04(b)) return TransferForm::Bank04;
  if (IsBank05(b)) return TransferForm::Bank05;
  if (IsBank81(b)) return TransferForm::Bank81;
  if (IsBank03(b)) return TransferForm::Bank03;
  if (IsBank07(b)) return TransferForm::Bank07;
  if (IsNacf(b)) return TransferForm::Nacf;
  return TransferForm::General80;
}

const TransferFormInfo& InfoOf(TransferForm form) {
  for (const TransferFormInfo& f : kForms)
    if (f.form == form) return f;
  return kForms[2];
}

const TransferLayouts& LayoutsOf(TransferForm form) {
  static const TransferLayouts general100{&general100Start(), {{"", &general100Data()}}, &general100End()};
  static const TransferLayouts savings100{&savings100Start(), {{"", &savings100Data()}}, &savings100End()};
  static const TransferLayouts general80{
      &general80Start(), {{kBank23, &general80DataBank23()}, {"", &general80Data()}}, &general80End()};
  static const TransferLayouts bank20{
      &bank20Start(), {{kLoginBK02405, &bank20DataJuminFirst()}, {"", &bank20Data()}}, &bank20End()};
  static const TransferLayouts bank04{&bank04Start(), {{kCodeD0J, &bank04Data0J()}, {"", &bank04Data()}}, &bank04End()};
  static const TransferLayouts bank05{&bank05Start(), {{"", &bank05Data()}}, &general80End()};
  static const TransferLayouts bank81{&bank81Start(), {{"", &bank81Data()}}, &bank81End()};
  static const TransferLayouts none{};
  switch (form) {
    case TransferForm::General100:
      return general100;
    case TransferForm::Savings100:
      return savings100;
    case TransferForm::General80:
      return general80;
    case TransferForm::Bank20:
      return bank20;
    case TransferForm::Bank04:
      return bank04;
    case TransferForm::Bank05:
      return bank05;
    case TransferForm::Bank81:
      return bank81;
    default:
      return none;
  }
}

std::vector<const RecordLayout*> AllTransferLayouts() {
  std::vector<const RecordLayout*> all;
  for (const TransferFormInfo& f : kForms) {
    const TransferLayouts& l = LayoutsOf(f.form);
    if (!l.start) continue;
    for (const RecordLayout* r : {l.start, l.end})
      if (std::find(all.begin(), all.end(), r) == all.end()) all.push_back(r);
    for (const TransferDataLayout& d : l.data) all.push_back(d.layout);
  }
  return all;
}

bool WriteTransferBlock(const TransferBatch& batch, QByteArray& out, TransferBlockInfo* info, QString* error) {
  const QVariantHash& m = batch.master;
  BatchContext c;
  c.bankId = str(m, "BankID").trimmed();
  c.salaryRule = str(m, "CodeA").startsWith(QLatin1Char('F')) && IsBank05(c.bankId);
  const QString sendVersion = str(batch.bank, "SENDVERSION").trimmed();
  c.sendVersion1 = sendVersion == QLatin1String("1");
  c.chkJumin = col(batch.bank, "ChkJumin").toBool();
  c.loginBK02405 = batch.loginId == QLatin1String("BK02405");

  const TransferForm form = SelectTransferForm(c.bankId, col(batch.bank, "Chk100").toBool());
  const TransferFormInfo& fi = InfoOf(form);
  if (!fi.built)
    return refuse(error,
                  QStringLiteral("%1: 은행 %2의 자금이체 송신 양식은 아직 지원하지 않습니다. 이 의뢰는 송신 파일에 "
                                 "쓰지 않았습니다.")
                      .arg(batchName(batch), c.bankId));
  const TransferLayouts& layouts = LayoutsOf(form);

  FormatFault fault;
  QByteArray body;
  if (!FormatRecord(*layouts.start, startValues(batch, c), body, &fault))
    return refuse(error, faultMessage(batch, nullptr, fault));
  body.append("\r\n");

  int n = 0;
  qint64 total = 0;
  qint64 check20A = 0, check20B = 0, check81S = 0;
  for (const QVariantHash& line : readyLines(batch.lines)) {
    const QVariantHash values = lineValues(batch, c, line);
    QByteArray rec;
    if (!FormatRecord(dataLayoutFor(layouts, values), values, rec, &fault))
      return refuse(error, faultMessage(batch, &line, fault));
    // Formatting has accepted the amount as a whole number of its field's size.
    const qint64 won = NumberOf(values.value(QStringLiteral("TrsWon"))).value_or(0);
    ++n;
    total += won;
    check20A += DigitSum(PadZero(values.value(QStringLiteral("BankNo")).toByteArray(), 15, true));
    check20B += DigitSum(PadZero(QByteArray::number(won), 11, false));
    check81S += DigitSum(rec.mid(3, 7)) * won / 100;
    body.append(rec).append("\r\n");
  }

  QVariantHash end{
      {QStringLiteral("CountPlus2"), n + 2},    {QStringLiteral("Count"), n},
      {QStringLiteral("Total"), total},         {QStringLiteral("BackCode"), col(m, "BackCode")},
      {QStringLiteral("EtcE"), col(m, "EtcE")},
  };
  if (form == TransferForm::Bank20) {
    // The bank's check divides by the digit sum of the amounts, so a batch
    // without any amount has no check value to give.
    if (check20B == 0)
      return refuse(error,
                    QStringLiteral("%1에 금액이 있는 거래인이 없어 은행 검증값을 만들 수 없습니다. 이 의뢰는 송신 "
                                   "파일에 쓰지 않았습니다.")
                        .arg(batchName(batch)));
    end.insert(QStringLiteral("Check20"), check20Text(check20A, check20B));
  }
  if (form == TransferForm::Bank81) {
    const QDate endDate = DateOf(col(m, "TrsEndDate"));
    const qint64 mmdd = endDate.isValid() ? endDate.month() * 100 + endDate.day() : 0;
    end.insert(QStringLiteral("Check81"), check81Text(mmdd + 5829 + n + total - check81S));
  }
  if (!FormatRecord(*layouts.end, end, body, &fault)) return refuse(error, faultMessage(batch, nullptr, fault));
  body.append("\r\n");

  QByteArray block;
  if (!AppendNeHead(block, batch.loginId, str(m, "SendName"), str(m, "BCode"),
                    NeHeadBlockLength(fi.recordLength, n + 2), &fault))
    return refuse(error, faultMessage(batch, nullptr, fault));
  block.append(body);
  out.append(block);

  if (info) {
    info->form = form;
    info->count = n;
    info->total = total;
    info->hasCollectionTransfer = str(m, "CodeA").trimmed() == QLatin1String("B");
    info->sendVersion = sendVersion;
  }
  if (error) error->clear();
  return true;
}

}  // namespace orvan
