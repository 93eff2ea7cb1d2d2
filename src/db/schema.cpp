#include "db/schema.h"

#include <QDate>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

#include "platform/cp949.h"

namespace orvan {

namespace {

// Columns are written compactly: "Name:type[!][+][=heading]" separated by
// commas. Types: tN text(N), i int32, c int32 shown as a count, s int16,
// m money, d date, dt date-time, b boolean, a numbered by the table.
// "!" required, "+" added by the schema steps.
std::vector<Column> parseColumns(const char* text) {
  std::vector<Column> out;
  const QStringList items = QString::fromUtf8(text).split(QLatin1Char(','), Qt::SkipEmptyParts);
  for (QString item : items) {
    item = item.trimmed();
    if (item.isEmpty()) continue;
    Column c;
    int eq = item.indexOf(QLatin1Char('='));
    if (eq >= 0) {
      c.heading = item.mid(eq + 1);
      item = item.left(eq);
    }
    int colon = item.indexOf(QLatin1Char(':'));
    c.name = item.left(colon);
    QString type = item.mid(colon + 1);
    if (type.endsWith(QLatin1Char('+'))) {
      c.addedByStep = true;
      type.chop(1);
    }
    if (type.endsWith(QLatin1Char('!'))) {
      c.required = true;
      type.chop(1);
    }
    if (type.startsWith(QLatin1Char('t'))) {
      c.type = ColType::Text;
      c.size = type.mid(1).toInt();
    } else if (type == QLatin1String("i")) {
      c.type = ColType::Int32;
    } else if (type == QLatin1String("c")) {
      c.type = ColType::Int32;
      c.format = DisplayFormat::Count;
    } else if (type == QLatin1String("s")) {
      c.type = ColType::Int16;
    } else if (type == QLatin1String("m")) {
      c.type = ColType::Money;
      c.format = DisplayFormat::Money;
    } else if (type == QLatin1String("d")) {
      c.type = ColType::Date;
    } else if (type == QLatin1String("dt")) {
      c.type = ColType::DateTime;
    } else if (type == QLatin1String("b")) {
      c.type = ColType::Bool;
    } else if (type == QLatin1String("a")) {
      c.type = ColType::AutoInc;
    }
    if (c.addedByStep) c.defaultValue = c.type == ColType::Bool ? QVariant(false) : QVariant(QString());
    out.push_back(std::move(c));
  }
  return out;
}

Index key(const QString& table, const QStringList& cols, const QString& name = {}) {
  return Index{name.isEmpty() ? table + QStringLiteral("_PK") : name, cols, true, false};
}

QStringList L(const char* s) {
  return QString::fromLatin1(s).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

TableDef table(const char* name, const char* cols) {
  TableDef t;
  t.name = QString::fromLatin1(name);
  t.columns = parseColumns(cols);
  return t;
}

// A master keyed on ID.
TableDef master(const char* name, const char* cols) {
  TableDef t = table(name, cols);
  t.order = {QStringLiteral("ID")};
  t.primary = key(t.name, t.order);
  return t;
}

// A detail read in the order of its link and its own ID.
TableDef detail(const char* name, const char* cols, const char* masterName, const char* link, const char* masterCols,
                bool uniqueKey) {
  TableDef t = table(name, cols);
  t.master = QString::fromLatin1(masterName);
  t.linkColumns = L(link);
  t.masterColumns = L(masterCols);
  t.order = t.linkColumns;
  t.order << QStringLiteral("ID");
  if (uniqueKey)
    t.primary = key(t.name, t.order);
  else
    t.indexes.push_back(Index{t.name + QStringLiteral("_Order"), t.order, false, false});
  return t;
}

QString catchColumns(int fields) {
  QString s = QStringLiteral("ID:a,Name:t40,RecLen:i");
  for (int k = 1; k <= fields; ++k) s += QStringLiteral(",Field%1S:i,Field%1N:i").arg(k);
  return s;
}

const char* kTransCols =
    "ID:i!,KiGwanID:i,CodeA:t4,CorCode:t10,BankID:t2,Pass:t8,TrsDate:d,TrsEndDate:d,BankNo:t20,TrsNo:t1,CodeB:t4,"
    "ReTrs:t1,LocalBank:t6,VANCODE:t7,RecvDate:d,BackCode:t8,Confirm:b,State:s,TotCnt:c,TotWon:m,OkCnt:c,OkWon:m,"
    "FailCnt:c,FailWon:m,TxTotCnt:c,TxTotWon:m,EtcH:t20,EtcE:t22,EtcH80:t15,EtcE80:t2,SendName:t6,RecvName:t6,"
    "BCode:t10,Comment:t100";
const char* kTranSubCols =
    "TransID:i!,ID:i!,BankId:t2=은행코드,BankNo:t20=계좌번호,ExName:t10=예금주명,NapbuNo:t24=납부자번호,"
    "Jumin:t24=주민번호,TrsWon:m=이체금액,State:s,CodeD:t4=거래구분,TrsDate:t2=이체일자,Ninja:t12=인자내역,"
    "MiWon:m=미처리금액,CodeG:t4,CodeH:t4,RecvDate:d=수신일자,GuBunJa:t16=구분자,EtcD:t9,EtcD80:t2";
const char* kGBankCols =
    "GName:t20,ID:i!,KiGwanID:i,CodeA:t4,CorCode:t10,BankID:t2,Pass:t8,BankNo:t20,CodeB:t4,ReTrs:t1,LocalBank:t6,"
    "VANCODE:t7,RecvDate:d,BackCode:t8,State:s,TotCnt:c,TotWon:m,TxTotCnt:c,TxTotWon:m,TrsKey:t8,EtcH:t20,"
    "EtcE:t22,EtcH80:t15,EtcE80:t2,SendName:t6,RecvName:t6,BCode:t10";
const char* kCmsCols =
    "ID:i!,KiGwanID:i,CodeA:t4,CorCode:t10,BankID:t2,BankNo:t20,TrsDate:d,TrsStartDate:d,TrsEndDate:d,CodeB:t4,"
    "SetDate:d,CodeC:t4,GyRo:t10,Pass:t8,VANCODE:t7,RecvDate:d,State:s,TotCnt:c,Comment:t100,NewSCnt:c,DelSCnt:c,"
    "EditSCnt:c,WillCnt:c,OkCnt:c,NoCnt:c,NewCnt:c,DelCnt:c,EditCnt:c,BackCode:t8,TxNewSCnt:c,TxDelSCnt:c,"
    "TxEditSCnt:c,EtcH:t16,EtcE:t19,EtcH80:t16,EtcE80:t7,SendName:t6,RecvName:t6,BCode:t10";
const char* kCmsSubCols =
    "CMSId:i!,ID:i!,BankID:t2=은행코드,BankNo:t20=계좌번호,CodeF:t4=신청구분,CodeD:t4=거래구분,"
    "AutoDate:t2=자동이체일,ChyCode:t6=처리점코드,TrsDate:d=신청일자,CodeG:t4,CodeH:t4,Jumin:t24=주민등록번호,"
    "ExName:t14=예금주명,State:s,GuBunJa:t16=구분자,RecvDate:d=수신일자,NapbuNo:t24=납부자번호,EtcD:t19,EtcD80:t2";
const char* kRecvCols =
    "ID:i!,CodeA:t4,CorCode:t10,BankID:t2,TrsDate:d,WSDate:d,WEDate:d,WTime:d,ReTrs:t1,VANCODE:t7,RecNo:c,RcvNo:c,"
    "RcvWon:m,InNo:c,InWon:m,OkInNo:c,OkInWon:m,JanWon:m,OutNo:c,OutWon:m,InXNo:c,InXWon:m,OutXNo:c,OutXWon:m,"
    "EtcH:t46,EtcE:t10,EtcH80:t32";
const char* kRecvSubCols =
    "RecvID:i,ID:i!,BankID:t2=은행코드,BankNo:t20=계좌번호,ExDate:d=거래일자,ExName:t8=거래인,CodeJ:t4,CodeD:t4,"
    "ExWon:m=거래금액,ExJanWon:m=거래후잔액,LocalBank:t6=거래지점,CodeK:t4,InNo:t18=입금인번호,InName:t10=입금인,"
    "TaWon:m=타점금액합계,EtcD:t2";
const char* kNoteCols =
    "ID:i!,CodeA:t4,CorCode:t10,BankID:t2,WDate:d,WsDate:d,WeDate:d,VANCODE:t7,RecNo:c,RcvNo:c,RcvWon:m,OKNo:c,"
    "OKWon:m,CanNo:c,BanNo:c,BunNo:c,JunNo:c,EtcH:t53,EtcE:t34,EtcH80:t39,EtcE80:t14";
const char* kNoteSubCols =
    "NoteID:i,ID:i!,BankID:t2=은행코드,BankNo:t20=계좌번호,ExDate:d=거래일자,NoteNo:t8=어음번호,PenWon:m=등록금액,"
    "NoteWon:m=어음금액,GgDate:d=지급일자,NoteJong:t2=어음종류,CodeL:t4,ChDate:d=처리일자,ChNo:t6=처리통번,CodeM:t4,"
    "GBankID:t2=지급은행,GLBank:t8=지급점명,BalName:t14=발행인명,SuName:t14=수취인명,SuCode1:t8=수취인코드1,"
    "SuCode2:t8=수취인코드2,SuCode3:t8=수취인코드3,SuCode4:t8=수취인코드4,GupCode:t6=취급점코드,SsWon:m=추심수수료,"
    "EtcF:t14,EtcL:t15,EtcL80:t1";
const char* kTradeCols =
    "ID:i,KiGwanID:i,CorCode:t10,BankID:t2,Pass:t8,Gubun:t1,InfoDate:d,ProcDate:d,CorNo:t18,ContractNo:t15,"
    "RecvDate:d,State:s,TotCnt:c,TotWon:m,OkCnt:c,OkWon:m,FailCnt:c,FailWon:m,TxTotCnt:c,TxTotWon:m,SendName:t6,"
    "RecvName:t6,BCode:t10,Comment:t100";
const char* kTradeSubCols =
    "TradeID:i,ID:i,MainNo:t13=주사업자번호,SubNo:t13=부사업자번호,TaxNo:t18=세금계산서번호,TaxDate:d=발급일,"
    "TradeDate:d=구매매출일,TaxMoney:m=발급액,Money:m=대금지급금액,TranDate:d=대금결제일,GoodsName:t20=물품명,"
    "EtcInfo:t15=기타정보,State:s=상태,CodeH:t4=처리구분,Result:t69=처리내용,ProcNo:t12=실행번호,"
    "ProcMoney:m=실행금액,ProcLimitDate:d=실행기한,InBankNo:t18=입금계좌,Interest:m=이자금액,ExeDate:d";
const char* kTradeIcheCols =
    "ID:i,TradeID:i,CorCode:t10,CorNo:t18,ContractNo:t15,TotCnt:c,TotWon:m,ExeDate:d,Gubun:t1";
const char* kTradeIcheSubCols =
    "ID:i,TradeIcheID:i,ErrorCode:t4,OutBankNo:t11,OutWon:m,Commission:m,InWon:m,InBanKNo:t11,GumaeNo:t11,"
    "MainSaupNo:t10,SubSaupNo:t10,EtcInfo:t20,GuBun:t8";
const char* kCTradeCols =
    "ID:i,KiGwanID:i,CorCode:t10,BankID:t2,Pass:t8,Gubun:t1,InfoDate:d,ProcDate:d,ContractNo:t18,CorNo:t15,"
    "RecvDate:d,State:s,TotCnt:c,TotWon:m,OkCnt:c,OkWon:m,FailCnt:c,FailWon:m,TxtTotCnt:c,TxtTotWon:m,SendName:t6,"
    "RecvName:t6,Bcode:t10,Comment:t100,MoBankNo:t15";
const char* kCTradeSubCols =
    "CTradeID:i,ID:i,YSangNo:t14=외상채권번호,Gubun:t1=구분,YSangWon:m=외상채권금액,SaNo:t10=사업자번호,"
    "YSangBankNo:t12=외상채권계좌번호,EndDate:d=만기일자,ResultBankNo:t15=결제계좌번호,State:i,Dummy:t20,"
    "Bigo:t50,Result:t4=처리결과";
const char* kCHBTradeSubCols =
    "CHBTradeID:i,ID:i,MainNo:t13,SubNo:t13,TaxNo:t18,TaxGubun:t1,TaxDt:d,TaxMoney:m,GoodsName:t30,RfndFDt:d,"
    "RfndTDt:d,RfndPrice:m,DaeChulBNo:t18,DaeChulPrice:m,DaeChulLstDt:d,JiGubBNo:t18,SungIn:t1,NotCode:t2,"
    "NotRslt:t26,State:s,CodeH:t4,Result:t69,TranDt:d";
const char* kPurchaseCols =
    "ID:i,Gubun:t1,KigwanID:i,CorCode:t10,BankID:t2,MoBankNo:t20,Pass:t8,InfoDate:d,ProcDate:d,RecvDate:d,TotCnt:c,"
    "TotWon:m,OKCnt:c,OKWon:m,FailCnt:c,FailWon:m,TxTotCnt:c,TxTotWon:m,SendName:t6,RecvName:t6,BCode:t10,"
    "Comment:t100,State:s";
const char* kPurchaseSubCols =
    "PurchaseID:i,Gubun:t1,ID:i,AllotTerm:i,SaupNo:t13,JoinNo:t16,Comp:t30,BankID:t2,BankNo:t14,Amt:m,IcheDate:d,"
    "SetDate:d,State:s,Result:t4,AppNo:i,JooruAmt:m,NJooruAmt:m,CMSCd:t16,LimitAmt:m,Comment:t20,ExcGbn:t8,"
    "CorpGbn:t3";
const char* kCoInfoCols =
    "SaupNo:t13,BankNo:t14,Comp:t30,Owner:t16,ZipCD:i,Addr:t50,Tel:t12,BankID:t2,Depositor:t16,JoinNo:t16,"
    "SendDate:d,WorkDate:d";

std::vector<TableDef> build() {
  std::vector<TableDef> v;

  TableDef codes = table("FBCodes", "BankID:t2,Kind:t1!,ID:t4!,Name:t40!");
  codes.order = L("BankID,Kind,ID");
  codes.primary = key(codes.name, codes.order);
  v.push_back(codes);

  TableDef codeP = table("CodeP", "ID:t1!,Name:t40");
  codeP.order = {QStringLiteral("ID")};
  codeP.primary = key(codeP.name, codeP.order);
  v.push_back(codeP);

  TableDef bank = table("BankCode",
                        "ID:t2!=은행코드,Name:t40!=은  행  명,Chk100:b,ChkJumin:b,ChkBankNo:b,MONEYLAW:b+,"
                        "JUMINCHECK:b+,SENDVERSION:t1+");
  bank.order = {QStringLiteral("ID")};
  bank.primary = key(bank.name, bank.order);
  for (Column& c : bank.columns)
    if (c.name == QLatin1String("SENDVERSION")) c.defaultValue = QStringLiteral("0");
  v.push_back(bank);

  TableDef kigwan = table("KiGwan",
                          "Part:t1!,KiGwanID:i!,KiGwanName:t20!=기  관  명,BankID:t2!,BankNo:t20=계 좌 번 호,"
                          "LocalBank:t6,CorCode:t10,Pass:t8,SendName:t6=송신명,RecvName:t6!=수신명,BCode:t10,"
                          "TREGISTERIN:t5+,TREGISTEROUT:t5+,REGISTER_SENDKIGWAN:t10+,AUTHSENDTYPE:t10+");
  kigwan.order = L("Part,KiGwanID");
  kigwan.primary = key(kigwan.name, kigwan.order);
  v.push_back(kigwan);

  v.push_back(table("KeyTable", "tblname:t255,keyval_next:i"));

  v.push_back(master("Trans", kTransCols));
  v.push_back(detail("TranSub", kTranSubCols, "Trans", "TransID", "ID", true));
  v.push_back(master("GBank", kGBankCols));
  v.push_back(detail("GBankSub", kTranSubCols, "GBank", "TransID", "ID", true));
  v.push_back(master("Cms", kCmsCols));
  v.push_back(detail("CmsSub", kCmsSubCols, "Cms", "CMSId", "ID", true));

  TableDef recv = table("Recv", kRecvCols);
  recv.order = {QStringLiteral("ID")};
  recv.indexes.push_back(Index{QStringLiteral("Ndx_ID"), recv.order, false, false});
  v.push_back(recv);
  v.push_back(detail("RecvSub", kRecvSubCols, "Recv", "RecvID", "ID", true));
  TableDef note = table("Note", kNoteCols);
  note.order = {QStringLiteral("ID")};
  note.indexes.push_back(Index{QStringLiteral("Ndx_ID"), note.order, false, false});
  v.push_back(note);
  v.push_back(detail("NoteSub", kNoteSubCols, "Note", "NoteID", "ID", true));

  v.push_back(master("Trade", kTradeCols));
  v.push_back(detail("TradeSub", kTradeSubCols, "Trade", "TradeID", "ID", false));
  TableDef iche = detail("TradeIche", kTradeIcheCols, "Trade", "TradeID", "ID", false);
  iche.indexes = {Index{QStringLiteral("Ndx_TradeID"), L("TradeID"), false, false}};
  v.push_back(iche);
  TableDef icheSub = detail("TradeIcheSub", kTradeIcheSubCols, "TradeIche", "TradeIcheID", "ID", false);
  icheSub.primary = key(icheSub.name, L("ID,TradeIcheID"));
  icheSub.indexes = {Index{QStringLiteral("Ndx_TradeIcheID"), L("TradeIcheID"), false, true},
                     Index{QStringLiteral("Ndx_Check"), L("GumaeNo,MainSaupNo,SubSaupNo,OutBankNo,InBanKNo"), false,
                           true}};
  v.push_back(icheSub);
  v.push_back(master("CTrade", kCTradeCols));
  v.push_back(detail("CTradeSub", kCTradeSubCols, "CTrade", "CTradeID", "ID", false));
  v.push_back(master("CHBTrade", kTradeCols));
  v.push_back(detail("CHBTradeSub", kCHBTradeSubCols, "CHBTrade", "CHBTradeID", "ID", false));

  TableDef purchase = table("Purchase", kPurchaseCols);
  purchase.order = L("ID,Gubun");
  purchase.primary = key(purchase.name, purchase.order);
  v.push_back(purchase);
  TableDef purchaseSub = detail("PurchaseSub", kPurchaseSubCols, "Purchase", "PurchaseID,Gubun", "ID,Gubun", false);
  v.push_back(purchaseSub);
  TableDef coInfo = table("CoInfo", kCoInfoCols);
  coInfo.order = L("SaupNo,BankNo");
  coInfo.indexes.push_back(Index{QStringLiteral("CoInfo_Order"), coInfo.order, false, false});
  v.push_back(coInfo);

  const std::pair<const char*, int> catches[] = {{"CatchTrs", 10},  {"CatchCms", 10},    {"CatchPrc", 16},
                                                 {"CatchTrade", 11}, {"CatchCTrade", 7}, {"CatchCHBTrade", 17}};
  for (const auto& [name, fields] : catches) {
    TableDef t;
    t.name = QString::fromLatin1(name);
    t.columns = parseColumns(catchColumns(fields).toUtf8().constData());
    t.order = {QStringLiteral("ID")};
    v.push_back(t);
  }

  QString convCols = QStringLiteral("NAME:t20!,LEN:i");
  for (int k = 1; k <= 10; ++k) convCols += QStringLiteral(",FIELD%1S:i,FIELD%1N:i").arg(k);
  TableDef conv = table("TongRegisterConv", convCols.toUtf8().constData());
  conv.order = {QStringLiteral("NAME")};
  conv.primary = key(conv.name, conv.order);
  conv.createdByStep = true;
  v.push_back(conv);

  TableDef tong = table("TongRegister",
                        "Giganid:t10!,Bankcd:t2!,Bankno:t16!,NapbuNO:t20!,Status:i,NAME:t20,Autoichedate:s,"
                        "BanksubCD:t3,RequestDate:dt,Senddate:dt,Receivedate:dt,ResultCD:i,CheckJumin:b,"
                        "JuminNO:t13,ResultYN:b,FileGubun:t2,DisplayBankno:t16+");
  tong.order = L("Giganid,Bankcd,Bankno,NapbuNO");
  tong.primary = key(tong.name, tong.order, QStringLiteral("TongRegister_PK"));
  tong.indexes = {Index{QStringLiteral("TongRegister_PK_IDX1"), L("Status,Bankcd,Bankno"), false, false},
                  Index{QStringLiteral("TongRegister_PK_IDX2"), L("Status,Senddate"), false, false}};
  tong.createdByStep = true;
  v.push_back(tong);

  TableDef authKey = table("EvidentialAuthKey", "SendId:t10!,AuthKey:t64!");
  authKey.order = {QStringLiteral("SendId")};
  authKey.primary = key(authKey.name, authKey.order, QStringLiteral("EvidentialAuthKey_PK"));
  authKey.createdByStep = true;
  v.push_back(authKey);

  TableDef evid = table("Evidential",
                        "BANKCD:t2!,CUSTNO:t10!,CMSSERIALNO:t20!,ACCTNO:t18!,AUTHTYPE:t1,AUTHFILE:t40,SENDDATE:t8,"
                        "SENDSTATE:t1");
  evid.order = L("BANKCD,CUSTNO,CMSSERIALNO");
  evid.primary = key(evid.name, evid.order, QStringLiteral("Evidential_PK"));
  evid.createdByStep = true;
  v.push_back(evid);

  TableDef sahoo = table("SahooMain",
                         "Sahooid:i!,CustNo:t20,SahooDate:t8,VanId:t30,BankCd:t2,SubCnt:t10,SahooState:t1,SendDate:t8");
  sahoo.order = {QStringLiteral("Sahooid")};
  sahoo.primary = key(sahoo.name, sahoo.order, QStringLiteral("SahooMain_PK"));
  sahoo.createdByStep = true;
  v.push_back(sahoo);

  TableDef sahooSub = table("SahooSub",
                            "SahooId:i!,SahooSeq:i!,SahooGubn:t1,SaupNo:t10,CustNo:t20,cmsserialno:t30,BankNo:t2,"
                            "AcctNo:t20,AuthDate:t8,AuthType:t1,AuthFile:t40,ReturnCode:t4");
  sahooSub.order = L("SahooId,SahooSeq");
  sahooSub.primary = key(sahooSub.name, sahooSub.order, QStringLiteral("SahooSub_PK"));
  sahooSub.createdByStep = true;
  v.push_back(sahooSub);

  return v;
}

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QString columnList(const QStringList& cols, bool nocase) {
  QStringList parts;
  for (const QString& c : cols) parts << (nocase ? quoted(c) + QStringLiteral(" COLLATE NOCASE") : quoted(c));
  return parts.join(QStringLiteral(", "));
}

QString sqlLiteralDefault(const Column& c) {
  if (!c.defaultValue.isValid()) return {};
  if (c.type == ColType::Bool) return c.defaultValue.toBool() ? QStringLiteral("1") : QStringLiteral("0");
  if (c.type == ColType::Text) {
    QString v = c.defaultValue.toString();
    v.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
  }
  return QString::number(c.defaultValue.toLongLong());
}

QString columnDefinition(const Column& c) {
  QString def = quoted(c.name) + QLatin1Char(' ') + SqlType(c);
  if (c.type == ColType::AutoInc) return def + QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
  // Texts are never NULL, so comparisons with '' find the empty ones.
  QString dflt = c.type == ColType::Text && !c.defaultValue.isValid() ? QStringLiteral("''") : sqlLiteralDefault(c);
  if (!dflt.isEmpty()) def += QStringLiteral(" DEFAULT ") + dflt;
  return def;
}

}  // namespace

int TableDef::columnIndex(const QString& column) const {
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

const Column* TableDef::column(const QString& n) const {
  int i = columnIndex(n);
  return i < 0 ? nullptr : &columns[i];
}

const std::vector<TableDef>& Catalogue() {
  static const std::vector<TableDef> catalogue = build();
  return catalogue;
}

std::vector<TableDef> PreConsentCatalogue() {
  std::vector<TableDef> out;
  for (const TableDef& t : Catalogue()) {
    if (t.createdByStep) continue;
    TableDef copy = t;
    copy.columns.clear();
    for (const Column& c : t.columns)
      if (!c.addedByStep) copy.columns.push_back(c);
    out.push_back(std::move(copy));
  }
  return out;
}

const TableDef* FindTableDef(const QString& name) {
  for (const TableDef& t : Catalogue())
    if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t;
  return nullptr;
}

QString SqlType(const Column& c) {
  switch (c.type) {
    case ColType::Text: return QStringLiteral("VARCHAR(%1)").arg(c.size);
    case ColType::Int32: return QStringLiteral("INTEGER");
    case ColType::Int16: return QStringLiteral("SMALLINT");
    case ColType::Money: return QStringLiteral("MONEY INTEGER");
    case ColType::Date: return QStringLiteral("DATE TEXT");
    case ColType::DateTime: return QStringLiteral("DATETIME TEXT");
    case ColType::Bool: return QStringLiteral("BOOLEAN");
    case ColType::AutoInc: return QStringLiteral("INTEGER");
  }
  return {};
}

QStringList CreateStatements(const TableDef& t) {
  QStringList defs;
  for (const Column& c : t.columns) {
    QString d = columnDefinition(c);
    if (c.required && c.type != ColType::AutoInc) d += QStringLiteral(" NOT NULL");
    defs << d;
  }
  QStringList out;
  out << QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(t.name), defs.join(QStringLiteral(", ")));
  if (!t.primary.columns.isEmpty())
    out << QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
               .arg(quoted(t.primary.name), quoted(t.name), columnList(t.primary.columns, false));
  for (const Index& ix : t.indexes)
    out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
               .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), quoted(PhysicalIndexName(t, ix)), quoted(t.name),
                    columnList(ix.columns, ix.caseInsensitive));
  return out;
}

