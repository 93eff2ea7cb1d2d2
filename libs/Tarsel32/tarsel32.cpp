// The C entry points: each turns the caller's program key into settings,
// runs one exchange or dialog and never lets an exception cross into the
// caller.
#include "tarsel32.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include <exception>
#include <memory>

#include "comm/ediconfig.h"
#include "dialogs.h"
#include "exchange.h"
#include "exchangelog.h"
#include "platform/appdir.h"
#include "platform/cp949.h"
#include "platform/registry.h"

#ifndef ORVAN_FILE_VERSION
#define ORVAN_FILE_VERSION "0.0.0.0"
#endif
extern "C" __attribute__((used)) const char kTarselFileVersionMarker[] = "\x01ORVAN-FILE-VERSION=" ORVAN_FILE_VERSION;

namespace {

using namespace tarsel;

QString keyOf(const char* programKey) { return programKey ? orvan::cp949::decode(QByteArray(programKey)) : QString(); }

QString applicationDir() { return orvan::ResolveApplicationDir(); }

// A small window that shows what the exchange is doing while the call
// blocks the caller's event loop.
class ProgressWindow {
 public:
  ProgressWindow() {
    if (!CanShowWindows()) return;
    window_ = std::make_unique<QWidget>(nullptr, Qt::Dialog);
    window_->setObjectName(QStringLiteral("Tarsel32Progress"));
    window_->setWindowTitle(QStringLiteral("송수신"));
    label_ = new QLabel(QStringLiteral("중계 서버에 연결하는 중..."), window_.get());
    label_->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(window_.get());
    layout->addWidget(label_);
  }
  void show(const QString& text) {
    if (!window_) return;
    label_->setText(text);
    window_->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

 private:
  std::unique_ptr<QWidget> window_;
  QLabel* label_ = nullptr;
};

template <typename Body>
int32_t guarded(Body body) {
  try {
    return body();
  } catch (const std::exception&) {
    return kUnexpected;
  } catch (...) {
    return kUnexpected;
  }
}

template <typename Run>
int32_t exchange(const char* programKey, Run run) {
  return guarded([&] {
    ProgressWindow progress;
    Hooks hooks;
    hooks.password = []() -> std::optional<QByteArray> {
      if (!CanShowWindows()) return std::nullopt;
      bool ok = false;
      const QString typed = QInputDialog::getText(nullptr, QStringLiteral("비밀번호 확인"), QStringLiteral("비밀번호"),
                                                  QLineEdit::Password, QString(), &ok);
      if (!ok) return std::nullopt;
      return orvan::cp949::encode(typed);
    };
    hooks.status = [&progress](const QString& text) { progress.show(text); };
    Exchange ex(keyOf(programKey), applicationDir(), hooks);
    const int32_t result = run(ex);
    if (result < 0 && ex.config().ErrorCheck && CanShowWindows() && !ex.note().isEmpty())
      QMessageBox::warning(nullptr, QStringLiteral("송수신 오류"),
                           QStringLiteral("오류 코드 %1\n%2").arg(result).arg(ex.note()));
    return result;
  });
}

bool settingsPresent(const QString& key) {
  const orvan::Registry reg = orvan::Registry::user();
  return !key.isEmpty() && reg.keyExists(orvan::EdiCommKey(key)) && reg.keyExists(orvan::EdiUserInfoKey(key));
}

}  // namespace

extern "C" {

int32_t EnvSetup(const char* programKey) {
  return guarded([&]() -> int32_t {
    if (!CanShowWindows()) return kNothing;
    const QString key = keyOf(programKey);
    if (key.isEmpty()) return kRegistry;
    const QString app = applicationDir();
    orvan::TEdiConfig config;
    orvan::EdiConfigDefaults(config, app);
    orvan::ReadEdiConfig(config, key, app);
    EnvSetupDialog dialog(app, config, ReadOperatorSettings(key, app));
    if (dialog.exec() != QDialog::Accepted) return kNothing;
    if (!orvan::WriteEdiConfig(dialog.config(), key) || !WriteOperatorSettings(key, dialog.operatorSettings()))
      return kRegistry;
    return 1;
  });
}

int32_t Send(const char* programKey) {
  return exchange(programKey, [](Exchange& ex) { return ex.send(); });
}

int32_t Receive(const char* programKey) {
  return exchange(programKey, [](Exchange& ex) { return ex.receive(); });
}

int32_t SendReceive(const char* programKey, int32_t* sendResult, int32_t* receiveResult) {
  return exchange(programKey, [&](Exchange& ex) { return ex.sendReceive(sendResult, receiveResult); });
}

int32_t ReReceive(const char* programKey) {
  return exchange(programKey, [](Exchange& ex) { return ex.reReceive(); });
}

int32_t ResultReceive(const char* programKey) {
  return guarded([&]() -> int32_t {
    const QString key = keyOf(programKey);
    if (!settingsPresent(key)) return kRegistry;
    const QList<LoggedExchange> all = ExchangeLog(ExchangeLog::DefaultPath(applicationDir())).read();
    if (!CanShowWindows()) return all.isEmpty() ? kNothing : 1;
    QString summary = QStringLiteral("송수신 기록이 없습니다.");
    QList<LoggedExchange> last;
    if (!all.isEmpty()) {
      const LoggedExchange& e = all.last();
      last << e;
      summary = QStringLiteral("%1  %2  (%3)  결과 %4%5")
                    .arg(e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.operation, e.backend)
                    .arg(e.result)
                    .arg(e.note.isEmpty() ? QString() : QStringLiteral(" - ") + e.note);
    }
    ExchangeListDialog(QStringLiteral("송수신 결과"), summary, last, false).exec();
    return all.isEmpty() ? kNothing : 1;
  });
}

int32_t GetResultReceive(const char* programKey) {
  return guarded([&]() -> int32_t {
    const QString key = keyOf(programKey);
    if (!settingsPresent(key)) return kRegistry;
    const QList<LoggedExchange> all = ExchangeLog(ExchangeLog::DefaultPath(applicationDir())).read();
    int count = 0;
    for (const LoggedExchange& e : all)
      for (const LoggedFile& f : e.files) count += f.direction != LoggedFile::Sent;
    if (CanShowWindows())
      ExchangeListDialog(QStringLiteral("수신 리스트"),
                         count ? QStringLiteral("최근 송수신에서 받은 파일 %1개").arg(count)
                               : QStringLiteral("받은 파일이 없습니다."),
                         all, true)
          .exec();
    return count;
  });
}

}  // extern "C"
