#include "installer/installer.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <zip.h>

#include "platform/appdir.h"
#include "platform/cp949.h"
#include "platform/process.h"
#include "platform/prompter.h"

namespace orvan {
namespace {

const QString kCaption = QStringLiteral("Repolt");
const QString kUpgradeDir = QStringLiteral("Upgrade/");
const QString kZipTemp = QStringLiteral("Upgrade/zipTemp/");
const QString kOneCopied = QStringLiteral("버전업된 하나의 파일을 복사하였습니다.");

// Entry names are used as file names: nothing that could leave the folder.
bool safeEntryName(const QString& n) {
  return !n.isEmpty() && n != QLatin1String(".") && !n.contains(QLatin1Char('/')) &&
         !n.contains(QLatin1Char('\\')) && !n.contains(QLatin1String(".."));
}

// Names in archives are CP949 unless the entry says UTF-8; libzip's strict
// reading returns the stored bytes unchanged exactly in that case (and for
// plain ASCII).
QString entryName(zip_t* z, zip_uint64_t i) {
  const char* raw = zip_get_name(z, i, ZIP_FL_ENC_RAW);
  const char* strict = zip_get_name(z, i, ZIP_FL_ENC_STRICT);
  if (!raw) return {};
  if (strict && qstrcmp(raw, strict) == 0) return QString::fromUtf8(raw);
  return cp949::decode(QByteArray(raw));
}

}  // namespace

UpgradeInstaller::UpgradeInstaller(Options options, InstallerView* view) : o_(std::move(options)), view_(view) {
  o_.workDir = WithSeparator(QDir(o_.workDir.isEmpty() ? QDir::currentPath() : o_.workDir).absolutePath());
  if (!o_.startProgram) {
    const QString dir = o_.workDir;
    o_.startProgram = [dir](const QString& program, const QStringList& args) {
      const QFileInfo fi(QDir(dir).absoluteFilePath(program));
      if (!fi.isFile() || !fi.isExecutable()) return false;
      return QProcess::startDetached(fi.absoluteFilePath(), args, dir);
    };
  }
  if (!o_.programRunning) o_.programRunning = [](const QString& program) { return IsProcessRunning(program); };
}

UpgradeInstaller::~UpgradeInstaller() = default;

QString UpgradeInstaller::path(const QString& relative) const { return o_.workDir + relative; }
void UpgradeInstaller::progress(int v) {
  if (view_) view_->setProgress(v);
}
void UpgradeInstaller::status(const QString& text) {
  if (view_) view_->setStatus(text);
}
void UpgradeInstaller::message(const QString& text) { prompter().message(MsgKind::Plain, kCaption, text, Ok, Ok); }
QString UpgradeInstaller::productKey() const { return QStringLiteral("Software\\REPOLTGRADE\\") + product_; }

QString UpgradeInstaller::ExtensionOf(const QString& fileName) {
  const int dot = fileName.indexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

QString UpgradeInstaller::FolderFor(const QString& fileName) {
  const QString ext = ExtensionOf(fileName);
  if (IsProgramExtension(ext) || ext == QLatin1String("bin") || ext == QLatin1String("txt")) return {};
  if (ext == QLatin1String("scr") || ext == QLatin1String("scp")) return QStringLiteral("Script/");
  return QStringLiteral("Data/");
}

bool UpgradeInstaller::Start() {
  if (o_.arguments.size() >= 2) {
    product_ = o_.arguments.at(0).toUpper();
    if (product_ != QLatin1String("FB")) message(QStringLiteral("Application not found : ") + product_);
    program_ = o_.arguments.at(1);
    if (program_.isEmpty()) message(QStringLiteral("실행파일이 파라미터로 입력되지 않았습니다."));
  }

  Registry reg = Registry::user();
  const QString key = productKey();
  bool ok = reg.keyExists(key);
  if (ok) {
    for (const QString& sub : reg.subKeys(key)) {
      const QString k = key + QLatin1Char('\\') + sub;
      const auto dir = reg.readString(k, QStringLiteral("Dir"));
      const auto ver = reg.readString(k, QStringLiteral("Ver"));
      if (!dir || !ver) {
        ok = false;
        break;
      }
      components_.push_back({sub, *dir, *ver});
    }
  }
  if (!ok) {
    components_.clear();
    message(QStringLiteral("레지스트리 정보오류로 인해 자동업그레이드를 종료 합니다."));
    return false;
  }
  progress(0);
  return true;
}

// The program must have ended before its files are replaced; one that does
// not end within the limit is replaced anyway (the rename leaves the
// running copy intact).
void UpgradeInstaller::waitForProgram() {
  if (program_.isEmpty()) return;
  const QString exe = QDir(o_.workDir).absoluteFilePath(program_);
  QElapsedTimer t;
  t.start();
  if (o_.programRunning(exe)) status(QStringLiteral("프로그램이 종료되기를 기다리고 있습니다..."));
  while (o_.programRunning(exe) && t.elapsed() < o_.waitLimitMs) {
    if (o_.whileWaiting) o_.whileWaiting();
    QThread::msleep(100);
  }
}

void UpgradeInstaller::Run() {
  waitForProgram();
  const CopyOutcome outcome = CopyNewFiles();
  Registry reg = Registry::user();
  const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
  if (outcome == CopyOutcome::Aborted) {
    replacer_.rollback();
    return;
  }
  if (outcome == CopyOutcome::Nothing) message(QStringLiteral("업그레이드 정보가 없습니다."));

  bool upgraded = false;
  if (!failures_.isEmpty()) {
    // A partly installed set is worse than the old one: undo, tell which
    // files failed and leave UpdateDt, so that the upgrade is tried again —
    // on another day, so that a start does not hand over at once again.
    replacer_.rollback();
    reg.writeString(productKey(), QStringLiteral("FailDt"), today);
    const QString text = QStringLiteral("다음 파일을 복사하지 못하여 업그레이드를 취소 하였습니다.\n") +
                         failures_.join(QLatin1Char('\n'));
    status(QStringLiteral("업그레이드를 취소 하였습니다."));
    message(text);
  } else {
    if (!reg.writeString(productKey(), QStringLiteral("UpdateDt"), today))
      message(QStringLiteral("레지스트리 업데이트중 오류가 발생하였습니다."));
    reg.deleteValue(productKey(), QStringLiteral("FailDt"));
    upgraded = replacer_.placedCount() > 0;
    replacer_.commit();
    progress(100);
    status(QStringLiteral("업그레이드를 완료 하였습니다."));
    message(QStringLiteral("업그레이드를 완료 하였습니다."));
  }

  // Emptied before the restart: the restarted program may fetch the next
  // upgrade into the same folder.
  CleanUp();
  // "UPGRADE" tells the program that this is its first run after an upgrade.
  QStringList args;
  if (upgraded) args << QStringLiteral("UPGRADE");
  if (program_.isEmpty() || !o_.startProgram(program_, args))
    message(QStringLiteral("실행파일 패스 오류로 응용프로그램을 실행시킬수가 없습니다."));
}

UpgradeInstaller::CopyOutcome UpgradeInstaller::CopyNewFiles() {
  progress(15);
  status(QStringLiteral("업그레이드 파일들을 체크 중입니다..."));
  const QFileInfoList entries = QDir(path(kUpgradeDir)).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
  int counter = 15;
  int counted = 0;
  for (const QFileInfo& fi : entries) {
    const QString name = fi.fileName();
    const QString upper = name.toUpper();
    if (upper == QLatin1String("UPGRADE.INI")) continue;
    progress(counter++);
    ++counted;
    if (upper == QLatin1String("SETUP.EXE")) {
      QDir().mkpath(path(kZipTemp));
      status(QStringLiteral("압축파일을 해제하고 있습니다."));
      if (!unpackArchive(fi.absoluteFilePath(), path(kZipTemp))) return CopyOutcome::Aborted;
      for (const QFileInfo& f : QDir(path(kZipTemp)).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        if (placeFile(f.absoluteFilePath(), path(FolderFor(f.fileName())), f.fileName())) status(kOneCopied);
      continue;
    }
    const InstallerComponent* comp = nullptr;
    for (const InstallerComponent& c : components_)
      if (c.name.toUpper() == upper) comp = &c;
    if (comp) {
      QString dir = comp->dir;
      dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
      dir = QDir(o_.workDir).absoluteFilePath(WithSeparator(dir));
      if (placeFile(fi.absoluteFilePath(), WithSeparator(dir), name)) status(kOneCopied);
    } else if (placeFile(fi.absoluteFilePath(), path(FolderFor(name)), name)) {
      status(kOneCopied);
    }
  }
  if (counted > 0) {
    progress(97);
    status(QStringLiteral("버전업된 파일을 모두 복사 하였습니다."));
    return CopyOutcome::Copied;
  }
  status(QStringLiteral("버전업된 파일이 존재 하지 않습니다."));
  return CopyOutcome::Nothing;
}

bool UpgradeInstaller::placeFile(const QString& source, const QString& folder, const QString& name) {
  if (replacer_.place(source, folder, name)) return true;
  failures_ << name + QStringLiteral(" → ") + QDir::toNativeSeparators(folder);
  return false;
}

bool UpgradeInstaller::unpackArchive(const QString& archive, const QString& intoDir) {
  int err = 0;
  zip_t* z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &err);
  if (!z) {
    zip_error_t ze;
    zip_error_init_with_code(&ze, err);
    message(QStringLiteral("압축파일을 열 수 없습니다. (%1)\n%2").arg(QString::fromLocal8Bit(zip_error_strerror(&ze)),
                                                                   QFileInfo(archive).fileName()));
    zip_error_fini(&ze);
    return false;
  }
  const zip_int64_t n = zip_get_num_entries(z, 0);
  // Every name is checked before anything is written.
  QStringList names;
  for (zip_int64_t i = 0; i < n; ++i) {
    const QString name = entryName(z, zip_uint64_t(i));
    if (!safeEntryName(name)) {
      zip_close(z);
      message(QStringLiteral("압축파일에 사용할 수 없는 파일 이름이 있습니다.\n") + name);
      return false;
    }
    names << name;
  }
  bool ok = true;
  QString failed;
  for (zip_int64_t i = 0; i < n && ok; ++i) {
    zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
    QFile out(intoDir + names[i]);
    if (!f || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      ok = false;
    } else {
      char buf[16384];
      for (;;) {
        const zip_int64_t got = zip_fread(f, buf, sizeof buf);
        if (got < 0) {
          ok = false;
          break;
        }
        if (got == 0) break;
        if (out.write(buf, got) != got) {
          ok = false;
          break;
        }
      }
    }
    if (!ok) failed = f ? QString::fromLocal8Bit(zip_error_strerror(zip_file_get_error(f))) : QString::fromLocal8Bit(zip_strerror(z));
    if (f) zip_fclose(f);
    if (!ok) failed = names[i] + QStringLiteral(" (") + failed + QLatin1Char(')');
  }
  zip_close(z);
  if (!ok) message(QStringLiteral("압축파일을 해제하지 못하였습니다.\n") + failed);
  return ok;
}

void UpgradeInstaller::CleanUp() {
  if (cleaned_) return;
  cleaned_ = true;
  QDir temp(path(kZipTemp));
  for (const QFileInfo& fi : temp.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) QFile::remove(fi.absoluteFilePath());
  QDir up(path(kUpgradeDir));
  for (const QFileInfo& fi : up.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
    QDir(fi.absoluteFilePath()).removeRecursively();
  for (const QFileInfo& fi : up.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) QFile::remove(fi.absoluteFilePath());
}

}  // namespace orvan
