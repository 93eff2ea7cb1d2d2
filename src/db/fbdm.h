#pragma once
// TFbDM, the data module: the one object through which the program holds
// its database. It owns the two connections on Orvan.db, one table object
// per table, the schema steps that bring an older database up to date, the
// display fields computed per row, the code lookups, the consent checks and
// the step that records a successful send.
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "db/keygen.h"
#include "db/table.h"

namespace orvan {

// The combo box FillCodeBox fills: names shown, codes as values.
class CodeBox {
 public:
  virtual ~CodeBox() = default;
  virtual void clearItems() = 0;
  virtual void addItem(const QString& name, const QString& value) = 0;
  virtual void setValueMode(bool on) = 0;
  virtual int itemCount() const = 0;
};

// Batch and line State texts, and consent Status texts.
QString StateText(int state);  // empty for a value without a text
QString ConsentText(int status);  // "미등록" for a value without a text

class TFbDM : public QObject {
  Q_OBJECT

 public:
  static const QString kAlias;        // "OrvanExeDB"
  static const QString kUpdateAlias;  // "OrvanExeDB_Update"
  static const QString kDatabaseFile;  // "Orvan.db"

  // Opens the database in the data directory (created empty when missing)
  // and ensures the key table.
  explicit TFbDM(const QString& dataDir, QObject* parent = nullptr);
  ~TFbDM() override;

  QSqlDatabase db() const;        // OrvanDB
  QSqlDatabase updateDb() const;  // OrvanDB_Update
  const QString& dataDir() const { return dataDir_; }
  QString databasePath() const;
  TKeyGen& keyGen() { return *keyGen_; }

  // Closes both connections and opens them on the directory.
  void OpenDatabaseAt(const QString& directory);
  // Closes every table object and both connections (backup, restore).
  void CloseDatabase();

  // The tables missing from the database are created; the reference tables
  // among them get the delivered banks, work kinds and codes.
  bool CreateMissingTables();

  // Schema steps, each on the update connection, in the order of
  // SchemaStepNames(). Steps that change something say so in schemaLog().
  bool CreateTongRegister();
  bool CreateTongRegisterConv();
  bool AddBankCodeColumns();
  bool AddKiGwanConsentColumns();
  bool AddDisplayBankno();
  bool CreateEvidentialAuthKey();
  bool AddAuthSendType();
  bool CreateEvidential();
  bool CreateSahooMain();
  bool CreateSahooSub();
  static const QStringList& SchemaStepNames();
  // Runs the steps in order, stopping at the first failure; returns the
  // name of the failed step, empty when all succeeded.
  QString RunSchemaSteps();
  bool EnsureBank45();
  const QStringList& schemaLog() const { return log_; }
  void clearSchemaLog() { log_.clear(); }

  bool ReopenAllTables();
  void FlushAllTables();
  void AttachCalcHandlers();
  bool ResetDataModule();
  bool MarkSent();

  // Lookups.
  QString CodeName(const QString& bankId, const QString& kind, const QString& code);
  int FillCodeBox(const QString& bankId, const QString& kind, CodeBox& combo);
  QString BankName(const QString& bankId);  // empty when unknown
  struct InstitutionBanks {
    bool bank202224 = false;
    bool bank21 = false;
    bool bank04 = false;
  };
  InstitutionBanks HasInstitutionOfBanks();
  int NextKey(const QString& table) { return keyGen_->NextKey(table); }
  int NextTradeIcheId();
  void ReloadInstitutionBankList();
  const QStringList& InstitutionBankList() const { return institutionBanks_; }
  QString BankOfInstitution(const QString& corCode) const;
  QString EvidenceTypeQuery(const QString& name, const QString& value);

  // Consent status of a fund-transfer line.
  QString ConsentStatusText(const QString& corCode, const QString& bankId, const QString& accountNo,
                            const QString& payerNo);
  void CheckUnconsentedLines();
  bool ConsentCheckApplies = false;
  bool ShowConsentStatus = false;
  QString ConsentWarning;
  std::array<int, 8> ConsentCounters{};
  void ResetConsentCounters() { ConsentCounters.fill(0); }
  static const QString kConsentWarningText;

  // Table objects, by table name (case-insensitive) or by their names.
  DbTable& table(const QString& name);
  const std::vector<std::unique_ptr<DbTable>>& tables() const { return tables_; }
  DbTable& tblCodes() { return table(QStringLiteral("FBCodes")); }
  DbTable& tblCodeP() { return table(QStringLiteral("CodeP")); }
  DbTable& tblBankCode() { return table(QStringLiteral("BankCode")); }
  DbTable& tblKiGwan() { return table(QStringLiteral("KiGwan")); }
  DbTable& tblGBank() { return table(QStringLiteral("GBank")); }
  DbTable& tblGBankSub() { return table(QStringLiteral("GBankSub")); }
  DbTable& tblTrans() { return table(QStringLiteral("Trans")); }
  DbTable& tblTranSub() { return table(QStringLiteral("TranSub")); }
  DbTable& tblCms() { return table(QStringLiteral("Cms")); }
  DbTable& tblCmsSub() { return table(QStringLiteral("CmsSub")); }
  DbTable& tblRecv() { return table(QStringLiteral("Recv")); }
  DbTable& tblRecvSub() { return table(QStringLiteral("RecvSub")); }
  DbTable& tblNote() { return table(QStringLiteral("Note")); }
  DbTable& tblNoteSub() { return table(QStringLiteral("NoteSub")); }
  DbTable& tblTrade() { return table(QStringLiteral("Trade")); }
  DbTable& tblTradeSub() { return table(QStringLiteral("TradeSub")); }
  DbTable& tblTradeIche() { return table(QStringLiteral("TradeIche")); }
  DbTable& tblTradeIcheSub() { return table(QStringLiteral("TradeIcheSub")); }
  DbTable& tblCTrade() { return table(QStringLiteral("CTrade")); }
  DbTable& tblCTradeSub() { return table(QStringLiteral("CTradeSub")); }
  DbTable& tblCHBTrade() { return table(QStringLiteral("CHBTrade")); }
  DbTable& tblCHBTradeSub() { return table(QStringLiteral("CHBTradeSub")); }
  DbTable& tblPurchase() { return table(QStringLiteral("Purchase")); }
  DbTable& tblPurchaseSub() { return table(QStringLiteral("PurchaseSub")); }
  DbTable& tblCoInfo() { return table(QStringLiteral("CoInfo")); }
  DbTable& Table1() { return *table1_; }  // a second cursor on BankCode

 private:
  struct Lookups;
  void openConnections();
  void closeConnections();
  void createTableObjects();
  bool createStep(const QString& table, const QStringList& extra = {});
  bool addColumns(const QString& table, const QStringList& columns, bool setExisting, bool swallowErrors);
  void note(const QString& text) { log_ << text; }
  Lookups& lookups();
  void attachLineConsentHook();

  QString dataDir_;
  std::unique_ptr<TKeyGen> keyGen_;
  std::vector<std::unique_ptr<DbTable>> tables_;
  QHash<QString, DbTable*> byName_;
  DbTable* table1_ = nullptr;
  QStringList institutionBanks_;
  QStringList log_;
  std::unique_ptr<Lookups> lookups_;
  std::unique_ptr<QSqlQuery> queryStatus_;
};

}  // namespace orvan