QString PhysicalIndexName(const TableDef& t, const Index& ix) {
  for (const TableDef& other : Catalogue()) {
    if (other.name.compare(t.name, Qt::CaseInsensitive) == 0) continue;
    for (const Index& o : other.indexes)
      if (o.name.compare(ix.name, Qt::CaseInsensitive) == 0) return t.name + QLatin1Char('_') + ix.name;
  }
  return ix.name;
}

QString AddColumnStatement(const QString& tableName, const Column& c) {
  return QStringLiteral("ALTER TABLE %1 ADD %2").arg(quoted(tableName), columnDefinition(c));
}

bool TableExists(const QSqlDatabase& db, const QString& tableName) {
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
  q.addBindValue(tableName);
  if (!q.exec()) throw DbError(DbError::Engine, q.lastError().text());
  return q.next();
}

bool ColumnExists(const QSqlDatabase& db, const QString& tableName, const QString& column) {
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT 1 FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE"));
  q.addBindValue(tableName);
  q.addBindValue(column);
  if (!q.exec()) throw DbError(DbError::Engine, q.lastError().text());
  return q.next();
}

QStringList CreateMissingTables(QSqlDatabase& db, const std::vector<TableDef>& catalogue) {
  QStringList created;
  for (const TableDef& t : catalogue) {
    if (TableExists(db, t.name)) continue;
    if (!db.transaction()) throw DbError(DbError::Engine, db.lastError().text());
    QSqlQuery q(db);
    for (const QString& sql : CreateStatements(t)) {
      if (!q.exec(sql)) {
        QString err = q.lastError().text();
        db.rollback();
        throw DbError(DbError::Engine, t.name + QStringLiteral(": ") + err);
      }
    }
    if (!db.commit()) throw DbError(DbError::Engine, db.lastError().text());
    created << t.name;
  }
  return created;
}

