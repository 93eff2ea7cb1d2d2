#include "exchange.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include "platform/cp949.h"
#include "platform/registry.h"

#include <zlib.h>

namespace tarsel {
namespace {

bool safeName(const QString& name) {
  return !name.isEmpty() && !name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('/')) &&
         !name.contains(QLatin1Char('\\'));
}

bool startsWithHeader(const QByteArray& data) {
  return data.startsWith("<<NEHEAD>>") || data.startsWith("<<HEADER>>");
}

// Every NEHEAD line announces the bytes of its block up to the next header
// line and carries the sender's login ID at bytes 33-42.
QString headerValueFault(const QByteArray& data, const QString& loginId) {
  QList<qsizetype> starts;
  for (qsizetype at = 0; at < data.size();) {
    if (data.mid(at, 10) == "<<NEHEAD>>" || data.mid(at, 10) == "<<HEADER>>") starts << at;
    const qsizetype nl = data.indexOf('\n', at);
    if (nl < 0) break;
    at = nl + 1;
  }
  const QByteArray login = orvan::cp949::encode(loginId).leftJustified(10, ' ', true);
  for (int i = 0; i < starts.size(); ++i) {
    const qsizetype at = starts[i];
    if (data.mid(at, 10) != "<<NEHEAD>>") continue;
    const qsizetype lineEnd = data.indexOf('\n', at);
    if (lineEnd < 0) return QStringLiteral("헤더 뒤에 자료가 없습니다");
    const qsizetype blockEnd = i + 1 < starts.size() ? starts[i + 1] : data.size();
    bool ok = false;
    const qint64 announced = data.mid(at + 12, 10).toLongLong(&ok);
    if (!ok || announced != blockEnd - (lineEnd + 1))
      return QStringLiteral("헤더의 길이(%1)가 자료 길이(%2)와 다릅니다")
          .arg(QString::fromLatin1(data.mid(at + 12, 10)))
          .arg(blockEnd - (lineEnd + 1));
    if (data.mid(at + 32, 10) != login)
      return QStringLiteral("헤더의 사용자 ID \"%1\"가 설정과 다릅니다").arg(orvan::cp949::decode(data.mid(at + 32, 10)).trimmed());
  }
  return {};
}

std::optional<QByteArray> gzip(const QByteArray& data) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return std::nullopt;
  QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(data.size()))) + 32, Qt::Uninitialized);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  const qsizetype written = out.size() - z.avail_out;
  deflateEnd(&z);
  if (rc != Z_STREAM_END) return std::nullopt;
  out.truncate(written);
  return out;
}

}  // namespace

Exchange::Exchange(QString programKey, QString applicationDir, Hooks hooks)
    : programKey_(std::move(programKey)), app_(std::move(applicationDir)), hooks_(std::move(hooks)) {
  const QDateTime now = QDateTime::currentDateTime();
  stamp_ = now.toString(QStringLiteral("yyyyMMddHHmmsszzz"));
  log_.time = now;
}

Exchange::~Exchange() = default;

