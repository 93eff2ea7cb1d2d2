#pragma once
// The one window of the installer: a progress bar and a status line while
// the upgrade runs, and the about entry in the window's menu.
#include <QDialog>
#include <QTimer>
#include <memory>

#include "installer/installer.h"

class QLabel;
class QProgressBar;

namespace orvan {

class TRepoltDlg : public QDialog, public InstallerView {
  Q_OBJECT

 public:
  // `startDelayMs`: the pause between showing the window and the work.
  TRepoltDlg(UpgradeInstaller::Options options, int startDelayMs = 1000, QWidget* parent = nullptr);
  ~TRepoltDlg() override;

  void setProgress(int value) override;
  void setStatus(const QString& text) override;

  QProgressBar* progressBar() const { return progress_; }
  QLabel* statusLine() const { return status_; }
  UpgradeInstaller& installer() { return *installer_; }
  // Shows the about box (the window menu's "Repolt 정보(&A)...").
  void ShowAbout();
  // Opens the dialog: false when the start failed and the window is not shown.
  int exec() override;

 protected:
  void showEvent(QShowEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void OnTimer();

  std::unique_ptr<UpgradeInstaller> installer_;
  QProgressBar* progress_;
  QLabel* status_;
  QTimer timer_;
  bool started_ = false;
  bool ran_ = false;
};

// The about box: "Repolt About  Dialog...".
class TAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutDlg(QWidget* parent = nullptr);
};

}  // namespace orvan
