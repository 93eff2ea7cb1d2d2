#include "dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/cp949.h"

namespace tarsel {

using orvan::TEdiConfig;

bool CanShowWindows() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

namespace {

struct FlagLabel {
  const char* name;
  const char* label;
  bool TEdiConfig::*field;
};
const FlagLabel kFlagLabels[] = {
    {"DeleteCheck", "송신 후 송신 파일 삭제", &TEdiConfig::DeleteCheck},
    {"AppendCheck", "같은 이름의 수신 파일 덧붙이기", &TEdiConfig::AppendCheck},
    {"PasswordCheck", "송수신할 때마다 비밀번호 확인", &TEdiConfig::PasswordCheck},
    {"ErrorCheck", "오류 파일도 수신", &TEdiConfig::ErrorCheck},
    {"CompressCheck", "송신 파일 압축", &TEdiConfig::CompressCheck},
    {"ResultCheck", "송수신 결과 기록", &TEdiConfig::ResultCheck},
    {"HeaderCheck", "송신 파일 헤더 검사", &TEdiConfig::HeaderCheck},
    {"HeaderValCheck", "헤더 값 검사", &TEdiConfig::HeaderValCheck},
    {"MessageCheck", "처리 메시지 표시", &TEdiConfig::MessageCheck},
};

}  // namespace

EnvSetupDialog::EnvSetupDialog(const QString& applicationDir, const TEdiConfig& config, const OperatorSettings& op,
                               QWidget* parent)
    : QDialog(parent), app_(applicationDir), config_(config) {
  setWindowTitle(QStringLiteral("통신 환경 설정"));
  setObjectName(QStringLiteral("EnvSetupDialog"));
  auto* tabs = new QTabWidget(this);

  auto* line = new QWidget;
  auto* lineForm = new QFormLayout(line);
  lineForm->addRow(QStringLiteral("주 통신망"), field(QStringLiteral("Connect1"), config.Connect1));
  lineForm->addRow(QStringLiteral("주 통신망 전화번호"), field(QStringLiteral("Phone1"), config.Phone1));
  lineForm->addRow(QStringLiteral("보조 통신망"), field(QStringLiteral("Connect2"), config.Connect2));
  lineForm->addRow(QStringLiteral("보조 통신망 전화번호"), field(QStringLiteral("Phone2"), config.Phone2));
  lineForm->addRow(QStringLiteral("모뎀 초기화 문자열"), field(QStringLiteral("ModemInit"), config.ModemInit));
  lineForm->addRow(QStringLiteral("통신 포트"), field(QStringLiteral("Port"), config.Port));
  lineForm->addRow(QStringLiteral("전송 프로토콜"), field(QStringLiteral("Protocol"), config.Protocol));
  lineForm->addRow(QStringLiteral("통신 속도"), field(QStringLiteral("Speed"), config.Speed));
  tabs->addTab(line, QStringLiteral("통신 회선"));

  auto* user = new QWidget;
  auto* userForm = new QFormLayout(user);
  userForm->addRow(QStringLiteral("사용자 ID"), field(QStringLiteral("LoginID"), config.LoginID));
  password_ = new QLineEdit;
  password_->setObjectName(QStringLiteral("Password"));
  password_->setEchoMode(QLineEdit::Password);
  password_->setPlaceholderText(config.Password.isEmpty() ? QStringLiteral("(없음)") : QStringLiteral("(변경하지 않음)"));
  userForm->addRow(QStringLiteral("비밀번호"), password_);
  userForm->addRow(QStringLiteral("송신 디렉토리"), folderField(field(QStringLiteral("SendDir"), config.SendDir)));
  userForm->addRow(QStringLiteral("수신 디렉토리"), folderField(field(QStringLiteral("RecvDir"), config.RecvDir)));
  userForm->addRow(QStringLiteral("결과 디렉토리"), folderField(field(QStringLiteral("ResultDir"), config.ResultDir)));
  userForm->addRow(QStringLiteral("스크립트 디렉토리"), folderField(field(QStringLiteral("ScriptDir"), config.ScriptDir)));
  tabs->addTab(user, QStringLiteral("사용자"));

  auto* options = new QWidget;
  auto* optionsLayout = new QVBoxLayout(options);
  for (const FlagLabel& f : kFlagLabels) {
    auto* box = new QCheckBox(QString::fromUtf8(f.label));
    box->setObjectName(QLatin1String(f.name));
    box->setChecked(config.*(f.field));
    optionsLayout->addWidget(box);
    flags_ << qMakePair(QString::fromLatin1(f.name), box);
  }
  optionsLayout->addStretch();
  tabs->addTab(options, QStringLiteral("옵션"));

  auto* server = new QWidget;
  auto* serverForm = new QFormLayout(server);
  backend_ = new QComboBox;
  backend_->setObjectName(QStringLiteral("Backend"));
  backend_->addItem(QStringLiteral("내장 메일함"), static_cast<int>(OperatorSettings::Mailbox));
  backend_->addItem(QStringLiteral("SFTP 서버"), static_cast<int>(OperatorSettings::Sftp));
  backend_->addItem(QStringLiteral("FTPS 서버"), static_cast<int>(OperatorSettings::Ftps));
  backend_->setCurrentIndex(backend_->findData(static_cast<int>(op.backend)));
  serverForm->addRow(QStringLiteral("중계 방식"), backend_);
  mailbox_ = new QLineEdit(op.mailboxDir);
  mailbox_->setObjectName(QStringLiteral("MailboxDir"));
  QWidget* mailboxRow = folderField(mailbox_);
  serverForm->addRow(QStringLiteral("메일함 폴더"), mailboxRow);
  mailboxOnly_ << mailboxRow << serverForm->labelForField(mailboxRow);
  host_ = new QLineEdit(op.host);
  host_->setObjectName(QStringLiteral("Host"));
  port_ = new QSpinBox;
  port_->setObjectName(QStringLiteral("ServerPort"));
  port_->setRange(0, 65535);
  port_->setSpecialValueText(QStringLiteral("기본값"));
  port_->setValue(op.port);
  remoteDir_ = new QLineEdit(op.remoteDir);
  remoteDir_->setObjectName(QStringLiteral("RemoteDir"));
  caFile_ = new QLineEdit(op.caFile);
  caFile_->setObjectName(QStringLiteral("CaFile"));
  knownHosts_ = new QLineEdit(op.knownHosts);
  knownHosts_->setObjectName(QStringLiteral("KnownHosts"));
  keyFile_ = new QLineEdit(op.keyFile);
  keyFile_->setObjectName(QStringLiteral("KeyFile"));
  keyFile_->setPlaceholderText(QStringLiteral("(비밀번호로 로그인)"));
  timeout_ = new QSpinBox;
  timeout_->setObjectName(QStringLiteral("Timeout"));
  timeout_->setRange(5, 3600);
  timeout_->setSuffix(QStringLiteral(" 초"));
  timeout_->setValue(op.timeoutSeconds);
  const QList<QPair<QString, QWidget*>> networkRows = {
      {QStringLiteral("서버 주소"), host_},
      {QStringLiteral("포트"), port_},
      {QStringLiteral("서버 폴더"), remoteDir_},
      {QStringLiteral("인증서 파일 (FTPS)"), folderField(caFile_, true)},
      {QStringLiteral("known_hosts (SFTP)"), folderField(knownHosts_, true)},
      {QStringLiteral("개인 키 파일 (SFTP)"), folderField(keyFile_, true)},
      {QStringLiteral("응답 대기 시간"), timeout_}};
  for (const auto& row : networkRows) {
    serverForm->addRow(row.first, row.second);
    networkOnly_ << row.second << serverForm->labelForField(row.second);
  }
  tabs->addTab(server, QStringLiteral("중계 서버"));
  connect(backend_, &QComboBox::currentIndexChanged, this, [this] { updateBackend(); });
  updateBackend();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("확인"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
  resize(520, 420);
}

QLineEdit* EnvSetupDialog::field(const QString& name, const QString& value) {
  auto* edit = new QLineEdit(value);
  edit->setObjectName(name);
  texts_ << qMakePair(name, edit);
  return edit;
}

QWidget* EnvSetupDialog::folderField(QLineEdit* edit, bool file) {
  auto* row = new QWidget;
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  auto* browse = new QPushButton(QStringLiteral("..."));
  browse->setFixedWidth(32);
  h->addWidget(edit);
  h->addWidget(browse);
  connect(browse, &QPushButton::clicked, this, [this, edit, file] {
    const QString chosen = file ? QFileDialog::getOpenFileName(this, QString(), edit->text())
                                : QFileDialog::getExistingDirectory(this, QString(), edit->text());
    if (!chosen.isEmpty()) edit->setText(chosen);
  });
  return row;
}

void EnvSetupDialog::updateBackend() {
  const bool mailbox = backend_->currentData().toInt() == OperatorSettings::Mailbox;
  for (QWidget* w : networkOnly_)
    if (w) w->setEnabled(!mailbox);
  for (QWidget* w : mailboxOnly_)
    if (w) w->setEnabled(mailbox);
}

TEdiConfig EnvSetupDialog::config() const {
  TEdiConfig c = config_;
  for (const auto& t : texts_) {
    const QString v = t.second->text();
    if (t.first == QLatin1String("Connect1")) c.Connect1 = v;
    else if (t.first == QLatin1String("Connect2")) c.Connect2 = v;
    else if (t.first == QLatin1String("Phone1")) c.Phone1 = v;
    else if (t.first == QLatin1String("Phone2")) c.Phone2 = v;
    else if (t.first == QLatin1String("ModemInit")) c.ModemInit = v;
    else if (t.first == QLatin1String("Port")) c.Port = v;
    else if (t.first == QLatin1String("Protocol")) c.Protocol = v;
    else if (t.first == QLatin1String("Speed")) c.Speed = v;
    else if (t.first == QLatin1String("LoginID")) c.LoginID = v.trimmed();
    else if (t.first == QLatin1String("SendDir")) c.SendDir = v.trimmed();
    else if (t.first == QLatin1String("RecvDir")) c.RecvDir = v.trimmed();
    else if (t.first == QLatin1String("ResultDir")) c.ResultDir = v.trimmed();
    else if (t.first == QLatin1String("ScriptDir")) c.ScriptDir = v.trimmed();
  }
  if (!password_->text().isEmpty()) c.Password = orvan::ScramblePassword(orvan::cp949::encode(password_->text()));
  for (const FlagLabel& f : kFlagLabels)
    for (const auto& b : flags_)
      if (b.first == QLatin1String(f.name)) c.*(f.field) = b.second->isChecked();
  return c;
}

OperatorSettings EnvSetupDialog::operatorSettings() const {
  OperatorSettings s;
  s.backend = static_cast<OperatorSettings::Backend>(backend_->currentData().toInt());
  s.mailboxDir = mailbox_->text().trimmed();
  if (s.mailboxDir.isEmpty()) s.mailboxDir = DefaultOperatorSettings(app_).mailboxDir;
  s.host = host_->text().trimmed();
  s.port = port_->value();
  s.remoteDir = remoteDir_->text().trimmed();
  s.caFile = caFile_->text().trimmed();
  s.knownHosts = knownHosts_->text().trimmed();
  s.keyFile = keyFile_->text().trimmed();
  s.timeoutSeconds = timeout_->value();
  return s;
}

void EnvSetupDialog::accept() {
  const TEdiConfig c = config();
  TEdiConfig defaults;
  orvan::EdiConfigDefaults(defaults, app_);
  // The send and receive directories are emptied by the calling program,
  // so a folder whose loss would hurt is refused here already.
  const QString dirs[3] = {orvan::ResolveEdiDirectory(c.SendDir.isEmpty() ? defaults.SendDir : c.SendDir, app_),
                           orvan::ResolveEdiDirectory(c.RecvDir.isEmpty() ? defaults.RecvDir : c.RecvDir, app_),
                           orvan::ResolveEdiDirectory(c.ResultDir.isEmpty() ? defaults.ResultDir : c.ResultDir, app_)};
  const char* labels[3] = {"송신", "수신", "결과"};
  for (int i = 0; i < 3; ++i) {
    QStringList others;
    for (int j = 0; j < 3; ++j)
      if (j != i) others << dirs[j];
    const QString reason = orvan::UnsafeDirectoryReason(dirs[i], app_, others);
    if (!reason.isEmpty()) {
      QMessageBox::warning(this, windowTitle(),
                           QStringLiteral("%1 디렉토리로 지정된 \"%2\"는 %3이므로 사용할 수 없습니다.")
                               .arg(QString::fromUtf8(labels[i]), dirs[i], reason));
      return;
    }
  }
  const OperatorSettings s = operatorSettings();
  if (s.backend != OperatorSettings::Mailbox && s.host.isEmpty()) {
    QMessageBox::warning(this, windowTitle(), QStringLiteral("중계 서버 주소를 입력하십시오."));
    return;
  }
  QDialog::accept();
}

ExchangeListDialog::ExchangeListDialog(const QString& caption, const QString& summary,
                                       const QList<LoggedExchange>& exchanges, bool receivedOnly, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(caption);
  setObjectName(QStringLiteral("ExchangeListDialog"));
  auto* label = new QLabel(summary);
  label->setObjectName(QStringLiteral("Summary"));
  label->setWordWrap(true);
  table_ = new QTableWidget(0, 4);
  table_->setObjectName(QStringLiteral("Files"));
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("일시"), QStringLiteral("구분"), QStringLiteral("파일명"), QStringLiteral("크기(바이트)")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  for (int i = static_cast<int>(exchanges.size()) - 1; i >= 0; --i) {
    for (const LoggedFile& f : exchanges[i].files) {
      if (receivedOnly && f.direction == LoggedFile::Sent) continue;
      const int row = table_->rowCount();
      table_->insertRow(row);
      table_->setItem(row, 0, new QTableWidgetItem(exchanges[i].time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
      table_->setItem(row, 1, new QTableWidgetItem(DirectionText(f.direction)));
      table_->setItem(row, 2, new QTableWidgetItem(f.name));
      auto* size = new QTableWidgetItem(QLocale(QLocale::Korean).toString(f.size));
      size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, 3, size);
    }
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("닫기"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(560, 360);
}

}  // namespace tarsel
