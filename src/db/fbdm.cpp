#include "db/fbdm.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

#include "app/fixedwidth.h"
#include "app/messages.h"
#include "db/accountno.h"
#include "db/schema.h"
#include "db/sqlstatement.h"
#include "db/seeds.h"

namespace orvan {

const QString TFbDM::kAlias = QStringLiteral("OrvanExeDB");
const QString TFbDM::kUpdateAlias = QStringLiteral("OrvanExeDB_Update");
const QString TFbDM::kDatabaseFile = QStringLiteral("Orvan.db");
const QString TFbDM::kConsentWarningText = QStringLiteral("출금동의 등록이 안된 데이타가 발견되었습니다");

namespace {

// The table objects in the order they open: masters before their details.
const char* const kTableObjects[] = {
    "FBCodes",  "CodeP",     "BankCode",    "KiGwan",      "GBank",     "GBankSub",     "Trans",
    "TranSub",  "Cms",       "CmsSub",      "Recv",        "RecvSub",   "Note",         "NoteSub",
    "Trade",    "TradeSub",  "TradeIche",   "TradeIcheSub", "CTrade",   "CTradeSub",    "CHBTrade",
    "CHBTradeSub", "Purchase", "PurchaseSub", "CoInfo",    "CatchTrs",  "CatchCms",     "CatchTrade",
    "CatchCTrade", "CatchCHBTrade", "CatchPrc"};

const char* const kSentTables[] = {"Trans", "TranSub", "Cms",      "CmsSub",      "Trade",    "TradeSub",
                                   "CTrade", "CTradeSub", "CHBTrade", "CHBTradeSub", "Purchase", "PurchaseSub"};

QSqlQuery exec(QSqlDatabase db, const QString& sql, const QVariantList& values = {}) {
  return ExecSql(std::move(db), sql, values);
}

QString rtrim(const QString& s) {
  int end = static_cast<int>(s.size());
  while (end > 0 && s.at(end - 1).isSpace()) --end;
  return end == s.size() ? s : s.left(end);
}

void setField(CalcRow& cr, const QString& name, const QVariant& v) {
  int i = cr.table.col(name) - cr.table.columnCount();
  if (i >= 0 && i < static_cast<int>(cr.fields.size())) cr.fields[i] = v;
}

// The bank a line's codes are looked up for: that of its batch.
QString masterBank(const DbTable& t, const CalcRow& cr) {
  for (const DbTable* m = t.master(); m; m = m->master())
    if (m->hasField(QStringLiteral("BankID")) && m->col(QStringLiteral("BankID")) < m->columnCount())
      return m->isOpen() ? m->text(QStringLiteral("BankID")) : QString();
  return cr.value(QStringLiteral("BankID")).toString();
}

void openConnection(const QString& alias, const QString& path) {
  QSqlDatabase db = QSqlDatabase::contains(alias) ? QSqlDatabase::database(alias, false)
                                                  : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), alias);
  if (db.isOpen()) db.close();
  db.setDatabaseName(path);
  db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
  if (!db.open()) throw DbError(DbError::Engine, path + QStringLiteral(": ") + db.lastError().text());
  // Committed posts survive a crash of the program; FlushAllTables moves
  // them into the database file itself.
  exec(db, QStringLiteral("PRAGMA journal_mode=WAL")).finish();
  exec(db, QStringLiteral("PRAGMA synchronous=NORMAL")).finish();
}

}  // namespace

QString StateText(int state) {
  switch (state) {
    case -1: return QStringLiteral("거래인없슴");
    case 0: return QStringLiteral("송신불가");
    case 1: return QStringLiteral("송신대기");
    case 2: return QStringLiteral("송신완료");
    case 3: return QStringLiteral("수신완료");
    case 4: return QStringLiteral("송신오류");
    default: return {};
  }
}

QString ConsentText(int status) {
  static const char* const texts[] = {"등록대기", "등록진행중", "등록완료", "등록오류",
                                      "해지대기", "해지진행중", "해지완료", "해지오류"};
  if (status < 0 || status > 7) return QStringLiteral("미등록");
  return QString::fromUtf8(texts[status]);
}

struct TFbDM::Lookups {
  quint64 globalGen = 0, codesGen = ~0ull, banksGen = ~0ull, kigwanGen = ~0ull, workGen = ~0ull;
  // bank -> kind -> code -> name, looked up without building keys.
  QHash<QString, QHash<QString, QHash<QString, QString>>> codes;
  const QString* code(const QString& bank, const QString& kind, const QString& id) const {
    auto b = codes.constFind(bank);
    if (b == codes.cend()) return nullptr;
    auto k = b->constFind(kind);
    if (k == b->cend()) return nullptr;
    auto c = k->constFind(id);
    return c == k->cend() ? nullptr : &*c;
  }
  QHash<QString, QString> banks;
  QHash<int, QString> kigwanNames;
  QHash<QString, QString> workKinds;
};

