#include "comm/edilib.h"

#include <QFileInfo>
#include <QLibrary>
#include <cstdint>
#include <memory>

#include "app/paths.h"
#include "comm/ediconfig.h"
#include "platform/appdir.h"
#include "platform/process.h"

namespace orvan {
namespace {

int g_kind = 0;
int g_result = 0;
QString g_directory;
std::unique_ptr<QLibrary> g_library;
QString g_loadError;

using PlainEntry = int32_t (*)(const char*);
using SendReceiveEntry = int32_t (*)(const char*, int32_t*, int32_t*);

QLibrary* library() {
  if (g_library && g_library->isLoaded()) return g_library.get();
  QStringList dirs;
  if (!g_directory.isEmpty()) dirs << WithSeparator(g_directory);
  if (!paths().applicationDir.isEmpty()) dirs << paths().applicationDir;
  dirs << WithSeparator(QFileInfo(ExecutablePath()).absolutePath());
  g_loadError.clear();
  for (const QString& dir : dirs) {
    const QString file = dir + EdiLibraryFileName();
    if (!QFileInfo::exists(file)) continue;
    auto lib = std::make_unique<QLibrary>(file);
    if (lib->load()) {
      g_library = std::move(lib);
      return g_library.get();
    }
    g_loadError = lib->errorString();
    return nullptr;
  }
  g_loadError = QStringLiteral("%1 파일이 없습니다 (%2)").arg(EdiLibraryFileName(), dirs.join(QStringLiteral(", ")));
  return nullptr;
}

template <typename Fn>
Fn entry(const char* name) {
  QLibrary* lib = library();
  return lib ? reinterpret_cast<Fn>(lib->resolve(name)) : nullptr;
}

bool call(int kind, const char* name) {
  g_kind = kind;
  auto fn = entry<PlainEntry>(name);
  g_result = fn ? fn(EdiProgramKey) : kEdiLibraryMissing;
  return g_result > 0;
}

}  // namespace

int LastEdiOperation() { return g_kind; }
int LastEdiResult() { return g_result; }
void ClearEdiResult() {
  g_kind = 0;
  g_result = 0;
}

QString EdiLibraryFileName() { return QStringLiteral("libTarsel32.so"); }

void SetEdiLibraryDirectory(const QString& dir) {
  g_directory = dir;
  g_library.reset();  // looked for again on the next call; a loaded copy stays mapped
}

bool EdiLibraryAvailable(QString* error) {
  const bool ok = library() != nullptr;
  if (!ok && error) *error = g_loadError;
  return ok;
}

bool EdiEnvSetup() { return call(kEdiEnvSetup, "EnvSetup"); }
bool EdiSend() { return call(kEdiSend, "Send"); }
bool EdiReceive() { return call(kEdiReceive, "Receive"); }
bool EdiReReceive() { return call(kEdiReReceive, "ReReceive"); }
void EdiResultReceive() { call(kEdiResultReceive, "ResultReceive"); }
void EdiGetResultReceive() { call(kEdiResultReceive, "GetResultReceive"); }

bool EdiSendReceive(bool& sendOk, bool& receiveOk) {
  g_kind = kEdiSendReceive;
  int32_t sendResult = -1;
  int32_t receiveResult = -1;
  auto fn = entry<SendReceiveEntry>("SendReceive");
  g_result = fn ? fn(EdiProgramKey, &sendResult, &receiveResult) : kEdiLibraryMissing;
  const bool overall = g_result > 0;
  if (!fn) sendResult = receiveResult = kEdiLibraryMissing;
  // 0 from the send side means the files prepared for it did not go out;
  // counting that as sent would mark the batches sent that the bank never got.
  sendOk = sendResult > 0;
  receiveOk = receiveResult >= 0;
  if (!sendOk) {
    g_kind = kEdiSend;
    g_result = sendResult;
  }
  if (!receiveOk) {
    g_kind = kEdiReceive;
    g_result = receiveResult;
  }
  return overall;
}

QString EdiResultMessage() { return EdiResultMessage(g_kind, g_result); }

QString EdiResultMessage(int kind, int code) {
  if (kind == kEdiNone) return QStringLiteral("오류없음");
  if (code > 0) {
    switch (kind) {
      case kEdiSend: return QStringLiteral("송신 완료");
      case kEdiReceive:
      case kEdiReReceive: return QStringLiteral("수신 완료");
      case kEdiResultReceive: return QStringLiteral("송수신 결과 파일 수신 완료");
      case kEdiEnvSetup: return QStringLiteral("정상 처리 되었습니다.");
      default: return QStringLiteral("?????");
    }
  }
  if (code == 0) {
    switch (kind) {
      case kEdiReceive:
      case kEdiReReceive:
      case kEdiResultReceive: return QStringLiteral("수신할 파일이 없습니다");
      case kEdiSend: return QStringLiteral("송신할 파일이 없습니다");
      case kEdiEnvSetup: return QStringLiteral("취소되었습니다.");
      default: return QStringLiteral("?????");
    }
  }
  switch (code) {
    case -1:
    case -999: return QStringLiteral("처리가 중단되었습니다");
    case -10:
      return kind == kEdiReceive ? QStringLiteral("수신 자료 처리중 오류 발생")
                                 : QStringLiteral("사용자 ID가 등록되어 있지 않습니다");
    case -20: return QStringLiteral("디렉토리 설정이 되어 있지 않습니다");
    case -30: return QStringLiteral("헤더 생성 오류 발생");
    case -40: return QStringLiteral("헤더 검사 오류 발생");
    case -50: return QStringLiteral("송신 파일 Merge 오류 발생");
    case -60: return QStringLiteral("송신 파일 압축 오류 발생");
    case -777: return QStringLiteral("프로그램 오류 발생 (Registry 관련)");
    case -888: return QStringLiteral("비밀번호 기능 이용시 비밀번호 입력 실패");
    default: return QStringLiteral("?????");
  }
}

}  // namespace orvan
