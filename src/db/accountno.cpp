#include "db/accountno.h"

#include <veritab.h>

#include <QByteArray>

#include "platform/cp949.h"

namespace orvan {

bool IsAccountNoValid(const QString& bank, const QString& account) {
  const QByteArray b = cp949::encode(bank);
  const QByteArray a = cp949::encode(account);
  return VeritabIsValid(b.constData(), a.constData()) != 0;
}

QString HyphenateAccountNo(const QString& bank, const QString& account) {
  const QByteArray b = cp949::encode(bank);
  const QByteArray a = cp949::encode(StripHyphens(account));
  char output[VERITAB_OUTPUT_SIZE] = {};
  const int32_t n = Hyphenate(b.constData(), a.constData(), output);
  // Read no further than the buffer, whatever length the library claims.
  output[VERITAB_OUTPUT_SIZE - 1] = '\0';
  const QString shown = n > 0 ? cp949::decode(QByteArray(output)).trimmed() : QString();
  return shown.isEmpty() ? account.trimmed() : shown;
}

QString StripHyphens(const QString& account) {
  QString out = account;
  out.remove(QLatin1Char('-'));
  return out;
}

}  // namespace orvan
