#pragma once
// One call of the library: reads the caller's settings, checks them, opens
// the operator (mailbox or server) and moves the files, recording what it
// did in the exchange log. Results are the library's codes (tarsel32.h).
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "comm/ediconfig.h"
#include "exchangelog.h"
#include "operator.h"
#include "store.h"

namespace tarsel {

enum Code : int32_t {
  kNothing = 0,
  kAborted = -1,
  kNoLogin = -10,
  kNoDirectories = -20,
  kHeaderCheck = -40,
  kRegistry = -777,
  kPassword = -888,
  kUnexpected = -999,
};

// What the caller's surroundings offer: a password question (nullopt when
// cancelled or impossible) and a place for progress messages.
struct Hooks {
  std::function<std::optional<QByteArray>()> password;
  std::function<void(const QString&)> status;
};

// The options of the shared settings, as this library reads them:
//   DeleteCheck     the send directory is emptied of what was sent
//   AppendCheck     a received file is appended to one of the same name
//   PasswordCheck   the password is asked before every exchange
//   ErrorCheck      a failure is shown with its details (by the caller)
//   CompressCheck   files are sent gzip-compressed, as NAME.gz
//   ResultCheck     the exchange's list is written to ResultDir/SRRESULT.TXT
//   HeaderCheck     every send file must start with a header line
//   HeaderValCheck  with HeaderCheck: each NEHEAD line's length field and
//                   login ID must match its block and the settings
//   MessageCheck    progress messages are shown while working
class Exchange {
 public:
  Exchange(QString programKey, QString applicationDir, Hooks hooks = {});
  ~Exchange();

  int32_t send();
  int32_t receive();
  int32_t sendReceive(int32_t* sendResult, int32_t* receiveResult);
  int32_t reReceive();

  const QString& note() const { return note_; }
  const orvan::TEdiConfig& config() const { return config_; }

 private:
  int32_t open(bool sendSide, bool receiveSide);
  int32_t sendFiles();
  int32_t receiveFiles();
  int32_t receiveAgain();
  int32_t storeFailure(int32_t other);
  int32_t finish(const QString& operation, int32_t result);
  void status(const QString& text);
  void writeResultFile();
  bool writeReceived(const QString& name, const QByteArray& data, LoggedFile::Direction direction);

  QString programKey_, app_;
  Hooks hooks_;
  orvan::TEdiConfig config_;
  OperatorSettings operator_;
  QString sendDir_, recvDir_;
  std::unique_ptr<Store> store_;
  QString stamp_;
  LoggedExchange log_;
  QString note_;
};

}  // namespace tarsel
