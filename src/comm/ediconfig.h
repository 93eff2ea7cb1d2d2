#pragma once
// The communication settings that Orvan shares with the transport library
// Tarsel32 through the registry: the line parameters, the login and the
// send/receive directories. Orvan reads and rewrites them, publishes the
// directories to the rest of the program and keeps the upgrade schedule's
// registry values beside them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvan {

// Passed as the first argument of every transport-library call and part of
// every registry path below; fixed, whatever the executable is called.
inline constexpr const char* EdiProgramKey = "Orvan.exe";

// "Software\<program key>\Tarsel32" and its Comm and UserInfo keys; the
// library serves any program, so it passes the key it was called with.
QString EdiLibraryKey(const QString& programKey = QLatin1String(EdiProgramKey));
QString EdiCommKey(const QString& programKey = QLatin1String(EdiProgramKey));
QString EdiUserInfoKey(const QString& programKey = QLatin1String(EdiProgramKey));
inline const QString kUpgradeKey = QStringLiteral("Software\\REPOLTGRADE\\FB");

// Fields are named after the registry values that hold them.
struct TEdiConfig {
  // Comm
  QString Connect1, Connect2, Phone1, Phone2, ModemInit, Port, Protocol, Speed;
  // UserInfo
  QString LoginID;
  QString Password;  // scrambled, one character per byte (see UnscramblePassword)
  QString SendDir, RecvDir, ResultDir, ScriptDir;
  bool DeleteCheck = true, AppendCheck = true, PasswordCheck = false, ErrorCheck = false, CompressCheck = false,
       ResultCheck = true, HeaderCheck = false, HeaderValCheck = true, MessageCheck = true;

  bool operator==(const TEdiConfig&) const = default;
};

// The default directories hang off this folder (with its trailing "/"):
// the application directory of the paths unless given.
void EdiConfigDefaults(TEdiConfig& config, const QString& applicationDir = {});
// False (config untouched) when the Comm key is missing; false with only the
// Comm fields copied when the UserInfo key is missing. Missing values read
// as their defaults.
bool ReadEdiConfig(TEdiConfig& config);
bool WriteEdiConfig(const TEdiConfig& config);
// The same under another program's key, defaults hanging off applicationDir.
bool ReadEdiConfig(TEdiConfig& config, const QString& programKey, const QString& applicationDir);
bool WriteEdiConfig(const TEdiConfig& config, const QString& programKey);
QString ReadEdiLoginID();
// COM-TYPE of the Comm key (created if needed); -1 when absent.
double ReadComType();

// The library stores the password with byte i (1-based) raised by i + 9.
// Undoes that; the result ends before the first byte that becomes 0 and
// holds at most 255 bytes. The stored text carries one byte per character.
QByteArray UnscramblePassword(const QByteArray& storedBytes);
QByteArray UnscramblePassword(const QString& stored);
// The inverse, as the library's settings dialog stores a password.
QString ScramblePassword(const QByteArray& password);

// Why a directory may not serve as a send, receive or result directory
// (these get emptied): the file-system root or any folder above the
// application folder, the application folder, its data folder, the send
// staging folder, or the same folder as another of the three. Empty when
// the folder is fine. `others` are the other directories, already resolved.
QString UnsafeDirectoryReason(const QString& resolvedDir, const QString& applicationDir,
                              const QStringList& others);
// An absolute, cleaned folder with one trailing "/"; a relative value hangs
// off the application folder. Blanks around it are dropped.
QString ResolveEdiDirectory(const QString& value, const QString& applicationDir);

// Program initialisation, before any window: clears the last transport
// result, reads the settings (whatever is missing takes its default, what
// was read is kept), writes them back and creates the send, receive and
// result directories.
void InitEdiConfig();
// Re-reads the settings, fills empty directory values with their defaults,
// creates the directories with their Old folders, writes the settings back
// and publishes the directories, the login ID and the batch defaults. A
// directory that would be dangerous to empty is refused with a message and
// keeps its previously published value. False when the settings could not
// be read or written, or a directory was refused: the caller must not
// exchange files then.
bool ApplyEdiConfig();
// Paths are set (InitPaths) before; runs InitEdiConfig, then ApplyEdiConfig.
// Orvan and orvanctl call it while they initialise.
bool InitProgramSettings();

// The values published by ApplyEdiConfig.
QString PublishedLoginID();
void SetPublishedLoginID(const QString& id);
QString PublishedVanCode();     // "VELTA"
int PublishedReTransfer();      // 1

// If the UserInfo key exists and has no AppTypeCode, writes "QTX"; another
// existing value stays.
void EnsureAppTypeCode();

// The upgrade schedule's texts, held by the upgrade function.
struct TUpgradeInterval {
  QString Interval1, Interval2, UpdateDt;
};
// Writes the two intervals and UpdateDt = "20000101".
bool SaveUpgradeInterval(const TUpgradeInterval& interval);
// A missing value keeps the text held before; a missing key empties all three.
bool LoadUpgradeInterval(TUpgradeInterval& interval);
// Dir and Ver of the program and of the transport library under the upgrade key.
bool WriteUpgradeVersions();
// The version our build stamps into every program and library
// ("major.minor.release.build"); empty when the file carries none.
QString FileVersionText(const QString& path);

// "통신 환경 설정": the library's settings dialog, then the login ID is
// published and the terminal program's ini gets the line and login values.
// False when the dialog was cancelled or the settings could not be read.
bool RunEdiSettingsCommand();

}  // namespace orvan
