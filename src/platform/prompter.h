#pragma once
// Every question and message the program puts to the user goes through one
// Prompter: message boxes in the GUI, a scripted one in tests (answers given
// in order, every caption and text recorded), a console one in orvanctl.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace orvan {

enum class MsgKind { Plain, Information, Warning, Error, Question };

enum Button : int { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };
using Buttons = int;

// What an input dialog's validator says of an entry.
struct InputVerdict {
  enum Kind { Accept, Retry, Cancel } kind = Accept;
  QString message;  // shown before the user tries again (Retry)
  QString value;    // the accepted value, when it differs from the entry
  static InputVerdict accept() { return {Accept, {}, {}}; }
  static InputVerdict retry(QString msg = {}) { return {Retry, std::move(msg), {}}; }
  static InputVerdict cancel(QString msg = {}) { return {Cancel, std::move(msg), {}}; }
};

struct InputRequest {
  QString caption;
  QString label;
  QString value;       // initial entry
  bool masked = false;  // shown as "*"
  int maxLength = 0;    // 0 = no limit
  // Called on OK; without one every entry is accepted.
  std::function<InputVerdict(const QString&)> validate;
};

struct FileRequest {
  enum Mode { OpenFile, SaveFile, Folder } mode = OpenFile;
  QString caption;
  QString directory;
  QString filter;  // "설명 (*.txt);;모든 파일 (*)"
  QString fileName;
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows a message with the buttons; returns the button pressed.
  virtual Button message(MsgKind kind, const QString& caption, const QString& text, Buttons buttons,
                         Button defaultButton) = 0;
  // An input dialog; nullopt when cancelled.
  virtual std::optional<QString> input(const InputRequest& request) = 0;
  // A file or folder chooser; nullopt when cancelled.
  virtual std::optional<QString> chooseFile(const FileRequest& request) = 0;
};

// The prompter in use; the console one until a program installs its own.
Prompter& prompter();
void setPrompter(Prompter* p);  // nullptr restores the console prompter

class ScopedPrompter {
 public:
  explicit ScopedPrompter(Prompter& p) { setPrompter(&p); }
  ~ScopedPrompter() { setPrompter(nullptr); }
};

// Prints messages to standard error and answers every question with its
// preselected button; inputs and file choices are cancelled.
class ConsolePrompter : public Prompter {
 public:
  Button message(MsgKind kind, const QString& caption, const QString& text, Buttons buttons,
                 Button defaultButton) override;
  std::optional<QString> input(const InputRequest& request) override;
  std::optional<QString> chooseFile(const FileRequest& request) override;
};

// For tests: answers in the order given and records everything shown.
class ScriptedPrompter : public Prompter {
 public:
  struct Shown {
    MsgKind kind;
    QString caption;
    QString text;
  };

  // The next message answered with this button (a message with only OK
  // needs no answer).
  ScriptedPrompter& answer(Button b);
  // The next input entry typed; several entries are tried in turn.
  ScriptedPrompter& type(const QString& entry);
  // The next input dialog (or the remaining tries of the current one) cancelled.
  ScriptedPrompter& cancelInput();
  ScriptedPrompter& chooseFile(const QString& path);
  ScriptedPrompter& cancelFile();

  Button message(MsgKind kind, const QString& caption, const QString& text, Buttons buttons,
                 Button defaultButton) override;
  std::optional<QString> input(const InputRequest& request) override;
  std::optional<QString> chooseFile(const FileRequest& request) override;

  const std::vector<Shown>& shown() const { return shown_; }
  QStringList texts() const;
  QString lastText() const { return shown_.empty() ? QString() : shown_.back().text; }
  const std::vector<InputRequest>& inputs() const { return inputs_; }
  const std::vector<FileRequest>& fileRequests() const { return files_; }
  // Questions that found no scripted answer and took their default.
  int unanswered() const { return unanswered_; }
  bool allConsumed() const { return answers_.empty() && entries_.empty() && fileAnswers_.empty(); }
  void clear();

 private:
  std::deque<Button> answers_;
  std::deque<std::optional<QString>> entries_;
  std::deque<std::optional<QString>> fileAnswers_;
  std::vector<Shown> shown_;
  std::vector<InputRequest> inputs_;
  std::vector<FileRequest> files_;
  int unanswered_ = 0;
};

}  // namespace orvan
