// The GUI's wait window, message boxes, entry dialog and Enter navigation,
// driven as a user would: keys, clicks, and modal dialogs answered while
// they are open.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <deque>
#include <gtest/gtest.h>

#include "app/fbenter.h"
#include "app/guiprompter.h"
#include "app/messages.h"
#include "app/paths.h"
#include "app/userinput.h"
#include "app/userinputdialog.h"
#include "app/wait.h"
#include "app/waitwindow.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::AppFolderTest;

namespace {

// Plays steps on the modal dialogs as they come up, one step per timer turn.
// A dialog left without steps is rejected after a while, so that a fault
// shows as a failed expectation instead of a hung test.
class ModalScript : public QObject {
 public:
  using Step = std::function<void(QWidget*)>;

  ModalScript() {
    connect(&timer_, &QTimer::timeout, this, &ModalScript::tick);
    timer_.start(10);
  }
  ModalScript& then(Step s) {
    steps_.push_back(std::move(s));
    return *this;
  }
  int pending() const { return static_cast<int>(steps_.size()); }
  int abandoned() const { return abandoned_; }

 private:
  void tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (steps_.empty()) {
      if (++idle_ < 300) return;
      idle_ = 0;
      ++abandoned_;
      if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
      return;
    }
    idle_ = 0;
    Step s = std::move(steps_.front());
    steps_.pop_front();
    s(modal);
  }

  QTimer timer_;
  std::deque<Step> steps_;
  int idle_ = 0;
  int abandoned_ = 0;
};

// The real dialogs, with the messages of a dialog recorded instead of shown.
class RecordingPrompter : public GuiPrompter {
 public:
  struct Shown {
    MsgKind kind;
    QString caption, text;
    bool dialogOpen;  // shown while an entry dialog was still on screen
  };
  Button message(MsgKind kind, const QString& caption, const QString& text, Buttons, Button) override {
    shown.push_back({kind, caption, text, qobject_cast<TfrmUserInput*>(QApplication::activeModalWidget()) != nullptr});
    return Ok;
  }
  std::vector<Shown> shown;
};

TfrmUserInput* asDialog(QWidget* modal) { return qobject_cast<TfrmUserInput*>(modal); }

// Types an entry into the dialog and confirms it with the OK button, or
// with Enter in the edit.
ModalScript::Step enter(const QString& text, bool withEnterKey = false) {
  return [=](QWidget* modal) {
    TfrmUserInput* d = asDialog(modal);
    ASSERT_NE(d, nullptr) << "no entry dialog open";
    d->edit()->clear();
    QTest::keyClicks(d->edit(), text);
    if (withEnterKey)
      QTest::keyClick(d->edit(), Qt::Key_Return);
    else
      QTest::mouseClick(d->okButton(), Qt::LeftButton);
  };
}

ModalScript::Step cancel() {
  return [](QWidget* modal) {
    TfrmUserInput* d = asDialog(modal);
    ASSERT_NE(d, nullptr) << "no entry dialog open";
    QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
  };
}

QList<TfrmWaitMsg*> waitWindows() {
  QList<TfrmWaitMsg*> out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<TfrmWaitMsg*>(w)) out << m;
  return out;
}

class GuiServicesTest : public AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    setPrompter(&recorder_);
    setWaitIndicator(&wait_);
  }
  void TearDown() override {
    CloseWait();
    setWaitIndicator(nullptr);
    AppFolderTest::TearDown();
  }
  // Runs `body` (which opens modal dialogs) while the script answers them.
  template <typename F>
  void play(ModalScript& script, F body) {
    body();
    EXPECT_EQ(script.pending(), 0) << "steps left over: a dialog closed too early or never opened";
    EXPECT_EQ(script.abandoned(), 0) << "a dialog stayed open after the last step";
  }

  RecordingPrompter recorder_;
  GuiWait wait_;
};

// --- Wait window ----------------------------------------------------------

