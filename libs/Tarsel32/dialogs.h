#pragma once
// The library's own windows: the settings dialog over every value it shares
// with the calling program plus its operator settings, and the lists of the
// exchanged files.
#include <QDialog>
#include <QList>

#include "comm/ediconfig.h"
#include "exchangelog.h"
#include "operator.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace tarsel {

class EnvSetupDialog : public QDialog {
  Q_OBJECT

 public:
  EnvSetupDialog(const QString& applicationDir, const orvan::TEdiConfig& config, const OperatorSettings& op,
                 QWidget* parent = nullptr);

  orvan::TEdiConfig config() const;
  OperatorSettings operatorSettings() const;

  void accept() override;

 private:
  void updateBackend();
  QLineEdit* field(const QString& name, const QString& value);
  QWidget* folderField(QLineEdit* edit, bool file = false);

  QString app_;
  orvan::TEdiConfig config_;
  QList<QPair<QString, QLineEdit*>> texts_;
  QList<QPair<QString, QCheckBox*>> flags_;
  QLineEdit* password_;
  QComboBox* backend_;
  QLineEdit *mailbox_, *host_, *remoteDir_, *caFile_, *knownHosts_, *keyFile_;
  QSpinBox *port_, *timeout_;
  QList<QWidget*> networkOnly_;
  QList<QWidget*> mailboxOnly_;
};

// The files of the given exchanges, newest first.
class ExchangeListDialog : public QDialog {
  Q_OBJECT

 public:
  ExchangeListDialog(const QString& caption, const QString& summary, const QList<LoggedExchange>& exchanges,
                     bool receivedOnly, QWidget* parent = nullptr);

 private:
  QTableWidget* table_;
};

// Shows a dialog modally, or does nothing and returns false without a
// running QApplication (a console caller).
bool CanShowWindows();

}  // namespace tarsel