namespace {
// The CP949 length without encoding for the common case: ASCII and the
// Hangul syllables, which CP949 holds in two bytes each.
int fastByteLength(const QString& text) {
  int n = 0;
  for (QChar ch : text) {
    char16_t u = ch.unicode();
    if (u < 0x80)
      n += 1;
    else if (u >= 0xAC00 && u <= 0xD7A3)
      n += 2;
    else
      return cp949::byteLength(text);
  }
  return n;
}
}  // namespace

QString CutToBytes(const QString& text, int n) {
  if (n <= 0) return text;
  int len = fastByteLength(text);
  if (len <= n) return text;
  // Walk characters rather than bytes: a character that CP949 cannot hold
  // still counts one byte, as it is written as '?'.
  int bytes = 0;
  int i = 0;
  while (i < text.size()) {
    int w = text.at(i).unicode() < 0x80 ? 1 : cp949::byteLength(text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1));
    if (bytes + w > n) break;
    bytes += w;
    i += text.at(i).isHighSurrogate() ? 2 : 1;
  }
  return text.left(i);
}

namespace {

int digits(QStringView s, int from, int n) {
  int v = 0;
  for (int i = from; i < from + n; ++i) {
    char16_t c = s[i].unicode();
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

bool parseDate(const QString& s, QDate& d) {
  if (s.size() == 10 && s[4] == QLatin1Char('-') && s[7] == QLatin1Char('-')) {
    int y = digits(s, 0, 4), m = digits(s, 5, 2), day = digits(s, 8, 2);
    d = y < 0 || m < 0 || day < 0 ? QDate() : QDate(y, m, day);
    return d.isValid();
  }
  QString t = s.trimmed();
  if (t.size() >= 10 && t.at(4) == QLatin1Char('-')) {
    d = QDate(t.mid(0, 4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt());
  } else if (t.size() == 8) {
    d = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
  } else {
    d = QDate();
  }
  return d.isValid();
}

QString dateText(const QDate& d) {
  int y = d.year(), m = d.month(), day = d.day();
  QChar buf[10] = {QChar(u'0' + y / 1000 % 10), QChar(u'0' + y / 100 % 10), QChar(u'0' + y / 10 % 10),
                   QChar(u'0' + y % 10),        QChar(u'-'),               QChar(u'0' + m / 10),
                   QChar(u'0' + m % 10),        QChar(u'-'),               QChar(u'0' + day / 10),
                   QChar(u'0' + day % 10)};
  return QString(buf, 10);
}

bool isEmptyValue(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return true;
  if (v.typeId() == QMetaType::QString) return v.toString().trimmed().isEmpty();
  return false;
}

[[noreturn]] void bad(const Column& c, const QVariant& v) {
  throw DbError(DbError::BadValue, QStringLiteral("%1: %2").arg(c.name, v.toString()));
}

}  // namespace

QVariant ToStored(const Column& c, const QVariant& value) {
  if (c.type == ColType::Text) {
    if (!value.isValid() || value.isNull()) return QString(QLatin1String(""));
    QString s = value.toString();
    int end = static_cast<int>(s.size());
    while (end > 0 && s.at(end - 1) == QLatin1Char(' ')) --end;
    s.truncate(end);
    s = CutToBytes(s, c.size);
    end = static_cast<int>(s.size());
    while (end > 0 && s.at(end - 1) == QLatin1Char(' ')) --end;
    s.truncate(end);
    return s.isNull() ? QString(QLatin1String("")) : s;
  }
  if (isEmptyValue(value)) return QVariant();
  bool ok = true;
  switch (c.type) {
    case ColType::Int32:
    case ColType::AutoInc: {
      qlonglong n = value.typeId() == QMetaType::QString ? value.toString().trimmed().toLongLong(&ok)
                                                         : value.toLongLong(&ok);
      if (!ok || n < INT32_MIN || n > INT32_MAX) bad(c, value);
      return n;
    }
    case ColType::Int16: {
      qlonglong n = value.typeId() == QMetaType::QString ? value.toString().trimmed().toLongLong(&ok)
                                                         : value.toLongLong(&ok);
      if (!ok || n < INT16_MIN || n > INT16_MAX) bad(c, value);
      return n;
    }
    case ColType::Money: {
      if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return static_cast<qlonglong>(std::llround(value.toDouble()));
      qlonglong n = value.typeId() == QMetaType::QString
                        ? value.toString().trimmed().remove(QLatin1Char(',')).toLongLong(&ok)
                        : value.toLongLong(&ok);
      if (!ok) bad(c, value);
      return n;
    }
    case ColType::Bool: {
      if (value.typeId() == QMetaType::QString) {
        QString s = value.toString().trimmed().toUpper();
        if (s == QLatin1String("TRUE") || s == QLatin1String("1")) return 1;
        if (s == QLatin1String("FALSE") || s == QLatin1String("0")) return 0;
        bad(c, value);
      }
      return value.toBool() ? 1 : 0;
    }
    case ColType::Date: {
      if (value.typeId() == QMetaType::QDate) {
        if (!value.toDate().isValid()) return QVariant();
        return dateText(value.toDate());
      }
      if (value.typeId() == QMetaType::QDateTime) return dateText(value.toDateTime().date());
      QDate d;
      if (!parseDate(value.toString(), d)) bad(c, value);
      return dateText(d);
    }
    case ColType::DateTime: {
      QDateTime dt;
      if (value.typeId() == QMetaType::QDateTime)
        dt = value.toDateTime();
      else if (value.typeId() == QMetaType::QDate)
        dt = QDateTime(value.toDate(), QTime(0, 0));
      else {
        QString s = value.toString().trimmed();
        dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dt.isValid()) {
          QDate d;
          if (parseDate(s, d)) dt = QDateTime(d, QTime(0, 0));
        }
      }
      if (!dt.isValid()) bad(c, value);
      return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case ColType::Text: break;
  }
  return value;
}

QVariant FromStored(const Column& c, const QVariant& stored) {
  if (c.type == ColType::Text) {
    if (stored.isNull()) return QString();
    return stored.toString();
  }
  if (!stored.isValid() || stored.isNull()) return QVariant();
  switch (c.type) {
    case ColType::Int32:
    case ColType::Int16:
    case ColType::AutoInc: return stored.toInt();
    case ColType::Money: return stored.toLongLong();
    case ColType::Bool: {
      if (stored.typeId() == QMetaType::QString) {
        QString s = stored.toString().toUpper();
        return s == QLatin1String("TRUE") || s == QLatin1String("1");
      }
      return stored.toLongLong() != 0;
    }
    case ColType::Date: {
      QDate d;
      if (parseDate(stored.toString(), d)) return d;
      return QVariant();
    }
    case ColType::DateTime: {
      QString s = stored.toString();
      QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
      if (!dt.isValid()) {
        QDate d;
        if (parseDate(s, d)) dt = QDateTime(d, QTime(0, 0));
      }
      return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case ColType::Text: break;
  }
  return stored;
}

}  // namespace orvan
