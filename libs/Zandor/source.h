#pragma once
// Where the new files come from: a local folder acting as the operator's
// upgrade server, or a network server reached through libcurl. Either holds
// one folder per product code with "MANIFEST.INI" and the files it lists.
#include <QIODevice>
#include <QString>
#include <memory>

namespace zandor {

enum class Fetch { Ok, NotFound, Unreachable, Interrupted, TooLarge, WriteFailed };

class UpgradeSource {
 public:
  virtual ~UpgradeSource() = default;
  // Writes the product's file `name` to `out`; more than `limit` bytes is TooLarge.
  virtual Fetch fetch(const QString& product, const QString& name, QIODevice& out, qint64 limit) = 0;
};

// A text with a scheme ("https://", "sftp://", "file://" …) is a network
// source; anything else a folder.
std::unique_ptr<UpgradeSource> MakeSource(const QString& location);

}  // namespace zandor
