#include "store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

namespace tarsel {
namespace {

class MailboxStore : public Store {
 public:
  explicit MailboxStore(QString root) : root_(std::move(root)) {}

  bool list(const QString& dir, QStringList& names, bool folders) override {
    names.clear();
    QDir d(root_ + dir);
    if (!d.exists()) return true;
    for (const QFileInfo& fi : d.entryInfoList((folders ? QDir::Dirs : QDir::Files) | QDir::NoDotAndDotDot, QDir::Name))
      names << fi.fileName();
    return true;
  }

  bool get(const QString& path, QByteArray& data) override {
    QFile f(root_ + path);
    if (!f.open(QIODevice::ReadOnly)) {
      fail(Failure::Transfer, QStringLiteral("%1: %2").arg(f.fileName(), f.errorString()));
      return false;
    }
    data = f.readAll();
    return true;
  }

  bool put(const QString& path, const QByteArray& data) override {
    const QString file = root_ + path;
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
      fail(Failure::Unreachable, QStringLiteral("%1: 폴더를 만들 수 없습니다").arg(QFileInfo(file).absolutePath()));
      return false;
    }
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
      fail(Failure::Transfer, QStringLiteral("%1: %2").arg(file, f.errorString()));
      return false;
    }
    return true;
  }

  bool move(const QString& from, const QString& to) override {
    const QString target = root_ + to;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (!QFile::rename(root_ + from, target)) {
      fail(Failure::Transfer, QStringLiteral("%1 → %2: 옮길 수 없습니다").arg(root_ + from, target));
      return false;
    }
    return true;
  }

 private:
  QString root_;
};

size_t collect(char* data, size_t size, size_t n, void* user) {
  static_cast<QByteArray*>(user)->append(data, static_cast<qsizetype>(size * n));
  return size * n;
}

struct Upload {
  const QByteArray* data;
  qsizetype at = 0;
};

size_t feed(char* buffer, size_t size, size_t n, void* user) {
  auto* u = static_cast<Upload*>(user);
  const qsizetype count = std::min<qsizetype>(static_cast<qsizetype>(size * n), u->data->size() - u->at);
  memcpy(buffer, u->data->constData() + u->at, static_cast<size_t>(count));
  u->at += count;
  return static_cast<size_t>(count);
}

class CurlList {
 public:
  ~CurlList() { curl_slist_free_all(list_); }
  void add(const QByteArray& command) { list_ = curl_slist_append(list_, command.constData()); }
  curl_slist* get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

// One easy handle for the whole exchange, so that every step reuses the
// connection and its login.
class NetworkStore : public Store {
 public:
  NetworkStore(const OperatorSettings& s, const QString& loginId, const QByteArray& password)
      : settings_(s), user_(loginId.toUtf8()), password_(password) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
    curl_ = curl_easy_init();
    const bool sftp = s.backend == OperatorSettings::Sftp;
    QString base = s.remoteDir;
    if (!base.startsWith(QLatin1Char('/'))) base.prepend(QLatin1Char('/'));
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    base_ = base + loginId + QLatin1Char('/');
    origin_ = QByteArray(sftp ? "sftp://" : "ftp://") + QUrl::toAce(s.host) +
              (s.port > 0 ? ":" + QByteArray::number(s.port) : QByteArray());
  }
  ~NetworkStore() override {
    if (curl_) curl_easy_cleanup(curl_);
  }

  bool list(const QString& dir, QStringList& names, bool /*folders*/) override {
    names.clear();
    QByteArray body;
    prepare(url(dir + QLatin1Char('/')));
    curl_easy_setopt(curl_, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &body);
    const CURLcode rc = curl_easy_perform(curl_);
    // A folder the operator has not made yet holds nothing.
    if (rc == CURLE_REMOTE_ACCESS_DENIED || rc == CURLE_REMOTE_FILE_NOT_FOUND || rc == CURLE_FTP_COULDNT_RETR_FILE)
      return true;
    if (!check(rc)) return false;
    for (QByteArray line : body.split('\n')) {
      line = line.trimmed();
      if (line.isEmpty() || line == "." || line == "..") continue;
      const int slash = line.lastIndexOf('/');  // some servers answer NLST with paths
      names << QString::fromUtf8(slash >= 0 ? line.mid(slash + 1) : line);
    }
    names.sort();
    return true;
  }

