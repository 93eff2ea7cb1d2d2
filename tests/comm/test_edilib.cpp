// The wrappers around the transport library: result texts, the rules of a
// send-and-receive, and whole exchanges through the embedded mailbox.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

#include "app/paths.h"
#include "comm/ediconfig.h"
#include "comm/edilib.h"
#include "platform/cp949.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "testsupport.h"

namespace orvan {
namespace {

TEST(EdiResultMessage, EveryKindAndCode) {
  struct Case {
    int kind, code;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, "오류없음"},
      {0, -20, "오류없음"},
      {1, 3, "송신 완료"},
      {2, 1, "수신 완료"},
      {4, 2, "수신 완료"},
      {5, 1, "송수신 결과 파일 수신 완료"},
      {6, 1, "정상 처리 되었습니다."},
      {3, 1, "?????"},
      {2, 0, "수신할 파일이 없습니다"},
      {4, 0, "수신할 파일이 없습니다"},
      {5, 0, "수신할 파일이 없습니다"},
      {1, 0, "송신할 파일이 없습니다"},
      {6, 0, "취소되었습니다."},
      {3, 0, "?????"},
      {1, -1, "처리가 중단되었습니다"},
      {2, -999, "처리가 중단되었습니다"},
      {2, -10, "수신 자료 처리중 오류 발생"},
      {1, -10, "사용자 ID가 등록되어 있지 않습니다"},
      {4, -10, "사용자 ID가 등록되어 있지 않습니다"},
      {1, -20, "디렉토리 설정이 되어 있지 않습니다"},
      {1, -30, "헤더 생성 오류 발생"},
      {1, -40, "헤더 검사 오류 발생"},
      {1, -50, "송신 파일 Merge 오류 발생"},
      {1, -60, "송신 파일 압축 오류 발생"},
      {2, -777, "프로그램 오류 발생 (Registry 관련)"},
      {1, -888, "비밀번호 기능 이용시 비밀번호 입력 실패"},
      {1, -5, "?????"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EdiResultMessage(c.kind, c.code), QString::fromUtf8(c.text)) << c.kind << "/" << c.code;
}

QString stageDir() {
  return qEnvironmentVariable("ORVAN_STAGE_DIR", QCoreApplication::applicationDirPath() + "/../Orvan");
}

// Runs `act` on the next modal dialog once it is up.
void whenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start();
}

// An application folder with its settings, the library taken from the
// staged folder and the embedded mailbox of login "ORV01".
class EdiExchangeTest : public test::AppFolderTest {
 protected:
  void SetUp() override {
    test::AppFolderTest::SetUp();
    SetEdiLibraryDirectory(stageDir());
    QString error;
    ASSERT_TRUE(EdiLibraryAvailable(&error)) << error.toStdString();
    InitEdiConfig();
    Registry::user().writeString(EdiUserInfoKey(), "LoginID", "ORV01");
    Registry::user().writeInteger(EdiUserInfoKey(), "MessageCheck", 0);
    ASSERT_TRUE(ApplyEdiConfig());
  }
  void TearDown() override {
    SetEdiLibraryDirectory({});
    test::AppFolderTest::TearDown();
  }
  QString mailbox() const { return home() + "Mailbox/ORV01/"; }
  void waiting(const QString& name, const QByteArray& data) { writeFile("Mailbox/ORV01/inbox/" + name, data); }
  QStringList files(const QString& dir) const { return QDir(dir).entryList(QDir::Files, QDir::Name); }
  QStringList sentFolders() const { return QDir(mailbox() + "sent").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); }
};

TEST_F(EdiExchangeTest, MailboxRoundTrip) {
  writeFile("Send/FB1101", "<<NEHEAD>>first");
  writeFile("Send/CMS001", "<<NEHEAD>>second");
  EXPECT_TRUE(EdiSend());
  EXPECT_EQ(LastEdiOperation(), kEdiSend);
  EXPECT_EQ(LastEdiResult(), 2);
  ASSERT_EQ(sentFolders().size(), 1);
  const QString delivered = mailbox() + "sent/" + sentFolders()[0] + "/";
  EXPECT_EQ(files(delivered), QStringList({"CMS001", "FB1101"}));
  QFile f(delivered + "FB1101");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("<<NEHEAD>>first"));
  EXPECT_TRUE(files(home() + "Send").isEmpty());  // DeleteCheck is on by default

  waiting("FB1102", "result one");
  waiting("EB2201", "result two");
  EXPECT_TRUE(EdiReceive());
  EXPECT_EQ(LastEdiResult(), 2);
  EXPECT_EQ(files(home() + "Recv"), QStringList({"EB2201", "FB1102"}));
  EXPECT_EQ(readFile("Recv/FB1102"), QByteArray("result one"));
  EXPECT_TRUE(files(mailbox() + "inbox").isEmpty());

  // Nothing waiting any more.
  EXPECT_FALSE(EdiReceive());
  EXPECT_EQ(LastEdiResult(), 0);
  EXPECT_EQ(EdiResultMessage(), QString("수신할 파일이 없습니다"));

  // The kept files come again.
  QFile::remove(home() + "Recv/FB1102");
  QFile::remove(home() + "Recv/EB2201");
  EXPECT_TRUE(EdiReReceive());
  EXPECT_EQ(LastEdiOperation(), kEdiReReceive);
  EXPECT_EQ(LastEdiResult(), 2);
  EXPECT_EQ(files(home() + "Recv"), QStringList({"EB2201", "FB1102"}));
  EXPECT_EQ(readFile("Recv/EB2201"), QByteArray("result two"));
}

