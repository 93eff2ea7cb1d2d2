#include "zandor.h"

#include <exception>

#include "client.h"
#include "platform/appdir.h"
#include "platform/cp949.h"

namespace {

int32_t run(const char* productCode, const char* loginId, bool now) {
  try {
    zandor::Request r;
    r.product = orvan::cp949::decode(QByteArray(productCode ? productCode : ""));
    r.loginId = orvan::cp949::decode(QByteArray(loginId ? loginId : ""));
    r.ignoreSchedule = now;
    r.today = QDate::currentDate();
    r.applicationDir = orvan::ResolveApplicationDir();
    return zandor::RunUpgrade(r);
  } catch (const std::exception&) {
    // Nothing may escape into the caller; it shows "unknown error" for 0.
    return 0;
  }
}

}  // namespace

extern "C" int32_t StartUpgrade(const char* productCode, const char* loginId) {
  return run(productCode, loginId, false);
}

extern "C" int32_t StartUpgradeNow(const char* productCode, const char* loginId) {
  return run(productCode, loginId, true);
}
