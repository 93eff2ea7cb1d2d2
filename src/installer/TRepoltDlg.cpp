#include "installer/TRepoltDlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace orvan {

TRepoltDlg::TRepoltDlg(UpgradeInstaller::Options options, int startDelayMs, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RepoltDlg"));
  setWindowTitle(QStringLiteral("Auto-Upgrade Dialog......"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  progress_ = new QProgressBar;
  progress_->setRange(0, 100);
  progress_->setValue(0);
  status_ = new QLabel;
  status_->setMinimumWidth(360);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(progress_);
  lay->addWidget(status_);
  setFixedSize(420, 96);

  if (!options.whileWaiting) options.whileWaiting = [] { QApplication::processEvents(); };
  installer_ = std::make_unique<UpgradeInstaller>(std::move(options), this);

  timer_.setInterval(startDelayMs);
  connect(&timer_, &QTimer::timeout, this, [this] { OnTimer(); });
  // The about entry sits in the window's own menu; Alt+A reaches it too.
  auto* about = new QShortcut(QKeySequence(QStringLiteral("Alt+A")), this);
  connect(about, &QShortcut::activated, this, [this] { ShowAbout(); });
}

TRepoltDlg::~TRepoltDlg() { installer_->CleanUp(); }

int TRepoltDlg::exec() {
  if (!installer_->Start()) return QDialog::Rejected;
  started_ = true;
  return QDialog::exec();
}

void TRepoltDlg::setProgress(int value) {
  progress_->setValue(value);
  QApplication::processEvents();
}

void TRepoltDlg::setStatus(const QString& text) {
  status_->setText(text);
  QApplication::processEvents();
}

void TRepoltDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (started_ && !ran_) timer_.start();
}

void TRepoltDlg::OnTimer() {
  timer_.stop();
  if (ran_) return;
  ran_ = true;
  installer_->Run();
  accept();
}

void TRepoltDlg::contextMenuEvent(QContextMenuEvent* e) {
  QMenu menu(this);
  menu.addSeparator();
  menu.addAction(QStringLiteral("Repolt 정보(&A)..."), this, [this] { ShowAbout(); });
  menu.exec(e->globalPos());
}

void TRepoltDlg::ShowAbout() { TAboutDlg(this).exec(); }

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDlg"));
  setWindowTitle(QStringLiteral("Repolt About  Dialog..."));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  auto* name = new QLabel(QStringLiteral("Repolt "));
  auto* version = new QLabel(QStringLiteral("1.0.0.0"));
  auto* ok = new QPushButton(QStringLiteral("확인"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(name);
  row->addWidget(version);
  row->addStretch();
  auto* lay = new QVBoxLayout(this);
  lay->addLayout(row);
  lay->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace orvan
