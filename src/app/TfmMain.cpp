#include "app/TfmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScreen>
#include <QScrollArea>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>

#include "app/calendar.h"
#include "comm/ediconfig.h"
#include "comm/edilib.h"
#include "db/fbdm.h"
#include "upgrade/upgrade.h"
#include "app/messages.h"
#include "app/paths.h"
#include "app/pictures.h"
#include "app/startbutton.h"
#include "app/startup.h"
#include "maint/TfmPrgConfig.h"
#include "maint/backup.h"
#include "app/wait.h"
#include "platform/clock.h"
#include "platform/inifile.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace orvan {
namespace {

QMap<BusinessWindow, TfmMain::WindowFactory>& factories() {
  static QMap<BusinessWindow, TfmMain::WindowFactory> f;
  return f;
}

const QString& kBundleMissing = kPictureBundleMissing;

// The fourteen code kinds in menu order: letter A is kind 1.
const QStringList& codeCaptions() {
  static const QStringList c = {
      QStringLiteral("화일 구분 코드"),      QStringLiteral("처리 결과 통보 구분 코드"),
      QStringLiteral("이체 시기 구분 코드"), QStringLiteral("거래 구분 코드"),
      QStringLiteral("VAN-CODE"),            QStringLiteral("신청 구분 코드"),
      QStringLiteral("처리 여부 구분 코드"), QStringLiteral("불능 코드"),
      QStringLiteral("실명번호/납부자번호"), QStringLiteral("거래 코드"),
      QStringLiteral("거래 자금 구분 코드"), QStringLiteral("처리 구분 코드"),
      QStringLiteral("추심 구분 코드"),      QStringLiteral("취소 구분 코드"),
  };
  return c;
}

// The notice viewer comes with the notices; without the file there is nothing to show.
void showNotice() {
  if (!NoticeFileExists()) InfoBox(QStringLiteral("공지사항 파일이 없습니다."));
}

}  // namespace

QMenu* TMenuSet::menu(const QString& title) const {
  for (QMenu* m : menus)
    if (m->title() == title) return m;
  return nullptr;
}

void TfmMain::RegisterBusinessWindow(BusinessWindow kind, WindowFactory factory) {
  if (factory)
    factories()[kind] = std::move(factory);
  else
    factories().remove(kind);
}

TfmMain::TfmMain(TFbDM* dm, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), dm_(dm), arguments_(arguments) {
  setObjectName(QStringLiteral("fmMain"));
  setMinimumWidth(785);
  resize(785, 580);
  setFont(QFont(QStringLiteral("굴림")));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  stack_ = new QStackedWidget(this);
  buildStartPanel();
  mdi_ = new QMdiArea(stack_);
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  stack_->addWidget(startPage_);
  stack_->addWidget(mdi_);
  setCentralWidget(stack_);

  StatusPanel = new QLabel(QStringLiteral("Corvane 주식회사 HELP-DESK (1588-0000)"), this);
  StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
  statusBar()->addWidget(StatusPanel, 1);
  statusBar()->setSizeGripEnabled(false);

  net_ = new QNetworkAccessManager(this);
  BuildMenus();
  switchMenuBar(false);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) { SyncMenuToChildren(); });
}

TfmMain::~TfmMain() { destroying_ = true; }

