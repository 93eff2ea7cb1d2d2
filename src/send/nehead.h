#pragma once
// The header line that opens every block of a send file: it tells the VAN
// operator how many bytes of records follow and whose they are.
#include <QByteArray>
#include <QString>

#include "send/recordlayout.h"

namespace orvan {

constexpr int kNeHeadLength = 61;

const RecordLayout& NeHeadLayout();

// Bytes of a block after its header: every record plus its CR LF.
qint64 NeHeadBlockLength(int recordLength, int records);

// Appends the header line and its CR LF; `out` is unchanged when the block
// length does not fit its field.
bool AppendNeHead(QByteArray& out, const QString& loginId, const QString& sendName, const QString& bCode,
                  qint64 blockLength, FormatFault* fault = nullptr);

}  // namespace orvan
