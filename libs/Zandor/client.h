#pragma once
// The work behind StartUpgrade: the schedule, the manifest of the upgrade
// source, the comparison with the installed component versions and the
// transfer of the new files into "Upgrade/".
#include <QDate>
#include <QString>

namespace zandor {

enum Result : int {
  NewFiles = 1,
  NothingNow = 2,
  UserRefused = 10,
  Damaged = 11,
  Unreachable = 12,
  BrokenOff = 13,
  Overflow = 14,
  NoInfoFile = 16,
  CountMismatch = 17,
};

struct Request {
  QString product;  // "FB"
  QString loginId;
  bool ignoreSchedule = false;
  QDate today;
  QString applicationDir;  // with a trailing "/"
};

int RunUpgrade(const Request& r);

// The source named by the product key's "Source" value, else the local
// upgrade server folder of this user.
QString SourceLocation(const QString& product);

}  // namespace zandor
