#pragma once
// The fixed paths, the program's ini switches and the program password, set
// once while the program initialises.
#include <QString>

namespace orvan {

struct Paths {
  QString applicationDir;   // with a trailing "/"
  QString dataDir;          // applicationDir + "Data/"
  QString iniPath;          // the executable's name with ".ini", beside it
  QString terminalProgram;  // applicationDir + "Lunaris/Lunaris"
  QString terminalIni;      // applicationDir + "Lunaris/Lunaris.ini"
  QString sendDir, recvDir, resultDir, scriptDir;  // published by the communication settings
  QString sendTempDir;      // applicationDir + "SendTemp/"
  QString noticeFile;       // applicationDir + "Result/Notice.inf"
  QString executableName;   // the program's file name ("Orvan")

  // applicationDir + "YYYYMM.log" of the current month.
  QString logFile() const;
};

struct StartupFlags {
  bool radezuName = false;
  bool joheungNumber = false;
  bool peopleLocalOnly = false;
  bool useNewCmsLayout = false;
  bool testMode = false;  // the TEST argument of the main window
};

const Paths& paths();
StartupFlags& flags();

// Sets every path from the application directory and the executable's name,
// moves an old "Data/Orvan.ini" (relative to the current directory) over the
// ini file keeping the password, and reads the ini switches.
void InitPaths(const QString& applicationDir, const QString& executableName = QStringLiteral("Orvan"));
// Publishes the communication directories (each gets one trailing "/").
void PublishDirectories(const QString& send, const QString& recv, const QString& result, const QString& script);

QString NoticeFilePath();
bool NoticeFileExists();

// Ini file, section General.
QString ReadProgramPassword();
void WriteProgramPassword(const QString& password);
bool ReadIniSwitch(const QString& key);  // RadezuName, JoheungNumber, PeopleLocalOnly, UseNewCmsLayout, HouseTradeType
void WriteIniSwitch(const QString& key, bool value);

}  // namespace orvan
