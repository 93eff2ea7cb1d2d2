// The installer on a temporary application folder: where each new file
// goes, the archive, the registry it needs and writes, and what a failure
// leaves behind.
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>
#include <zip.h>

#include "installer/TRepoltDlg.h"
#include "installer/installer.h"
#include "platform/registry.h"
#include "testsupport.h"

namespace orvan {
namespace {

const QString kKey = QStringLiteral("Software\\REPOLTGRADE\\FB");

QString today() { return QDate::currentDate().toString(QStringLiteral("yyyyMMdd")); }

struct ZipEntry {
  QByteArray name;  // stored bytes
  QByteArray data;
  bool deflate = true;
};

// Writes a ZIP archive; names go in as given (CP949 bytes stay raw).
bool writeZip(const QString& path, const std::vector<ZipEntry>& entries) {
  int err = 0;
  zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  if (!z) return false;
  for (const ZipEntry& e : entries) {
    zip_source_t* src = zip_source_buffer(z, e.data.constData(), zip_uint64_t(e.data.size()), 0);
    const zip_int64_t i = zip_file_add(z, e.name.constData(), src, ZIP_FL_ENC_CP437 | ZIP_FL_OVERWRITE);
    if (i < 0) return false;
    zip_set_file_compression(z, zip_uint64_t(i), e.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  }
  return zip_close(z) == 0;
}

class InstallerTest : public test::AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    Registry reg = Registry::user();
    reg.writeString(kKey, QStringLiteral("UpdateDt"), QStringLiteral("20000101"));
    reg.writeString(kKey + QStringLiteral("\\Setup.exe"), QStringLiteral("Dir"), home());
    reg.writeString(kKey + QStringLiteral("\\Setup.exe"), QStringLiteral("Ver"), QStringLiteral("1.0.0.1"));
    reg.writeString(kKey + QStringLiteral("\\Tarsel32.dll"), QStringLiteral("Dir"), home() + QStringLiteral("edi"));
    reg.writeString(kKey + QStringLiteral("\\Tarsel32.dll"), QStringLiteral("Ver"), QStringLiteral("1.0.0.0"));
    writeFile(QStringLiteral("Upgrade/UPGRADE.INI"), "[UPGRADE]\r\nProduct=FB\r\n");
  }

  struct View : InstallerView {
    QList<int> progress;
    QStringList status;
    void setProgress(int v) override { progress << v; }
    void setStatus(const QString& t) override { status << t; }
  };

  UpgradeInstaller::Options options(QStringList args = {QStringLiteral("FB"), QStringLiteral("Orvan")}) {
    UpgradeInstaller::Options o;
    o.workDir = home();
    o.arguments = std::move(args);
    o.startProgram = [this](const QString& p, const QStringList& a) {
      started << p;
      startArgs = a;
      return startOk;
    };
    o.programRunning = [](const QString&) { return false; };
    return o;
  }

  // The whole run as the window does it: start, work, close.
  void install(UpgradeInstaller::Options o) {
    UpgradeInstaller inst(std::move(o), &view);
    if (inst.Start()) inst.Run();
    inst.CleanUp();
    failures = inst.failures();
  }