  bool get(const QString& path, QByteArray& data) override {
    data.clear();
    prepare(url(path));
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &data);
    return check(curl_easy_perform(curl_));
  }

  bool put(const QString& path, const QByteArray& data) override {
    // Uploaded under a hidden name and renamed when complete, so that the
    // operator never picks up half a file.
    const QString dir = path.section(QLatin1Char('/'), 0, -2);
    const QString name = path.section(QLatin1Char('/'), -1);
    const QString part = dir + QStringLiteral("/.") + name + QStringLiteral(".part");
    Upload upload{&data};
    prepare(url(part));
    curl_easy_setopt(curl_, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl_, CURLOPT_READFUNCTION, feed);
    curl_easy_setopt(curl_, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(data.size()));
    curl_easy_setopt(curl_, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    if (!check(curl_easy_perform(curl_))) return false;
    return move(part, path);
  }

  bool move(const QString& from, const QString& to) override {
    const bool sftp = settings_.backend == OperatorSettings::Sftp;
    CurlList commands;
    // Run after changing into the login's folder (FTP) or with absolute
    // paths (SFTP); "*" lets an existing folder pass.
    QString folder;
    for (const QString& part : to.section(QLatin1Char('/'), 0, -2).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
      folder += (folder.isEmpty() ? QString() : QStringLiteral("/")) + part;
      commands.add(sftp ? QByteArray("*mkdir " + quoted(base_ + folder)) : QByteArray("*MKD " + folder.toUtf8()));
    }
    if (sftp) {
      commands.add("*rm " + quoted(base_ + to));
      commands.add("rename " + quoted(base_ + from) + ' ' + quoted(base_ + to));
    } else {
      commands.add("*DELE " + to.toUtf8());
      commands.add("RNFR " + from.toUtf8());
      commands.add("RNTO " + to.toUtf8());
    }
    prepare(url(QString()));
    curl_easy_setopt(curl_, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl_, sftp ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, commands.get());
    return check(curl_easy_perform(curl_));
  }

 private:
  static QByteArray quoted(const QString& path) { return '"' + path.toUtf8() + '"'; }

  QByteArray url(const QString& relative) const {
    QByteArray u = origin_;
    const QString path = base_ + relative;
    for (const QString& part : path.split(QLatin1Char('/')))
      if (!part.isEmpty()) u += '/' + QUrl::toPercentEncoding(part);
    if (relative.isEmpty() || relative.endsWith(QLatin1Char('/'))) u += '/';
    return u;
  }

  void prepare(const QByteArray& u) {
    curl_easy_reset(curl_);
    url_ = u;
    curl_easy_setopt(curl_, CURLOPT_URL, url_.constData());
    curl_easy_setopt(curl_, CURLOPT_USERNAME, user_.constData());
    curl_easy_setopt(curl_, CURLOPT_PASSWORD, password_.constData());
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, static_cast<long>(settings_.timeoutSeconds));
    // A stalled line ends the step instead of blocking the window forever.
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_TIME, static_cast<long>(settings_.timeoutSeconds));
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errorBuffer_);
    errorBuffer_[0] = 0;
    if (settings_.backend == OperatorSettings::Sftp) {
      curl_easy_setopt(curl_, CURLOPT_SSH_AUTH_TYPES,
                       static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD | CURLSSH_AUTH_PUBLICKEY));
      if (!settings_.keyFile.isEmpty()) {
        keyFile_ = settings_.keyFile.toLocal8Bit();
        curl_easy_setopt(curl_, CURLOPT_SSH_PRIVATE_KEYFILE, keyFile_.constData());
        if (QFileInfo::exists(settings_.keyFile + QStringLiteral(".pub"))) {
          publicKeyFile_ = (settings_.keyFile + QStringLiteral(".pub")).toLocal8Bit();
          curl_easy_setopt(curl_, CURLOPT_SSH_PUBLIC_KEYFILE, publicKeyFile_.constData());
        }
      }
      knownHosts_ = (settings_.knownHosts.isEmpty() ? QDir::homePath() + QStringLiteral("/.ssh/known_hosts")
                                                    : settings_.knownHosts)
                        .toLocal8Bit();
      curl_easy_setopt(curl_, CURLOPT_SSH_KNOWNHOSTS, knownHosts_.constData());
    } else {
      curl_easy_setopt(curl_, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
      curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYPEER, 1L);
      curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYHOST, 2L);
      if (!settings_.caFile.isEmpty()) {
        caFile_ = settings_.caFile.toLocal8Bit();
        curl_easy_setopt(curl_, CURLOPT_CAINFO, caFile_.constData());
      }
    }
  }

  bool check(CURLcode rc) {
    if (rc == CURLE_OK) return true;
    const QString text = QStringLiteral("%1 (%2)").arg(
        QString::fromUtf8(errorBuffer_[0] ? errorBuffer_ : curl_easy_strerror(rc)), QString::fromUtf8(url_));
    switch (rc) {
      case CURLE_LOGIN_DENIED: fail(Failure::LoginDenied, text); break;
      case CURLE_COULDNT_RESOLVE_HOST:
      case CURLE_COULDNT_CONNECT:
      case CURLE_OPERATION_TIMEDOUT:
      case CURLE_SSL_CONNECT_ERROR:
      case CURLE_PEER_FAILED_VERIFICATION:
      case CURLE_USE_SSL_FAILED:
      case CURLE_SSH: fail(Failure::Unreachable, text); break;
      default: fail(Failure::Transfer, text); break;
    }
    return false;
  }

  OperatorSettings settings_;
  QByteArray user_, password_, origin_, url_, knownHosts_, caFile_, keyFile_, publicKeyFile_;
  QString base_;
  CURL* curl_ = nullptr;
  char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace

std::unique_ptr<Store> OpenMailbox(const QString& root, const QString& loginId) {
  QString r = QDir::cleanPath(root);
  if (!r.endsWith(QLatin1Char('/'))) r += QLatin1Char('/');
  return std::make_unique<MailboxStore>(r + loginId + QLatin1Char('/'));
}

std::unique_ptr<Store> OpenNetwork(const OperatorSettings& settings, const QString& loginId, const QByteArray& password) {
  return std::make_unique<NetworkStore>(settings, loginId, password);
}

}  // namespace tarsel