TEST_F(GuiServicesTest, WaitWindowLooksAndStaysOne) {
  ShowWait(QStringLiteral("자료 삭제 처리 중..."));
  TfrmWaitMsg* w = wait_.window();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->size(), QSize(383, 63));
  EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
  EXPECT_FALSE(w->iconLabel()->pixmap().isNull());
  EXPECT_EQ(w->messageLabel()->text(), QStringLiteral("자료 삭제 처리 중..."));
  EXPECT_TRUE(w->messageLabel()->alignment() & Qt::AlignHCenter);
  EXPECT_FALSE(w->progressBar()->isVisible());
  EXPECT_FALSE(w->percentLabel()->isVisible());
  EXPECT_FALSE(w->progressBar()->isTextVisible());

  ShowProgress(QStringLiteral("이체금액 변경 처리 중..."), 0, 4);
  EXPECT_EQ(wait_.window(), w);
  EXPECT_TRUE(w->progressBar()->isVisible());
  EXPECT_TRUE(w->percentLabel()->isVisible());
  EXPECT_TRUE(w->messageLabel()->alignment() & Qt::AlignLeft);
  EXPECT_TRUE(w->percentLabel()->alignment() & Qt::AlignRight);
  // The message sits above the bar, the percentage beside the message.
  EXPECT_LE(w->messageLabel()->geometry().bottom(), w->progressBar()->geometry().top());
  EXPECT_LE(w->messageLabel()->geometry().right(), w->percentLabel()->geometry().left());

  ShowWait(QStringLiteral("다시 기다림"));
  EXPECT_FALSE(w->progressBar()->isVisible());
  EXPECT_EQ(waitWindows().size(), 1);
}

TEST_F(GuiServicesTest, ProgressLabelsAndBar) {
  struct Case {
    int minimum, maximum;
    bool count;
    int steps;
    QString startLabel, label;
    int value;
  } cases[] = {
      {0, 4, false, 1, QStringLiteral("0 %"), QStringLiteral("25 %"), 1},
      {0, 3, false, 2, QStringLiteral("0 %"), QStringLiteral("67 %"), 2},
      {0, 3, true, 1, QStringLiteral("0/3"), QStringLiteral("1/3"), 1},
      {5, 10, true, 5, QStringLiteral("5/10"), QStringLiteral("10/10"), 10},
      {0, 123456, true, 1, QStringLiteral("0/123456"), QStringLiteral("1/123456"), 1},
      {0, 0, false, 1, QStringLiteral("0 %"), QStringLiteral("0 %"), 0},  // nothing to do: no busy bar
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label.toStdString());
    ShowProgress(QStringLiteral("진행"), c.minimum, c.maximum, c.count);
    TfrmWaitMsg* w = wait_.window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->percentLabel()->text(), c.startLabel);
    EXPECT_EQ(w->progressBar()->minimum(), c.minimum);
    EXPECT_EQ(w->progressBar()->value(), c.minimum);
    EXPECT_GT(w->progressBar()->maximum(), w->progressBar()->minimum());
    for (int i = 0; i < c.steps; ++i) StepProgress();
    EXPECT_EQ(w->percentLabel()->text(), c.label);
    EXPECT_EQ(w->progressBar()->value(), c.value);
    // The label is never narrower than its text.
    EXPECT_GE(w->percentLabel()->width(), w->percentLabel()->fontMetrics().horizontalAdvance(c.label));
  }
  EXPECT_EQ(waitWindows().size(), 1);
}

TEST_F(GuiServicesTest, CloseWaitFreesWindowAndRestoresCursor) {
  ShowProgress(QStringLiteral("진행"), 0, 10);
  QPointer<TfrmWaitMsg> first = wait_.window();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  CloseWait();
  EXPECT_TRUE(first.isNull());
  EXPECT_FALSE(wait_.exists());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  QApplication::restoreOverrideCursor();  // a caller's own restore afterwards stays harmless
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  StepProgress();
  HideWait();
  ReshowWait();
  EXPECT_TRUE(waitWindows().isEmpty());

  ShowWait(QStringLiteral("새 창"));
  EXPECT_TRUE(wait_.exists());
  EXPECT_EQ(waitWindows().size(), 1);
}

// A prompter that notes whether the wait window was on screen while it was asked.
class ProbePrompter : public ScriptedPrompter {
 public:
  Button message(MsgKind kind, const QString& caption, const QString& text, Buttons buttons,
                 Button defaultButton) override {
    waitVisible.push_back(waitIndicator()->isVisible());
    return ScriptedPrompter::message(kind, caption, text, buttons, defaultButton);
  }
  std::vector<bool> waitVisible;
};