TFbDM::TFbDM(const QString& dataDir, QObject* parent) : QObject(parent), dataDir_(dataDir) {
  setObjectName(QStringLiteral("FbDM"));
  if (!dataDir_.isEmpty() && !dataDir_.endsWith(QLatin1Char('/'))) dataDir_ += QLatin1Char('/');
  lookups_ = std::make_unique<Lookups>();
  QDir().mkpath(dataDir_);
  openConnections();
  keyGen_ = std::make_unique<TKeyGen>(dataDir_, kAlias);
  QStringList seeded = keyGen_->EnsureKeyTable();
  if (keyGen_->keyTableCreated()) note(QStringLiteral("KeyTable 테이블 생성"));
  for (const QString& s : seeded) note(QStringLiteral("KeyTable %1 번호 시작값 %2").arg(s).arg(keyGen_->lastKey()));
  createTableObjects();
}

TFbDM::~TFbDM() {
  queryStatus_.reset();
  tables_.clear();
  table1_ = nullptr;
  byName_.clear();
  keyGen_.reset();
  closeConnections();
  QSqlDatabase::removeDatabase(kAlias);
  QSqlDatabase::removeDatabase(kUpdateAlias);
}

QSqlDatabase TFbDM::db() const { return QSqlDatabase::database(kAlias, false); }
QSqlDatabase TFbDM::updateDb() const { return QSqlDatabase::database(kUpdateAlias, false); }
QString TFbDM::databasePath() const { return dataDir_ + kDatabaseFile; }

void TFbDM::openConnections() {
  openConnection(kUpdateAlias, databasePath());
  openConnection(kAlias, databasePath());
}

void TFbDM::closeConnections() {
  queryStatus_.reset();
  if (QSqlDatabase::contains(kAlias)) QSqlDatabase::database(kAlias, false).close();
  if (QSqlDatabase::contains(kUpdateAlias)) QSqlDatabase::database(kUpdateAlias, false).close();
}

void TFbDM::createTableObjects() {
  for (const char* name : kTableObjects) {
    auto t = std::make_unique<DbTable>(kAlias, QString::fromLatin1(name), this);
    byName_.insert(t->tableName().toLower(), t.get());
    tables_.push_back(std::move(t));
  }
  auto t1 = std::make_unique<DbTable>(kAlias, QStringLiteral("BankCode"), this);
  t1->setObjectName(QStringLiteral("Table1"));
  table1_ = t1.get();
  tables_.push_back(std::move(t1));
  for (auto& t : tables_) {
    const TableDef* def = FindTableDef(t->tableName());
    if (def && !def->master.isEmpty() && t.get() != table1_) t->setMaster(byName_.value(def->master.toLower()));
  }
  attachLineConsentHook();
  // The code table shows bank names only while the bank table is open.
  tblBankCode().eventHook = [this](DbTable&, DbTable::Event e) {
    if (e == DbTable::AfterOpen || e == DbTable::AfterClose) tblCodes().invalidateDisplayFields();
  };
  AttachCalcHandlers();
}

DbTable& TFbDM::table(const QString& name) {
  DbTable* t = byName_.value(name.toLower());
  if (!t) throw DbError(DbError::Engine, QStringLiteral("no table object: ") + name);
  return *t;
}

void TFbDM::OpenDatabaseAt(const QString& directory) {
  CloseDatabase();
  dataDir_ = directory;
  if (!dataDir_.isEmpty() && !dataDir_.endsWith(QLatin1Char('/'))) dataDir_ += QLatin1Char('/');
  openConnections();
  DbTable::noteExternalWrite();
}

void TFbDM::CloseDatabase() {
  for (auto& t : tables_) t->close();
  closeConnections();
}

