#include "exchangelog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>

namespace tarsel {

ExchangeLog::ExchangeLog(QString path) : path_(std::move(path)) {}

QString ExchangeLog::DefaultPath(const QString& applicationDir) { return applicationDir + QStringLiteral("Tarsel32.log"); }

QString DirectionText(LoggedFile::Direction d) {
  switch (d) {
    case LoggedFile::Sent: return QStringLiteral("송신");
    case LoggedFile::Received: return QStringLiteral("수신");
    default: return QStringLiteral("재수신");
  }
}

QList<LoggedExchange> ExchangeLog::read() const {
  QList<LoggedExchange> out;
  QFile f(path_);
  if (!f.open(QIODevice::ReadOnly)) return out;
  for (const QByteArray& line : f.readAll().split('\n')) {
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    if (o.isEmpty()) continue;
    LoggedExchange e;
    e.time = QDateTime::fromString(o.value(QLatin1String("time")).toString(), Qt::ISODateWithMs);
    e.operation = o.value(QLatin1String("operation")).toString();
    e.result = o.value(QLatin1String("result")).toInt();
    e.note = o.value(QLatin1String("note")).toString();
    e.backend = o.value(QLatin1String("backend")).toString();
    for (const QJsonValue& v : o.value(QLatin1String("files")).toArray()) {
      const QJsonObject fo = v.toObject();
      LoggedFile file;
      file.direction = static_cast<LoggedFile::Direction>(fo.value(QLatin1String("direction")).toInt());
      file.name = fo.value(QLatin1String("name")).toString();
      file.size = fo.value(QLatin1String("size")).toInteger();
      e.files << file;
    }
    out << e;
  }
  return out;
}

bool ExchangeLog::append(const LoggedExchange& e) {
  QLockFile lock(path_ + QStringLiteral(".lock"));
  lock.setStaleLockTime(10000);
  if (!lock.tryLock(5000)) return false;
  QList<QByteArray> lines;
  {
    QFile f(path_);
    if (f.open(QIODevice::ReadOnly))
      for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty()) lines << line;
  }
  QJsonArray files;
  for (const LoggedFile& file : e.files)
    files.append(QJsonObject{{QLatin1String("direction"), static_cast<int>(file.direction)},
                             {QLatin1String("name"), file.name},
                             {QLatin1String("size"), file.size}});
  const QJsonObject o{{QLatin1String("time"), e.time.toString(Qt::ISODateWithMs)},
                      {QLatin1String("operation"), e.operation},
                      {QLatin1String("result"), e.result},
                      {QLatin1String("note"), e.note},
                      {QLatin1String("backend"), e.backend},
                      {QLatin1String("files"), files}};
  lines << QJsonDocument(o).toJson(QJsonDocument::Compact);
  while (lines.size() > kKept) lines.removeFirst();
  QSaveFile out(path_);
  if (!out.open(QIODevice::WriteOnly)) return false;
  for (const QByteArray& line : lines) out.write(line + '\n');
  return out.commit();
}

}  // namespace tarsel
