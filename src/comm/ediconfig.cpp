#include "comm/ediconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/messages.h"
#include "app/paths.h"
#include "comm/edilib.h"
#include "platform/inifile.h"
#include "platform/process.h"
#include "platform/registry.h"

#ifndef ORVAN_FILE_VERSION
#define ORVAN_FILE_VERSION "0.0.0.0"
#endif

// Linux binaries carry no version resource; every program linking this file
// carries this marker instead, and FileVersionText looks for it.
extern "C" __attribute__((used)) const char kOrvanFileVersionMarker[] = "\x01ORVAN-FILE-VERSION=" ORVAN_FILE_VERSION;

namespace orvan {
namespace {

QString g_loginId;

struct FlagField {
  const char* name;
  bool TEdiConfig::*field;
};
const FlagField kFlags[] = {
    {"DeleteCheck", &TEdiConfig::DeleteCheck},   {"AppendCheck", &TEdiConfig::AppendCheck},
    {"PasswordCheck", &TEdiConfig::PasswordCheck}, {"ErrorCheck", &TEdiConfig::ErrorCheck},
    {"CompressCheck", &TEdiConfig::CompressCheck}, {"ResultCheck", &TEdiConfig::ResultCheck},
    {"HeaderCheck", &TEdiConfig::HeaderCheck},   {"HeaderValCheck", &TEdiConfig::HeaderValCheck},
    {"MessageCheck", &TEdiConfig::MessageCheck},
};
struct TextField {
  const char* name;
  QString TEdiConfig::*field;
};
const TextField kCommTexts[] = {
    {"Connect1", &TEdiConfig::Connect1}, {"Connect2", &TEdiConfig::Connect2}, {"Phone1", &TEdiConfig::Phone1},
    {"Phone2", &TEdiConfig::Phone2},     {"ModemInit", &TEdiConfig::ModemInit}, {"Port", &TEdiConfig::Port},
    {"Protocol", &TEdiConfig::Protocol}, {"Speed", &TEdiConfig::Speed},
};
const TextField kUserTexts[] = {
    {"LoginID", &TEdiConfig::LoginID}, {"Password", &TEdiConfig::Password},   {"SendDir", &TEdiConfig::SendDir},
    {"RecvDir", &TEdiConfig::RecvDir}, {"ResultDir", &TEdiConfig::ResultDir}, {"ScriptDir", &TEdiConfig::ScriptDir},
};

void readTexts(const Registry& reg, const QString& key, const TextField* begin, const TextField* end,
               TEdiConfig& into) {
  for (const TextField* f = begin; f != end; ++f)
    if (auto v = reg.readString(key, QLatin1String(f->name))) into.*(f->field) = *v;
}

void readComm(const Registry& reg, const QString& programKey, TEdiConfig& c) {
  readTexts(reg, EdiCommKey(programKey), std::begin(kCommTexts), std::end(kCommTexts), c);
}

void readUserInfo(const Registry& reg, const QString& programKey, TEdiConfig& c) {
  const QString key = EdiUserInfoKey(programKey);
  readTexts(reg, key, std::begin(kUserTexts), std::end(kUserTexts), c);
  for (const FlagField& f : kFlags)
    if (auto v = reg.readInteger(key, QLatin1String(f.name))) c.*(f.field) = *v != 0;
}

const QString kOurKey = QLatin1String(EdiProgramKey);

void copyComm(const TEdiConfig& from, TEdiConfig& to) {
  for (const TextField& f : kCommTexts) to.*(f.field) = from.*(f.field);
}

QString withoutSlash(const QString& dir) {
  QString d = QDir::cleanPath(dir);
  while (d.size() > 1 && d.endsWith(QLatin1Char('/'))) d.chop(1);
  return d;
}

// The folder as the file system sees it: symbolic links resolved where it exists.
QString canonical(const QString& dir) {
  QString c = QFileInfo(dir).canonicalFilePath();
  return withoutSlash(c.isEmpty() ? dir : c);
}

bool sameFolder(const QString& a, const QString& b) {
  return withoutSlash(a) == withoutSlash(b) || canonical(a) == canonical(b);
}

bool isAncestorOrSame(const QString& dir, const QString& of) {
  for (const QString& d : {withoutSlash(dir), canonical(dir)})
    for (const QString& o : {withoutSlash(of), canonical(of)}) {
      if (d == o) return true;
      if (d == QLatin1String("/") || o.startsWith(d + QLatin1Char('/'))) return true;
    }
  return false;
}

void makeDir(const QString& dir) {
  if (!dir.trimmed().isEmpty()) QDir().mkdir(dir);
}

}  // namespace

QString EdiLibraryKey(const QString& programKey) {
  return QStringLiteral("Software\\") + programKey + QStringLiteral("\\Tarsel32");
}
QString EdiCommKey(const QString& programKey) { return EdiLibraryKey(programKey) + QStringLiteral("\\Comm"); }
QString EdiUserInfoKey(const QString& programKey) { return EdiLibraryKey(programKey) + QStringLiteral("\\UserInfo"); }

void EdiConfigDefaults(TEdiConfig& c, const QString& applicationDir) {
  const QString app = applicationDir.isEmpty() ? paths().applicationDir : applicationDir;
  c = TEdiConfig{};
  c.Connect1 = QStringLiteral("01421망");
  c.Connect2 = QStringLiteral("DNS망");
  c.Phone1 = QStringLiteral("01421");
  c.Phone2 = QStringLiteral("01420");
  c.ModemInit = QStringLiteral("atz");
  c.Port = QStringLiteral("COM1");
  c.Protocol = QStringLiteral("Zmodem");
  c.Speed = QStringLiteral("38400");
  c.SendDir = app + QStringLiteral("Send");
  c.RecvDir = app + QStringLiteral("Recv");
  c.ResultDir = app + QStringLiteral("Result");
  c.ScriptDir = app + QStringLiteral("Script");
}

bool ReadEdiConfig(TEdiConfig& config) { return ReadEdiConfig(config, kOurKey, paths().applicationDir); }
bool WriteEdiConfig(const TEdiConfig& config) { return WriteEdiConfig(config, kOurKey); }

bool ReadEdiConfig(TEdiConfig& config, const QString& programKey, const QString& applicationDir) {
  const Registry reg = Registry::user();
  TEdiConfig c;
  EdiConfigDefaults(c, applicationDir);
  if (!reg.keyExists(EdiCommKey(programKey))) return false;
  readComm(reg, programKey, c);
  copyComm(c, config);
  if (!reg.keyExists(EdiUserInfoKey(programKey))) return false;
  readUserInfo(reg, programKey, c);
  config = c;
  return true;
}

bool WriteEdiConfig(const TEdiConfig& c, const QString& programKey) {
  Registry reg = Registry::user();
  const QString comm = EdiCommKey(programKey);
  const QString user = EdiUserInfoKey(programKey);
  if (!reg.createKey(comm)) return false;
  for (const TextField& f : kCommTexts)
    if (!reg.writeString(comm, QLatin1String(f.name), c.*(f.field))) return false;
  if (!reg.createKey(user)) return false;
  for (const TextField& f : kUserTexts)
    if (!reg.writeString(user, QLatin1String(f.name), c.*(f.field))) return false;
  for (const FlagField& f : kFlags)
    if (!reg.writeInteger(user, QLatin1String(f.name), c.*(f.field) ? 1 : 0)) return false;
  return true;
}

QString ReadEdiLoginID() { return Registry::user().readString(EdiUserInfoKey(), QStringLiteral("LoginID")).value_or(QString()); }

double ReadComType() {
  Registry reg = Registry::user();
  if (!reg.createKey(EdiCommKey())) return -1;
  if (auto v = reg.readInteger(EdiCommKey(), QStringLiteral("COM-TYPE"))) return *v;
  return -1;
}

QByteArray UnscramblePassword(const QByteArray& stored) {
  QByteArray out;
  for (int i = 0; i < stored.size() && out.size() < 255; ++i) {
    const auto b = static_cast<unsigned char>((static_cast<unsigned char>(stored[i]) - (i + 1 + 9)) & 0xFF);
    if (b == 0) break;
    out.append(static_cast<char>(b));
  }
  return out;
}

QByteArray UnscramblePassword(const QString& stored) {
  // A character beyond one byte cannot come from the library; it is kept
  // as '?' so that the positions of the others stay right.
  QByteArray bytes;
  for (QChar ch : stored) bytes.append(ch.unicode() <= 0xFF ? static_cast<char>(ch.unicode()) : '?');
  return UnscramblePassword(bytes);
}

QString ScramblePassword(const QByteArray& password) {
  QString out;
  const int n = std::min<int>(password.size(), 255);
  for (int i = 0; i < n; ++i)
    out.append(QChar(static_cast<ushort>((static_cast<unsigned char>(password[i]) + i + 1 + 9) & 0xFF)));
  return out;
}

QString ResolveEdiDirectory(const QString& value, const QString& applicationDir) {
  QString v = value.trimmed();
  if (v.isEmpty()) return {};
  if (QDir::isRelativePath(v)) v = applicationDir + v;
  QString clean = QDir::cleanPath(v);
  if (!clean.endsWith(QLatin1Char('/'))) clean += QLatin1Char('/');
  return clean;
}

QString UnsafeDirectoryReason(const QString& dir, const QString& applicationDir, const QStringList& others) {
  const QString d = withoutSlash(dir);
  if (d == QLatin1String("/") || canonical(d) == QLatin1String("/")) return QStringLiteral("파일 시스템의 최상위 폴더");
  if (sameFolder(d, applicationDir)) return QStringLiteral("프로그램 폴더");
  if (isAncestorOrSame(d, applicationDir)) return QStringLiteral("프로그램 폴더의 상위 폴더");
  if (sameFolder(d, applicationDir + QStringLiteral("Data"))) return QStringLiteral("데이터 폴더");
  if (sameFolder(d, applicationDir + QStringLiteral("SendTemp"))) return QStringLiteral("송신 임시 폴더");
  for (const QString& o : others)
    if (!o.isEmpty() && sameFolder(d, o)) return QStringLiteral("다른 통신 디렉토리와 같은 폴더");
  return {};
}

void InitEdiConfig() {
  ClearEdiResult();
  // Each key is read on its own: a missing key takes the defaults, the
  // values of the other one stay as the user set them.
  const Registry reg = Registry::user();
  TEdiConfig c;
  EdiConfigDefaults(c);
  if (reg.keyExists(EdiCommKey())) readComm(reg, kOurKey, c);
  if (reg.keyExists(EdiUserInfoKey())) readUserInfo(reg, kOurKey, c);
  WriteEdiConfig(c);
  const QString app = paths().applicationDir;
  for (const QString& dir : {c.SendDir, c.RecvDir, c.ResultDir}) makeDir(ResolveEdiDirectory(dir, app));
}

bool ApplyEdiConfig() {
  TEdiConfig c;
  if (!ReadEdiConfig(c)) return false;
  const QString app = paths().applicationDir;
  TEdiConfig defaults;
  EdiConfigDefaults(defaults, app);
  // An empty value would publish the bare separator (the drive root on the
  // original system), and the next exchange empties the receive directory.
  for (QString TEdiConfig::*f : {&TEdiConfig::SendDir, &TEdiConfig::RecvDir, &TEdiConfig::ResultDir,
                                 &TEdiConfig::ScriptDir})
    if ((c.*f).trimmed().isEmpty()) c.*f = defaults.*f;

  struct Dir {
    const char* label;
    QString resolved;
    bool refused = false;
  };
  Dir dirs[] = {{"송신", ResolveEdiDirectory(c.SendDir, app)},
                {"수신", ResolveEdiDirectory(c.RecvDir, app)},
                {"결과", ResolveEdiDirectory(c.ResultDir, app)}};
  QStringList refusals;
  for (int i = 0; i < 3; ++i) {
    QStringList others;
    for (int j = 0; j < 3; ++j)
      if (j != i) others << dirs[j].resolved;
    const QString reason = UnsafeDirectoryReason(dirs[i].resolved, app, others);
    if (reason.isEmpty()) continue;
    dirs[i].refused = true;
    refusals << QStringLiteral("%1 디렉토리로 지정된 \"%2\"는 %3이므로 사용할 수 없습니다.")
                    .arg(QString::fromUtf8(dirs[i].label), dirs[i].resolved, reason);
  }

  if (!dirs[0].refused) {
    makeDir(dirs[0].resolved);
    makeDir(dirs[0].resolved + QStringLiteral("Old"));
  }
  if (!dirs[1].refused) {
    makeDir(dirs[1].resolved);
    makeDir(dirs[1].resolved + QStringLiteral("Old"));
  }
  if (!dirs[2].refused) makeDir(dirs[2].resolved);

  if (!WriteEdiConfig(c)) return false;
  TEdiConfig again;
  if (!ReadEdiConfig(again)) return false;

  const Paths& old = paths();
  PublishDirectories(dirs[0].refused ? old.sendDir : ResolveEdiDirectory(again.SendDir, app),
                     dirs[1].refused ? old.recvDir : ResolveEdiDirectory(again.RecvDir, app),
                     dirs[2].refused ? old.resultDir : ResolveEdiDirectory(again.ResultDir, app),
                     ResolveEdiDirectory(again.ScriptDir, app));
  g_loginId = again.LoginID;

  if (!refusals.isEmpty()) {
    WarnBox(refusals.join(QLatin1Char('\r')) +
            QStringLiteral("\r\r통신 환경 설정에서 다른 디렉토리를 지정하십시오. 그때까지 송수신을 할 수 없습니다."));
    return false;
  }
  return true;
}

bool InitProgramSettings() {
  InitEdiConfig();
  return ApplyEdiConfig();
}

QString PublishedLoginID() { return g_loginId; }
void SetPublishedLoginID(const QString& id) { g_loginId = id; }
QString PublishedVanCode() { return QStringLiteral("VELTA"); }
int PublishedReTransfer() { return 1; }

void EnsureAppTypeCode() {
  Registry reg = Registry::user();
  if (!reg.keyExists(EdiUserInfoKey())) return;
  if (reg.valueExists(EdiUserInfoKey(), QStringLiteral("AppTypeCode"))) return;
  reg.writeString(EdiUserInfoKey(), QStringLiteral("AppTypeCode"), QStringLiteral("QTX"));
}

bool SaveUpgradeInterval(const TUpgradeInterval& interval) {
  Registry reg = Registry::user();
  return reg.writeString(kUpgradeKey, QStringLiteral("Interval1"), interval.Interval1) &&
         reg.writeString(kUpgradeKey, QStringLiteral("Interval2"), interval.Interval2) &&
         reg.writeString(kUpgradeKey, QStringLiteral("UpdateDt"), QStringLiteral("20000101"));
}

bool LoadUpgradeInterval(TUpgradeInterval& interval) {
  const Registry reg = Registry::user();
  if (!reg.keyExists(kUpgradeKey)) {
    interval = TUpgradeInterval{};
    return false;
  }
  if (auto v = reg.readString(kUpgradeKey, QStringLiteral("Interval1"))) interval.Interval1 = *v;
  if (auto v = reg.readString(kUpgradeKey, QStringLiteral("Interval2"))) interval.Interval2 = *v;
  if (auto v = reg.readString(kUpgradeKey, QStringLiteral("UpdateDt"))) interval.UpdateDt = *v;
  return true;
}

bool WriteUpgradeVersions() {
  Registry reg = Registry::user();
  const QString app = paths().applicationDir;
  const QString setupKey = kUpgradeKey + QStringLiteral("\\Setup.exe");
  const QString libKey = kUpgradeKey + QStringLiteral("\\Tarsel32.dll");
  return reg.writeString(setupKey, QStringLiteral("Dir"), app) &&
         reg.writeString(setupKey, QStringLiteral("Ver"), FileVersionText(ExecutablePath())) &&
         reg.writeString(libKey, QStringLiteral("Dir"), app) &&
         reg.writeString(libKey, QStringLiteral("Ver"), FileVersionText(app + EdiLibraryFileName()));
}

QString FileVersionText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  // Built at run time so that this search pattern itself is not a match.
  QByteArray marker("\x01ORVAN-FILE");
  marker += "-VERSION=";
  for (qsizetype at = data.indexOf(marker); at >= 0; at = data.indexOf(marker, at + 1)) {
    const qsizetype start = at + marker.size();
    const qsizetype end = data.indexOf('\0', start);
    const QByteArray text = data.mid(start, (end < 0 ? data.size() : end) - start);
    if (!text.isEmpty() && text.size() <= 32) return QString::fromLatin1(text);
  }
  return {};
}

bool RunEdiSettingsCommand() {
  if (!EdiEnvSetup()) return false;
  TEdiConfig c;
  if (!ReadEdiConfig(c)) return false;
  SetPublishedLoginID(c.LoginID);
  const QString ini = paths().terminalIni;
  QDir().mkpath(QFileInfo(ini).absolutePath());
  IniFile terminal(ini);
  terminal.writeString(QStringLiteral("Modem"), QStringLiteral("Port"), c.Port);
  terminal.writeString(QStringLiteral("Modem"), QStringLiteral("BaudRate"), c.Speed);
  terminal.writeString(QStringLiteral("Login"), QStringLiteral("ID"), c.LoginID);
  terminal.writeRaw(QStringLiteral("Login"), QStringLiteral("Password"), UnscramblePassword(c.Password));
  return true;
}

}  // namespace orvan