TEST_F(GuiServicesTest, MessagesNeverHideBehindTheWaitWindow) {
  ProbePrompter probe;
  setPrompter(&probe);
  ShowWait(QStringLiteral("작업 중"));
  probe.answer(Yes);
  EXPECT_TRUE(AskYesNo(QStringLiteral("계속할까요?")));
  EXPECT_TRUE(wait_.isVisible()) << "a question shows the wait window again";
  InfoBox(QStringLiteral("끝"));
  EXPECT_FALSE(wait_.exists()) << "a box closes the wait window";
  EXPECT_EQ(probe.waitVisible, (std::vector<bool>{false, false}));
}

TEST_F(GuiServicesTest, WaitWindowIsDraggedByAnyPoint) {
  ShowWait(QStringLiteral("끌기"));
  TfrmWaitMsg* w = wait_.window();
  ASSERT_NE(w, nullptr);
  const QPoint start = w->pos();
  // Pressed over the message label: the labels let the press through to the window.
  const QPoint local = w->messageLabel()->geometry().center();
  ASSERT_EQ(w->childAt(local), nullptr);
  auto send = [&](QEvent::Type type, QPoint globalPos, Qt::MouseButtons buttons) {
    QMouseEvent e(type, w->mapFromGlobal(globalPos), globalPos,
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  };
  const QPoint g = w->mapToGlobal(local);
  send(QEvent::MouseButtonPress, g, Qt::LeftButton);
  send(QEvent::MouseMove, g + QPoint(30, 20), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, g + QPoint(30, 20), Qt::NoButton);
  EXPECT_EQ(w->pos(), start + QPoint(30, 20));
}

// --- Message boxes ---------------------------------------------------------

TEST_F(GuiServicesTest, MessageBoxesHaveKoreanButtonsAndTheRightIcon) {
  GuiPrompter gui;
  setPrompter(&gui);
  struct Case {
    MsgKind kind;
    Buttons buttons;
    Button preselected;
    QStringList texts;      // in the order they are added
    QString click;          // empty: Escape
    Button expected;
    QMessageBox::Icon icon;
  } cases[] = {
      {MsgKind::Information, Ok, Ok, {QStringLiteral("확인")}, QStringLiteral("확인"), Ok, QMessageBox::Information},
      {MsgKind::Plain, Ok, Ok, {QStringLiteral("확인")}, QString(), Ok, QMessageBox::NoIcon},
      {MsgKind::Warning, Ok, Ok, {QStringLiteral("확인")}, QStringLiteral("확인"), Ok, QMessageBox::Warning},
      {MsgKind::Error, Ok, Ok, {QStringLiteral("확인")}, QStringLiteral("확인"), Ok, QMessageBox::Critical},
      {MsgKind::Question, Yes | No, No, {QStringLiteral("예"), QStringLiteral("아니오")}, QStringLiteral("예"), Yes,
       QMessageBox::Question},
      {MsgKind::Question, Yes | No, Yes, {QStringLiteral("예"), QStringLiteral("아니오")}, QString(), No,
       QMessageBox::Question},
      {MsgKind::Question, Ok | Cancel, Cancel, {QStringLiteral("확인"), QStringLiteral("취소")}, QString(), Cancel,
       QMessageBox::Question},
      {MsgKind::Question, Ok | Cancel, Cancel, {QStringLiteral("확인"), QStringLiteral("취소")},
       QStringLiteral("확인"), Ok, QMessageBox::Question},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.texts.join('/').toStdString() + " click " + c.click.toStdString());
    struct Seen {
      QMessageBox::Icon icon = QMessageBox::NoIcon;
      QStringList buttons;
      QString preselected, caption, text;
      Qt::WindowModality modality = Qt::NonModal;
    } seen;
    ModalScript script;
    script.then([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      seen.icon = box->icon();
      for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
      if (box->defaultButton()) seen.preselected = box->defaultButton()->text();
      seen.caption = box->windowTitle();
      seen.text = box->text();
      seen.modality = box->windowModality();
      for (QAbstractButton* b : box->buttons())
        if (!c.click.isEmpty() && b->text() == c.click) return b->click();
      QTest::keyClick(box, Qt::Key_Escape);
    });
    Button got = NoButton;
    play(script, [&] {
      got = prompter().message(c.kind, QStringLiteral("제목"), QStringLiteral("첫 줄\r\r둘째 줄"), c.buttons,
                               c.preselected);
    });
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(seen.icon, c.icon);
    QStringList sortedSeen = seen.buttons, sortedWanted = c.texts;
    sortedSeen.sort();
    sortedWanted.sort();
    EXPECT_EQ(sortedSeen, sortedWanted);
    const char* names[] = {"", "확인", "취소", "", "예", "", "", "", "아니오"};
    EXPECT_EQ(seen.preselected, QString::fromUtf8(names[c.preselected]));
    EXPECT_EQ(seen.caption, QStringLiteral("제목"));
    EXPECT_EQ(seen.text, QStringLiteral("첫 줄\n\n둘째 줄"));
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
  }
}

