#pragma once
// Fixed-width and text operations on CP949 byte strings, with which every
// send record is written and every received record is read.
//
//   A(n)  FitText(t, n, true)    AR(n) FitText(t, n, false)
//   N(n)  PadZero(t, n, false)   NL(n) PadZero(t, n, true)
#include <QByteArray>
#include <QString>

namespace orvan {

// First n bytes of a longer text (which may split a character), otherwise the
// text filled with blanks on the right (leftAlign) or the left.
QByteArray PadText(const QByteArray& text, int n, bool leftAlign);
// The same with "0" as the fill byte.
QByteArray PadZero(const QByteArray& text, int n, bool leftAlign);
// PadText that never splits a character: a longer text is cut at the last
// whole character within n bytes and the cut byte becomes a blank.
QByteArray FitText(const QByteArray& text, int n, bool leftAlign);
// Appending forms for record builders.
void AppendPadText(QByteArray& out, const QByteArray& text, int n, bool leftAlign);
void AppendPadZero(QByteArray& out, const QByteArray& text, int n, bool leftAlign);
void AppendFitText(QByteArray& out, const QByteArray& text, int n, bool leftAlign);

QByteArray StripChar(const QByteArray& text, char c);
QByteArray StripShiftCodes(const QByteArray& text);  // bytes 14 and 15
QByteArray DigitsOnly(const QByteArray& text);
bool IsDigits(const QByteArray& text);
bool IsAlnum(const QByteArray& text);
bool HasDoubleByte(const QByteArray& text);
int DigitSum(const QByteArray& text);
QByteArray FormatBizNo(const QByteArray& text);

// A text ending in the lead byte of an unfinished character gets a blank
// in its place. Characters are found by reading from the start, since a
// trail byte may itself be an ASCII letter.
QByteArray CutSplitDoubleByte(const QByteArray& text);
// Shift-out, single-byte head and tail turned full width, shift-in.
QByteArray ToShiftedDoubleByte(const QByteArray& text);
// Every single byte turned full width, then cut to the input's length (even).
QByteArray ToFullWidth(const QByteArray& text);
// The full-width form of a printable ASCII byte; empty when there is none.
QByteArray FullWidthOf(char c);

// Text forms of the same operations, for callers holding database text.
inline QByteArray Bytes(const QString& s);
QString Text(const QByteArray& b);

// Bank families by two-character bank code.
bool IsBank202224(const QString& bank);
bool IsBank21(const QString& bank);
bool IsBank26(const QString& bank);
bool IsBank04(const QString& bank);
bool IsBank81(const QString& bank);
bool IsBank07(const QString& bank);
bool IsBank25(const QString& bank);
bool IsBank27(const QString& bank);
bool IsNacf(const QString& bank);  // "11", "12"
bool IsBank05(const QString& bank);
bool IsBank03(const QString& bank);
bool IsBank06(const QString& bank);
bool IsBank45(const QString& bank);

}  // namespace orvan

#include "platform/cp949.h"
inline QByteArray orvan::Bytes(const QString& s) { return cp949::encode(s); }
