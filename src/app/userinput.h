#pragma once
// The three small input dialogs. The dialog itself is the Prompter's; the
// rules of each entry live here so that they hold in every front end.
#include <QString>

namespace orvan {

// An entry for `label`; empty entries are not accepted.
bool AskText(const QString& caption, const QString& label, QString& value);
// The program password; an empty entry passes when none is stored, the third
// wrong entry cancels.
bool ConfirmProgramPassword();
// A verification code of exactly four characters for a management number.
bool AskVerificationCode(const QString& name, const QString& managementNo, QString& value);

}  // namespace orvan