TEST_F(GuiServicesTest, InfoBoxCarriesTheApplicationTitleAndMarkupStaysText) {
  GuiPrompter gui;
  setPrompter(&gui);
  QString caption, shown;
  ModalScript script;
  script.then([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    shown = box->text();
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    box->button(QMessageBox::Ok)->click();
  });
  play(script, [] { InfoBox(QStringLiteral("<출금동의등록이 안된 목록>")); });
  EXPECT_EQ(caption, ApplicationTitle());
  EXPECT_EQ(shown, QStringLiteral("<출금동의등록이 안된 목록>"));
}

// --- Entry dialog ------------------------------------------------------------

TEST_F(GuiServicesTest, AskTextRefusesAnEmptyEntry) {
  QString value = QStringLiteral("1000");
  ModalScript script;
  script
      .then([](QWidget* modal) {
        TfrmUserInput* d = asDialog(modal);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("이체금액 입력"));
        EXPECT_EQ(d->label()->text(), QStringLiteral("이체금액 :"));
        EXPECT_EQ(d->edit()->text(), QStringLiteral("1000"));
        EXPECT_EQ(d->edit()->echoMode(), QLineEdit::Normal);
        EXPECT_EQ(d->okButton()->text(), QStringLiteral(" 확 인"));
        EXPECT_EQ(d->cancelButton()->text(), QStringLiteral(" 취 소"));
        EXPECT_TRUE(d->okButton()->isDefault());
      })
      .then(enter(QString()))
      .then([](QWidget* modal) {
        ASSERT_NE(asDialog(modal), nullptr) << "an empty entry closed the dialog";
      })
      .then(enter(QStringLiteral("2500"), /*withEnterKey=*/true));
  bool ok = false;
  play(script, [&] { ok = AskText(QStringLiteral("이체금액 입력"), QStringLiteral("이체금액"), value); });
  EXPECT_TRUE(ok);
  EXPECT_EQ(value, QStringLiteral("2500"));
  EXPECT_TRUE(recorder_.shown.empty());

  ModalScript second;
  second.then(cancel());
  play(second, [&] { ok = AskText(QStringLiteral("이체금액 입력"), QStringLiteral("이체금액"), value); });
  EXPECT_FALSE(ok);
  EXPECT_TRUE(value.isEmpty());
}

TEST_F(GuiServicesTest, ProgramPasswordDialog) {
  WriteProgramPassword(QStringLiteral("pw1234"));
  struct Case {
    QStringList entries;
    bool confirmed;
    int wrongMessages;
  } cases[] = {
      {{QStringLiteral("pw1234")}, true, 0},
      {{QStringLiteral("x"), QStringLiteral("pw1234")}, true, 1},
      {{QString(), QStringLiteral("PW1234"), QStringLiteral("pw123")}, false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries.join(',').toStdString());
    recorder_.shown.clear();
    ModalScript script;
    script.then([](QWidget* modal) {
      TfrmUserInput* d = asDialog(modal);
      ASSERT_NE(d, nullptr);
      EXPECT_EQ(d->windowTitle(), QStringLiteral("비밀번호 확인"));
      EXPECT_EQ(d->label()->text(), QStringLiteral("비밀번호"));
      QTest::keyClicks(d->edit(), QStringLiteral("abc"));
      EXPECT_EQ(d->edit()->displayText(), QStringLiteral("***"));
    });
    for (int i = 0; i < c.entries.size(); ++i) {
      script.then(enter(c.entries[i], i % 2 == 1));
      if (i + 1 < c.entries.size())
        script.then([](QWidget* modal) {
          TfrmUserInput* d = asDialog(modal);
          ASSERT_NE(d, nullptr) << "a wrong entry closed the dialog too early";
          // The wrong entry is selected, so that typing replaces it.
          EXPECT_EQ(d->edit()->selectedText(), d->edit()->text());
        });
    }
    bool ok = !c.confirmed;
    play(script, [&] { ok = ConfirmProgramPassword(); });
    EXPECT_EQ(ok, c.confirmed);
    ASSERT_EQ(static_cast<int>(recorder_.shown.size()), c.wrongMessages);
    for (const auto& s : recorder_.shown) {
      EXPECT_EQ(s.text, QStringLiteral("비밀번호가 다릅니다."));
      EXPECT_EQ(s.kind, MsgKind::Warning);
      EXPECT_EQ(s.caption, ApplicationTitle());
      EXPECT_TRUE(s.dialogOpen) << "the message belongs in front of the dialog";
    }
  }
}

