// The transport library through its C entry points: result codes, the
// options it honours, its dialogs, and a round trip with an SFTP server
// started on loopback.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <pwd.h>
#include <unistd.h>

#include "comm/ediconfig.h"
#include "platform/cp949.h"
#include "platform/registry.h"
#include "tarsel32.h"
#include "testsupport.h"

namespace orvan {
namespace {

const char* const kKey = "Orvan.exe";

void whenModal(std::function<void(QWidget*)> act, QWidget* besides = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, act, besides] {
    QWidget* w = QApplication::activeModalWidget();
    if (w && w != besides) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start();
}

// Saved when ORVAN_SCREENSHOT_DIR is set, to look at the dialogs.
void screenshot(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("ORVAN_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  w->grab().save(dir + "/" + name + ".png");
}

class Tarsel32Test : public test::AppFolderTest {
 protected:
  void SetUp() override {
    test::AppFolderTest::SetUp();
    InitEdiConfig();
    user("LoginID", "ORV01");
  }
  void user(const QString& name, const QString& value) { Registry::user().writeString(EdiUserInfoKey(), name, value); }
  void flag(const QString& name, bool on) { Registry::user().writeInteger(EdiUserInfoKey(), name, on ? 1 : 0); }
  void op(const QString& name, const QString& value) {
    Registry::user().writeString(EdiLibraryKey() + "\\Operator", name, value);
  }
  void opInt(const QString& name, int value) { Registry::user().writeInteger(EdiLibraryKey() + "\\Operator", name, value); }
  QStringList files(const QString& dir) const { return QDir(dir).entryList(QDir::Files, QDir::Name); }
  QStringList folders(const QString& dir) const {
    return QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  }
  QString box() const { return home() + "Mailbox/ORV01/"; }
  // What the library noted about its last exchange.
  std::string lastNote() const {
    const QList<QByteArray> lines = readFile("Tarsel32.log").trimmed().split('\n');
    return lines.last().toStdString();
  }
};

TEST_F(Tarsel32Test, ResultCodesForMissingSettings) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    int32_t (*call)(const char*);
    int32_t expected;
  };
  const Case cases[] = {
      {"nothing to send", [] {}, &Send, 0},
      {"nothing waiting", [] {}, &Receive, 0},
      {"nothing kept for a re-receive", [] {}, &ReReceive, 0},
      {"no login ID", [this] { user("LoginID", ""); }, &Send, -10},
      {"login ID that is no folder name", [this] { user("LoginID", "../x"); }, &Receive, -10},
      {"no send directory", [this] { user("SendDir", ""); }, &Send, -20},
      {"receive directory is the root", [this] { user("RecvDir", "/"); }, &Receive, -20},
      {"network without an address", [this] { op("Backend", "FTPS"); }, &Receive, -1},
      {"no settings", [] { Registry::user().deleteKey(EdiCommKey()); }, &Receive, -777},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Registry::user().deleteKey(EdiLibraryKey());
    InitEdiConfig();
    user("LoginID", "ORV01");
    c.arrange();
    EXPECT_EQ(c.call(kKey), c.expected);
  }
  EXPECT_EQ(Send(nullptr), -777);
  EXPECT_EQ(Send("Other.exe"), -777);  // another program's settings do not exist
}

QByteArray neHead(int following, const QByteArray& login) {
  return "<<NEHEAD>>1N" + QByteArray::number(following).rightJustified(10, '0') + QByteArray(10, ' ') +
         login.leftJustified(10, ' ') + "FB1101" + "001" + QByteArray("0000000088").leftJustified(10, ' ') + "\r\n";
}

TEST_F(Tarsel32Test, HeaderChecksRefuseTheWholeSend) {
  const QByteArray record = QByteArray(78, 'D') + "\r\n";
  struct Case {
    const char* name;
    bool headerVal;
    QByteArray content;
    int32_t expected;
  };
  const Case cases[] = {
      {"two good blocks", true, neHead(160, "ORV01") + record + record + neHead(80, "ORV01") + record, 1},
      {"no header line", true, record, -40},
      {"length field disagrees", true, neHead(80, "ORV01") + record + record, -40},
      {"other login ID", true, neHead(80, "ORV02") + record, -40},
      {"values unchecked without HeaderValCheck", false, neHead(80, "ORV02") + record, 1},
      {"purchase-card header", true, "<<HEADER>>" + record, 1},
  };
  flag("HeaderCheck", true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    flag("HeaderValCheck", c.headerVal);
    writeFile("Send/GOOD01", neHead(80, "ORV01") + record);
    writeFile("Send/FB1101", c.content);
    EXPECT_EQ(Send(kKey), c.expected < 0 ? c.expected : 2);
    EXPECT_EQ(files(home() + "Send").size(), c.expected < 0 ? 2 : 0);  // a refused send leaves everything
  }
}

TEST_F(Tarsel32Test, OptionsForSendingAndReceiving) {
  flag("DeleteCheck", false);
  flag("CompressCheck", true);
  const QByteArray content = QByteArray("<<NEHEAD>>") + QByteArray(500, 'x');
  writeFile("Send/FB1101", content);
  ASSERT_EQ(Send(kKey), 1);
  EXPECT_EQ(files(home() + "Send"), QStringList{"FB1101"});  // kept without DeleteCheck
  const QString sent = box() + "sent/" + folders(box() + "sent").value(0) + "/FB1101.gz";
  ASSERT_TRUE(QFile::exists(sent));
  QProcess gunzip;
  gunzip.start("gzip", {"-dc", sent});
  ASSERT_TRUE(gunzip.waitForFinished(10000));
  EXPECT_EQ(gunzip.readAllStandardOutput(), content);

  for (bool append : {true, false}) {
    SCOPED_TRACE(append ? "append" : "replace");
    flag("AppendCheck", append);
    writeFile("Recv/FB1102", "old;");
    writeFile("Mailbox/ORV01/inbox/FB1102", "new");
    ASSERT_EQ(Receive(kKey), 1);
    EXPECT_EQ(readFile("Recv/FB1102"), append ? QByteArray("old;new") : QByteArray("new"));
  }

  // ResultCheck writes the exchange's list beside the other results.
  const QString result = cp949::decode(readFile("Result/SRRESULT.TXT"));
  EXPECT_TRUE(result.contains("수신 FB1102 3")) << result.toStdString();
}

TEST_F(Tarsel32Test, PasswordIsAskedWhenPasswordCheckIsOn) {
  user("Password", ScramblePassword("secret"));
  flag("PasswordCheck", true);
  for (const auto& [typed, expected] : {std::pair{"wrong", -888}, std::pair{"secret", 0}}) {
    whenModal([typed](QWidget* w) {
      auto* dialog = qobject_cast<QInputDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      dialog->setTextValue(typed);
      dialog->accept();
    });
    EXPECT_EQ(Send(kKey), expected) << typed;
  }
  whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(Receive(kKey), -888);
}

TEST_F(Tarsel32Test, EnvSetupSavesEveryValueAndRefusesDangerousFolders) {
  whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(EnvSetup(kKey), 0);

  whenModal([this](QWidget* w) {
    screenshot(w, "envsetup-line");
    w->findChild<QLineEdit*>("RecvDir")->setText(home());
    whenModal([](QWidget* message) {
      EXPECT_NE(qobject_cast<QMessageBox*>(message), nullptr);
      if (auto* label = message->findChild<QLabel*>("qt_msgbox_label"))
        EXPECT_TRUE(label->text().contains("프로그램 폴더")) << label->text().toStdString();
      static_cast<QDialog*>(message)->accept();
    }, w);
    static_cast<QDialog*>(w)->accept();
    EXPECT_TRUE(w->isVisible());  // still open after the refusal
    w->findChild<QLineEdit*>("RecvDir")->setText("  ");
    w->findChild<QLineEdit*>("LoginID")->setText("BANK77");
    w->findChild<QLineEdit*>("Connect1")->setText("인터넷망");
    w->findChild<QLineEdit*>("Password")->setText("pw1");
    auto* backend = w->findChild<QComboBox*>("Backend");
    backend->setCurrentIndex(backend->findText("FTPS 서버"));
    w->findChild<QLineEdit*>("Host")->setText("ftp.example.test");
    w->findChild<QSpinBox*>("ServerPort")->setValue(2121);
    w->findChild<QLineEdit*>("RemoteDir")->setText("/edi");
    w->findChild<QCheckBox*>("HeaderCheck")->setChecked(true);
    if (auto* tabs = w->findChild<QTabWidget*>()) {
      tabs->setCurrentIndex(3);
      screenshot(w, "envsetup-server");
    }
    static_cast<QDialog*>(w)->accept();
  });
  ASSERT_EQ(EnvSetup(kKey), 1);
  const Registry reg = Registry::user();
  EXPECT_EQ(reg.readString(EdiUserInfoKey(), "LoginID"), QString("BANK77"));
  EXPECT_EQ(reg.readString(EdiUserInfoKey(), "RecvDir"), QString());  // empty: the program publishes its default
  EXPECT_EQ(reg.readString(EdiCommKey(), "Connect1"), QString("인터넷망"));
  EXPECT_EQ(UnscramblePassword(reg.readString(EdiUserInfoKey(), "Password").value_or("")), QByteArray("pw1"));
  EXPECT_EQ(reg.readInteger(EdiUserInfoKey(), "HeaderCheck"), 1);
  EXPECT_EQ(reg.readString(EdiLibraryKey() + "\\Operator", "Backend"), QString("FTPS"));
  EXPECT_EQ(reg.readString(EdiLibraryKey() + "\\Operator", "Host"), QString("ftp.example.test"));
  EXPECT_EQ(reg.readInteger(EdiLibraryKey() + "\\Operator", "Port"), 2121);
}

TEST_F(Tarsel32Test, ResultListsShowTheExchangedFiles) {
  whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(ResultReceive(kKey), 0);  // no exchange yet: an empty list

  writeFile("Send/FB1101", "<<NEHEAD>>a");
  writeFile("Send/CMS001", "<<NEHEAD>>bb");
  ASSERT_EQ(Send(kKey), 2);
  writeFile("Mailbox/ORV01/inbox/FB1102", "result");
  ASSERT_EQ(SendReceive(kKey, nullptr, nullptr), 1);
  writeFile("Mailbox/ORV01/inbox/EB2201", "x");
  writeFile("Mailbox/ORV01/inbox/FB7901", "yy");
  int32_t s = 7, r = 7;
  ASSERT_EQ(SendReceive(kKey, &s, &r), 2);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(r, 2);

  whenModal([](QWidget* w) {
    screenshot(w, "resultreceive");
    auto* table = w->findChild<QTableWidget*>("Files");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 2)->text(), QString("EB2201"));
    EXPECT_EQ(table->item(0, 1)->text(), QString("수신"));
    EXPECT_TRUE(w->findChild<QLabel*>("Summary")->text().contains("송수신"));
    static_cast<QDialog*>(w)->reject();
  });
  EXPECT_EQ(ResultReceive(kKey), 1);

  whenModal([](QWidget* w) {
    screenshot(w, "getresultreceive");
    auto* table = w->findChild<QTableWidget*>("Files");
    QStringList names;
    for (int row = 0; row < table->rowCount(); ++row) names << table->item(row, 2)->text();
    EXPECT_EQ(names, QStringList({"EB2201", "FB7901", "FB1102"}));  // newest exchange first, no sent files
    static_cast<QDialog*>(w)->reject();
  });
  EXPECT_EQ(GetResultReceive(kKey), 3);
}

