#pragma once
// The account-number services: validity and display form of an account
// number for a bank, answered by the Veritab library. Account numbers are
// stored and shown hyphenated, edited and written to send files without.
#include <QString>

namespace orvan {

// Whether the library accepts the number for the bank. Callers pass the
// number as they hold it (stored numbers are hyphenated).
bool IsAccountNoValid(const QString& bank, const QString& account);

// The bank's display form of the number. When the library has none (a length
// the bank does not use, junk), the number comes back as entered, trimmed, so
// storing the result never empties the account.
QString HyphenateAccountNo(const QString& bank, const QString& account);

// The number without "-", for editing and for send files.
QString StripHyphens(const QString& account);

}  // namespace orvan
