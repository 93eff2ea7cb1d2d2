#include "platform/cp949.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace orvan::cp949 {
namespace {

// One converter per direction and thread: opening iconv costs more than most
// of the short field conversions it serves.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv cannot convert CP949 on this system");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Returns false on the first invalid or unconvertible sequence when strict;
  // otherwise replaces it by `replacement` and skips `skip` input bytes.
  bool run(const char* in, size_t inLen, QByteArray& out, bool strict, const QByteArray& replacement,
           size_t (*skipLen)(const char*, size_t)) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    out.reserve(static_cast<qsizetype>(inLen * 2 + 8));
    char buf[4096];
    char* src = const_cast<char*>(in);
    size_t left = inLen;
    while (left > 0) {
      char* dst = buf;
      size_t room = sizeof buf;
      size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buf, dst - buf);
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (strict) return false;
        out.append(replacement);
        size_t skip = skipLen(src, left);
        src += skip;
        left -= skip;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

size_t utf8CharLen(const char* p, size_t left) {
  auto c = static_cast<unsigned char>(*p);
  size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
  return n > left ? left : n;
}

size_t cp949CharLen(const char* p, size_t left) {
  auto c = static_cast<unsigned char>(*p);
  return (isLeadByte(c) && left >= 2) ? 2 : 1;
}

Converter& toCp949() {
  thread_local Converter c("CP949", "UTF-8");
  return c;
}
Converter& fromCp949() {
  thread_local Converter c("UTF-8", "CP949");
  return c;
}

bool isAscii(const char* p, qsizetype n) {
  for (qsizetype i = 0; i < n; ++i)
    if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
  return true;
}

}  // namespace

QByteArray encode(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  if (isAscii(utf8.constData(), utf8.size())) return utf8;
  QByteArray out;
  toCp949().run(utf8.constData(), utf8.size(), out, false, QByteArray("?"), utf8CharLen);
  return out;
}

QString decode(const QByteArray& bytes) {
  if (isAscii(bytes.constData(), bytes.size())) return QString::fromLatin1(bytes);
  QByteArray out;
  fromCp949().run(bytes.constData(), bytes.size(), out, false, QByteArray("\xEF\xBF\xBD"), cp949CharLen);
  return QString::fromUtf8(out);
}

std::optional<QString> decodeStrict(const QByteArray& bytes) {
  if (isAscii(bytes.constData(), bytes.size())) return QString::fromLatin1(bytes);
  QByteArray out;
  if (!fromCp949().run(bytes.constData(), bytes.size(), out, true, {}, cp949CharLen)) return std::nullopt;
  return QString::fromUtf8(out);
}

bool isValid(const QByteArray& bytes) { return decodeStrict(bytes).has_value(); }

int byteLength(const QString& text) {
  for (QChar ch : text)
    if (ch.unicode() >= 0x80) return static_cast<int>(encode(text).size());
  return static_cast<int>(text.size());
}

int wholeCharPrefix(const QByteArray& bytes, int n) {
  if (n > bytes.size()) n = static_cast<int>(bytes.size());
  int i = 0;
  while (i < n) {
    int len = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (i + len > n) break;
    i += len;
  }
  return i;
}

}  // namespace orvan::cp949