// A loopback SSH server offering SFTP to the user running the test, who
// logs in with a key made for the test. It ends itself after two minutes
// should the test not get to stop it.
class SftpServer {
 public:
  bool start(const QString& dir, QString* why) {
    const QString sshd = QStandardPaths::findExecutable("sshd", {"/usr/sbin", "/usr/local/sbin"});
    const QString keygen = QStandardPaths::findExecutable("ssh-keygen");
    const QString timeout = QStandardPaths::findExecutable("timeout");
    if (sshd.isEmpty() || keygen.isEmpty() || timeout.isEmpty()) return fail(why, "sshd, ssh-keygen or timeout missing");
    // sshd insists on its privilege-separation folder when started as root.
    if (geteuid() == 0 && !QDir().mkpath("/run/sshd")) return fail(why, "cannot create /run/sshd");
    for (const QString& key : {dir + "/host_key", dir + "/user_key"}) {
      // PEM ECDSA keys: read by every libssh2 that libcurl may be built with.
      if (QProcess::execute(keygen, {"-q", "-t", "ecdsa", "-b", "256", "-m", "PEM", "-N", "", "-f", key}) != 0)
        return fail(why, "ssh-keygen failed");
    }
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return fail(why, "no free port");
    port_ = probe.serverPort();
    probe.close();
    QFile::copy(dir + "/user_key.pub", dir + "/authorized_keys");
    QFile hostPub(dir + "/host_key.pub");
    hostPub.open(QIODevice::ReadOnly);
    const QList<QByteArray> hostKey = hostPub.readAll().split(' ');
    knownHosts_ = dir + "/known_hosts";
    writeText(knownHosts_, "[127.0.0.1]:" + QByteArray::number(port_) + ' ' + hostKey.value(0) + ' ' + hostKey.value(1) + '\n');
    writeText(dir + "/sshd_config", QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2/host_key\n"
                                                   "AuthorizedKeysFile %2/authorized_keys\nPidFile %2/sshd.pid\n"
                                                   "StrictModes no\nPasswordAuthentication no\n"
                                                   "KbdInteractiveAuthentication no\nPubkeyAuthentication yes\n"
                                                   "PermitRootLogin prohibit-password\nUsePAM no\n"
                                                   "Subsystem sftp internal-sftp\n")
                                        .arg(port_)
                                        .arg(dir)
                                        .toUtf8());
    keyFile_ = dir + "/user_key";
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(timeout, {"120", sshd, "-D", "-e", "-f", dir + "/sshd_config"});
    QByteArray said;
    for (int i = 0; i < 100 && !said.contains("Server listening"); ++i) {
      if (process_.state() == QProcess::NotRunning) break;
      process_.waitForReadyRead(100);
      said += process_.readAll();
    }
    if (!said.contains("Server listening")) return fail(why, "sshd did not start: " + QString::fromLocal8Bit(said));
    return true;
  }
  ~SftpServer() {
    if (process_.state() != QProcess::NotRunning) {
      process_.terminate();  // timeout passes it on to sshd
      if (!process_.waitForFinished(5000)) process_.kill();
    }
  }
  int port() const { return port_; }
  const QString& knownHosts() const { return knownHosts_; }
  const QString& keyFile() const { return keyFile_; }
  static QString userName() {
    const passwd* pw = getpwuid(geteuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
  }

 private:
  static bool fail(QString* why, const QString& text) {
    *why = text;
    return false;
  }
  static void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
  }
  QProcess process_;
  int port_ = 0;
  QString knownHosts_, keyFile_;
};

