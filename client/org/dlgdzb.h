#pragma once
// The branch dialog: number (read-only), name and election date of the
// current row of a branch set.
#include <QDialog>

class QDateEdit;
class QLineEdit;

namespace corvexa::client {

class RecordSet;
class RecordSetBinder;

class TDlgDZB : public QDialog {
    Q_OBJECT
public:
    TDlgDZB(RecordSet& branches, QWidget* parent = nullptr);

    QLineEdit* edtID;
    QLineEdit* edtName;
    QDateEdit* edtHuanJie;

    void accept() override;

private:
    RecordSet& m_set;
    RecordSetBinder* m_binder;
};

} // namespace corvexa::client
