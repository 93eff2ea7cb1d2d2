#pragma once
// Backing the database up into one ZIP archive of every table file of the
// data folder, named "FB" + yymmdd + ".zip" in the chosen folder.
#include <QString>

namespace orvan {

// The archive's name for a backup made today.
QString BackupFileName();
// With a folder, writes there without asking; without one, asks for it.
// The archive is written beside its final name and renamed over it, so an
// interrupted backup never leaves a broken archive in place of a good one.
bool BackupDatabase(const QString& dataDir, const QString& folder = {});

}  // namespace orvan
