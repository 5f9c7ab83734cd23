#pragma once
// The "确定" and "取消" buttons of the program's dialogs.
#include <QString>

class QDialog;
class QDialogButtonBox;

namespace corvexa::client {

// Tied to the dialog's accept() (its own checks run there) and reject().
// Some dialogs space their captions out ("确  定").
QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& ok = QStringLiteral("确定"),
                                  const QString& cancel = QStringLiteral("取消"));

} // namespace corvexa::client