void TfmMain::buildStartPanel() {
  startPage_ = new QWidget(stack_);
  auto* row = new QHBoxLayout(startPage_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  ClientScrollBox = new QScrollArea(startPage_);
  ClientScrollBox->setObjectName(QStringLiteral("ClientScrollBox"));
  ClientScrollBox->setFrameShape(QFrame::NoFrame);
  ClientScrollBox->setWidgetResizable(true);
  canvas_ = new QWidget;
  canvas_->setMinimumSize(563, 500);
  MainBackground = new QLabel(canvas_);
  MainBackground->setObjectName(QStringLiteral("MainBackground"));
  MainBackground->setScaledContents(true);
  ClientScrollBox->setWidget(canvas_);
  canvas_->installEventFilter(this);
  row->addWidget(ClientScrollBox, 1);

  pan_noti = new QWidget(startPage_);
  pan_noti->setObjectName(QStringLiteral("pan_noti"));
  pan_noti->setFixedWidth(222);
  auto* notiLayout = new QHBoxLayout(pan_noti);
  notiLayout->setContentsMargins(0, 0, 0, 0);
  web = new QTextBrowser(pan_noti);
  web->setObjectName(QStringLiteral("web"));
  web->setOpenExternalLinks(true);
  web->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  web->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  notiLayout->addWidget(web);
  pan_noti->hide();
  row->addWidget(pan_noti);

  // The fixed buttons exist from the start; BuildStartButtons places them
  // after the business buttons and gives them their pictures.
  const QList<QPair<QString, QString>> fixed = {
      {QStringLiteral("btnCommSend"), QStringLiteral("송 신")},
      {QStringLiteral("btnCommRecv"), QStringLiteral("수 신")},
      {QStringLiteral("btnCommSendRecv"), QStringLiteral("송수신")},
      {QStringLiteral("btnOnline"), QStringLiteral("온라인 (PC 뱅킹)")},
      {QStringLiteral("btnExit"), QStringLiteral("종  료")},
  };
  int n = 0;
  for (const auto& [name, caption] : fixed) {
    auto* b = new TStartButton(caption, canvas_);
    b->setObjectName(name);
    b->setGeometry(name == QLatin1String("btnExit") ? ExitButtonPlace() : PlaceStartButton(n++));
    fixedButtons_[name] = b;
  }
  fixedButtons_[QStringLiteral("btnOnline")]->hide();
  connect(fixedButtons_[QStringLiteral("btnCommSend")], &QAbstractButton::clicked, this, [this] { commSend(1); });
  connect(fixedButtons_[QStringLiteral("btnCommRecv")], &QAbstractButton::clicked, this, [this] { commSend(2); });
  connect(fixedButtons_[QStringLiteral("btnCommSendRecv")], &QAbstractButton::clicked, this, [this] { commSend(3); });
  connect(fixedButtons_[QStringLiteral("btnExit")], &QAbstractButton::clicked, this, [this] { close(); });
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == canvas_ && event->type() == QEvent::Resize) MainBackground->setGeometry(canvas_->rect());
  return QMainWindow::eventFilter(watched, event);
}

QAction* TfmMain::addItem(QMenu* menu, const QString& objectName, const QString& caption, std::function<void()> handler) {
  auto* a = menu->addAction(caption);
  a->setObjectName(objectName);
  if (handler) connect(a, &QAction::triggered, this, std::move(handler));
  actions_[objectName] = a;
  return a;
}

QAction* TfmMain::action(const QString& objectName) const { return actions_.value(objectName, nullptr); }

TStartButton* TfmMain::fixedButton(const QString& objectName) const { return fixedButtons_.value(objectName, nullptr); }

