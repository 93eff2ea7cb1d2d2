#pragma once
// The work of the installer Repolt: after the program has ended, put the
// files the upgrade client library left in "Upgrade/" in their places
// (unpacking the archive "SETUP.EXE" first), record the upgrade day, start
// the program again and empty the upgrade folder. All paths are relative
// to the working directory, the application directory.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "installer/filereplacer.h"
#include "platform/registry.h"

namespace orvan {

struct InstallerComponent {
  QString name;  // the registry sub-key, e.g. "Tarsel32.dll"
  QString dir;
  QString ver;
};

// Where the installer shows its progress (the dialog; nothing in tests).
class InstallerView {
 public:
  virtual ~InstallerView() = default;
  virtual void setProgress(int value) = 0;
  virtual void setStatus(const QString& text) = 0;
};

class UpgradeInstaller {
 public:
  struct Options {
    QString workDir;        // with or without a trailing "/"
    QStringList arguments;  // product code, program file
    // Starts the program again; default: detached in the working directory.
    std::function<bool(const QString& program, const QStringList& arguments)> startProgram;
    // Whether the program is still running; default: the process list.
    std::function<bool(const QString& program)> programRunning;
    int waitLimitMs = 30000;
    std::function<void()> whileWaiting;  // keeps the window painted
  };

  UpgradeInstaller(Options options, InstallerView* view = nullptr);
  ~UpgradeInstaller();

  // Reads the arguments and the component list. False after the registry
  // message: the window closes without doing the work.
  bool Start();
  // The work: wait for the program, copy, record, clean up, restart.
  void Run();
  // Empties the upgrade folder (once; again after Run only when Run did not).
  void CleanUp();

  enum class CopyOutcome { Copied, Nothing, Aborted };
  CopyOutcome CopyNewFiles();

  // The extension after the first "." in small letters, and the folder a
  // file goes to by it ("" for the application directory, "Script/", "Data/").
  static QString ExtensionOf(const QString& fileName);
  static QString FolderFor(const QString& fileName);

  const QString& product() const { return product_; }
  const QString& programFile() const { return program_; }
  const std::vector<InstallerComponent>& components() const { return components_; }
  // "name → folder" of every file that could not be put in place.
  const QStringList& failures() const { return failures_; }

 private:
  QString path(const QString& relative) const;
  void progress(int v);
  void status(const QString& text);
  void message(const QString& text);
  void waitForProgram();
  bool placeFile(const QString& source, const QString& folder, const QString& name);
  bool unpackArchive(const QString& archive, const QString& intoDir);
  QString productKey() const;

  Options o_;
  InstallerView* view_;
  QString product_;
  QString program_;
  std::vector<InstallerComponent> components_;
  QStringList failures_;
  FileReplacer replacer_;
  bool cleaned_ = false;
};

}  // namespace orvan
