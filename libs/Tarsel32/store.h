#pragma once
// The operator's side of an exchange, seen as the folders of one login:
//   inbox/                 files waiting for the user (the operator puts them here)
//   received/<stamp>/      files already received, kept for a re-receive
//   sent/<stamp>/          files the user sent, one folder per exchange
// <stamp> is yyyyMMddHHmmsszzz of the exchange. The embedded mailbox keeps
// these folders on the local disk; the network backend finds the same
// folders on the operator's server. Paths are relative to the login's folder.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "operator.h"

namespace tarsel {

class Store {
 public:
  enum class Failure { None, Unreachable, LoginDenied, Transfer };

  virtual ~Store() = default;
  // Names in the folder (its sub-folders when `folders`; a server may not
  // tell the two apart); a folder that does not exist lists as empty.
  virtual bool list(const QString& dir, QStringList& names, bool folders) = 0;
  virtual bool get(const QString& path, QByteArray& data) = 0;
  // Creates missing folders; the file appears complete or not at all.
  virtual bool put(const QString& path, const QByteArray& data) = 0;
  // Moves a file to another folder, created when missing.
  virtual bool move(const QString& from, const QString& to) = 0;

  Failure failure() const { return failure_; }
  const QString& error() const { return error_; }

 protected:
  void fail(Failure f, const QString& text) {
    failure_ = f;
    error_ = text;
  }
  Failure failure_ = Failure::None;
  QString error_;
};

// The login's folder of the embedded mailbox: <mailbox root>/<login ID>/.
std::unique_ptr<Store> OpenMailbox(const QString& root, const QString& loginId);
// The login's folder on the operator's server: <remote dir>/<login ID>/,
// logged in as the login ID with its password.
std::unique_ptr<Store> OpenNetwork(const OperatorSettings& settings, const QString& loginId, const QByteArray& password);

}  // namespace tarsel
