#include "source.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <curl/curl.h>

namespace zandor {
namespace {

class FolderSource : public UpgradeSource {
 public:
  explicit FolderSource(QString root) : root_(std::move(root)) {}

  Fetch fetch(const QString& product, const QString& name, QIODevice& out, qint64 limit) override {
    const QDir dir(QDir(root_).filePath(product));
    if (!dir.exists()) return Fetch::Unreachable;
    QFile in(dir.filePath(name));
    if (!in.exists()) return Fetch::NotFound;
    if (!in.open(QIODevice::ReadOnly)) return Fetch::Interrupted;
    qint64 total = 0;
    char buf[16384];
    for (;;) {
      const qint64 n = in.read(buf, sizeof buf);
      if (n < 0) return Fetch::Interrupted;
      if (n == 0) break;
      total += n;
      if (total > limit) return Fetch::TooLarge;
      if (out.write(buf, n) != n) return Fetch::WriteFailed;
    }
    return Fetch::Ok;
  }

 private:
  QString root_;
};

struct Sink {
  QIODevice* out;
  qint64 limit;
  qint64 total = 0;
  bool tooLarge = false;
  bool writeFailed = false;
};

size_t writeChunk(char* data, size_t size, size_t count, void* user) {
  auto* s = static_cast<Sink*>(user);
  const qint64 n = qint64(size * count);
  s->total += n;
  if (s->total > s->limit) {
    s->tooLarge = true;
    return 0;
  }
  if (s->out->write(data, n) != n) {
    s->writeFailed = true;
    return 0;
  }
  return size_t(n);
}

class CurlSource : public UpgradeSource {
 public:
  explicit CurlSource(QString base) : base_(std::move(base)) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
    if (!base_.endsWith(QLatin1Char('/'))) base_ += QLatin1Char('/');
  }

  Fetch fetch(const QString& product, const QString& name, QIODevice& out, qint64 limit) override {
    const QByteArray url = base_.toUtf8() + QUrl::toPercentEncoding(product) + '/' + QUrl::toPercentEncoding(name);
    CURL* curl = curl_easy_init();
    if (!curl) return Fetch::Unreachable;
    Sink sink{&out, limit};
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &writeChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
    // A server that stops sending for half a minute has broken off.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 30L);
    const CURLcode rc = curl_easy_perform(curl);
    long http = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &http);
    curl_easy_cleanup(curl);
    if (sink.tooLarge) return Fetch::TooLarge;
    if (sink.writeFailed) return Fetch::WriteFailed;
    switch (rc) {
      case CURLE_OK: return Fetch::Ok;
      case CURLE_HTTP_RETURNED_ERROR:
        return (http == 404 || http == 410) ? Fetch::NotFound : Fetch::Unreachable;
      case CURLE_REMOTE_FILE_NOT_FOUND:
      case CURLE_FILE_COULDNT_READ_FILE: return Fetch::NotFound;
      case CURLE_UNSUPPORTED_PROTOCOL:
      case CURLE_URL_MALFORMAT:
      case CURLE_COULDNT_RESOLVE_PROXY:
      case CURLE_COULDNT_RESOLVE_HOST:
      case CURLE_COULDNT_CONNECT:
      case CURLE_LOGIN_DENIED:
      case CURLE_REMOTE_ACCESS_DENIED:
      case CURLE_SSL_CONNECT_ERROR:
      case CURLE_PEER_FAILED_VERIFICATION: return Fetch::Unreachable;
      default: return Fetch::Interrupted;
    }
  }

 private:
  QString base_;
};

}  // namespace

std::unique_ptr<UpgradeSource> MakeSource(const QString& location) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
  if (scheme.match(location).hasMatch()) return std::make_unique<CurlSource>(location);
  return std::make_unique<FolderSource>(location);
}

}  // namespace zandor