TEST_F(Tarsel32Test, SftpRoundTripWithALoopbackServer) {
  const QString root = home() + "server";
  QDir().mkpath(root);
  SftpServer server;
  QString why;
  if (!server.start(dir_->path(), &why)) {
    if (why.contains("missing")) GTEST_SKIP() << why.toStdString();
    FAIL() << why.toStdString();
  }
  const QString login = SftpServer::userName();
  const QString mine = root + "/" + login;
  flag("MessageCheck", false);
  user("LoginID", login);
  op("Backend", "SFTP");
  op("Host", "127.0.0.1");
  opInt("Port", server.port());
  op("RemoteDir", root);
  op("KnownHosts", server.knownHosts());
  op("KeyFile", server.keyFile());
  opInt("Timeout", 10);

  const QByteArray content = QByteArray("<<NEHEAD>>") + test::cp("전송 자료");
  writeFile("Send/FB1101", content);
  writeFile("Send/CMS001", "<<NEHEAD>>cms");
  ASSERT_EQ(Send(kKey), 2) << lastNote();
  const QStringList stamps = folders(mine + "/sent");
  ASSERT_EQ(stamps.size(), 1);
  const QString delivered = mine + "/sent/" + stamps[0];
  EXPECT_EQ(QDir(delivered).entryList(QDir::Files | QDir::Hidden), QStringList({"CMS001", "FB1101"}));  // no parts left
  QFile sent(delivered + "/FB1101");
  ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
  EXPECT_EQ(sent.readAll(), content);

  EXPECT_EQ(Receive(kKey), 0) << lastNote();  // no inbox on the server yet
  QDir().mkpath(mine + "/inbox");
  for (const char* name : {"FB1102", "EB2201"}) {
    QFile w(mine + "/inbox/" + name);
    ASSERT_TRUE(w.open(QIODevice::WriteOnly));
    w.write(QByteArray("result of ") + name);
  }
  ASSERT_EQ(Receive(kKey), 2) << lastNote();
  EXPECT_EQ(files(home() + "Recv"), QStringList({"EB2201", "FB1102"}));
  EXPECT_EQ(readFile("Recv/FB1102"), QByteArray("result of FB1102"));
  EXPECT_TRUE(files(mine + "/inbox").isEmpty());
  EXPECT_EQ(folders(mine + "/received").size(), 1);

  QFile::remove(home() + "Recv/FB1102");
  QFile::remove(home() + "Recv/EB2201");
  ASSERT_EQ(ReReceive(kKey), 2) << lastNote();
  EXPECT_EQ(readFile("Recv/EB2201"), QByteArray("result of EB2201"));

  int32_t s = 0, r = 0;
  writeFile("Send/FB1103", "<<NEHEAD>>again");
  EXPECT_EQ(SendReceive(kKey, &s, &r), 1) << lastNote();
  EXPECT_EQ(s, 1);
  EXPECT_EQ(r, 0);

  // A host key the client does not know, a user key the server does not
  // accept and a closed port all fail, and quickly.
  QElapsedTimer clock;
  clock.start();
  QFile known(server.knownHosts());
  ASSERT_TRUE(known.open(QIODevice::ReadWrite));
  const QByteArray knownText = known.readAll();
  known.resize(0);
  known.close();
  EXPECT_EQ(Receive(kKey), -1) << lastNote();
  ASSERT_TRUE(known.open(QIODevice::WriteOnly));
  known.write(knownText);
  known.close();
  ASSERT_TRUE(QDir(dir_->path()).rename("authorized_keys", "authorized_keys.off"));
  EXPECT_EQ(Receive(kKey), -10) << lastNote();
  ASSERT_TRUE(QDir(dir_->path()).rename("authorized_keys.off", "authorized_keys"));
  opInt("Port", 1);
  EXPECT_EQ(Receive(kKey), -1) << lastNote();
  EXPECT_LT(clock.elapsed(), 15000);
}

}  // namespace
}  // namespace orvan
