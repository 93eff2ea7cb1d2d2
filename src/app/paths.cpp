#include "app/paths.h"

#include "platform/appdir.h"
#include "platform/clock.h"
#include "platform/cp949.h"
#include "platform/inifile.h"

#include <QDir>
#include <QFile>

namespace orvan {
namespace {
Paths g_paths;
StartupFlags g_flags;
const QString kGeneral = QStringLiteral("General");

QByteArray complement(const QByteArray& b) {
  QByteArray out = b;
  for (auto& c : out) c = static_cast<char>(255 - static_cast<unsigned char>(c));
  return out;
}

void moveOldIni() {
  const QString old = QDir::current().filePath(QStringLiteral("Data/Orvan.ini"));
  if (!QFile::exists(old) || QFileInfo(old).absoluteFilePath() == QFileInfo(g_paths.iniPath).absoluteFilePath())
    return;
  const QString password = ReadProgramPassword();
  QFile::remove(g_paths.iniPath);
  if (!QFile::copy(old, g_paths.iniPath)) return;  // the old file stays for the next start
  QFile::remove(old);
  WriteProgramPassword(password);
}
}  // namespace

QString Paths::logFile() const { return applicationDir + Today().toString(QStringLiteral("yyyyMM")) + QStringLiteral(".log"); }

const Paths& paths() { return g_paths; }
StartupFlags& flags() { return g_flags; }

void InitPaths(const QString& applicationDir, const QString& executableName) {
  Paths p;
  p.applicationDir = WithSeparator(applicationDir);
  p.executableName = executableName;
  p.dataDir = p.applicationDir + QStringLiteral("Data/");
  p.iniPath = p.applicationDir + executableName.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".ini");
  p.terminalProgram = p.applicationDir + QStringLiteral("Lunaris/Lunaris");
  p.terminalIni = p.applicationDir + QStringLiteral("Lunaris/Lunaris.ini");
  p.sendDir = p.applicationDir + QStringLiteral("Send/");
  p.recvDir = p.applicationDir + QStringLiteral("Recv/");
  p.resultDir = p.applicationDir + QStringLiteral("Result/");
  p.scriptDir = p.applicationDir + QStringLiteral("Script/");
  p.sendTempDir = p.applicationDir + QStringLiteral("SendTemp/");
  p.noticeFile = p.applicationDir + QStringLiteral("Result/Notice.inf");
  g_paths = p;
  moveOldIni();
  g_flags = StartupFlags{};
  g_flags.radezuName = ReadIniSwitch(QStringLiteral("RadezuName"));
  g_flags.joheungNumber = ReadIniSwitch(QStringLiteral("JoheungNumber"));
  g_flags.peopleLocalOnly = ReadIniSwitch(QStringLiteral("PeopleLocalOnly"));
  g_flags.useNewCmsLayout = ReadIniSwitch(QStringLiteral("UseNewCmsLayout"));
}

void PublishDirectories(const QString& send, const QString& recv, const QString& result, const QString& script) {
  g_paths.sendDir = WithSeparator(send);
  g_paths.recvDir = WithSeparator(recv);
  g_paths.resultDir = WithSeparator(result);
  g_paths.scriptDir = WithSeparator(script);
}

QString NoticeFilePath() { return g_paths.noticeFile; }
bool NoticeFileExists() { return QFile::exists(NoticeFilePath()); }

QString ReadProgramPassword() {
  IniFile ini(g_paths.iniPath);
  return cp949::decode(complement(ini.readRaw(kGeneral, QStringLiteral("Password"))));
}

void WriteProgramPassword(const QString& password) {
  IniFile ini(g_paths.iniPath);
  ini.writeRaw(kGeneral, QStringLiteral("Password"), complement(cp949::encode(password)));
}

bool ReadIniSwitch(const QString& key) { return IniFile(g_paths.iniPath).readBool(kGeneral, key, false); }

void WriteIniSwitch(const QString& key, bool value) { IniFile(g_paths.iniPath).writeBool(kGeneral, key, value); }

}  // namespace orvan
