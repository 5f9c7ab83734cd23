// The code-table window and the code-value picker against a real server.
#include "data/datamodule.h"
#include "data/recordsetmodel.h"
#include "data/services.h"
#include "frames/dlgcodevalue.h"
#include "frames/formcode.h"
#include "loggedinmodule.h"

#include <QAction>
#include <QDateEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

class TestCodeTables : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;

private slots:
    void initTestCase() {
        installClock(&m_clock);
        installMessageService(&m_messages);
        QString error;
        QVERIFY2(m_server.start({}, &error, 0), qPrintable(error));
        m_dm = testing::startedModule(m_server, m_dir.filePath(QStringLiteral("s.ini")),
                                      QStringLiteral("jingguan"));
        QVERIFY(m_dm);
    }

    // A new speciality is stored with the organization; cancelling brings back
    // two rows deleted without saving.
    void specialities() {
        TFormCode form(*m_dm);
        form.tabs()->setCurrentIndex(1);
        RecordSet& set = form.current();
        QCOMPARE(set.name(), QStringLiteral("CDS_ZuanYe"));
        const int before = set.rowCount();
        QVERIFY(form.actNew->isEnabled());
        QVERIFY(!form.actSave->isEnabled());
        form.actNew->trigger();
        QVERIFY(!form.actNew->isEnabled());
        QVERIFY(form.actSave->isEnabled());
        QTableView* grid = form.grid(1);
        QVERIFY(
            grid->model()->setData(grid->model()->index(set.currentRow(), 0), QStringLiteral("数据科学")));
        form.actSave->trigger();
        QVERIFY(!set.hasChanges());
        QCOMPARE(m_server.scalar(QStringLiteral("Select DZZ_ID from Code_ZuanYe where ZuanYe='数据科学'")),
                 QStringLiteral("02"));

        set.moveTo(0);
        form.actDelete->trigger();
        set.moveTo(0);
        form.actDelete->trigger();
        QCOMPARE(set.rowCount(), before - 1);
        QVERIFY(form.actCancel->isEnabled());
        form.actCancel->trigger();
        QCOMPARE(set.rowCount(), before + 1);
        QVERIFY(!form.actCancel->isEnabled());
        QCOMPARE(m_server.scalar(QStringLiteral("Select Count(*) from Code_ZuanYe where DZZ_ID='02'")),
                 QString::number(before + 1));
    }

    // Values come back quoted; nothing chosen gives ''.
    void pickedValues() {
        {
            TDlgCodeValue dialog(*m_dm);
            dialog.accept();
            QCOMPARE(dialog.CodeValue, QStringLiteral("''"));
        }
        {
            TDlgCodeValue dialog(*m_dm);
            QList<QListWidgetItem*> sex =
                dialog.lstTables->findItems(QStringLiteral("性别"), Qt::MatchExactly);
            QCOMPARE(sex.size(), 1);
            dialog.lstTables->setCurrentItem(sex[0]);
            QCOMPARE(dialog.grdValues->rowCount(), 2);
            QCOMPARE(dialog.grdValues->item(1, 1)->text(), QStringLiteral("女"));
            dialog.grdValues->setCurrentCell(1, 0); // the code column cannot be chosen
            QCOMPARE(dialog.grdValues->currentColumn(), 1);
            dialog.accept();
            QCOMPARE(dialog.CodeValue, QStringLiteral("'女'"));
        }
        {
            TDlgCodeValue dialog(*m_dm);
            dialog.PageControl->setCurrentIndex(1);
            QCOMPARE(dialog.edtDate->date(), QDate(2026, 7, 10));
            dialog.edtDate->setDate(QDate(2025, 3, 9));
            dialog.accept();
            QCOMPARE(dialog.CodeValue, QStringLiteral("'2025-03-09'"));
        }
    }

    // A code table without records shows one empty row; a quote in a value is doubled.
    void emptyTableAndQuotes() {
        QVERIFY(m_server.exec(QStringLiteral("Delete from Code_LiuDongLX")));
        QVERIFY(
            m_server.exec(QStringLiteral("Insert into Code_DWQY (QY_ID,DWQuYu) VALUES ('99','O''Brien县')")));
        TDlgCodeValue dialog(*m_dm);
        dialog.lstTables->setCurrentItem(
            dialog.lstTables->findItems(QStringLiteral("流动类型"), Qt::MatchExactly)[0]);
        QCOMPARE(dialog.grdValues->rowCount(), 1);
        QVERIFY(!dialog.grdValues->item(0, 1) || dialog.grdValues->item(0, 1)->text().isEmpty());
        dialog.lstTables->setCurrentItem(
            dialog.lstTables->findItems(QStringLiteral("单位所在地区"), Qt::MatchExactly)[0]);
        QTableWidget* grid = dialog.grdValues;
        int row = -1;
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->item(r, 0) && grid->item(r, 0)->text() == u"99") row = r;
        QVERIFY(row >= 0);
        grid->setCurrentCell(row, 1);
        dialog.accept();
        QCOMPARE(dialog.CodeValue, QStringLiteral("'O''Brien县'"));
    }
};

QTEST_MAIN(TestCodeTables)
#include "tst_codetables.moc"