TEST_F(GuiServicesTest, VerificationCodeDialog) {
  ModalScript script;
  script.then([](QWidget* modal) {
          TfrmUserInput* d = asDialog(modal);
          ASSERT_NE(d, nullptr);
          EXPECT_EQ(d->windowTitle(), QStringLiteral("국민은행의 복기부호 입력"));
          EXPECT_EQ(d->label()->text(), QStringLiteral("관리번호 : 0012"));
          EXPECT_EQ(d->edit()->maxLength(), 4);
        })
      .then(enter(QStringLiteral("12")))
      .then(enter(QString()))
      .then(enter(QStringLiteral("123456"), true));  // the edit takes four characters only
  QString value;
  bool ok = false;
  play(script, [&] { ok = AskVerificationCode(QStringLiteral("국민은행"), QStringLiteral("0012"), value); });
  EXPECT_TRUE(ok);
  EXPECT_EQ(value, QStringLiteral("1234"));
  ASSERT_EQ(recorder_.shown.size(), 1u);
  EXPECT_EQ(recorder_.shown[0].text, QStringLiteral("4 글자를 입력해야 합니다."));
}

TEST_F(GuiServicesTest, EntryDialogHidesTheWaitWindow) {
  ShowProgress(QStringLiteral("복기부호 처리"), 0, 2);
  bool visibleDuringDialog = true;
  ModalScript script;
  script.then([&](QWidget*) { visibleDuringDialog = wait_.isVisible(); }).then(enter(QStringLiteral("abcd")));
  QString value;
  play(script, [&] { AskVerificationCode(QStringLiteral("국민은행"), QStringLiteral("1"), value); });
  EXPECT_FALSE(visibleDuringDialog);
  EXPECT_TRUE(wait_.isVisible()) << "OK shows the wait window again";

  ModalScript cancelled;
  cancelled.then(cancel());
  play(cancelled, [&] { AskVerificationCode(QStringLiteral("국민은행"), QStringLiteral("1"), value); });
  EXPECT_FALSE(wait_.isVisible());
  EXPECT_TRUE(wait_.exists());
}

// --- Enter navigation of the editor forms --------------------------------------

class EditorForm : public TfmFB_Enter {
 public:
  EditorForm() {
    auto* l = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{first = new QLineEdit, combo = new QComboBox,
                                                      button = new QPushButton(QStringLiteral("저장")),
                                                      grid = new QTableView, memo = new QPlainTextEdit,
                                                      last = new QLineEdit})
      l->addWidget(w);
    combo->setEditable(true);
    model.setRowCount(2);
    model.setColumnCount(2);
    grid->setModel(&model);
    grid->setCurrentIndex(model.index(0, 0));
  }
  QLineEdit* first;
  QComboBox* combo;
  QPushButton* button;
  QTableView* grid;
  QPlainTextEdit* memo;
  QLineEdit* last;
  QStandardItemModel model;
};

class EnterNavigation : public ::testing::Test {
 protected:
  void SetUp() override {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  // Presses the key on whatever has the focus.
  void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), key, mods);
  }
  EditorForm form;
};

TEST_F(EnterNavigation, EnterWalksThroughTheControls) {
  QSignalSpy clicked(form.button, &QPushButton::clicked);
  form.first->setFocus();
  press(Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), form.combo);
  press(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(QApplication::focusWidget(), form.button);
  press(Qt::Key_Return);  // a button moves on too; Space presses it
  EXPECT_EQ(QApplication::focusWidget(), form.grid);
  EXPECT_EQ(clicked.count(), 0);

  form.last->setFocus();
  press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), form.memo);
  EXPECT_TRUE(form.memo->toPlainText().isEmpty()) << "Shift+Enter leaving the control is swallowed";
  form.button->setFocus();
  press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), form.combo);

  form.last->setFocus();
  press(Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), form.first) << "after the last control comes the first again";
  EXPECT_EQ(form.combo->count(), 0);
}

