#pragma once
// The wait window: a small borderless box on top of everything that tells
// the user a long step is running, with an optional progress bar. GuiWait
// creates it on first use and frees it on CloseWait.
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "app/wait.h"

class QLabel;
class QProgressBar;

namespace orvan {

class TfrmWaitMsg : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 383;
  static constexpr int kHeight = 63;

  TfrmWaitMsg();

  void showMessage(const QString& text);
  void showProgress(const QString& text, int minimum, int maximum, const QString& label);
  void setPosition(int position, const QString& label);

  QLabel* iconLabel() const { return icon_; }
  QLabel* messageLabel() const { return message_; }
  QLabel* percentLabel() const { return percent_; }
  QProgressBar* progressBar() const { return bar_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void takeApplicationIcon();
  void arrange(bool progress);

  QLabel* icon_;
  QLabel* message_;
  QLabel* percent_;
  QProgressBar* bar_;
  int maximum_ = 100;  // of the caller's range; the bar's own never is empty
  QPoint dragOffset_;
  bool dragging_ = false;
};

// The process-wide wait indicator of the GUI.
class GuiWait : public WaitIndicator {
 public:
  ~GuiWait() override;
  void showMessage(const QString& text) override;
  void showProgress(const QString& text, int minimum, int maximum, bool countSwitch) override;
  void setPosition(int position, const QString& label) override;
  void hide() override;
  void reshow() override;
  void close() override;
  bool exists() const override { return !window_.isNull(); }
  bool isVisible() const override { return window_ && window_->isVisible(); }

  TfrmWaitMsg* window() const { return window_.data(); }

 private:
  TfrmWaitMsg& ensureWindow();
  void present();

  QPointer<TfrmWaitMsg> window_;
};

}  // namespace orvan
