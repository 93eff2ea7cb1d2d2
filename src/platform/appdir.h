#pragma once
#include <QString>

namespace orvan {

// The application directory with a trailing "/": $ORVAN_HOME when set
// (tests, packaged installs), otherwise the directory of the executable.
QString ResolveApplicationDir();

// Appends "/" to the trimmed folder unless it already ends in one.
QString WithSeparator(const QString& folder);

}  // namespace orvan
