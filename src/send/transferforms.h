#pragma once
// The fund-transfer send forms: which form a batch's bank takes, and the
// block (header, start record, data records, end record) written for it.
// Works over plain rows so the send preparation can feed it from any table
// object and the result readers can reuse the record descriptions.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariantHash>
#include <vector>

#include "send/recordlayout.h"

namespace orvan {

enum class TransferForm {
  General100,  // Chk100 banks
  Savings100,  // Chk100 and bank 45
  General80,   // every bank without a form of its own
  Bank20,      // banks 20, 22, 24
  Bank04,
  Bank05,
  Bank81,
  Bank21,  // forms not written here yet: the batch is not sent
  Bank03,
  Bank07,
  Nacf,  // banks 11, 12
};

struct TransferFormInfo {
  TransferForm form;
  const char* name;
  int recordLength;
  bool built;  // false: WriteTransferBlock refuses the batch
};

// First match of: Chk100 and bank 45, Chk100, 20/22/24, 21, 04, 05, 81, 03, 07, 11/12, any other.
TransferForm SelectTransferForm(const QString& bankId, bool chk100);
const TransferFormInfo& InfoOf(TransferForm form);

// The record descriptions of a form. A form may have several data layouts;
// the first whose condition value is true for the line (or that has no
// condition) is used.
struct TransferDataLayout {
  const char* condition;  // key of a boolean line value, "" = always
  const RecordLayout* layout;
};
struct TransferLayouts {
  const RecordLayout* start = nullptr;
  std::vector<TransferDataLayout> data;
  const RecordLayout* end = nullptr;
};
// Empty (null start) for the forms that are not built.
const TransferLayouts& LayoutsOf(TransferForm form);
// Every description above, for the tiling check.
std::vector<const RecordLayout*> AllTransferLayouts();

// One batch as the preparation reads it. Rows are keyed by the column names
// of `Trans`, `TranSub` and `BankCode` (compared without regard to case);
// dates are QDate or 'YYYY-MM-DD' text, money whole won.
struct TransferBatch {
  QVariantHash master;                 // the Trans row
  QList<QVariantHash> lines;           // its ready TranSub rows; rows whose State is not 1 are skipped
  QVariantHash bank;                   // the BankCode row of master BankID: Chk100, ChkJumin, SENDVERSION
  QString loginId;                     // LoginID of the communication settings
  QHash<QString, QString> codeDNames;  // FBCodes kind "D" names by ID, for the bank 20 form
};

struct TransferBlockInfo {
  TransferForm form = TransferForm::General80;
  int count = 0;                       // data records written
  qint64 total = 0;                    // their amounts
  bool hasCollectionTransfer = false;  // CodeA "B"
  QString sendVersion;                 // the bank's SENDVERSION, for the send window
};

// Appends the NEHEAD line and the S, D..., E records, each with CR LF.
// A batch that cannot be written correctly (a form not built, a number too
// large for its field, no check value) leaves `out` unchanged, returns false
// and explains why in Korean, naming the batch.
bool WriteTransferBlock(const TransferBatch& batch, QByteArray& out, TransferBlockInfo* info, QString* error);

}  // namespace orvan
