#include "send/nehead.h"

namespace orvan {

const RecordLayout& NeHeadLayout() {
  using N = Notation;
  static const RecordLayout layout("NEHEAD", kNeHeadLength,
                                   {
                                       {1, 10, N::Literal, "<<NEHEAD>>"},
                                       {11, 1, N::Literal, "1"},
                                       {12, 1, N::Literal, "N"},
                                       {13, 10, N::Number, "BlockLength", "블록 길이"},
                                       {23, 10, N::Blanks},
                                       {33, 10, N::A, "LoginID"},
                                       {43, 6, N::A, "SendName"},
                                       {49, 3, N::Literal, "001"},
                                       {52, 10, N::A, "BCode"},
                                   });
  return layout;
}

qint64 NeHeadBlockLength(int recordLength, int records) { return qint64(records) * (recordLength + 2); }

bool AppendNeHead(QByteArray& out, const QString& loginId, const QString& sendName, const QString& bCode,
                  qint64 blockLength, FormatFault* fault) {
  const QVariantHash values{{QStringLiteral("BlockLength"), blockLength},
                            {QStringLiteral("LoginID"), loginId},
                            {QStringLiteral("SendName"), sendName},
                            {QStringLiteral("BCode"), bCode}};
  if (!FormatRecord(NeHeadLayout(), values, out, fault)) return false;
  out.append("\r\n");
  return true;
}

}  // namespace orvan
