#pragma once
// The main window: an MDI frame with at most one business window inside,
// the start panel of the enabled businesses while none is open, and the
// menus that dispatch every command of the program.
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "app/business.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QScrollArea;
class QStackedWidget;
class QTextBrowser;
class QWidget;

namespace orvan {

class TFbDM;
class TStartButton;

// A menu bar's worth of menus; the frame shows one set at a time.
struct TMenuSet {
  QString name;
  QList<QMenu*> menus;
  QMenu* menu(const QString& title) const;
};

class TfmMain : public QMainWindow {
  Q_OBJECT

 public:
  using WindowFactory = std::function<QWidget*(QWidget* parent)>;

  // The data module lives as long as the window; null runs without a database.
  TfmMain(TFbDM* dm, const QStringList& arguments, QWidget* parent = nullptr);
  ~TfmMain() override;

  // Business windows are registered by the subsystems that build them; a
  // business without one does nothing when selected.
  static void RegisterBusinessWindow(BusinessWindow kind, WindowFactory factory);

  void FormCreate();
  void FormShow();

  void SelectBusiness(int selectionCode);
  bool OpenBusinessWindow(BusinessWindow kind);
  bool CloseActiveChild();
  void SyncMenuToChildren();
  void LoadCodeLists();
  bool OpenAndUpgradeDatabase(const QString& dataDirectory);
  void EnsureBank45();
  bool SameDayCutoffOk(int kind);
  void ShowBusinessSelection();
  // The first start after an upgrade: an automatic and a user backup.
  void BackupAfterUpgrade();

  // State for the commands and their tests.
  qint32 businessMask() const { return businessMask_; }
  int upgradeSwitch() const { return upgradeSwitch_; }
  bool testMode() const { return testMode_; }
  const TMenuSet& mainMenu() const { return MainMenu; }
  const TMenuSet& subMainMenu() const { return SubMainMenu; }
  bool showingSubMenu() const { return showingSub_; }
  QList<TStartButton*> businessButtons() const { return businessButtons_; }
  TStartButton* fixedButton(const QString& objectName) const;
  QWidget* activeChild() const;
  BusinessWindow activeChildKind() const;
  QMdiArea* mdiArea() const { return mdi_; }
  QScrollArea* clientScrollBox() const { return ClientScrollBox; }
  QWidget* noticePanel() const { return pan_noti; }
  const QStringList& corCodeList() const { return CorCodeList; }
  const QStringList& bankIdList() const { return BankIdList; }
  QAction* action(const QString& objectName) const;

 Q_SIGNALS:
  void databaseClosed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildBusinessMenus();
  void BuildStartButtons();
  void buildStartPanel();
  void switchMenuBar(bool sub);
  void requestNotice();
  void commSend(int mode);
  bool FormCloseQuery();
  void FormClose();
  QAction* addItem(QMenu* menu, const QString& objectName, const QString& caption,
                   std::function<void()> handler = {});

  TFbDM* dm_ = nullptr;
  QStringList arguments_;
  bool testMode_ = false;
  bool formCreated_ = false;
  bool formShown_ = false;
  bool destroying_ = false;
  qint32 businessMask_ = 0;
  int upgradeSwitch_ = -1;
  bool showingSub_ = false;

  TMenuSet MainMenu;
  TMenuSet SubMainMenu;
  QMap<QString, QAction*> actions_;

  QStackedWidget* stack_ = nullptr;
  QWidget* startPage_ = nullptr;
  QScrollArea* ClientScrollBox = nullptr;
  QWidget* canvas_ = nullptr;
  QLabel* MainBackground = nullptr;
  QWidget* pan_noti = nullptr;
  QTextBrowser* web = nullptr;
  QLabel* StatusPanel = nullptr;
  QMdiArea* mdi_ = nullptr;
  QList<TStartButton*> businessButtons_;
  QMap<QString, TStartButton*> fixedButtons_;
  BusinessWindow openKind_ = BusinessWindow::None;

  QNetworkAccessManager* net_ = nullptr;
  QPointer<QNetworkReply> noticeReply_;

  QStringList CorCodeList;
  QStringList BankIdList;
};

}  // namespace orvan
