#include "maint/backup.h"

#include <QDir>
#include <QFile>

#include <zip.h>

#include "app/messages.h"
#include "app/wait.h"
#include "platform/appdir.h"
#include "platform/clock.h"
#include "platform/prompter.h"

namespace orvan {

QString BackupFileName() { return QStringLiteral("FB") + Today().toString(QStringLiteral("yyMMdd")) + QStringLiteral(".zip"); }

bool BackupDatabase(const QString& dataDir, const QString& folder) {
  QString target = folder;
  if (target.isEmpty()) {
    FileRequest req;
    req.mode = FileRequest::Folder;
    req.caption = QStringLiteral("자료를 저장할 폴더 선택");
    auto chosen = prompter().chooseFile(req);
    if (!chosen || chosen->isEmpty()) return false;
    target = *chosen;
  }
  target = WithSeparator(target);
  ShowWait(QStringLiteral("자료 백업을 준비중입니다"));
  const QStringList tables =
      QDir(dataDir).entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  const QString archive = target + BackupFileName();
  const QString partial = archive + QStringLiteral(".part");
  QFile::remove(partial);

  ShowWait(QStringLiteral("자료 압축 처리중..."));
  int err = 0;
  zip_t* za = zip_open(QFile::encodeName(partial).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  if (!za) {
    CloseWait();
    InfoBox(QStringLiteral("파일 %1를 생성할 수 없습니다.\r\r확인하여 주십시오.").arg(archive));
    return false;
  }
  bool ok = true;
  for (const QString& name : tables) {
    const QByteArray path = QFile::encodeName(WithSeparator(dataDir) + name);
    zip_source_t* src = zip_source_file(za, path.constData(), 0, -1);
    zip_int64_t idx = src ? zip_file_add(za, name.toUtf8().constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) : -1;
    if (idx < 0) {
      if (src) zip_source_free(src);
      ok = false;
      break;
    }
    zip_set_file_compression(za, static_cast<zip_uint64_t>(idx), ZIP_CM_DEFLATE, 9);
  }
  ShowWait(QStringLiteral("압축된 자료를 저장하고 있습니다"));
  if (!ok) {
    zip_discard(za);
  } else if (zip_close(za) != 0) {
    zip_discard(za);
    ok = false;
  }
  if (ok) {
    QFile::remove(archive);
    ok = QFile::rename(partial, archive);
  }
  QFile::remove(partial);
  CloseWait();
  if (!ok) ReportError(QStringLiteral("파일 %1를 생성할 수 없습니다.\r\r확인하여 주십시오.").arg(archive));
  return ok;
}

}  // namespace orvan
