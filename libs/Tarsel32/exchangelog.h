#pragma once
// The library's memory of its recent exchanges: which files went out and
// came in, and how each exchange ended. One JSON object per line in
// "Tarsel32.log" of the application folder, the newest last; the result
// lists are drawn from it.
#include <QDateTime>
#include <QList>
#include <QString>

namespace tarsel {

struct LoggedFile {
  enum Direction { Sent, Received, ReReceived };
  Direction direction = Sent;
  QString name;
  qint64 size = 0;
};

struct LoggedExchange {
  QDateTime time;
  QString operation;  // "송신", "수신", "송수신", "재수신"
  int result = 0;
  QString note;       // what went wrong, for the user
  QString backend;
  QList<LoggedFile> files;
};

class ExchangeLog {
 public:
  static constexpr int kKept = 100;

  explicit ExchangeLog(QString path);
  static QString DefaultPath(const QString& applicationDir);

  // Newest last; unreadable lines are skipped.
  QList<LoggedExchange> read() const;
  bool append(const LoggedExchange& exchange);

 private:
  QString path_;
};

QString DirectionText(LoggedFile::Direction d);

}  // namespace tarsel
