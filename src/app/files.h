#pragma once
// File, folder and log operations. Failures go to the application's error
// handler and give false; they never stop the program.
#include <QString>
#include <QStringList>

namespace orvan {

// Names of the plain files of the folder matching the mask ("*.*" = all),
// hidden files left out, in name order.
int ListFiles(const QString& folder, const QString& mask, QStringList& list);
int CountFiles(const QString& folder);
bool ClearFolder(const QString& folder);
// Copies (or moves) every plain file matching the mask; with `stamp` the
// target name gets "_" + yyyymmddhhnnss. A file is removed from the source
// only after its copy is complete, so a failed copy never loses it.
bool CopyFiles(const QString& source, const QString& target, const QString& mask, bool move, bool stamp);

// One line in the monthly log: "YYYYMMDD hh:mm" then " Err --> " or "     --> ".
void WriteLog(const QString& text, bool isError = false);

}  // namespace orvan
