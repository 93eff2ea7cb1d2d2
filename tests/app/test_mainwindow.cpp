#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSqlQuery>
#include <QTimer>
#include <gtest/gtest.h>
#include <zip.h>

#include "app/TfmMain.h"
#include "app/business.h"
#include "app/startbutton.h"
#include "app/paths.h"
#include "app/startup.h"
#include "db/dbtest.h"
#include "maint/TfmPrgConfig.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::DbTest;

namespace {

// Entries of a menu as text: captions, "-" for separators, "(off)" for
// disabled and "(hidden)" for invisible entries.
QStringList entries(const QMenu* m) {
  QStringList out;
  for (QAction* a : m->actions()) {
    if (a->isSeparator()) {
      out << QStringLiteral("-");
      continue;
    }
    QString t = a->text();
    if (a->menu()) t += QStringLiteral(" >");
    // A hidden action reports itself disabled; look at it while shown.
    const bool visible = a->isVisible();
    a->setVisible(true);
    if (!a->isEnabled()) t += QStringLiteral(" (off)");
    a->setVisible(visible);
    if (!visible) t += QStringLiteral(" (hidden)");
    out << t;
  }
  return out;
}

// A business window whose close query can refuse.
class Placeholder : public QLabel {
 public:
  explicit Placeholder(bool* allowClose) : QLabel(QStringLiteral("업무 화면")), allow_(allowClose) {}

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (allow_ && !*allow_)
      e->ignore();
    else
      e->accept();
  }

 private:
  bool* allow_;
};

}  // namespace

class MainWindowTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    // The staged picture bundle sits beside the programs.
    stage = qEnvironmentVariable("ORVAN_STAGE_DIR");
  }
  std::unique_ptr<TfmMain> start(qint32 mask, const QStringList& args = {}) {
    Registry reg = Registry::user();
    reg.writeString(kFirstKey, QStringLiteral("STARTING"), QStringLiteral("NO"));
    WriteBusinessMask(reg, mask);
    if (!stage.isEmpty()) QFile::copy(stage + QStringLiteral("/ZuDezuzu.rcc"), home() + QStringLiteral("ZuDezuzu.rcc"));
    auto w = std::make_unique<TfmMain>(dm_.get(), args);
    w->FormCreate();
    return w;
  }
  QString stage;
};

