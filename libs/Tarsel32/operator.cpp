#include "operator.h"

#include "comm/ediconfig.h"
#include "platform/registry.h"

namespace tarsel {

using orvan::Registry;

QString OperatorKey(const QString& programKey) { return orvan::EdiLibraryKey(programKey) + QStringLiteral("\\Operator"); }

QString BackendName(OperatorSettings::Backend backend) {
  switch (backend) {
    case OperatorSettings::Sftp: return QStringLiteral("SFTP");
    case OperatorSettings::Ftps: return QStringLiteral("FTPS");
    default: return QStringLiteral("MAILBOX");
  }
}

OperatorSettings DefaultOperatorSettings(const QString& applicationDir) {
  OperatorSettings s;
  s.mailboxDir = applicationDir + QStringLiteral("Mailbox");
  return s;
}

OperatorSettings ReadOperatorSettings(const QString& programKey, const QString& applicationDir) {
  const Registry reg = Registry::user();
  const QString key = OperatorKey(programKey);
  OperatorSettings s = DefaultOperatorSettings(applicationDir);
  const QString backend = reg.readString(key, QStringLiteral("Backend")).value_or(QString()).trimmed().toUpper();
  if (backend == QLatin1String("SFTP")) s.backend = OperatorSettings::Sftp;
  if (backend == QLatin1String("FTPS")) s.backend = OperatorSettings::Ftps;
  if (auto v = reg.readString(key, QStringLiteral("MailboxDir")); v && !v->trimmed().isEmpty()) s.mailboxDir = v->trimmed();
  s.host = reg.readString(key, QStringLiteral("Host")).value_or(QString()).trimmed();
  s.port = reg.readInteger(key, QStringLiteral("Port")).value_or(0);
  s.remoteDir = reg.readString(key, QStringLiteral("RemoteDir")).value_or(QString()).trimmed();
  s.caFile = reg.readString(key, QStringLiteral("CaFile")).value_or(QString()).trimmed();
  s.knownHosts = reg.readString(key, QStringLiteral("KnownHosts")).value_or(QString()).trimmed();
  s.keyFile = reg.readString(key, QStringLiteral("KeyFile")).value_or(QString()).trimmed();
  if (auto t = reg.readInteger(key, QStringLiteral("Timeout")); t && *t > 0) s.timeoutSeconds = *t;
  return s;
}

bool WriteOperatorSettings(const QString& programKey, const OperatorSettings& s) {
  Registry reg = Registry::user();
  const QString key = OperatorKey(programKey);
  return reg.writeString(key, QStringLiteral("Backend"), BackendName(s.backend)) &&
         reg.writeString(key, QStringLiteral("MailboxDir"), s.mailboxDir) &&
         reg.writeString(key, QStringLiteral("Host"), s.host) && reg.writeInteger(key, QStringLiteral("Port"), s.port) &&
         reg.writeString(key, QStringLiteral("RemoteDir"), s.remoteDir) &&
         reg.writeString(key, QStringLiteral("CaFile"), s.caFile) &&
         reg.writeString(key, QStringLiteral("KnownHosts"), s.knownHosts) &&
         reg.writeString(key, QStringLiteral("KeyFile"), s.keyFile) &&
         reg.writeInteger(key, QStringLiteral("Timeout"), s.timeoutSeconds);
}

}  // namespace tarsel