TEST_F(EnterNavigation, GridsAndMemosKeepTheirEnter) {
  QSignalSpy activated(form.grid, &QAbstractItemView::activated);
  form.grid->setFocus();
  press(Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), form.grid);
  EXPECT_EQ(activated.count(), 1);

  form.memo->setFocus();
  QTest::keyClicks(form.memo, QStringLiteral("ab"));
  press(Qt::Key_Return);
  QTest::keyClicks(form.memo, QStringLiteral("cd"));
  EXPECT_EQ(QApplication::focusWidget(), form.memo);
  EXPECT_EQ(form.memo->toPlainText(), QStringLiteral("ab\ncd"));
}

TEST_F(EnterNavigation, DialogsOpenedFromTheFormKeepTheirDefaultButton) {
  InputRequest req;
  req.caption = QStringLiteral("이체금액 입력");
  req.label = QStringLiteral("이체금액 :");
  TfrmUserInput dialog(req, &form);
  ModalScript script;
  script.then(enter(QStringLiteral("700"), /*withEnterKey=*/true));
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.value(), QStringLiteral("700"));
  EXPECT_EQ(script.pending(), 0);
}

// --- A look at the real thing (runs when SCREENSHOT_DIR is set) --------------

TEST_F(GuiServicesTest, Screenshots) {
  const QString dir = qEnvironmentVariable("SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "set SCREENSHOT_DIR to write the pictures";
  QDir().mkpath(dir);
  const QFont oldFont = QApplication::font();
  QApplication::setFont(QFont(QStringLiteral("NanumGothic"), 9));
  auto save = [&](QWidget* w, const QString& name) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->grab().save(dir + QLatin1Char('/') + name)) << name.toStdString();
  };

  ShowWait(QStringLiteral("자료 삭제 처리 중..."));
  save(wait_.window(), QStringLiteral("wait_message.png"));
  ShowProgress(QStringLiteral("이체금액 변경 처리 중..."), 0, 250, true);
  for (int i = 0; i < 97; ++i) StepProgress();
  save(wait_.window(), QStringLiteral("wait_progress_count.png"));
  ShowProgress(QStringLiteral("송신 자료 작성 중..."), 0, 8);
  for (int i = 0; i < 3; ++i) StepProgress();
  save(wait_.window(), QStringLiteral("wait_progress_percent.png"));
  CloseWait();

  auto shoot = [&](const QString& name, const QString& typed) {
    return [=](QWidget* modal) {
      TfrmUserInput* d = asDialog(modal);
      ASSERT_NE(d, nullptr);
      if (!typed.isEmpty()) QTest::keyClicks(d->edit(), typed);
      save(d, name);
      d->reject();
    };
  };
  QString value = QStringLiteral("15000");
  ModalScript script;
  script.then(shoot(QStringLiteral("input_asktext.png"), QString()))
      .then(shoot(QStringLiteral("input_password.png"), QStringLiteral("secret")))
      .then(shoot(QStringLiteral("input_verification.png"), QStringLiteral("12")));
  play(script, [&] {
    AskText(QStringLiteral("이체금액 입력"), QStringLiteral("이체금액"), value);
    ConfirmProgramPassword();
    AskVerificationCode(QStringLiteral("국민은행"), QStringLiteral("0000012345"), value);
  });

  GuiPrompter gui;
  setPrompter(&gui);
  ModalScript boxes;
  auto shootBox = [&](const QString& name) {
    return [=](QWidget* modal) {
      save(modal, name);
      if (auto* box = qobject_cast<QMessageBox*>(modal)) box->defaultButton()->click();
    };
  };
  boxes.then(shootBox(QStringLiteral("box_info.png"))).then(shootBox(QStringLiteral("box_question.png")));
  play(boxes, [&] {
    InfoBox(QStringLiteral("송신할 자료가 없습니다.\r\r송신 대기 중인 의뢰 자료를 확인하십시오."));
    AskYesNo(QStringLiteral("선택된 3 개의 자료를 삭제하시겠습니까?"));
  });
  QApplication::setFont(oldFont);
}

}  // namespace
