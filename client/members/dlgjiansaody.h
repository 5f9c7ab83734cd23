#pragma once
// The decrease dialog: the decrease type and date for the selected members.
// The member frame keeps one for the run, so the last choice is offered again.
#include <QDate>
#include <QDialog>

class QComboBox;
class QDateEdit;

namespace corvexa::client {

class TDM;

class TDlgJianSaoDY : public QDialog {
    Q_OBJECT
public:
    TDlgJianSaoDY(TDM& dm, QWidget* parent = nullptr);

    QComboBox* cmbType;
    QDateEdit* edtDate;

    // Empty while no type is chosen; the journal refuses such a row.
    QString type() const;
    QDate date() const;
};

} // namespace corvexa::client
