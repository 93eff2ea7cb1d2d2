#pragma once
// Code page 949 at the file boundary. Text lives as QString (UTF-8) in memory
// and in the database; every file, record position and length counts CP949 bytes.
#include <QByteArray>
#include <QString>
#include <optional>

namespace orvan::cp949 {

// Characters CP949 cannot hold become '?'.
QByteArray encode(const QString& text);
// Invalid sequences become U+FFFD.
QString decode(const QByteArray& bytes);
// Empty when the bytes are not valid CP949.
std::optional<QString> decodeStrict(const QByteArray& bytes);
bool isValid(const QByteArray& bytes);

// Length of the text once encoded.
int byteLength(const QString& text);

inline bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Largest cut position <= n that does not split a double-byte character.
// Decided by walking from the start: a trail byte may be an ASCII letter.
int wholeCharPrefix(const QByteArray& bytes, int n);

}  // namespace orvan::cp949