int32_t Exchange::open(bool sendSide, bool receiveSide) {
  const orvan::Registry reg = orvan::Registry::user();
  if (programKey_.isEmpty() || !reg.keyExists(orvan::EdiCommKey(programKey_)) ||
      !reg.keyExists(orvan::EdiUserInfoKey(programKey_)) || !orvan::ReadEdiConfig(config_, programKey_, app_)) {
    note_ = QStringLiteral("통신 환경 설정이 레지스트리에 없습니다");
    return kRegistry;
  }
  operator_ = ReadOperatorSettings(programKey_, app_);
  log_.backend = BackendName(operator_.backend);

  const QString login = config_.LoginID.trimmed();
  if (login.isEmpty()) {
    note_ = QStringLiteral("사용자 ID가 등록되어 있지 않습니다");
    return kNoLogin;
  }
  if (!safeName(login)) {
    note_ = QStringLiteral("사용자 ID \"%1\"는 쓸 수 없는 문자를 담고 있습니다").arg(login);
    return kNoLogin;
  }

  sendDir_ = orvan::ResolveEdiDirectory(config_.SendDir, app_);
  recvDir_ = orvan::ResolveEdiDirectory(config_.RecvDir, app_);
  const QString resultDir = orvan::ResolveEdiDirectory(config_.ResultDir, app_);
  auto unusable = [&](const QString& label, const QString& dir, const QStringList& others) {
    if (dir.isEmpty()) {
      note_ = label + QStringLiteral(" 디렉토리가 설정되어 있지 않습니다");
      return true;
    }
    const QString reason = orvan::UnsafeDirectoryReason(dir, app_, others);
    if (!reason.isEmpty()) {
      note_ = QStringLiteral("%1 디렉토리 %2: %3").arg(label, dir, reason);
      return true;
    }
    if (!QFileInfo(dir).isDir()) {
      note_ = QStringLiteral("%1 디렉토리 %2가 없습니다").arg(label, dir);
      return true;
    }
    return false;
  };
  if (sendSide && unusable(QStringLiteral("송신"), sendDir_, {recvDir_, resultDir})) return kNoDirectories;
  if (receiveSide) {
    if (!recvDir_.isEmpty() && orvan::UnsafeDirectoryReason(recvDir_, app_, {sendDir_, resultDir}).isEmpty())
      QDir().mkdir(recvDir_);
    if (unusable(QStringLiteral("수신"), recvDir_, {sendDir_, resultDir})) return kNoDirectories;
  }

  QByteArray password = orvan::UnscramblePassword(config_.Password);
  if (config_.PasswordCheck) {
    const std::optional<QByteArray> typed = hooks_.password ? hooks_.password() : std::nullopt;
    if (!typed || *typed != password) {
      note_ = QStringLiteral("비밀번호가 맞지 않습니다");
      return kPassword;
    }
  }

  if (operator_.backend == OperatorSettings::Mailbox) {
    QString root = operator_.mailboxDir;
    if (QDir::isRelativePath(root)) root = app_ + root;
    store_ = OpenMailbox(root, login);
  } else {
    if (operator_.host.isEmpty()) {
      note_ = QStringLiteral("중계 서버 주소가 설정되어 있지 않습니다");
      return kAborted;
    }
    store_ = OpenNetwork(operator_, login, password);
  }
  return 1;
}

int32_t Exchange::storeFailure(int32_t other) {
  note_ = store_->error();
  return store_->failure() == Store::Failure::LoginDenied ? kNoLogin : other;
}

int32_t Exchange::sendFiles() {
  const QFileInfoList files = QDir(sendDir_).entryInfoList(QDir::Files, QDir::Name);
  if (files.isEmpty()) return kNothing;
  QList<QByteArray> contents;
  for (const QFileInfo& fi : files) {
    QFile f(fi.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly)) {
      note_ = QStringLiteral("%1: %2").arg(fi.fileName(), f.errorString());
      return kAborted;
    }
    contents << f.readAll();
    if (config_.HeaderCheck && !startsWithHeader(contents.last())) {
      note_ = QStringLiteral("%1: 헤더로 시작하지 않습니다").arg(fi.fileName());
      return kHeaderCheck;
    }
    if (config_.HeaderCheck && config_.HeaderValCheck) {
      const QString fault = headerValueFault(contents.last(), config_.LoginID.trimmed());
      if (!fault.isEmpty()) {
        note_ = QStringLiteral("%1: %2").arg(fi.fileName(), fault);
        return kHeaderCheck;
      }
    }
  }
  int32_t sent = 0;
  for (int i = 0; i < files.size(); ++i) {
    QString name = files[i].fileName();
    QByteArray data = contents[i];
    if (config_.CompressCheck) {
      const std::optional<QByteArray> packed = gzip(data);
      if (!packed) {
        note_ = QStringLiteral("%1: 압축할 수 없습니다").arg(name);
        return -60;
      }
      data = *packed;
      name += QStringLiteral(".gz");
    }
    status(QStringLiteral("송신 중: %1 (%2/%3)").arg(name).arg(i + 1).arg(files.size()));
    if (!store_->put(QStringLiteral("sent/%1/%2").arg(stamp_, name), data)) return storeFailure(kAborted);
    log_.files << LoggedFile{LoggedFile::Sent, name, data.size()};
    ++sent;
  }
  if (config_.DeleteCheck)
    for (const QFileInfo& fi : files) QFile::remove(fi.absoluteFilePath());
  return sent;
}

bool Exchange::writeReceived(const QString& name, const QByteArray& data, LoggedFile::Direction direction) {
  status(QStringLiteral("수신 중: %1").arg(name));
  const QString path = recvDir_ + name;
  bool ok = false;
  QString error;
  if (config_.AppendCheck && QFileInfo::exists(path)) {
    QFile f(path);
    ok = f.open(QIODevice::Append) && f.write(data) == data.size() && f.flush();
    error = f.errorString();
  } else {
    QSaveFile f(path);
    ok = f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.commit();
    error = f.errorString();
  }
  if (!ok) {
    note_ = QStringLiteral("%1: %2").arg(path, error);
    return false;
  }
  log_.files << LoggedFile{direction, name, data.size()};
  return true;
}