TEST_F(MainWindowTest, BusinessMenuForTransfersAndNotes) {
  auto w = start(1 + 128);
  QMenu* work = w->mainMenu().menu(QStringLiteral(" 업 무 "));
  ASSERT_NE(work, nullptr);
  EXPECT_EQ(entries(work), (QStringList{QStringLiteral("자금이체"), QStringLiteral("-"), QStringLiteral("받을어음"),
                                        QStringLiteral("-"), QStringLiteral("자금이체 그룹관리"), QStringLiteral("-"),
                                        QStringLiteral("종  료")}));
  QMenu* sub = w->subMainMenu().menu(QStringLiteral("업무"));
  EXPECT_EQ(entries(sub), (QStringList{QStringLiteral("자금이체 (off)"), QStringLiteral("-"),
                                       QStringLiteral("받을어음 (off)"), QStringLiteral("-"),
                                       QStringLiteral("자금이체 그룹관리 (off)"), QStringLiteral("-"),
                                       QStringLiteral("작업화면 닫기")}));
  EXPECT_FALSE(w->action(QStringLiteral("itmCoInfo"))->isEnabled());
  EXPECT_EQ(w->action(QStringLiteral("itmExit"))->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
  EXPECT_EQ(w->action(QStringLiteral("itmCloseChild"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
}

TEST_F(MainWindowTest, EveryBusinessAndTheFixedMenus) {
  auto w = start(255);
  EXPECT_EQ(entries(w->mainMenu().menu(QStringLiteral(" 업 무 "))),
            (QStringList{QStringLiteral("자금이체"), QStringLiteral("수납(CMS)신청"), QStringLiteral("외환매매정보"),
                         QStringLiteral("조흥전자외상매출"), QStringLiteral("조흥기업구매자금대출"),
                         QStringLiteral("조흥기업구매/역구매카드 >"), QStringLiteral("-"), QStringLiteral("집급내역"),
                         QStringLiteral("받을어음"), QStringLiteral("-"), QStringLiteral("자금이체 그룹관리"),
                         QStringLiteral("-"), QStringLiteral("종  료")}));
  EXPECT_EQ(entries(w->subMainMenu().menu(QStringLiteral("업무"))).at(5), QStringLiteral("조흥기업구매/역구매카드 (off)"));
  EXPECT_TRUE(w->action(QStringLiteral("itmCoInfo"))->isEnabled());
  EXPECT_EQ(entries(w->mainMenu().menu(QStringLiteral(" 통 신 "))),
            (QStringList{QStringLiteral("송수신"), QStringLiteral("송 신"), QStringLiteral("수 신"),
                         QStringLiteral("선택 수신 (재수신)"), QStringLiteral("수신리스트  보기"),
                         QStringLiteral("온라인 (PC 뱅킹) (off) (hidden)"), QStringLiteral("송수신 결과 보기"),
                         QStringLiteral("송수신 내역 조회 (hidden)"), QStringLiteral("농협이체상황조회")}));
  EXPECT_EQ(entries(w->subMainMenu().menu(QStringLiteral(" 통 신 "))),
            (QStringList{QStringLiteral("송수신 (off)"), QStringLiteral("송신 (off)"), QStringLiteral("수신 (off)"),
                         QStringLiteral("선택 수신 (재수신) (off)"), QStringLiteral("수신리스트  보기 (off)"),
                         QStringLiteral("온라인 (PC 뱅킹) (hidden)"), QStringLiteral("송수신 결과 보기"),
                         QStringLiteral("송수신 내역 조회 (hidden)"), QStringLiteral("농협이체상황조회")}));
  QStringList codes = entries(w->mainMenu().menu(QStringLiteral("코드설정")));
  EXPECT_EQ(codes.first(), QStringLiteral("출금동의 등록/해지"));
  EXPECT_EQ(codes.at(1), QStringLiteral("사후증빙 자료 관리"));
  const QStringList kinds{QStringLiteral("화일 구분 코드"),      QStringLiteral("처리 결과 통보 구분 코드"),
                          QStringLiteral("이체 시기 구분 코드"), QStringLiteral("거래 구분 코드"),
                          QStringLiteral("VAN-CODE"),            QStringLiteral("신청 구분 코드"),
                          QStringLiteral("처리 여부 구분 코드"), QStringLiteral("불능 코드"),
                          QStringLiteral("실명번호/납부자번호"), QStringLiteral("거래 코드"),
                          QStringLiteral("거래 자금 구분 코드"), QStringLiteral("처리 구분 코드"),
                          QStringLiteral("추심 구분 코드"),      QStringLiteral("취소 구분 코드")};
  EXPECT_EQ(codes.mid(3, 14), kinds);
  EXPECT_EQ(entries(w->subMainMenu().menu(QStringLiteral("코드보기"))).mid(2, 14), kinds);
  EXPECT_EQ(codes.last(), QStringLiteral("은행 코드"));
  EXPECT_FALSE(entries(w->subMainMenu().menu(QStringLiteral("코드보기"))).contains(QStringLiteral("사후증빙 자료 관리")));
  EXPECT_EQ(entries(w->mainMenu().menu(QStringLiteral("자료관리"))),
            (QStringList{QStringLiteral("자료 받기 (PC로 저장.백업)"), QStringLiteral("자료 복구 (불러오기)"),
                         QStringLiteral("자료 재정리"), QStringLiteral("Corvane로 자료송신 >")}));
  EXPECT_EQ(entries(w->subMainMenu().menu(QStringLiteral("자료관리"))),
            (QStringList{QStringLiteral("자료 받기 (off)"), QStringLiteral("자료 복구 (off)"),
                         QStringLiteral("자료 재정리 (off)"), QStringLiteral("Velta으로 자료송신 > (off)")}));
  EXPECT_EQ(entries(w->mainMenu().menu(QStringLiteral("환경설정"))),
            (QStringList{QStringLiteral("기관 코드 설정"), QStringLiteral("기업 구매/역구매카드 업체정보"),
                         QStringLiteral("증빙자료 암호화키 등록"), QStringLiteral("통신 환경 설정"),
                         QStringLiteral("사용 환경 설정"), QStringLiteral("프린터 설정 (hidden)")}));
  EXPECT_EQ(entries(w->subMainMenu().menu(QStringLiteral("환경설정"))),
            (QStringList{QStringLiteral("기관 코드 보기"), QStringLiteral("기업 구매/역구매카드 업체정보 (off)"),
                         QStringLiteral("통신 환경 설정"), QStringLiteral("사용 환경 설정 (off)"),
                         QStringLiteral("프린터 설정 (hidden)")}));
  EXPECT_EQ(entries(w->mainMenu().menu(QStringLiteral(" 기 타 "))),
            (QStringList{QStringLiteral("이 프로그램은..."), QStringLiteral("도움말 (hidden)"),
                         QStringLiteral("자동이체신청(예:엑셀파일)"), QStringLiteral("메모 파일 보기"),
                         QStringLiteral("공지 사항 보기"), QStringLiteral("사용 환경 정보")}));
  EXPECT_EQ(entries(w->subMainMenu().menu(QStringLiteral(" 기 타 "))),
            (QStringList{QStringLiteral("이 프로그램은..."), QStringLiteral("도움말 (hidden)"),
                         QStringLiteral("메모 파일 보기"), QStringLiteral("공지 사항 보기"),
                         QStringLiteral("사용 환경 정보")}));
}

TEST_F(MainWindowTest, StartButtonsFollowTheBusinesses) {
  if (stage.isEmpty()) GTEST_SKIP() << "no staged folder";
  struct Case {
    qint32 mask;
    int buttons;
    QRect send, recv, sendRecv;
  } cases[] = {
      {1 + 128, 2, PlaceStartButton(2), PlaceStartButton(3), PlaceStartButton(4)},
      {255, 9, QRect(20, 340, 69, 96), QRect(90, 340, 69, 96), QRect(160, 340, 69, 96)},
  };
  for (const auto& c : cases) {
    auto w = start(c.mask);
    ASSERT_EQ(w->businessButtons().size(), c.buttons) << c.mask;
    for (int i = 0; i < c.buttons; ++i) {
      EXPECT_EQ(w->businessButtons()[i]->geometry(), PlaceStartButton(i));
      EXPECT_TRUE(w->businessButtons()[i]->hasPictures());
    }
    EXPECT_EQ(w->fixedButton(QStringLiteral("btnCommSend"))->geometry(), c.send);
    EXPECT_EQ(w->fixedButton(QStringLiteral("btnCommRecv"))->geometry(), c.recv);
    EXPECT_EQ(w->fixedButton(QStringLiteral("btnCommSendRecv"))->geometry(), c.sendRecv);
    EXPECT_EQ(w->fixedButton(QStringLiteral("btnExit"))->geometry(), QRect(440, 400, 100, 80));
    EXPECT_TRUE(prompter_.shown().empty());
  }
}

TEST_F(MainWindowTest, MissingPictureBundleIsReportedAndButtonsStayOut) {
  Registry reg = Registry::user();
  reg.writeString(kFirstKey, QStringLiteral("STARTING"), QStringLiteral("NO"));
  WriteBusinessMask(reg, 1);
  TfmMain w(dm_.get(), QStringList{});
  w.FormCreate();
  EXPECT_TRUE(w.businessButtons().isEmpty());
  EXPECT_EQ(prompter_.texts(), QStringList{QStringLiteral("ZuDezuzu.dll 파일이 없거나 사용할 수 없습니다.")});
}

TEST_F(MainWindowTest, ChildSwitchesMenusAndPanelAndGuardsTheClose) {
  bool allowClose = false;
  TfmMain::RegisterBusinessWindow(BusinessWindow::Trans, [&](QWidget*) { return new Placeholder(&allowClose); });
  auto w = start(1);
  w->show();
  EXPECT_FALSE(w->showingSubMenu());
  w->SelectBusiness(1);
  ASSERT_NE(w->activeChild(), nullptr);
  EXPECT_TRUE(w->showingSubMenu());
  EXPECT_FALSE(w->clientScrollBox()->isVisible());
  EXPECT_EQ(w->menuBar()->actions().first()->text(), QStringLiteral("업무"));

  // The child refuses to close: it stays, and so does the frame.
  EXPECT_FALSE(w->CloseActiveChild());
  EXPECT_NE(w->activeChild(), nullptr);
  EXPECT_FALSE(w->close());

  allowClose = true;
  EXPECT_TRUE(w->CloseActiveChild());
  QApplication::processEvents();
  EXPECT_EQ(w->activeChild(), nullptr);
  EXPECT_FALSE(w->showingSubMenu());
  EXPECT_TRUE(w->clientScrollBox()->isVisible());
  TfmMain::RegisterBusinessWindow(BusinessWindow::Trans, nullptr);
}

TEST_F(MainWindowTest, ExitQuestionAnsweredNoKeepsTheWindowAndTheDatabase) {
  auto w = start(1);
  w->show();
  w->FormShow();
  prompter_.answer(No);
  EXPECT_FALSE(w->close());
  EXPECT_EQ(prompter_.lastText(), QStringLiteral("펌뱅킹 프로그램을 종료하시겠습니까 ?"));
  EXPECT_TRUE(w->isVisible());
  QSqlQuery q(dm_->db());
  ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM BankCode")));
  ASSERT_TRUE(q.next());
  EXPECT_GT(q.value(0).toInt(), 0);
  prompter_.answer(Yes);
  EXPECT_TRUE(w->close());
}

TEST_F(MainWindowTest, MenuSetArgumentShowsTheSelectionAgain) {
  Registry reg = Registry::user();
  reg.writeString(kFirstKey, QStringLiteral("STARTING"), QStringLiteral("NO"));
  WriteBusinessMask(reg, 1);
  // Answer the business selection dialog: tick "받을어음" too and confirm.
  int dialogs = 0;
  QTimer timer;
  timer.setInterval(20);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* dlg = qobject_cast<TfmPrgConfig*>(QApplication::activeModalWidget())) {
      ++dialogs;
      dlg->box(128)->setChecked(true);
      dlg->okButton()->click();
    }
  });
  timer.start();
  TfmMain w(dm_.get(), QStringList{QStringLiteral("MenuSet")});
  w.FormCreate();
  timer.stop();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(w.businessMask(), 129);
  EXPECT_EQ(reg.readString(kFirstKey, QStringLiteral("STARTING")), QStringLiteral("NO"));
}

// Pictures of the frame for a person to look at: runs only with SCREENSHOT_DIR set.
TEST_F(MainWindowTest, Screenshots) {
  const QString dir = qEnvironmentVariable("SCREENSHOT_DIR");
  if (dir.isEmpty() || stage.isEmpty()) GTEST_SKIP() << "SCREENSHOT_DIR not set";
  QApplication::setFont(QFont(QStringLiteral("NanumGothic"), 9));
  for (qint32 mask : {129, 255}) {
    auto w = start(mask);
    w->show();
    QApplication::processEvents();
    w->grab().save(dir + QStringLiteral("/main_%1.png").arg(mask));
  }
  TfmMain::RegisterBusinessWindow(BusinessWindow::Trans, [](QWidget*) {
    auto* l = new QLabel(QStringLiteral("자금이체 - 의뢰인정보"));
    l->setAlignment(Qt::AlignCenter);
    l->setWindowTitle(QStringLiteral("자금이체 - 의뢰인정보"));
    return l;
  });
  auto w = start(129);
  w->show();
  w->SelectBusiness(1);
  QApplication::processEvents();
  w->grab().save(dir + QStringLiteral("/main_child.png"));
  w->CloseActiveChild();
  TfmMain::RegisterBusinessWindow(BusinessWindow::Trans, nullptr);
}

TEST_F(MainWindowTest, FirstStartAfterAnUpgradeBacksUpTwice) {
  QDir().mkpath(home() + QStringLiteral("AUTODB_BACKUP/20200101000000"));  // an earlier one stays
  QDir().mkpath(home() + QStringLiteral("UserBackup"));
  ScopedClock clock(QDateTime(QDate(2026, 12, 11), QTime(9, 30, 5)));
  prompter_.chooseFile(home() + QStringLiteral("UserBackup"));
  auto w = start(1, {QStringLiteral("upgrade")});
  w->show();
  w->FormShow();
  EXPECT_TRUE(QFile::exists(home() + QStringLiteral("AUTODB_BACKUP/20261211093005/FB261211.zip")));
  EXPECT_TRUE(QFile::exists(home() + QStringLiteral("AUTODB_BACKUP/20200101000000")));
  int err = 0;
  zip_t* za = zip_open(QFile::encodeName(home() + QStringLiteral("UserBackup/FB261211.zip")).constData(), ZIP_RDONLY, &err);
  ASSERT_NE(za, nullptr);
  EXPECT_GE(zip_name_locate(za, "Orvan.db", 0), 0);
  zip_discard(za);
  EXPECT_TRUE(w->isEnabled());
  ASSERT_GE(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown().front().caption, QStringLiteral("자료 백업"));
  EXPECT_EQ(prompter_.lastText(), QStringLiteral("자료 받기가 완료되었습니다."));
  // The database is open again and holds what it held.
  QSqlQuery q(dm_->db());
  ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM BankCode")) && q.next());
  EXPECT_GT(q.value(0).toInt(), 0);
}