void TfmMain::BuildMenus() {
  auto newMenu = [this](TMenuSet& set, const QString& title, const QString& name) {
    auto* m = new QMenu(title, this);
    m->setObjectName(name);
    set.menus << m;
    return m;
  };
  MainMenu.name = QStringLiteral("MainMenu");
  SubMainMenu.name = QStringLiteral("SubMainMenu");

  // MainMenu: no business window open.
  QMenu* work = newMenu(MainMenu, QStringLiteral(" 업 무 "), QStringLiteral("mnuWork"));
  work->addSeparator()->setObjectName(QStringLiteral("sepWorkEnd"));
  addItem(work, QStringLiteral("itmExit"), QStringLiteral("종  료"), [this] { close(); })
      ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

  QMenu* comm = newMenu(MainMenu, QStringLiteral(" 통 신 "), QStringLiteral("mnuComm"));
  addItem(comm, QStringLiteral("itmSendRecv"), QStringLiteral("송수신"), [this] { commSend(3); });
  addItem(comm, QStringLiteral("itmSend"), QStringLiteral("송 신"), [this] { commSend(1); });
  addItem(comm, QStringLiteral("itmRecv"), QStringLiteral("수 신"), [this] { commSend(2); });
  addItem(comm, QStringLiteral("itmReRecv"), QStringLiteral("선택 수신 (재수신)"), [this] { commSend(4); });
  addItem(comm, QStringLiteral("itmRecvList"), QStringLiteral("수신리스트  보기"), [] { EdiGetResultReceive(); });
  QAction* online = addItem(comm, QStringLiteral("itmOnline"), QStringLiteral("온라인 (PC 뱅킹)"));
  online->setVisible(false);
  online->setEnabled(false);
  addItem(comm, QStringLiteral("itmResultView"), QStringLiteral("송수신 결과 보기"), [] { EdiResultReceive(); });
  addItem(comm, QStringLiteral("itmHistory"), QStringLiteral("송수신 내역 조회"))->setVisible(false);
  addItem(comm, QStringLiteral("itmNacf"), QStringLiteral("농협이체상황조회"));

  QMenu* codes = newMenu(MainMenu, QStringLiteral("코드설정"), QStringLiteral("mnuCodes"));
  addItem(codes, QStringLiteral("itmTongRegister"), QStringLiteral("출금동의 등록/해지"));
  addItem(codes, QStringLiteral("itmSahoo"), QStringLiteral("사후증빙 자료 관리"));
  codes->addSeparator();
  for (int k = 0; k < codeCaptions().size(); ++k)
    addItem(codes, QStringLiteral("itmCode%1").arg(k + 1), codeCaptions()[k]);
  codes->addSeparator();
  addItem(codes, QStringLiteral("itmBankCode"), QStringLiteral("은행 코드"), [this] { LoadCodeLists(); });

  QMenu* data = newMenu(MainMenu, QStringLiteral("자료관리"), QStringLiteral("mnuData"));
  addItem(data, QStringLiteral("itmBackup"), QStringLiteral("자료 받기 (PC로 저장.백업)"));
  addItem(data, QStringLiteral("itmRestore"), QStringLiteral("자료 복구 (불러오기)"));
  addItem(data, QStringLiteral("itmReorganise"), QStringLiteral("자료 재정리"));
  QMenu* support = data->addMenu(QStringLiteral("Corvane로 자료송신"));
  support->setObjectName(QStringLiteral("mnuSupport"));
  addItem(support, QStringLiteral("itmSendDb"), QStringLiteral("DB 자료 보내기"));
  addItem(support, QStringLiteral("itmSendFile"), QStringLiteral("파일 보내기"));

  QMenu* env = newMenu(MainMenu, QStringLiteral("환경설정"), QStringLiteral("mnuEnv"));
  addItem(env, QStringLiteral("itmKiGwan"), QStringLiteral("기관 코드 설정"), [this] { LoadCodeLists(); });
  addItem(env, QStringLiteral("itmCoInfo"), QStringLiteral("기업 구매/역구매카드 업체정보"));
  addItem(env, QStringLiteral("itmAuthKey"), QStringLiteral("증빙자료 암호화키 등록"));
  addItem(env, QStringLiteral("itmCommSetup"), QStringLiteral("통신 환경 설정"), [] { RunEdiSettingsCommand(); });
  addItem(env, QStringLiteral("itmConfig"), QStringLiteral("사용 환경 설정"));
  addItem(env, QStringLiteral("itmPrinter"), QStringLiteral("프린터 설정"))->setVisible(false);

  QMenu* etc = newMenu(MainMenu, QStringLiteral(" 기 타 "), QStringLiteral("mnuEtc"));
  addItem(etc, QStringLiteral("itmAbout"), QStringLiteral("이 프로그램은..."));
  QAction* help = addItem(etc, QStringLiteral("itmHelp"), QStringLiteral("도움말"), [] {
    if (!QFile::exists(paths().applicationDir + QStringLiteral("Orvan.hlp"))) InfoBox(QStringLiteral("도움말 파일이 없습니다."));
  });
  help->setVisible(false);
  help->setShortcut(QKeySequence(Qt::Key_F1));
  addItem(etc, QStringLiteral("itmConsentTemplate"), QStringLiteral("자동이체신청(예:엑셀파일)"));
  addItem(etc, QStringLiteral("itmMemo"), QStringLiteral("메모 파일 보기"));
  addItem(etc, QStringLiteral("itmNotice"), QStringLiteral("공지 사항 보기"), showNotice);
  addItem(etc, QStringLiteral("itmInfo"), QStringLiteral("사용 환경 정보"));

  // SubMainMenu: a business window is open.
  QMenu* swork = newMenu(SubMainMenu, QStringLiteral("업무"), QStringLiteral("mnuSubWork"));
  swork->addSeparator()->setObjectName(QStringLiteral("sepSubWorkEnd"));
  addItem(swork, QStringLiteral("itmCloseChild"), QStringLiteral("작업화면 닫기"), [this] { CloseActiveChild(); })
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));

  QMenu* scomm = newMenu(SubMainMenu, QStringLiteral(" 통 신 "), QStringLiteral("mnuSubComm"));
  addItem(scomm, QStringLiteral("itmSubSendRecv"), QStringLiteral("송수신"))->setEnabled(false);
  addItem(scomm, QStringLiteral("itmSubSend"), QStringLiteral("송신"))->setEnabled(false);
  addItem(scomm, QStringLiteral("itmSubRecv"), QStringLiteral("수신"))->setEnabled(false);
  addItem(scomm, QStringLiteral("itmSubReRecv"), QStringLiteral("선택 수신 (재수신)"))->setEnabled(false);
  addItem(scomm, QStringLiteral("itmSubRecvList"), QStringLiteral("수신리스트  보기"))->setEnabled(false);
  addItem(scomm, QStringLiteral("itmSubOnline"), QStringLiteral("온라인 (PC 뱅킹)"))->setVisible(false);
  addItem(scomm, QStringLiteral("itmSubResultView"), QStringLiteral("송수신 결과 보기"), [] { EdiResultReceive(); });
  addItem(scomm, QStringLiteral("itmSubHistory"), QStringLiteral("송수신 내역 조회"))->setVisible(false);
  addItem(scomm, QStringLiteral("itmSubNacf"), QStringLiteral("농협이체상황조회"));

  QMenu* scodes = newMenu(SubMainMenu, QStringLiteral("코드보기"), QStringLiteral("mnuSubCodes"));
  addItem(scodes, QStringLiteral("itmSubTongRegister"), QStringLiteral("출금동의 등록/해지"))->setEnabled(false);
  scodes->addSeparator();
  for (int k = 0; k < codeCaptions().size(); ++k)
    addItem(scodes, QStringLiteral("itmSubCode%1").arg(k + 1), codeCaptions()[k]);
  scodes->addSeparator();
  addItem(scodes, QStringLiteral("itmSubBankCode"), QStringLiteral("은행 코드"));

  QMenu* sdata = newMenu(SubMainMenu, QStringLiteral("자료관리"), QStringLiteral("mnuSubData"));
  addItem(sdata, QStringLiteral("itmSubBackup"), QStringLiteral("자료 받기"))->setEnabled(false);
  addItem(sdata, QStringLiteral("itmSubRestore"), QStringLiteral("자료 복구"))->setEnabled(false);
  addItem(sdata, QStringLiteral("itmSubReorganise"), QStringLiteral("자료 재정리"))->setEnabled(false);
  QMenu* ssupport = sdata->addMenu(QStringLiteral("Velta으로 자료송신"));
  ssupport->setObjectName(QStringLiteral("mnuSubSupport"));
  ssupport->menuAction()->setEnabled(false);
  addItem(ssupport, QStringLiteral("itmSubSendDb"), QStringLiteral("DB 자료 보내기"))->setEnabled(false);
  addItem(ssupport, QStringLiteral("itmSubSendFile"), QStringLiteral("파일 보내기"))->setEnabled(false);

  QMenu* senv = newMenu(SubMainMenu, QStringLiteral("환경설정"), QStringLiteral("mnuSubEnv"));
  addItem(senv, QStringLiteral("itmSubKiGwan"), QStringLiteral("기관 코드 보기"));
  addItem(senv, QStringLiteral("itmSubCoInfo"), QStringLiteral("기업 구매/역구매카드 업체정보"))->setEnabled(false);
  addItem(senv, QStringLiteral("itmSubCommSetup"), QStringLiteral("통신 환경 설정"), [] { RunEdiSettingsCommand(); });
  addItem(senv, QStringLiteral("itmSubConfig"), QStringLiteral("사용 환경 설정"))->setEnabled(false);
  addItem(senv, QStringLiteral("itmSubPrinter"), QStringLiteral("프린터 설정"))->setVisible(false);

  QMenu* setc = newMenu(SubMainMenu, QStringLiteral(" 기 타 "), QStringLiteral("mnuSubEtc"));
  addItem(setc, QStringLiteral("itmSubAbout"), QStringLiteral("이 프로그램은..."));
  QAction* shelp = addItem(setc, QStringLiteral("itmSubHelp"), QStringLiteral("도움말"));
  shelp->setVisible(false);
  addItem(setc, QStringLiteral("itmSubMemo"), QStringLiteral("메모 파일 보기"));
  addItem(setc, QStringLiteral("itmSubNotice"), QStringLiteral("공지 사항 보기"), showNotice);
  addItem(setc, QStringLiteral("itmSubInfo"), QStringLiteral("사용 환경 정보"));
}

