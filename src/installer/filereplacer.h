#pragma once
// Puts new files in place so that an interruption never leaves a half
// written program or table behind: each file is copied under a temporary
// name beside its target and renamed over it, and the file it replaces is
// kept until the whole run is known to have succeeded, so that a failed run
// can be undone.
#include <QString>
#include <vector>

namespace orvan {

class FileReplacer {
 public:
  FileReplacer() = default;
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  // Copies `source` to `folder` + `name`, creating the folder when missing.
  // The target keeps its permissions; a new program or library file is
  // made executable.
  bool place(const QString& source, const QString& folder, const QString& name);
  // The run succeeded: drops the replaced files.
  void commit();
  // The run failed: puts every replaced file back and removes new ones.
  void rollback();
  int placedCount() const { return int(placed_.size()); }

 private:
  struct Placed {
    QString target;
    QString backup;  // empty when the target did not exist before
  };
  std::vector<Placed> placed_;
};

// True for names the installer treats as programs and libraries: no
// extension, "exe", "dll" or "so".
bool IsProgramExtension(const QString& extension);

}  // namespace orvan