bool TFbDM::CreateMissingTables() {
  try {
    std::vector<TableDef> base;
    for (const TableDef& t : Catalogue())
      if (!t.createdByStep) base.push_back(t);
    QSqlDatabase udb = updateDb();
    QStringList created = orvan::CreateMissingTables(udb, base);
    for (const QString& name : created) note(name + QStringLiteral(" 테이블 생성"));
    DbTransaction tx(udb);
    if (created.contains(QStringLiteral("BankCode"))) {
      for (const BankSeed& b : DeliveredBanks())
        exec(udb,
             QStringLiteral("INSERT INTO BankCode (ID, Name, Chk100, ChkJumin, ChkBankNo, MONEYLAW, JUMINCHECK, "
                            "SENDVERSION) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
             {QString::fromUtf8(b.id), QString::fromUtf8(b.name), int(b.chk100), int(b.chkJumin), int(b.chkBankNo),
              int(b.moneyLaw), int(b.juminCheck), QString::fromUtf8(b.sendVersion)});
      note(QStringLiteral("BankCode 은행 %1개 입력").arg(DeliveredBanks().size()));
    }
    if (created.contains(QStringLiteral("CodeP"))) {
      for (const WorkKindSeed& w : DeliveredWorkKinds())
        exec(udb, QStringLiteral("INSERT INTO CodeP (ID, Name) VALUES (?, ?)"),
             {QString::fromUtf8(w.id), QString::fromUtf8(w.name)});
      note(QStringLiteral("CodeP 작업구분 %1개 입력").arg(DeliveredWorkKinds().size()));
    }
    if (created.contains(QStringLiteral("FBCodes"))) {
      for (const CodeSeed& c : DeliveredCodes())
        exec(udb, QStringLiteral("INSERT INTO FBCodes (BankID, Kind, ID, Name) VALUES (?, ?, ?, ?)"),
             {QString::fromUtf8(c.bankId), QString::fromUtf8(c.kind), QString::fromUtf8(c.id),
              QString::fromUtf8(c.name)});
      note(QStringLiteral("FBCodes 코드 %1개 입력").arg(DeliveredCodes().size()));
    }
    tx.commit();
    if (!created.isEmpty()) DbTable::noteExternalWrite();
    return true;
  } catch (const DbError& e) {
    note(QStringLiteral("오류: ") + e.text());
    return false;
  }
}

bool TFbDM::createStep(const QString& tableName, const QStringList& extra) {
  try {
    QSqlDatabase udb = updateDb();
    if (TableExists(udb, tableName)) return true;
    DbTransaction tx(udb);
    for (const QString& sql : CreateStatements(*FindTableDef(tableName))) exec(udb, sql);
    for (const QString& sql : extra) exec(udb, sql);
    tx.commit();
    note(tableName + QStringLiteral(" 테이블 생성"));
    DbTable::noteExternalWrite(tableName);
    return true;
  } catch (const DbError& e) {
    note(QStringLiteral("오류: ") + e.text());
    return false;
  }
}

bool TFbDM::addColumns(const QString& tableName, const QStringList& columns, bool setExisting, bool swallowErrors) {
  const TableDef* def = FindTableDef(tableName);
  bool ok = true;
  for (const QString& name : columns) {
    try {
      QSqlDatabase udb = updateDb();
      if (ColumnExists(udb, tableName, name)) continue;
      const Column* c = def->column(name);
      DbTransaction tx(udb);
      exec(udb, AddColumnStatement(def->name, *c));
      if (setExisting)
        exec(udb, QStringLiteral("UPDATE \"%1\" SET \"%2\" = ?").arg(def->name, c->name), {ToStored(*c, c->defaultValue)});
      tx.commit();
      note(QStringLiteral("%1.%2 열 추가").arg(def->name, c->name));
      DbTable::noteExternalWrite(tableName);
    } catch (const DbError& e) {
      note(QStringLiteral("오류: ") + e.text());
      if (!swallowErrors) ok = false;
      if (!swallowErrors) break;
    }
  }
  return ok;
}

bool TFbDM::CreateTongRegister() { return createStep(QStringLiteral("TongRegister")); }

bool TFbDM::CreateTongRegisterConv() {
  QStringList values = {QStringLiteral("'출금동의'"), QStringLiteral("0")};
  for (int n : {1, 6, 8, 10, 18, 2, 25, 14, 39, 14, 53, 13, 66, 8, 74, 2, 88, 6, 94, 1}) values << QString::number(n);
  // Constants of the program, not values of the user: nothing to bind.
  return createStep(QStringLiteral("TongRegisterConv"),
                    {QStringLiteral("INSERT INTO TongRegisterConv VALUES(%1)").arg(values.join(QLatin1Char(',')))});
}

bool TFbDM::AddBankCodeColumns() {
  return addColumns(QStringLiteral("BANKCODE"),
                    {QStringLiteral("MONEYLAW"), QStringLiteral("JUMINCHECK"), QStringLiteral("SENDVERSION")}, true,
                    false);
}

bool TFbDM::AddKiGwanConsentColumns() {
  addColumns(QStringLiteral("KiGwan"),
             {QStringLiteral("TREGISTERIN"), QStringLiteral("TREGISTEROUT"), QStringLiteral("REGISTER_SENDKIGWAN")},
             false, true);
  return true;
}

bool TFbDM::AddDisplayBankno() {
  addColumns(QStringLiteral("TongRegister"), {QStringLiteral("DisplayBankno")}, true, true);
  return true;
}

bool TFbDM::CreateEvidentialAuthKey() { return createStep(QStringLiteral("EvidentialAuthKey")); }

bool TFbDM::AddAuthSendType() {
  addColumns(QStringLiteral("KiGwan"), {QStringLiteral("AUTHSENDTYPE")}, true, true);
  return true;
}

bool TFbDM::CreateEvidential() { return createStep(QStringLiteral("Evidential")); }
bool TFbDM::CreateSahooMain() { return createStep(QStringLiteral("SahooMain")); }
bool TFbDM::CreateSahooSub() { return createStep(QStringLiteral("SahooSub")); }

const QStringList& TFbDM::SchemaStepNames() {
  static const QStringList names = {
      QStringLiteral("CreateTongRegister"),      QStringLiteral("CreateTongRegisterConv"),
      QStringLiteral("AddBankCodeColumns"),      QStringLiteral("AddKiGwanConsentColumns"),
      QStringLiteral("AddDisplayBankno"),        QStringLiteral("CreateEvidentialAuthKey"),
      QStringLiteral("AddAuthSendType"),         QStringLiteral("CreateEvidential"),
      QStringLiteral("CreateSahooMain"),         QStringLiteral("CreateSahooSub")};
  return names;
}

QString TFbDM::RunSchemaSteps() {
  using Step = bool (TFbDM::*)();
  static const Step steps[] = {&TFbDM::CreateTongRegister,      &TFbDM::CreateTongRegisterConv,
                               &TFbDM::AddBankCodeColumns,      &TFbDM::AddKiGwanConsentColumns,
                               &TFbDM::AddDisplayBankno,        &TFbDM::CreateEvidentialAuthKey,
                               &TFbDM::AddAuthSendType,         &TFbDM::CreateEvidential,
                               &TFbDM::CreateSahooMain,         &TFbDM::CreateSahooSub};
  for (int i = 0; i < SchemaStepNames().size(); ++i)
    if (!(this->*steps[i])()) return SchemaStepNames()[i];
  return {};
}

bool TFbDM::EnsureBank45() {
  try {
    QSqlDatabase udb = updateDb();
    const QString bank = QStringLiteral("45");
    QSqlQuery q = exec(udb, QStringLiteral("SELECT count(*) AS cnt FROM BANKCODE WHERE ID = ?"), {bank});
    bool missing = q.next() && q.value(0).toInt() == 0;
    q.finish();
    if (missing) {
      exec(udb,
           QStringLiteral("INSERT INTO BANKCODE (ID, NAME, Chk100, ChkBankNo, MONEYLAW, JUMINCHECK, SENDVERSION) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?)"),
           {bank, QStringLiteral("새마을금고"), 1, 0, 0, 0, QStringLiteral("0")});
      note(QStringLiteral("BankCode 은행 45 새마을금고 추가"));
      DbTable::noteExternalWrite(QStringLiteral("BankCode"));
    }
    q = exec(udb, QStringLiteral("SELECT count(*) AS cnt FROM FBCodes WHERE BankID = ?"), {bank});
    missing = q.next() && q.value(0).toInt() == 0;
    q.finish();
    if (missing) {
      exec(udb, QStringLiteral("INSERT INTO FBCodes (BankID, Kind, ID, Name) VALUES (?, ?, ?, ?)"),
           {bank, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("수납대행")});
      note(QStringLiteral("FBCodes 은행 45 코드 A/B 수납대행 추가"));
      DbTable::noteExternalWrite(QStringLiteral("FBCodes"));
    }
    return true;
  } catch (const DbError& e) {
    note(QStringLiteral("오류: ") + e.text());
    return false;
  }
}

bool TFbDM::ReopenAllTables() {
  QString firstError;
  for (auto& t : tables_) t->close();
  queryStatus_.reset();
  try {
    QSqlDatabase main = db();
    main.close();
    openConnection(kAlias, databasePath());
  } catch (const DbError& e) {
    firstError = e.text();
  }
  if (firstError.isEmpty()) {
    for (auto& t : tables_) {
      if (t->tag != 0) continue;
      try {
        t->open();
      } catch (const DbError& e) {
        if (firstError.isEmpty()) firstError = e.text();
      }
    }
  }
  DbTable::noteExternalWrite();
  if (!firstError.isEmpty()) {
    ErrorBox(QStringLiteral("자료를 사용할수가 없습니다.\r\rPC를 재시작한 후 자료 재정리를 수행하여 주십시오.\r\r"
                            "자료 재정리후에도 정상적으로 실행되지 않으면 고객센터로 연락하여 주십시오.\r\r\r"
                            "오류내용 : \r") +
             firstError);
    return false;
  }
  return true;
}

void TFbDM::FlushAllTables() {
  // Every post is committed at once; the checkpoint moves the committed
  // pages from the log into Orvan.db, so a copy of the file is complete.
  for (const QString& alias : {kAlias, kUpdateAlias}) {
    QSqlDatabase d = QSqlDatabase::database(alias, false);
    if (!d.isOpen()) continue;
    QSqlQuery q(d);
    q.exec(QStringLiteral("PRAGMA wal_checkpoint(FULL)"));
  }
}

bool TFbDM::ResetDataModule() {
  bool ok = true;
  for (auto& t : tables_) {
    t->clearDataSourceHooks();
    try {
      bool wasFiltered = t->filtered() || !t->filter().isEmpty();
      t->clearFilter();
      if (t->isOpen() && !wasFiltered) t->refresh();
    } catch (const DbError&) {
      ok = false;
    }
  }
  return ok;
}

bool TFbDM::MarkSent() {
  QSqlDatabase d = db();
  bool ok = true;
  try {
    // One transaction: either every waiting row moves on or none does.
    DbTransaction tx(d);
    for (const char* t : kSentTables)
      exec(d, QStringLiteral("UPDATE %1 SET State = ? WHERE State = ?").arg(QString::fromLatin1(t)), {2, 1});
    exec(d, QStringLiteral("UPDATE TongRegister SET status = status + 1 WHERE Status IN (?, ?)"), {0, 4});
    exec(d, QStringLiteral("UPDATE Evidential SET sendstate = ? WHERE sendstate = ?"),
         {QStringLiteral("2"), QStringLiteral("1")});
    tx.commit();
  } catch (const DbError&) {
    ok = false;
  }
  DbTable::noteExternalWrite();
  if (!ok) WarnBox(QStringLiteral("송신상태를 기록할 수 없습니다."));
  ResetDataModule();
  return ok;
}

TFbDM::Lookups& TFbDM::lookups() {
  Lookups& l = *lookups_;
  // Nothing was written anywhere since the last look: every list is current.
  if (l.globalGen == DbTable::writeGeneration()) return l;
  l.globalGen = DbTable::writeGeneration();
  auto load = [this](quint64& stamp, const QString& tableName, auto&& fill) {
    quint64 now = DbTable::writeGeneration(tableName);
    if (stamp == now) return;
    try {
      if (TableExists(db(), tableName)) fill();
    } catch (const DbError&) {
      // Display fields never raise: a table that cannot be read finds nothing.
    }
    stamp = now;
  };
  load(l.codesGen, QStringLiteral("FBCodes"), [&] {
    l.codes.clear();
    QSqlQuery q = exec(db(), QStringLiteral("SELECT BankID, Kind, ID, Name FROM FBCodes"));
    while (q.next())
      l.codes[rtrim(q.value(0).toString())][rtrim(q.value(1).toString())].insert(rtrim(q.value(2).toString()),
                                                                                  q.value(3).toString());
  });
  load(l.banksGen, QStringLiteral("BankCode"), [&] {
    l.banks.clear();
    QSqlQuery q = exec(db(), QStringLiteral("SELECT ID, Name FROM BankCode"));
    while (q.next()) l.banks.insert(rtrim(q.value(0).toString()), q.value(1).toString());
  });
  load(l.kigwanGen, QStringLiteral("KiGwan"), [&] {
    l.kigwanNames.clear();
    QSqlQuery q = exec(db(), QStringLiteral("SELECT KiGwanID, KiGwanName FROM KiGwan ORDER BY Part, KiGwanID, rowid"));
    while (q.next()) {
      int id = q.value(0).toInt();
      if (!l.kigwanNames.contains(id)) l.kigwanNames.insert(id, q.value(1).toString());
    }
  });
  load(l.workGen, QStringLiteral("CodeP"), [&] {
    l.workKinds.clear();
    QSqlQuery q = exec(db(), QStringLiteral("SELECT ID, Name FROM CodeP"));
    while (q.next()) l.workKinds.insert(rtrim(q.value(0).toString()), q.value(1).toString());
  });
  return l;
}

QString TFbDM::CodeName(const QString& bankId, const QString& kind, const QString& code) {
  Lookups& l = lookups();
  const QString k = rtrim(kind), c = rtrim(code);
  if (const QString* name = l.code(rtrim(bankId), k, c)) return *name;
  if (const QString* name = l.code(QStringLiteral("00"), k, c)) return *name;
  return code;
}

QString TFbDM::BankName(const QString& bankId) { return lookups().banks.value(rtrim(bankId)); }

int TFbDM::FillCodeBox(const QString& bankId, const QString& kind, CodeBox& combo) {
  combo.clearItems();
  QString bank = bankId;
  QSqlQuery q = exec(db(), QStringLiteral("SELECT count(*) FROM FBCodes WHERE BankID = ? AND Kind = ?"), {bank, kind});
  if (!q.next() || q.value(0).toInt() == 0) bank = QStringLiteral("00");
  q.finish();
  q = exec(db(), QStringLiteral("SELECT Name, ID FROM FBCodes WHERE BankID = ? AND Kind = ? ORDER BY BankID, Kind, ID"),
           {bank, kind});
  int n = 0;
  while (q.next()) {
    combo.addItem(q.value(0).toString(), q.value(1).toString());
    ++n;
  }
  combo.setValueMode(true);
  return n;
}

TFbDM::InstitutionBanks TFbDM::HasInstitutionOfBanks() {
  auto any = [this](const QVariantList& banks) {
    QStringList marks;
    for (int i = 0; i < banks.size(); ++i) marks << QStringLiteral("?");
    QVariantList values = {QStringLiteral("1")};
    values << banks;
    QSqlQuery q = exec(db(),
                       QStringLiteral("SELECT 1 FROM KiGwan WHERE Part = ? AND BankID IN (%1) LIMIT 1")
                           .arg(marks.join(QLatin1Char(','))),
                       values);
    return q.next();
  };
  InstitutionBanks r;
  r.bank202224 = any({QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24")});
  r.bank21 = any({QStringLiteral("21")});
  r.bank04 = any({QStringLiteral("04")});
  return r;
}

int TFbDM::NextTradeIcheId() {
  QSqlQuery q = exec(db(), QStringLiteral("SELECT Max(ID) FROM TradeIche"));
  return (q.next() ? q.value(0).toInt() : 0) + 1;
}

void TFbDM::ReloadInstitutionBankList() {
  institutionBanks_.clear();
  QSqlQuery q = exec(db(), QStringLiteral("select corcode, bankid from kigwan "));
  while (q.next()) institutionBanks_ << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
}

QString TFbDM::BankOfInstitution(const QString& corCode) const {
  for (const QString& line : institutionBanks_) {
    int eq = line.indexOf(QLatin1Char('='));
    if (line.left(eq).compare(corCode, Qt::CaseInsensitive) == 0) return line.mid(eq + 1);
  }
  return {};
}

QString TFbDM::EvidenceTypeQuery(const QString& name, const QString& value) {
  if (name == QLatin1String("AuthType")) {
    QString type;
    if (value == QLatin1String("0"))
      type = QStringLiteral("제출");
    else if (value == QLatin1String("1"))
      type = QStringLiteral("일부면제");
    else if (value == QLatin1String("2"))
      type = QStringLiteral("면제");
    QSqlQuery q = exec(db(), QStringLiteral("select count(*) from KiGwan where AUTHSENDTYPE = ?"), {type});
    return QString::number(q.next() ? q.value(0).toInt() : 0);
  }
  QSqlQuery q = exec(db(), QStringLiteral("select AUTHSENDTYPE from KiGwan where CorCode = ? ORDER BY Part, KiGwanID"),
                     {value});
  return q.next() ? q.value(0).toString() : QString();
}

QString TFbDM::ConsentStatusText(const QString& corCode, const QString& bankId, const QString& accountNo,
                                 const QString& payerNo) {
  if (!queryStatus_) {
    queryStatus_ = std::make_unique<QSqlQuery>(db());
    queryStatus_->setForwardOnly(true);
    queryStatus_->prepare(
        QStringLiteral("SELECT Status FROM TONGREGISTER WHERE GIGANID = :GIGANID AND BANKCD = :BANKCD"
                       " AND BANKNO = :BANKNO AND NAPBUNO = :NAPBUNO"));
  }
  QSqlQuery& q = *queryStatus_;
  q.bindValue(QStringLiteral(":GIGANID"), corCode.trimmed());
  q.bindValue(QStringLiteral(":BANKCD"), bankId.trimmed());
  q.bindValue(QStringLiteral(":BANKNO"), QString(accountNo).remove(QLatin1Char('-')));
  q.bindValue(QStringLiteral(":NAPBUNO"), payerNo.trimmed());
  bool found = false;
  int status = -1;
  if (q.exec()) {
    while (q.next()) {
      found = true;
      status = q.value(0).isNull() ? -1 : q.value(0).toInt();
    }
  }
  q.finish();
  if (!found) {
    ConsentWarning = kConsentWarningText;
    return QStringLiteral("미등록");
  }
  if (status >= 0 && status <= 7) ++ConsentCounters[status];
  if (status != 2) ConsentWarning = kConsentWarningText;
  return ConsentText(status);
}

void TFbDM::CheckUnconsentedLines() {
  if (!ConsentCheckApplies) return;
  DbTable& lines = tblTranSub();
  if (lines.state() == DbTable::Edit || lines.state() == DbTable::Insert) return;
  DbTable& batch = tblTrans();
  if (!batch.isOpen() || batch.recNo() < 0) return;
  // Column by column: joined texts would let "1"+"23" match "12"+"3".
  QSqlQuery q = exec(db(),
                     QStringLiteral("SELECT 1 FROM TranSub s WHERE s.TransID = ? AND NOT EXISTS ("
                                    " SELECT 1 FROM TongRegister t WHERE t.status = 2 AND t.giganid = ?"
                                    " AND t.bankcd = s.BankId AND t.displaybankno = s.BankNo"
                                    " AND t.napbuno = s.NapbuNo) LIMIT 1"),
                     {batch.value(QStringLiteral("ID")), batch.text(QStringLiteral("CorCode"))});
  if (q.next()) ConsentWarning = kConsentWarningText;
}

void TFbDM::attachLineConsentHook() {
  tblTranSub().eventHook = [this](DbTable&, DbTable::Event e) {
    switch (e) {
      case DbTable::AfterOpen:
      case DbTable::AfterInsert:
      case DbTable::AfterEdit:
      case DbTable::AfterPost:
      case DbTable::AfterDelete:
        try {
          CheckUnconsentedLines();
        } catch (const DbError&) {
        }
        break;
      default: break;
    }
  };
}

void TFbDM::AttachCalcHandlers() {
  // The base rule, also run at the end of every handler.
  auto base = [this](CalcRow& cr) {
    if (cr.table.col(QStringLiteral("BankID")) >= 0 && cr.table.col(QStringLiteral("BankID")) < cr.table.columnCount())
      setField(cr, QStringLiteral("BankName"), BankName(cr.value(QStringLiteral("BankID")).toString()));
    int st = cr.table.col(QStringLiteral("State"));
    if (st >= 0 && st < cr.table.columnCount() && cr.value(st).isValid())
      setField(cr, QStringLiteral("Stat"), StateText(cr.value(st).toInt()));
  };
  auto kigwanName = [this](CalcRow& cr) {
    QVariant id = cr.value(QStringLiteral("KiGwanID"));
    setField(cr, QStringLiteral("KiGwanName"), id.isValid() ? lookups().kigwanNames.value(id.toInt()) : QString());
  };
  auto baseNames = [](DbTable& t, QStringList names) {
    const TableDef* def = FindTableDef(t.tableName());
    if (def && def->hasColumn(QStringLiteral("BankID")) && !names.contains(QStringLiteral("BankName")))
      names << QStringLiteral("BankName");
    if (def && def->hasColumn(QStringLiteral("State"))) names << QStringLiteral("Stat");
    return names;
  };

  for (const char* name : {"Trans", "Cms", "GBank"}) {
    DbTable& t = table(QString::fromLatin1(name));
    t.setCalcFields(baseNames(t, {QStringLiteral("AName"), QStringLiteral("BName"), QStringLiteral("KiGwanName")}),
                    [this, base, kigwanName](CalcRow& cr) {
                      QString bank = cr.value(QStringLiteral("BankID")).toString();
                      setField(cr, QStringLiteral("AName"),
                               CodeName(bank, QStringLiteral("A"), cr.value(QStringLiteral("CodeA")).toString()));
                      setField(cr, QStringLiteral("BName"),
                               CodeName(bank, QStringLiteral("B"), cr.value(QStringLiteral("CodeB")).toString()));
                      kigwanName(cr);
                      base(cr);
                    });
  }

  for (const char* name : {"TranSub", "CmsSub", "GBankSub"}) {
    DbTable& t = table(QString::fromLatin1(name));
    const TableDef* def = FindTableDef(t.tableName());
    QStringList names;
    bool hasF = def->hasColumn(QStringLiteral("CodeF"));
    bool isTransfer = t.tableName() == QLatin1String("TranSub");
    if (hasF) names << QStringLiteral("FName");
    names << QStringLiteral("GName") << QStringLiteral("HName") << QStringLiteral("DName");
    if (isTransfer) names << QStringLiteral("cStatus");
    t.setCalcFields(baseNames(t, names), [this, base, hasF, isTransfer](CalcRow& cr) {
      QString bank = masterBank(cr.table, cr);
      if (hasF)
        setField(cr, QStringLiteral("FName"),
                 CodeName(bank, QStringLiteral("F"), cr.value(QStringLiteral("CodeF")).toString()));
      setField(cr, QStringLiteral("GName"),
               CodeName(bank, QStringLiteral("G"), cr.value(QStringLiteral("CodeG")).toString()));
      setField(cr, QStringLiteral("HName"),
               CodeName(bank, QStringLiteral("H"), cr.value(QStringLiteral("CodeH")).toString()));
      setField(cr, QStringLiteral("DName"),
               CodeName(bank, QStringLiteral("D"), cr.value(QStringLiteral("CodeD")).toString()));
      if (isTransfer && ConsentCheckApplies && ShowConsentStatus) {
        const DbTable* batch = cr.table.master();
        QString corCode = batch && batch->isOpen() ? batch->text(QStringLiteral("CorCode")) : QString();
        try {
          setField(cr, QStringLiteral("cStatus"),
                   ConsentStatusText(corCode, cr.value(QStringLiteral("BankID")).toString(),
                                     cr.value(QStringLiteral("Bankno")).toString(),
                                     cr.value(QStringLiteral("NapbuNo")).toString().trimmed()));
        } catch (const DbError&) {
        }
      }
      base(cr);
    });
  }

  for (const char* name : {"Recv", "Note"}) {
    DbTable& t = table(QString::fromLatin1(name));
    t.setCalcFields(baseNames(t, {}), base);
  }

  tblRecvSub().setCalcFields(baseNames(tblRecvSub(), {QStringLiteral("JName"), QStringLiteral("DName"),
                                                      QStringLiteral("KName")}),
                             [this, base](CalcRow& cr) {
                               QString bank = masterBank(cr.table, cr);
                               for (const char* k : {"J", "D", "K"}) {
                                 QString kind = QString::fromLatin1(k);
                                 setField(cr, kind + QStringLiteral("Name"),
                                          CodeName(bank, kind, cr.value(QStringLiteral("Code") + kind).toString()));
                               }
                               base(cr);
                             });

  tblNoteSub().setCalcFields(
      {QStringLiteral("BankName"), QStringLiteral("GBankName"), QStringLiteral("LName"), QStringLiteral("MName")},
      [this](CalcRow& cr) {
        QString bank = masterBank(cr.table, cr);
        setField(cr, QStringLiteral("BankName"), BankName(cr.value(QStringLiteral("BankID")).toString()));
        setField(cr, QStringLiteral("GBankName"), BankName(cr.value(QStringLiteral("GBankID")).toString()));
        setField(cr, QStringLiteral("LName"),
                 CodeName(bank, QStringLiteral("L"), cr.value(QStringLiteral("CodeL")).toString()));
        setField(cr, QStringLiteral("MName"),
                 CodeName(bank, QStringLiteral("M"), cr.value(QStringLiteral("CodeM")).toString()));
      });

  auto bankCodeHandler = [](CalcRow& cr) {
    setField(cr, QStringLiteral("Chk100Text"),
             cr.value(QStringLiteral("Chk100")).toBool() ? QStringLiteral("100 바이트 포맷 적용")
                                                         : QStringLiteral("80 바이트 포맷 적용"));
    setField(cr, QStringLiteral("ChkJuminText"),
             cr.value(QStringLiteral("ChkJumin")).toBool() ? QStringLiteral("●") : QStringLiteral("×"));
    setField(cr, QStringLiteral("ChkBankNoText"),
             cr.value(QStringLiteral("ChkBankNo")).toBool() ? QStringLiteral("●") : QStringLiteral("×"));
  };
  const QStringList bankFields = {QStringLiteral("Chk100Text"), QStringLiteral("ChkJuminText"),
                                  QStringLiteral("ChkBankNoText")};
  tblBankCode().setCalcFields(bankFields, bankCodeHandler);
  Table1().setCalcFields(bankFields, bankCodeHandler);

  tblKiGwan().setCalcFields({QStringLiteral("BankName"), QStringLiteral("PartName")}, [this](CalcRow& cr) {
    setField(cr, QStringLiteral("BankName"), BankName(cr.value(QStringLiteral("BankID")).toString()));
    setField(cr, QStringLiteral("PartName"),
             lookups().workKinds.value(rtrim(cr.value(QStringLiteral("Part")).toString())));
  });

  tblCodes().setCalcFields({QStringLiteral("BankName")}, [this](CalcRow& cr) {
    if (!tblBankCode().isOpen()) return;
    QString bank = rtrim(cr.value(QStringLiteral("BankID")).toString());
    if (bank == QLatin1String("00")) {
      setField(cr, QStringLiteral("BankName"), QStringLiteral("모든은행"));
      return;
    }
    auto it = lookups().banks.constFind(bank);
    setField(cr, QStringLiteral("BankName"), it != lookups().banks.cend() ? *it : bank);
  });

  tblTrade().setCalcFields(baseNames(tblTrade(), {QStringLiteral("KiGwanName"), QStringLiteral("GubunName")}),
                           [base, kigwanName](CalcRow& cr) {
                             kigwanName(cr);
                             QString g = cr.value(QStringLiteral("Gubun")).toString().trimmed();
                             QString text = g == QLatin1String("1")   ? QStringLiteral("납품대금지급")
                                            : g == QLatin1String("2") ? QStringLiteral("수금(일괄)")
                                            : g == QLatin1String("3") ? QStringLiteral("외상매출수금")
                                                                      : QString();
                             setField(cr, QStringLiteral("GubunName"), text);
                             base(cr);
                           });

  auto hName = [this, base](CalcRow& cr) {
    setField(cr, QStringLiteral("HName"),
             CodeName(masterBank(cr.table, cr), QStringLiteral("H"), cr.value(QStringLiteral("CodeH")).toString()));
    base(cr);
  };
  for (const char* name : {"TradeSub", "TradeIcheSub", "CHBTradeSub"}) {
    DbTable& t = table(QString::fromLatin1(name));
    t.setCalcFields(baseNames(t, {QStringLiteral("HName")}), hName);
  }

  tblTradeIche().setCalcFields({QStringLiteral("GubunK")}, [](CalcRow& cr) {
    QString g = cr.value(QStringLiteral("GuBun")).toString().trimmed();
    if (g.isEmpty()) return;
    setField(cr, QStringLiteral("GubunK"),
             g == QLatin1String("2")   ? QStringLiteral("자금이체")
             : g == QLatin1String("3") ? QStringLiteral("상환")
                                       : QString());
  });

  for (const char* name : {"CTrade", "CHBTrade", "Purchase"}) {
    DbTable& t = table(QString::fromLatin1(name));
    t.setCalcFields(baseNames(t, {QStringLiteral("KiGwanName")}), [base, kigwanName](CalcRow& cr) {
      kigwanName(cr);
      base(cr);
    });
  }

  tblCTradeSub().setCalcFields(baseNames(tblCTradeSub(), {QStringLiteral("GubunName"), QStringLiteral("ResultName")}),
                               [this, base](CalcRow& cr) {
                                 QString g = cr.value(QStringLiteral("Gubun")).toString().trimmed();
                                 setField(cr, QStringLiteral("GubunName"),
                                          g == QLatin1String("1")   ? QStringLiteral("현금")
                                          : g == QLatin1String("2") ? QStringLiteral("어음")
                                                                    : QString());
                                 setField(cr, QStringLiteral("ResultName"),
                                          CodeName(QStringLiteral("21"), QStringLiteral("E"),
                                                   cr.value(QStringLiteral("Result")).toString()));
                                 base(cr);
                               });

  tblPurchaseSub().setCalcFields(baseNames(tblPurchaseSub(), {QStringLiteral("ResultName")}),
                                 [this, base](CalcRow& cr) {
                                   Lookups& l = lookups();
                                   const QString* name = l.code(QStringLiteral("21"), QStringLiteral("P"),
                                                                rtrim(cr.value(QStringLiteral("Result")).toString()));
                                   setField(cr, QStringLiteral("ResultName"), name ? *name : QString());
                                   base(cr);
                                 });

  tblCoInfo().setCalcFields({QStringLiteral("BankName")}, [this](CalcRow& cr) {
    setField(cr, QStringLiteral("BankName"), BankName(cr.value(QStringLiteral("BankID")).toString()));
  });

  auto bizNo = [](const DbTable&, int, const QVariant& v) { return Text(FormatBizNo(Bytes(v.toString()))); };
  tblPurchaseSub().setDisplayFunction(QStringLiteral("SaupNo"), bizNo);
  tblCoInfo().setDisplayFunction(QStringLiteral("SaupNo"), bizNo);
  // The account hyphenated for the row's bank; a number the library has no
  // form for is shown as stored rather than as nothing.
  auto account = [](const DbTable& t, int row, const QVariant& v) {
    QString stored = v.toString();
    if (stored.trimmed().isEmpty()) return stored;
    QString shown = HyphenateAccountNo(t.valueAt(row, QStringLiteral("BankID")).toString(), stored);
    return shown.isEmpty() ? stored : shown;
  };
  tblPurchaseSub().setDisplayFunction(QStringLiteral("BankNo"), account);
  tblCoInfo().setDisplayFunction(QStringLiteral("BankNo"), account);
}

}  // namespace orvan