void TfmMain::switchMenuBar(bool sub) {
  showingSub_ = sub;
  QMenuBar* bar = menuBar();
  bar->clear();
  for (QMenu* m : (sub ? SubMainMenu : MainMenu).menus) bar->addMenu(m);
}

void TfmMain::BuildBusinessMenus() {
  upgradeSwitch_ = static_cast<int>(ReadComType());
  if (upgradeSwitch_ == 0) {
    QMenu* env = MainMenu.menu(QStringLiteral("환경설정"));
    addItem(env, QStringLiteral("itmUpgradeSet"), QStringLiteral("자동업그레이드설정"), [this] {
      if (!CloseActiveChild()) return;
      if (ShowUpgradeSettings(this)) EndProcessForUpgrade();
    })->setData(100);
  }
  if (businessMask_ != 0) {
    QMenu* work = MainMenu.menu(QStringLiteral(" 업 무 "));
    QMenu* swork = SubMainMenu.menu(QStringLiteral("업무"));
    QAction* before = work->actions().first();
    QAction* sbefore = swork->actions().first();
    int n = 0;
    for (const BusinessMenuEntry& e : BusinessMenuEntries(businessMask_)) {
      ++n;
      if (e.kind == BusinessMenuEntry::Separator) {
        work->insertSeparator(before);
        swork->insertSeparator(sbefore);
        continue;
      }
      QAction* a = nullptr;
      if (e.kind == BusinessMenuEntry::SubMenu) {
        auto* sub = new QMenu(e.caption, work);
        sub->setObjectName(QStringLiteral("mnuPurchase"));
        for (const BusinessMenuEntry& c : e.children) {
          QAction* ca = sub->addAction(c.caption);
          ca->setObjectName(QStringLiteral("itmBusiness%1").arg(c.code));
          ca->setData(c.code);
          const int code = c.code;
          connect(ca, &QAction::triggered, this, [this, code] { SelectBusiness(code); });
          actions_[ca->objectName()] = ca;
        }
        a = work->insertMenu(before, sub);
      } else {
        a = new QAction(e.caption, work);
        a->setObjectName(QStringLiteral("itmBusiness%1").arg(e.code));
        a->setData(e.code);
        const int code = e.code;
        connect(a, &QAction::triggered, this, [this, code] { SelectBusiness(code); });
        work->insertAction(before, a);
        actions_[a->objectName()] = a;
      }
      // The copies in SubMainMenu are disabled and have no sub-items.
      auto* copy = new QAction(e.caption, swork);
      copy->setEnabled(false);
      copy->setObjectName(QStringLiteral("itmSubBusiness%1").arg(n));
      swork->insertAction(sbefore, copy);
      Q_UNUSED(a);
    }
  }
  if (!(businessMask_ & 32)) action(QStringLiteral("itmCoInfo"))->setEnabled(false);
}

