#pragma once
// Orvan's only road to the transport library Tarsel32. The library is
// loaded at run time from the application folder, so that orvancore needs
// no widgets although the library's dialogs do. Every wrapper records the
// kind of the call and its result for EdiResultMessage.
#include <QString>

namespace orvan {

// Kinds of LastEdiOperation.
enum EdiKind : int {
  kEdiNone = 0,
  kEdiSend = 1,
  kEdiReceive = 2,
  kEdiSendReceive = 3,
  kEdiReReceive = 4,
  kEdiResultReceive = 5,
  kEdiEnvSetup = 6,
};

// The result a wrapper reports when the library cannot be loaded.
inline constexpr int kEdiLibraryMissing = -999;

int LastEdiOperation();
int LastEdiResult();
void ClearEdiResult();

// Where the library is looked for before the application folder (tests
// point it at the staged folder); empty restores the default.
void SetEdiLibraryDirectory(const QString& dir);
// The library's file name in the application folder.
QString EdiLibraryFileName();
// Loads the library if needed; false with the reason when it cannot.
bool EdiLibraryAvailable(QString* error = nullptr);

// True when the library's result is greater than 0.
bool EdiEnvSetup();
bool EdiSend();
bool EdiReceive();
bool EdiReReceive();
// Both in one connection. sendOk only when the library sent something
// (a send result of 0 means the prepared files did not go out);
// receiveOk when the receive result is 0 or more. On a failure the
// operation and result point at it, the receive failure winning.
bool EdiSendReceive(bool& sendOk, bool& receiveOk);
void EdiResultReceive();
void EdiGetResultReceive();

// The text for LastEdiOperation and LastEdiResult.
QString EdiResultMessage();
QString EdiResultMessage(int kind, int code);

}  // namespace orvan