void Exchange::status(const QString& text) {
  if (config_.MessageCheck && hooks_.status) hooks_.status(text);
}

void Exchange::writeResultFile() {
  const QString dir = orvan::ResolveEdiDirectory(config_.ResultDir, app_);
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) return;
  QByteArray text = orvan::cp949::encode(QStringLiteral("%1 %2 결과 %3 %4\r\n")
                                             .arg(log_.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                                  log_.operation)
                                             .arg(log_.result)
                                             .arg(log_.note));
  for (const LoggedFile& f : log_.files)
    text += orvan::cp949::encode(QStringLiteral("%1 %2 %3\r\n").arg(DirectionText(f.direction), f.name).arg(f.size));
  QSaveFile out(dir + QStringLiteral("SRRESULT.TXT"));
  if (out.open(QIODevice::WriteOnly)) {
    out.write(text);
    out.commit();
  }
}

int32_t Exchange::receiveFiles() {
  QStringList names;
  if (!store_->list(QStringLiteral("inbox"), names, false)) return storeFailure(kAborted);
  int32_t received = 0;
  for (const QString& name : names) {
    if (!safeName(name)) continue;
    QByteArray data;
    if (!store_->get(QStringLiteral("inbox/") + name, data)) return storeFailure(kAborted);
    if (!writeReceived(name, data, LoggedFile::Received)) return kNoLogin;  // received data could not be stored
    // Moved only once it is safe on this side: a failure leaves it waiting.
    if (!store_->move(QStringLiteral("inbox/") + name, QStringLiteral("received/%1/%2").arg(stamp_, name)))
      return storeFailure(kAborted);
    ++received;
  }
  return received;
}

int32_t Exchange::receiveAgain() {
  static const QRegularExpression stampPattern(QStringLiteral("^\\d{17}$"));
  QStringList stamps;
  if (!store_->list(QStringLiteral("received"), stamps, true)) return storeFailure(kAborted);
  stamps = stamps.filter(stampPattern);
  if (stamps.isEmpty()) return kNothing;
  stamps.sort();
  const QString last = QStringLiteral("received/") + stamps.last();
  QStringList names;
  if (!store_->list(last, names, false)) return storeFailure(kAborted);
  int32_t received = 0;
  for (const QString& name : names) {
    if (!safeName(name)) continue;
    QByteArray data;
    if (!store_->get(last + QLatin1Char('/') + name, data)) return storeFailure(kAborted);
    if (!writeReceived(name, data, LoggedFile::ReReceived)) return kNoLogin;
    ++received;
  }
  return received;
}

int32_t Exchange::finish(const QString& operation, int32_t result) {
  log_.operation = operation;
  log_.result = result;
  log_.note = note_;
  ExchangeLog(ExchangeLog::DefaultPath(app_)).append(log_);
  if (config_.ResultCheck && result != kRegistry) writeResultFile();
  return result;
}

int32_t Exchange::send() {
  const int32_t rc = open(true, false);
  return finish(QStringLiteral("송신"), rc < 0 ? rc : sendFiles());
}

int32_t Exchange::receive() {
  const int32_t rc = open(false, true);
  return finish(QStringLiteral("수신"), rc < 0 ? rc : receiveFiles());
}

int32_t Exchange::reReceive() {
  const int32_t rc = open(false, true);
  return finish(QStringLiteral("재수신"), rc < 0 ? rc : receiveAgain());
}

int32_t Exchange::sendReceive(int32_t* sendResult, int32_t* receiveResult) {
  int32_t s = open(true, true);
  int32_t r = s;
  if (s >= 0) {
    s = sendFiles();
    const QString sendNote = note_;
    // A line that is down or a refused login fails the receive the same way.
    const bool lineLost = s < 0 && store_->failure() != Store::Failure::None &&
                          store_->failure() != Store::Failure::Transfer;
    r = lineLost ? s : receiveFiles();
    if (!sendNote.isEmpty() && note_ != sendNote) note_ = sendNote + QStringLiteral(" / ") + note_;
  }
  if (sendResult) *sendResult = s;
  if (receiveResult) *receiveResult = r;
  const int32_t result = s < 0 ? s : (r < 0 ? r : s + r);
  return finish(QStringLiteral("송수신"), result);
}

}  // namespace tarsel