void TfmMain::BuildStartButtons() {
  const QList<Business> list = StartButtonBusinesses(businessMask_);
  const QList<QPair<QString, QString>> fixed = {{QStringLiteral("btnCommSend"), QStringLiteral("MainCommSend")},
                                                {QStringLiteral("btnCommRecv"), QStringLiteral("MainCommRecv")},
                                                {QStringLiteral("btnCommSendRecv"), QStringLiteral("MainCommSendRecv")},
                                                {QStringLiteral("btnOnline"), QStringLiteral("MainOnline")},
                                                {QStringLiteral("btnExit"), QStringLiteral("MainExit")}};
  // Every picture is taken before anything is placed, so a damaged bundle
  // leaves the panel as it was.
  QStringList names{QStringLiteral("MainBackground")};
  for (const Business& b : list) names << b.hotPicture << b.normalPicture;
  for (const auto& f : fixed) names << f.second + QLatin1Char('1') << f.second + QLatin1Char('2');
  QHash<QString, QImage> pics;
  PictureBundle bundle;
  bool ok = bundle.load(paths().applicationDir);
  for (const QString& name : names) {
    if (!ok) break;
    pics[name] = bundle.picture(name);
    ok = !pics[name].isNull();
  }
  bundle.unload();
  if (!ok) {
    InfoBox(kBundleMissing);
    return;
  }

  MainBackground->setPixmap(QPixmap::fromImage(pics[QStringLiteral("MainBackground")]));
  int n = 0;
  for (const Business& b : list) {
    auto* btn = new TStartButton(b.caption, canvas_);
    btn->setObjectName(QStringLiteral("btnBusiness%1").arg(b.code));
    btn->selectionCode = b.code;
    btn->setGeometry(PlaceStartButton(n++));
    btn->setPictures(pics[b.hotPicture], pics[b.normalPicture]);
    btn->setToolTip(b.caption);
    const int code = b.code;
    connect(btn, &QAbstractButton::clicked, this, [this, code] { SelectBusiness(code); });
    btn->show();
    businessButtons_ << btn;
  }
  for (const auto& [name, picture] : fixed) {
    TStartButton* btn = fixedButtons_.value(name);
    btn->setGeometry(name == QLatin1String("btnExit") ? ExitButtonPlace() : PlaceStartButton(n++));
    btn->setPictures(pics[picture + QLatin1Char('1')], pics[picture + QLatin1Char('2')]);
    btn->raise();
  }
}

