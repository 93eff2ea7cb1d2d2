#include "platform/prompter.h"

#include <cstdio>

namespace orvan {
namespace {
ConsolePrompter& consolePrompter() {
  static ConsolePrompter p;
  return p;
}
Prompter* g_prompter = nullptr;

const char* kindWord(MsgKind k) {
  switch (k) {
    case MsgKind::Information: return "정보";
    case MsgKind::Warning: return "경고";
    case MsgKind::Error: return "오류";
    case MsgKind::Question: return "질문";
    case MsgKind::Plain: break;
  }
  return "알림";
}
}  // namespace

Prompter& prompter() { return g_prompter ? *g_prompter : consolePrompter(); }
void setPrompter(Prompter* p) { g_prompter = p; }

Button ConsolePrompter::message(MsgKind kind, const QString&, const QString& text, Buttons, Button defaultButton) {
  QString t = text;
  t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  std::fprintf(stderr, "[%s] %s\n", kindWord(kind), t.toUtf8().constData());
  return defaultButton == NoButton ? Ok : defaultButton;
}

std::optional<QString> ConsolePrompter::input(const InputRequest&) { return std::nullopt; }
std::optional<QString> ConsolePrompter::chooseFile(const FileRequest&) { return std::nullopt; }

ScriptedPrompter& ScriptedPrompter::answer(Button b) {
  answers_.push_back(b);
  return *this;
}
ScriptedPrompter& ScriptedPrompter::type(const QString& entry) {
  entries_.push_back(entry);
  return *this;
}
ScriptedPrompter& ScriptedPrompter::cancelInput() {
  entries_.push_back(std::nullopt);
  return *this;
}
ScriptedPrompter& ScriptedPrompter::chooseFile(const QString& path) {
  fileAnswers_.push_back(path);
  return *this;
}
ScriptedPrompter& ScriptedPrompter::cancelFile() {
  fileAnswers_.push_back(std::nullopt);
  return *this;
}

Button ScriptedPrompter::message(MsgKind kind, const QString& caption, const QString& text, Buttons buttons,
                                 Button defaultButton) {
  shown_.push_back({kind, caption, text});
  if (buttons == Ok || buttons == NoButton) return Ok;
  if (answers_.empty()) {
    ++unanswered_;
    return defaultButton;
  }
  Button b = answers_.front();
  answers_.pop_front();
  return b;
}

std::optional<QString> ScriptedPrompter::input(const InputRequest& request) {
  inputs_.push_back(request);
  for (;;) {
    if (entries_.empty() || !entries_.front()) {
      if (!entries_.empty()) entries_.pop_front();
      return std::nullopt;
    }
    QString entry = *entries_.front();
    entries_.pop_front();
    if (request.maxLength > 0) entry.truncate(request.maxLength);
    if (!request.validate) return entry;
    InputVerdict v = request.validate(entry);
    if (!v.message.isEmpty()) shown_.push_back({MsgKind::Warning, request.caption, v.message});
    if (v.kind == InputVerdict::Accept) return v.value.isEmpty() ? entry : v.value;
    if (v.kind == InputVerdict::Cancel) return std::nullopt;
  }
}

std::optional<QString> ScriptedPrompter::chooseFile(const FileRequest& request) {
  files_.push_back(request);
  if (fileAnswers_.empty()) return std::nullopt;
  auto a = fileAnswers_.front();
  fileAnswers_.pop_front();
  return a;
}

QStringList ScriptedPrompter::texts() const {
  QStringList out;
  for (const auto& s : shown_) out << s.text;
  return out;
}

void ScriptedPrompter::clear() {
  answers_.clear();
  entries_.clear();
  fileAnswers_.clear();
  shown_.clear();
  inputs_.clear();
  files_.clear();
  unanswered_ = 0;
}

}  // namespace orvan
