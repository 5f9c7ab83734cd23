#pragma once
// The "确定" and "取消" buttons of the program's dialogs.
class QDialog;
class QDialogButtonBox;

namespace corvexa::client {

// Tied to the dialog's accept() (its own checks run there) and reject().
QDialogButtonBox* okCancelButtons(QDialog* dialog);

} // namespace corvexa::client