void TfmMain::ShowBusinessSelection() {
  TfmPrgConfig dlg(Registry::user(), this);
  dlg.exec();
}

void TfmMain::FormCreate() {
  if (formCreated_) return;
  formCreated_ = true;
  testMode_ = !arguments_.isEmpty() && arguments_.first().toUpper() == QLatin1String("TEST");
  flags().testMode = testMode_;
  SetApplicationTitle(QStringLiteral("일반은행용 펌뱅킹 서비스"));
  setWindowTitle(ApplicationTitle() + QStringLiteral(" [버전: ") + FileVersionText(ExecutablePath()) +
                 QStringLiteral("]"));
  LoadHolidayLists();

  Registry reg = Registry::user();
  const bool menuSet = !arguments_.isEmpty() && arguments_.first().toUpper() == QLatin1String("MENUSET");
  StartupSelection s = RunBusinessSelection(reg, menuSet, [this] { ShowBusinessSelection(); });
  if (!s.firstKeyOpened) return;
  businessMask_ = s.mask;
  if (!s.optionKeyOpened) return;

  BuildBusinessMenus();
  ApplyEdiConfig();
  BuildStartButtons();
  if (!testMode_ && upgradeSwitch_ == 0 && UpgradeOnStartup()) EndProcessForUpgrade();
}

void TfmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!formShown_) {
    formShown_ = true;
    QTimer::singleShot(0, this, [this] { FormShow(); });
  }
}

void TfmMain::FormShow() {
  if (!OpenAndUpgradeDatabase(paths().dataDir))
    PlainBox(QStringLiteral("PC를 재시작 후 프로그램을 재시작하십시요.계속 문제가 있을시 고객센터로 문의해 주시기 바랍니다."));
  if (dm_) {
    dm_->ReopenAllTables();
    dm_->ReloadInstitutionBankList();
  }
  LoadCodeLists();
  EnsureBank45();
  EnsureAppTypeCode();
  requestNotice();
  if (!arguments_.isEmpty() && arguments_.first().toUpper() == QLatin1String("UPGRADE")) BackupAfterUpgrade();
}

void TfmMain::BackupAfterUpgrade() {
  prompter().message(MsgKind::Information, QStringLiteral("자료 백업"),
                     QStringLiteral(" 자동 업그레이드 후 첫 실행입니다.\r\n\r\n 데이타 손실 방지를 위해 자동보관/사용자 "
                                    "보관을 합니다."),
                     Ok, Ok);
  setEnabled(false);
  bool userBackup = false;
  try {
    if (dm_) dm_->CloseDatabase();
    const QString autoDir = paths().applicationDir + QStringLiteral("AUTODB_BACKUP");
    QDir().mkpath(autoDir);
    const QString stamped = autoDir + QLatin1Char('/') + Now().toString(QStringLiteral("yyyyMMddHHmmss"));
    if (QDir().mkdir(stamped)) BackupDatabase(paths().dataDir, stamped);
    userBackup = BackupDatabase(paths().dataDir);
  } catch (const std::exception& e) {
    ReportError(e);
  }
  ShowWait(QStringLiteral("자료를 열고 있습니다."));
  if (dm_) dm_->ReopenAllTables();
  CloseWait();
  setEnabled(true);
  if (userBackup) InfoBox(QStringLiteral("자료 받기가 완료되었습니다."));
}

bool TfmMain::OpenAndUpgradeDatabase(const QString& dataDirectory) {
  if (!dm_) return false;
  try {
    dm_->OpenDatabaseAt(dataDirectory);
  } catch (const std::exception& e) {
    ReportError(e);
    return false;
  }
  // A fresh data folder gets its tables and delivered codes before the steps.
  return dm_->CreateMissingTables() && dm_->RunSchemaSteps().isEmpty();
}

void TfmMain::EnsureBank45() {
  if (dm_) dm_->EnsureBank45();
}

bool TfmMain::SameDayCutoffOk(int kind) { return !dm_ || orvan::SameDayCutoffOk(kind, dm_->db()); }

void TfmMain::requestNotice() {
  pan_noti->hide();
  const QString host = IniFile(paths().iniPath).readString(QStringLiteral("General"), QStringLiteral("NoticeHost")).trimmed();
  if (host.isEmpty()) return;
  const QString n = paths().executableName.section(QLatin1Char('.'), 0, 0);
  QString address = host;
  if (!address.contains(QLatin1String("://"))) address.prepend(QStringLiteral("http://"));
  if (address.endsWith(QLatin1Char('/'))) address.chop(1);
  address = (address + QStringLiteral("/popup/package/") + n + QLatin1Char('/') + n + QStringLiteral(".htm")).toLower();
  QNetworkRequest req{QUrl(address)};
  req.setTransferTimeout(5000);
  noticeReply_ = net_->get(req);
  connect(noticeReply_, &QNetworkReply::finished, this, [this, reply = noticeReply_.data()] {
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status == 404) return;
    const QByteArray body = reply->readAll();
    if (body.trimmed().isEmpty()) return;
    web->setHtml(QString::fromUtf8(body));
    pan_noti->show();
  });
}

