#pragma once
// Text, number and date conversions used by the readers and the editors.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

namespace orvan {

// Integer of the text with its trailing blanks cut; 0 when empty or not a number.
qint64 TextToInt(const QByteArray& text);
qint64 TextToInt(const QString& text);
// Whole won of the trimmed text, rounded to the nearest won; empty reads as 0,
// an invalid text gives 0.
qint64 TextToAmount(const QString& text);
// YYYYMMDD (eightDigits) or YYMMDD / MMDD from received files; 1990-01-01
// for an empty, non-numeric, zero or impossible date.
QDate ParseFileDate(const QByteArray& text, bool eightDigits);
// HHMMSS; 00:00:00 for an empty, non-numeric or impossible time.
QTime ParseFileTime(const QByteArray& text);
// Tomorrow, or the day after when tomorrow is a Sunday.
QDate NextWorkdayNoSunday();

// Money as shown in grids and reports: thousands separated by ",".
QString FormatMoney(qint64 won);

}  // namespace orvan
