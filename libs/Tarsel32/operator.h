#pragma once
// Where the library delivers and fetches files: the embedded mailbox (a
// folder per login ID standing in for the VAN operator) or a real
// operator's SFTP or FTPS server. Kept under the library's own key,
// "Software\<program key>\Tarsel32\Operator".
#include <QString>

namespace tarsel {

struct OperatorSettings {
  enum Backend { Mailbox, Sftp, Ftps };
  Backend backend = Mailbox;
  QString mailboxDir;     // root of the mailboxes; <root>/<LoginID>/...
  QString host;
  int port = 0;           // 0: the protocol's own (22, 21)
  QString remoteDir;      // the folder on the server that holds <LoginID>/...
  QString caFile;         // FTPS: certificates to trust besides the system's
  QString knownHosts;     // SFTP: known_hosts file; empty: ~/.ssh/known_hosts
  QString keyFile;        // SFTP: private key to log in with instead of the password
  int timeoutSeconds = 60;
};

QString OperatorKey(const QString& programKey);
OperatorSettings DefaultOperatorSettings(const QString& applicationDir);
OperatorSettings ReadOperatorSettings(const QString& programKey, const QString& applicationDir);
bool WriteOperatorSettings(const QString& programKey, const OperatorSettings& settings);
QString BackendName(OperatorSettings::Backend backend);  // "MAILBOX", "SFTP", "FTPS"

}  // namespace tarsel
