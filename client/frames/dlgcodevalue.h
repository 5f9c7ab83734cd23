#pragma once
// The code-value picker: a value from any code table of the dictionary, or a
// date, handed back already quoted for a statement.
#include <QDialog>
#include <QList>

class QDateEdit;
class QListWidget;
class QTableWidget;
class QTabWidget;

namespace corvexa::client {

class TDM;

class TDlgCodeValue : public QDialog {
    Q_OBJECT
public:
    explicit TDlgCodeValue(TDM& dm, QWidget* parent = nullptr);

    QTabWidget* PageControl;
    QListWidget* lstTables;
    QTableWidget* grdValues;
    QDateEdit* edtDate;

    // The picked value between single quotes (inner quotes doubled).
    QString CodeValue;

    void showTable(int position);
    void accept() override;

private:
    struct CodeTable {
        int id;
        QString name;
    };
    TDM& m_dm;
    QList<CodeTable> m_tables;
};

} // namespace corvexa::client