void TfmMain::LoadCodeLists() {
  CorCodeList.clear();
  BankIdList.clear();
  if (!dm_ || !dm_->db().isOpen()) return;
  QSqlQuery q(dm_->db());
  if (q.exec(QStringLiteral("SELECT CorCode FROM KiGwan")))
    while (q.next()) CorCodeList << q.value(0).toString();
  if (q.exec(QStringLiteral("SELECT ID FROM BankCode")))
    while (q.next()) BankIdList << q.value(0).toString();
  CorCodeList.sort();
  BankIdList.sort();
}

void TfmMain::commSend(int mode) {
  if ((mode == 1 || mode == 3) && (!SameDayCutoffOk(3) || !SameDayCutoffOk(12))) return;
  // The send/receive window is built by the communication subsystem.
}

void TfmMain::SelectBusiness(int selectionCode) {
  const Business* b = BusinessByCode(selectionCode);
  if (!b) return;
  OpenBusinessWindow(b->window);
}

QWidget* TfmMain::activeChild() const {
  QMdiSubWindow* sw = mdi_->currentSubWindow();
  if (!sw && !mdi_->subWindowList().isEmpty()) sw = mdi_->subWindowList().first();
  return sw ? sw->widget() : nullptr;
}

BusinessWindow TfmMain::activeChildKind() const { return activeChild() ? openKind_ : BusinessWindow::None; }

bool TfmMain::OpenBusinessWindow(BusinessWindow kind) {
  if (activeChild() && openKind_ == kind) return true;
  auto f = factories().find(kind);
  if (f == factories().end()) return false;  // not built into this program
  QMdiSubWindow* old = mdi_->subWindowList().isEmpty() ? nullptr : mdi_->subWindowList().first();
  if (old) {
    // The old window's close query decides; it refuses by ignoring the close.
    if (!old->close()) return false;
    QCoreApplication::processEvents();
  }
  QWidget* w = (*f)(nullptr);
  if (!w) return false;
  w->setAttribute(Qt::WA_DeleteOnClose);
  QMdiSubWindow* sw = mdi_->addSubWindow(w, Qt::SubWindow);
  sw->setAttribute(Qt::WA_DeleteOnClose);
  openKind_ = kind;
  connect(sw, &QObject::destroyed, this, [this] {
    if (!destroying_) QTimer::singleShot(0, this, [this] { SyncMenuToChildren(); });
  });
  sw->showMaximized();
  SyncMenuToChildren();
  return true;
}

bool TfmMain::CloseActiveChild() {
  QMdiSubWindow* sw = mdi_->subWindowList().isEmpty() ? nullptr : mdi_->subWindowList().first();
  if (!sw) return true;
  const bool closed = sw->close();
  QCoreApplication::processEvents();
  SyncMenuToChildren();
  return closed;
}

void TfmMain::SyncMenuToChildren() {
  if (destroying_) return;
  bool child = false;
  for (QMdiSubWindow* sw : mdi_->subWindowList())
    if (sw->isVisible() || !sw->isHidden()) child = true;
  if (!child) openKind_ = BusinessWindow::None;
  if (child != showingSub_) switchMenuBar(child);
  stack_->setCurrentWidget(child ? static_cast<QWidget*>(mdi_) : startPage_);
}

bool TfmMain::FormCloseQuery() {
  if (!AskYesNo(QStringLiteral("펌뱅킹 프로그램을 종료하시겠습니까 ?"))) return false;
  FreeHolidayLists();
  if (dm_) dm_->CloseDatabase();
  Q_EMIT databaseClosed();
  return true;
}

void TfmMain::FormClose() {
  CorCodeList.clear();
  BankIdList.clear();
  // The notice page gets a moment to complete; an offline machine must not hang here.
  QElapsedTimer t;
  t.start();
  while (noticeReply_ && noticeReply_->isRunning() && t.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  if (noticeReply_) noticeReply_->abort();
}

void TfmMain::closeEvent(QCloseEvent* event) {
  // While a business window is open the frame closes only after it.
  if (!mdi_->subWindowList().isEmpty() || !FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

}  // namespace orvan