  QString updateDt() const { return Registry::user().readString(kKey, QStringLiteral("UpdateDt")).value_or(QString()); }
  QStringList upgradeFolder() const {
    return QDir(home() + QStringLiteral("Upgrade")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }
  // Files the replacement left behind anywhere in the application folder.
  QStringList leftovers() const {
    QStringList out;
    std::function<void(const QString&)> walk = [&](const QString& d) {
      for (const QFileInfo& fi : QDir(d).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (fi.isDir()) walk(fi.absoluteFilePath());
        else if (fi.fileName().contains(QLatin1String(".repolt-"))) out << fi.fileName();
      }
    };
    walk(home());
    return out;
  }

  View view;
  QStringList started;
  QStringList startArgs;
  bool startOk = true;
  QStringList failures;
};

TEST_F(InstallerTest, OnlyTheIniFileMeansNoUpgradeButTheRunFinishes) {
  install(options());
  EXPECT_EQ(prompter_.texts(), (QStringList{QStringLiteral("업그레이드 정보가 없습니다."), QStringLiteral("업그레이드를 완료 하였습니다.")}));
  EXPECT_EQ(prompter_.shown()[0].caption, QStringLiteral("Repolt"));
  EXPECT_EQ(updateDt(), today());
  EXPECT_EQ(started, QStringList{QStringLiteral("Orvan")});
  EXPECT_TRUE(startArgs.isEmpty());  // nothing was installed
  EXPECT_TRUE(view.status.contains(QStringLiteral("버전업된 파일이 존재 하지 않습니다.")));
  EXPECT_EQ(view.progress.last(), 100);
  EXPECT_TRUE(upgradeFolder().isEmpty());
  EXPECT_TRUE(QDir(home() + QStringLiteral("Upgrade")).exists());
}

TEST_F(InstallerTest, FilesGoWhereTheirNameSends) {
  struct Case {
    const char* name;
    const char* target;
  } cases[] = {
      {"BlankDb.bin", "BlankDb.bin"},
      {"Notice.txt", "Notice.txt"},
      {"Login.scp", "Script/Login.scp"},
      {"Dial.SCR", "Script/Dial.SCR"},
      {"KeyTable.db", "Data/KeyTable.db"},
      {"Orvan", "Orvan"},                  // a program without extension
      {"Zandor.so", "Zandor.so"},          // a library
      {"Helper.exe", "Helper.exe"},
      {"Orvan.new.exe", "Data/Orvan.new.exe"},  // everything after the first dot: "new.exe"
      {"Tarsel32.dll", "edi/Tarsel32.dll"},     // a component goes to its Dir
      {"setup.EXE.txt", "Data/setup.EXE.txt"},
  };
  writeFile(QStringLiteral("BlankDb.bin"), "old blank");
  QFile::setPermissions(home() + QStringLiteral("BlankDb.bin"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  const auto blankPermissions = QFile::permissions(home() + QStringLiteral("BlankDb.bin"));
  for (const Case& c : cases) writeFile(QStringLiteral("Upgrade/") + QLatin1String(c.name), QByteArray("new ") + c.name);

  install(options());
  for (const Case& c : cases) {
    EXPECT_EQ(readFile(QLatin1String(c.target)), QByteArray("new ") + c.name) << c.name;
  }
  EXPECT_FALSE(QFile::exists(home() + QStringLiteral("Data/Tarsel32.dll")));
  EXPECT_FALSE(QFile::exists(home() + QStringLiteral("Tarsel32.dll")));
  // A replaced file keeps its permissions; a new program becomes executable.
  EXPECT_EQ(QFile::permissions(home() + QStringLiteral("BlankDb.bin")), blankPermissions);
  EXPECT_TRUE(QFileInfo(home() + QStringLiteral("Orvan")).isExecutable());
  EXPECT_FALSE(QFileInfo(home() + QStringLiteral("Data/KeyTable.db")).isExecutable());

  EXPECT_EQ(prompter_.texts(), QStringList{QStringLiteral("업그레이드를 완료 하였습니다.")});
  EXPECT_EQ(updateDt(), today());
  EXPECT_EQ(started, QStringList{QStringLiteral("Orvan")});
  EXPECT_EQ(startArgs, QStringList{QStringLiteral("UPGRADE")});
  EXPECT_TRUE(failures.isEmpty());
  EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
  EXPECT_TRUE(upgradeFolder().isEmpty());

  // Progress: 15, then one step per file from 15 on, 97 when all are copied, 100 at the end.
  const int n = int(std::size(cases));
  QList<int> want{0, 15};
  for (int i = 0; i < n; ++i) want << 15 + i;
  want << 97 << 100;
  EXPECT_EQ(view.progress, want);
  EXPECT_EQ(view.status.first(), QStringLiteral("업그레이드 파일들을 체크 중입니다..."));
  EXPECT_EQ(view.status.count(QStringLiteral("버전업된 하나의 파일을 복사하였습니다.")), n);
  EXPECT_TRUE(view.status.contains(QStringLiteral("버전업된 파일을 모두 복사 하였습니다.")));
  EXPECT_EQ(view.status.last(), QStringLiteral("업그레이드를 완료 하였습니다."));
}

TEST_F(InstallerTest, TheArchiveIsUnpackedAndPlacedByExtension) {
  QByteArray big;
  for (int i = 0; i < 5000; ++i) big += "line " + QByteArray::number(i) + "\r\n";  // several 16 KiB pieces
  ASSERT_TRUE(writeZip(home() + QStringLiteral("Upgrade/SETUP.EXE"),
                       {{"Orvan", "program v2", false},
                        {"KeyTable.db", big, true},
                        {"Login.scp", "script", true},
                        {test::cp("안내.txt"), test::cp("안내문"), false},
                        {"Tarsel32.dll", "lib in archive", true}}));
  install(options());
  EXPECT_EQ(readFile(QStringLiteral("Orvan")), QByteArray("program v2"));
  EXPECT_EQ(readFile(QStringLiteral("Data/KeyTable.db")), big);
  EXPECT_EQ(readFile(QStringLiteral("Script/Login.scp")), QByteArray("script"));
  EXPECT_EQ(readFile(QStringLiteral("안내.txt")), test::cp("안내문"));
  // Inside the archive only the extension counts.
  EXPECT_EQ(readFile(QStringLiteral("Tarsel32.dll")), QByteArray("lib in archive"));
  EXPECT_TRUE(view.status.contains(QStringLiteral("압축파일을 해제하고 있습니다.")));
  EXPECT_EQ(updateDt(), today());
  EXPECT_EQ(started.size(), 1);
  EXPECT_TRUE(upgradeFolder().isEmpty());
  EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(InstallerTest, UnsafeOrUnreadableArchivesStopTheRun) {
  struct Case {
    const char* what;
    std::function<void()> make;
    const char* messageStart;
  } cases[] = {
      {"parent entry",
       [&] {
         writeZip(home() + QStringLiteral("Upgrade/SETUP.EXE"),
                  {{"KeyTable.db", "fine", true}, {"../escape.txt", "outside", true}});
       },
       "압축파일에 사용할 수 없는 파일 이름이 있습니다.\n../escape.txt"},
      {"folder entry",
       [&] { writeZip(home() + QStringLiteral("Upgrade/SETUP.EXE"), {{"Data/KeyTable.db", "x", true}}); },
       "압축파일에 사용할 수 없는 파일 이름이 있습니다.\nData/KeyTable.db"},
      {"not an archive", [&] { writeFile(QStringLiteral("Upgrade/SETUP.EXE"), "MZ not a zip"); }, "압축파일을 열 수 없습니다."},
  };
  for (const Case& c : cases) {
    prompter_.clear();
    started.clear();
    writeFile(QStringLiteral("BlankDb.bin"), "old blank");
    QFile::remove(home() + QStringLiteral("Data/KeyTable.db"));
    // Sorted before the archive: placed first, then undone.
    writeFile(QStringLiteral("Upgrade/BlankDb.bin"), "new blank");
    writeFile(QStringLiteral("Upgrade/UPGRADE.INI"), "[UPGRADE]\r\n");
    c.make();
    install(options());
    ASSERT_EQ(prompter_.texts().size(), 1) << c.what;
    EXPECT_TRUE(prompter_.texts()[0].startsWith(QString::fromUtf8(c.messageStart))) << c.what << ": "
                                                                                   << prompter_.texts()[0].toStdString();
    EXPECT_EQ(readFile(QStringLiteral("BlankDb.bin")), QByteArray("old blank")) << c.what;
    EXPECT_FALSE(QFile::exists(home() + QStringLiteral("Data/KeyTable.db"))) << c.what;
    EXPECT_FALSE(QFile::exists(home() + QStringLiteral("escape.txt"))) << c.what;
    EXPECT_FALSE(QFile::exists(QDir(home()).absoluteFilePath(QStringLiteral("../escape.txt")))) << c.what;
    EXPECT_EQ(updateDt(), QStringLiteral("20000101")) << c.what;
    EXPECT_TRUE(started.isEmpty()) << c.what;
    EXPECT_TRUE(upgradeFolder().isEmpty()) << c.what;  // the closed window still cleans up
    EXPECT_TRUE(leftovers().isEmpty()) << c.what;
  }
}

TEST_F(InstallerTest, AFailedCopyUndoesTheRunAndLeavesUpdateDt) {
  writeFile(QStringLiteral("BlankDb.bin"), "old blank");
  writeFile(QStringLiteral("Orvan"), "old program");
  // A file where the data folder and the component folder should be.
  writeFile(QStringLiteral("Data"), "in the way");
  Registry::user().writeString(kKey + QStringLiteral("\\Tarsel32.dll"), QStringLiteral("Dir"),
                               home() + QStringLiteral("Data/edi"));
  for (const char* n : {"BlankDb.bin", "KeyTable.db", "Orvan", "Tarsel32.dll", "Login.scp"})
    writeFile(QStringLiteral("Upgrade/") + QLatin1String(n), QByteArray("new ") + n);

  install(options());
  ASSERT_EQ(prompter_.texts().size(), 1);
  const QString text = prompter_.texts()[0];
  EXPECT_TRUE(text.startsWith(QStringLiteral("다음 파일을 복사하지 못하여 업그레이드를 취소 하였습니다.\n"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("KeyTable.db → ") + home() + QStringLiteral("Data/"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Tarsel32.dll → ") + home() + QStringLiteral("Data/edi/"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("BlankDb.bin")));
  EXPECT_EQ(failures.size(), 2);
  // Everything placed in this run is undone.
  EXPECT_EQ(readFile(QStringLiteral("BlankDb.bin")), QByteArray("old blank"));
  EXPECT_EQ(readFile(QStringLiteral("Orvan")), QByteArray("old program"));
  EXPECT_FALSE(QFile::exists(home() + QStringLiteral("Script/Login.scp")));
  EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
  // Not recorded as upgraded, but marked so that today's starts do not hand over again.
  EXPECT_EQ(updateDt(), QStringLiteral("20000101"));
  EXPECT_EQ(Registry::user().readString(kKey, QStringLiteral("FailDt")), today());
  EXPECT_FALSE(view.status.contains(QStringLiteral("업그레이드를 완료 하였습니다.")));
  // The program still starts again (the old one).
  EXPECT_EQ(started, QStringList{QStringLiteral("Orvan")});
  EXPECT_TRUE(startArgs.isEmpty());
  EXPECT_TRUE(upgradeFolder().isEmpty());
}

TEST_F(InstallerTest, RegistryProblemsEndBeforeAnyCopy) {
  struct Case {
    const char* what;
    std::function<void(Registry&)> spoil;
  } cases[] = {
      {"no product key", [](Registry& r) { r.deleteKey(kKey); }},
      {"component without Ver", [](Registry& r) { r.deleteValue(kKey + QStringLiteral("\\Tarsel32.dll"), QStringLiteral("Ver")); }},
      {"Dir of another type", [](Registry& r) { r.writeInteger(kKey + QStringLiteral("\\Setup.exe"), QStringLiteral("Dir"), 1); }},
  };
  for (const Case& c : cases) {
    SetUp();
    prompter_.clear();
    started.clear();
    Registry reg = Registry::user();
    c.spoil(reg);
    writeFile(QStringLiteral("Upgrade/BlankDb.bin"), "new");
    install(options());
    EXPECT_EQ(prompter_.texts(), QStringList{QStringLiteral("레지스트리 정보오류로 인해 자동업그레이드를 종료 합니다.")}) << c.what;
    EXPECT_FALSE(QFile::exists(home() + QStringLiteral("BlankDb.bin"))) << c.what;
    EXPECT_TRUE(started.isEmpty()) << c.what;
    EXPECT_TRUE(upgradeFolder().isEmpty()) << c.what;
  }
}

TEST_F(InstallerTest, Arguments) {
  {
    UpgradeInstaller inst(options({QStringLiteral("fb"), QStringLiteral("Orvan")}));
    EXPECT_TRUE(inst.Start());
    EXPECT_EQ(inst.product(), QStringLiteral("FB"));
    EXPECT_EQ(inst.components().size(), 2u);
    EXPECT_EQ(inst.components()[1].name, QStringLiteral("Tarsel32.dll"));
    EXPECT_TRUE(prompter_.shown().empty());
  }
  {
    // Another product is named, and its key is still the one read.
    Registry::user().writeString(QStringLiteral("Software\\REPOLTGRADE\\XY\\A.exe"), QStringLiteral("Dir"), home());
    Registry::user().writeString(QStringLiteral("Software\\REPOLTGRADE\\XY\\A.exe"), QStringLiteral("Ver"), QStringLiteral("1"));
    UpgradeInstaller inst(options({QStringLiteral("xy"), QStringLiteral("Orvan")}));
    EXPECT_TRUE(inst.Start());
    EXPECT_EQ(prompter_.lastText(), QStringLiteral("Application not found : XY"));
    EXPECT_EQ(inst.components().size(), 1u);
  }
  {
    prompter_.clear();
    UpgradeInstaller inst(options({QStringLiteral("FB"), QString()}));
    EXPECT_TRUE(inst.Start());
    EXPECT_EQ(prompter_.texts(), QStringList{QStringLiteral("실행파일이 파라미터로 입력되지 않았습니다.")});
    inst.Run();
    EXPECT_EQ(prompter_.lastText(), QStringLiteral("실행파일 패스 오류로 응용프로그램을 실행시킬수가 없습니다."));
    EXPECT_TRUE(started.isEmpty());
  }
  {
    prompter_.clear();
    startOk = false;
    install(options());
    EXPECT_EQ(prompter_.lastText(), QStringLiteral("실행파일 패스 오류로 응용프로그램을 실행시킬수가 없습니다."));
  }
}

TEST_F(InstallerTest, WaitsForTheProgramToEndBeforeCopying) {
  writeFile(QStringLiteral("Upgrade/BlankDb.bin"), "new");
  int polls = 0;
  bool copiedWhileRunning = false;
  UpgradeInstaller::Options o = options();
  o.programRunning = [&](const QString& p) {
    EXPECT_EQ(p, home() + QStringLiteral("Orvan"));
    if (QFile::exists(home() + QStringLiteral("BlankDb.bin"))) copiedWhileRunning = true;
    return ++polls < 4;
  };
  install(o);
  EXPECT_EQ(polls, 4);
  EXPECT_FALSE(copiedWhileRunning);
  EXPECT_EQ(readFile(QStringLiteral("BlankDb.bin")), QByteArray("new"));

  // One that never ends is given the time limit, then the files are replaced anyway.
  writeFile(QStringLiteral("Upgrade/BlankDb.bin"), "newer");
  o = options();
  o.programRunning = [](const QString&) { return true; };
  o.waitLimitMs = 300;
  QElapsedTimer t;
  t.start();
  install(o);
  EXPECT_GE(t.elapsed(), 300);
  EXPECT_EQ(readFile(QStringLiteral("BlankDb.bin")), QByteArray("newer"));
}

TEST_F(InstallerTest, TheWindowRunsTheWorkAndCleansUpWhenDestroyed) {
  writeFile(QStringLiteral("Upgrade/KeyTable.db"), "table");
  {
    TRepoltDlg dlg(options(), 0);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Auto-Upgrade Dialog......"));
    EXPECT_EQ(dlg.progressBar()->minimum(), 0);
    EXPECT_EQ(dlg.progressBar()->maximum(), 100);
    dlg.exec();
    EXPECT_EQ(dlg.progressBar()->value(), 100);
    EXPECT_EQ(dlg.statusLine()->text(), QStringLiteral("업그레이드를 완료 하였습니다."));
  }
  EXPECT_EQ(readFile(QStringLiteral("Data/KeyTable.db")), QByteArray("table"));
  EXPECT_EQ(started.size(), 1);

  // A registry problem: the window is not shown, the folder is still emptied.
  Registry::user().deleteKey(kKey);
  writeFile(QStringLiteral("Upgrade/KeyTable.db"), "table 2");
  {
    TRepoltDlg dlg(options(), 0);
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
  }
  EXPECT_TRUE(upgradeFolder().isEmpty());
  EXPECT_EQ(readFile(QStringLiteral("Data/KeyTable.db")), QByteArray("table"));
}

TEST_F(InstallerTest, AboutBox) {
  TRepoltDlg dlg(options(), 0);
  QString title;
  QStringList texts;
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activeModalWidget();
    ASSERT_NE(w, nullptr);
    title = w->windowTitle();
    for (QLabel* l : w->findChildren<QLabel*>()) texts << l->text();
    for (QPushButton* b : w->findChildren<QPushButton*>()) texts << b->text();
    qobject_cast<QDialog*>(w)->accept();
  });
  dlg.ShowAbout();
  EXPECT_EQ(title, QStringLiteral("Repolt About  Dialog..."));
  EXPECT_EQ(texts, (QStringList{QStringLiteral("Repolt "), QStringLiteral("1.0.0.0"), QStringLiteral("확인")}));
}

}  // namespace
}  // namespace orvan