TEST_F(EdiExchangeTest, ResultCodesOfTheLibrary) {
  EXPECT_FALSE(EdiSend());
  EXPECT_EQ(LastEdiResult(), 0);  // nothing to send
  EXPECT_EQ(EdiResultMessage(), QString("송신할 파일이 없습니다"));

  Registry::user().writeString(EdiUserInfoKey(), "RecvDir", home() + "Gone");
  EXPECT_FALSE(EdiReReceive());
  EXPECT_EQ(LastEdiResult(), 0);  // the missing folder is made; nothing kept yet
  Registry::user().writeString(EdiUserInfoKey(), "SendDir", home() + "Nowhere");
  writeFile("Send/FB1101", "x");
  EXPECT_FALSE(EdiSend());
  EXPECT_EQ(LastEdiResult(), -20);
  Registry::user().writeString(EdiUserInfoKey(), "SendDir", home());
  EXPECT_FALSE(EdiSend());
  EXPECT_EQ(LastEdiResult(), -20);  // the application folder is no send directory
  Registry::user().writeString(EdiUserInfoKey(), "SendDir", "");
  EXPECT_FALSE(EdiSend());
  EXPECT_EQ(LastEdiResult(), -20);
  EXPECT_EQ(EdiResultMessage(), QString("디렉토리 설정이 되어 있지 않습니다"));

  Registry::user().writeString(EdiUserInfoKey(), "LoginID", " ");
  EXPECT_FALSE(EdiReceive());
  EXPECT_EQ(LastEdiResult(), -10);

  Registry::user().deleteKey(EdiUserInfoKey());
  EXPECT_FALSE(EdiReceive());
  EXPECT_EQ(LastEdiResult(), -777);
}

TEST_F(EdiExchangeTest, SendAndReceiveCountsOnlyASendAboveZeroAsSent) {
  struct Case {
    const char* name;
    bool sendFile, waitingFile, login, badHeader;
    bool sendOk, receiveOk;
    int kind, result;
  };
  const Case cases[] = {
      {"both directions", true, true, true, false, true, true, kEdiSendReceive, 2},
      {"nothing waiting", true, false, true, false, true, true, kEdiSendReceive, 1},
      {"nothing went out", false, true, true, false, false, true, kEdiSend, 0},
      {"send refused by the header check", true, true, true, true, false, true, kEdiSend, -40},
      {"no login: the receive failure wins", true, true, false, false, false, false, kEdiReceive, -10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const QString& dir : QStringList{home() + "Send/", home() + "Recv/", mailbox() + "inbox/"})
      for (const QString& name : files(dir)) QFile::remove(dir + name);
    Registry::user().writeString(EdiUserInfoKey(), "LoginID", c.login ? "ORV01" : "");
    Registry::user().writeInteger(EdiUserInfoKey(), "HeaderCheck", c.badHeader ? 1 : 0);
    if (c.sendFile) writeFile("Send/FB1101", "plain data without header");
    if (c.waitingFile) waiting("FB1102", "result");
    bool sendOk = !c.sendOk, receiveOk = !c.receiveOk;
    EdiSendReceive(sendOk, receiveOk);
    EXPECT_EQ(sendOk, c.sendOk);
    EXPECT_EQ(receiveOk, c.receiveOk);
    EXPECT_EQ(LastEdiOperation(), c.kind);
    EXPECT_EQ(LastEdiResult(), c.result);
    EXPECT_EQ(QFile::exists(home() + "Recv/FB1102"), c.receiveOk && c.waitingFile);
  }
}

TEST_F(EdiExchangeTest, AMissingLibraryIsReportedAsAbortedNotAsSuccess) {
  SetEdiLibraryDirectory(home() + "nothing-here");
  InitPaths(home() + "elsewhere/", "Orvan");
  QString error;
  EXPECT_FALSE(EdiLibraryAvailable(&error));
  EXPECT_TRUE(error.contains(EdiLibraryFileName()));
  bool s = true, r = true;
  EdiSendReceive(s, r);
  EXPECT_FALSE(s);
  EXPECT_FALSE(r);
  EXPECT_FALSE(EdiReceive());
  EXPECT_EQ(LastEdiResult(), kEdiLibraryMissing);
  EXPECT_EQ(EdiResultMessage(), QString("처리가 중단되었습니다"));
}

TEST_F(EdiExchangeTest, SettingsCommandWritesTheTerminalIni) {
  // Cancelled: nothing is written.
  whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(RunEdiSettingsCommand());
  EXPECT_EQ(LastEdiOperation(), kEdiEnvSetup);
  EXPECT_EQ(LastEdiResult(), 0);
  EXPECT_FALSE(QFile::exists(paths().terminalIni));

  whenModal([](QWidget* w) {
    w->findChild<QLineEdit*>("LoginID")->setText("NEW042");
    w->findChild<QLineEdit*>("Password")->setText("abc");
    w->findChild<QLineEdit*>("Port")->setText("COM3");
    w->findChild<QLineEdit*>("Speed")->setText("115200");
    static_cast<QDialog*>(w)->accept();
  });
  ASSERT_TRUE(RunEdiSettingsCommand());
  EXPECT_EQ(PublishedLoginID(), QString("NEW042"));
  IniFile ini(paths().terminalIni);
  EXPECT_EQ(ini.readString("Modem", "Port"), QString("COM3"));
  EXPECT_EQ(ini.readString("Modem", "BaudRate"), QString("115200"));
  EXPECT_EQ(ini.readString("Login", "ID"), QString("NEW042"));
  EXPECT_EQ(ini.readRaw("Login", "Password"), QByteArray("abc"));
  // The library keeps the password scrambled.
  EXPECT_EQ(UnscramblePassword(Registry::user().readString(EdiUserInfoKey(), "Password").value_or("")),
            QByteArray("abc"));
}

}  // namespace
}  // namespace orvan
