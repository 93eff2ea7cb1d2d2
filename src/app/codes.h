#pragma once
// Code lookups over the sorted code lists, the field validator of imported
// consent rows and the fixed-width file splitter.
#include <QString>
#include <QStringList>

namespace orvan {

// Looks the code up in the sorted list, putting "0" in front while it is not
// found and at most 10 bytes long; the found code replaces the input.
bool FindCorCode(QString& code, const QStringList& sortedCorCodes);
bool ContainsSorted(const QStringList& sorted, const QString& value);

// ValidateImportField with the lists it checks against and the current bank
// (the code last accepted as kind 2).
class ImportFieldValidator {
 public:
  enum Kind {
    Name = 0, InstitutionCode, BankCode, AccountNo, PayerNo, RealNameNo,
    ApplicationDate, WithdrawalDay, BranchCode, RealNameCheck
  };
  ImportFieldValidator(const QStringList& sortedCorCodes, const QStringList& sortedBankIds)
      : corCodes_(sortedCorCodes), bankIds_(sortedBankIds) {}
  // `out` receives the trimmed text, normalised when accepted.
  bool validate(bool skip, int kind, const QString& text, QString& out);
  const QString& currentBank() const { return currentBank_; }

 private:
  const QStringList& corCodes_;
  const QStringList& bankIds_;
  QString currentBank_;
};

// A grid of texts; row 0 is the header row.
struct StringGrid {
  QList<QStringList> rows;
  int rowCount() const { return static_cast<int>(rows.size()); }
  QString cell(int row, int col) const {
    return row < rows.size() && col < rows[row].size() ? rows[row][col] : QString();
  }
};

// Splits a fixed-width file by the layout grid (caption, start byte, length
// per row after the header) into the target grid; mode 2 uses only fields
// with a start and a length.
bool LoadFixedWidthIntoGrid(int mode, const QString& path, const StringGrid& layout, StringGrid& target);

}  // namespace orvan
