// The record-set layer on rows of a scripted source: fields, the edit cycle,
// the change log and what it sends, locating, bound views and controls.
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/recordset.h"
#include "data/recordsetbinder.h"
#include "data/recordsetmodel.h"
#include "data/services.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

namespace {

Value text(const char* t) {
    return Value::fromText(QString::fromUtf8(t));
}
Value day(int y, int m, int d) {
    return Value::fromDateTime(QDateTime(QDate(y, m, d), QTime(0, 0), Qt::UTC));
}

// Answers opens with a fixed member table and records what is applied.
class ScriptedSource : public RecordSource {
public:
    OpenResult rows;
    QList<QCborArray> applied;
    ApplyOutcome outcome;

    ScriptedSource() {
        rows.rows.columns = {{QStringLiteral("SN"), Value::Type::Int},
                             {QStringLiteral("DY_ID"), Value::Type::Text},
                             {QStringLiteral("Name"), Value::Type::Text},
                             {QStringLiteral("ChuShengRQ"), Value::Type::DateTime},
                             {QStringLiteral("XSPer_YuSen"), Value::Type::Double},
                             {QStringLiteral("isLiuDong"), Value::Type::Bool},
                             {QStringLiteral("DZB_ID"), Value::Type::Text}};
        rows.columns = {{QStringLiteral("serial"), 0, false},
                        {QStringLiteral("text"), 10, true},
                        {QStringLiteral("text"), 10, true},
                        {QStringLiteral("datetime"), 0, false},
                        {QStringLiteral("float"), 0, false},
                        {QStringLiteral("boolean"), 0, false},
                        {}};
        rows.rows.rows = {
            {Value::fromInt(1), text("X01-000001"), text("张三"), day(2000, 1, 1), Value::fromDouble(12.34),
             Value::fromBool(false), text("S01-0001")},
            {Value::fromInt(2), text("X01-000002"), text("李四"), Value(), Value(), Value::fromBool(true),
             text("S01-0002")},
            {Value::fromInt(3), text("X01-000003"), text("Wang"), day(1990, 6, 15), Value::fromDouble(100),
             Value(), Value()},
        };
        rows.hasRows = true;
        rows.table = QStringLiteral("Stud_DYInfo");
        rows.key = {QStringLiteral("DY_ID")};
    }
    OpenResult open(const QString&, const QCborMap&, const QString&) override { return rows; }
    ApplyOutcome apply(const QString&, const QCborMap&, const QString&, const QCborArray& changes) override {
        applied << changes;
        return outcome;
    }
};

// Types text as key presses, one character at a time (also where no key
// code exists for it).
void type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

QStringList kinds(const QCborArray& changes) {
    QStringList out;
    for (const QCborValue& c : changes)
        out << c.toMap().value(QStringLiteral("kind")).toString();
    return out;
}

} // namespace

class TestRecordSet : public QObject {
    Q_OBJECT
    FixedClock m_clock{QDate(2020, 1, 2)};
    ScriptedMessageService m_messages;

private slots:
    void initTestCase() {
        installClock(&m_clock);
        installMessageService(&m_messages);
    }

    void fieldsAndDisplay() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.setFieldHint(QStringLiteral("Name"), [] {
            FieldHint h;
            h.caption = QStringLiteral("姓名");
            return h;
        }());
        set.open();
        QCOMPARE(set.rowCount(), 3);
        QCOMPARE(set.fieldIndex(u"name"), 2);
        const FieldDef& name = set.field(2);
        QCOMPARE(name.width, 10);
        QVERIFY(name.required);
        QCOMPARE(name.label(), QStringLiteral("姓名"));
        QVERIFY(set.field(0).serial);
        QVERIFY(!set.field(6).inTable); // a joined column
        QCOMPARE(set.displayText(0, 3), QStringLiteral("2000-01-01"));
        QCOMPARE(set.displayText(0, 4), QStringLiteral("12.34%"));
        QCOMPARE(set.displayText(2, 4), QStringLiteral("100.00%"));
        QCOMPARE(set.displayText(1, 3), QString());
        QCOMPARE(set.value(u"DY_ID"), text("X01-000001"));
    }

    // Values that do not fit are refused, never cut; required fields block Post.
    void editRules_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("ten bytes of GBK") << "Name"
                                          << "欧阳修文字" << true;
        QTest::newRow("eleven bytes") << "Name"
                                      << "欧阳修文字a" << false;
        QTest::newRow("ascii at the width") << "Name"
                                            << "abcdefghij" << true;
        QTest::newRow("a date") << "ChuShengRQ"
                                << "2001-2-3" << true;
        QTest::newRow("no date") << "ChuShengRQ"
                                 << "2001-02-30" << false;
        QTest::newRow("a share") << "XSPer_YuSen"
                                 << "0.5" << true;
        QTest::newRow("not a number") << "XSPer_YuSen"
                                      << "half" << false;
    }
    void editRules() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        set.edit();
        const Value before = set.value(field);
        bool refused = false;
        try {
            set.setText(field, typed);
        } catch (const DataError& e) {
            refused = true;
            QVERIFY(!e.message().isEmpty());
        }
        QCOMPARE(!refused, accepted);
        if (refused) QCOMPARE(set.value(field), before);
    }

    // The letter record cuts what does not fit, at whole characters.
    void cutsOverlongTextWhereAsked_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("fits") << "欧阳修文字"
                              << "欧阳修文字";
        QTest::newRow("two bytes over") << "欧阳修文字多"
                                        << "欧阳修文字";
        QTest::newRow("a double-byte character is not split") << "abcdefghi欧"
                                                              << "abcdefghi";
    }
    void cutsOverlongTextWhereAsked() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Report"), QStringLiteral("DSP_Report"), &source);
        set.setCutsOverlongText(true);
        set.open();
        set.edit();
        set.setText(u"Name", typed);
        QCOMPARE(set.value(u"Name").text(), stored);
    }

    void requiredFieldBlocksPost() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        set.append();
        set.setValue(u"DY_ID", text("X01-000009"));
        try {
            set.post();
            QFAIL("posted without a name");
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Name")), qPrintable(e.message()));
        }
        QCOMPARE(set.state(), RecordSet::State::Insert);
        // An empty text is no value.
        set.setText(u"Name", QString());
        QVERIFY_THROWS_EXCEPTION(DataError, set.post());
        set.setText(u"Name", QStringLiteral("赵六"));
        set.post();
        QCOMPARE(set.state(), RecordSet::State::Browse);
        QCOMPARE(set.rowCount(), 4);
        // The serial is the server's: not required of a new row.
        QVERIFY(set.value(u"SN").isNull());
    }

    void cancelRestores() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        set.moveTo(1);
        set.edit();
        set.setText(u"Name", QStringLiteral("改名"));
        set.cancel();
        QCOMPARE(set.value(u"Name"), text("李四"));
        QVERIFY(!set.hasChanges());
        set.append();
        set.cancel();
        QCOMPARE(set.rowCount(), 3);
        QCOMPARE(set.currentRow(), 1); // where it was before the append
        QVERIFY(!set.hasChanges());
    }

    // Each kind of change goes out with what the server needs to find the row
    // as it was read; the log stays when any row fails.
    void changeLogAndApply() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        set.moveTo(0);
        set.edit();
        set.setText(u"Name", QStringLiteral("张三丰"));
        set.next(); // moving on posts the edit
        QCOMPARE(set.rowStatus(0), RecordSet::RowStatus::Modified);
        QCOMPARE(set.originalValue(0, 2), text("张三"));
        set.moveTo(2);
        set.remove();
        set.append();
        set.setValue(u"DY_ID", text("X01-000004"));
        set.setValue(u"Name", text("新人"));
        set.post();
        QCOMPARE(set.changeCount(), 3);

        source.outcome = {1, {QStringLiteral("第1行：记录已被其他用户修改或删除")}, {}};
        QCOMPARE(set.applyUpdates(), 1);
        QCOMPARE(set.changeCount(), 3);
        QCOMPARE(set.applyMessages().size(), 1);
        const QCborArray sent = source.applied.last();
        QCOMPARE(kinds(sent), QStringList({"delete", "update", "insert"}));
        const QCborMap update = sent.at(1).toMap();
        QCOMPARE(update.value(QStringLiteral("values")).toMap().keys().size(), 1); // only the changed field
        QCOMPARE(update.value(QStringLiteral("original")).toMap().value(QStringLiteral("Name")).toString(),
                 QStringLiteral("张三"));
        const QCborMap insert = sent.at(2).toMap().value(QStringLiteral("values")).toMap();
        QVERIFY(!insert.contains(QStringLiteral("SN")));         // the server's serial
        QVERIFY(!insert.contains(QStringLiteral("DZB_ID")));     // not a column of the table
        QVERIFY(!insert.contains(QStringLiteral("ChuShengRQ"))); // null

        source.outcome = {0, {}, {77}};
        QCOMPARE(set.applyUpdates(), 0);
        QCOMPARE(set.changeCount(), 0);
        QCOMPARE(set.value(set.rowCount() - 1, 0), Value::fromInt(77));
        QCOMPARE(set.applyUpdates(), 0); // nothing left to send
        QCOMPARE(source.applied.size(), 2);
    }

    void cancelUpdatesRestoresEverything() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        auto names = [&] {
            QStringList out;
            for (int r = 0; r < set.rowCount(); ++r)
                out << set.value(r, 2).text();
            return out;
        };
        const QStringList before = names();
        set.moveTo(1);
        set.edit();
        set.setText(u"Name", QStringLiteral("甲"));
        set.post();
        set.moveTo(0);
        set.remove();
        set.moveTo(1);
        set.remove();
        set.append();
        set.setText(u"DY_ID", QStringLiteral("X01-000005"));
        set.setText(u"Name", QStringLiteral("乙"));
        set.cancelUpdates();
        QCOMPARE(names(), before);
        QVERIFY(!set.hasChanges());
    }

    // A snapshot taken with changes pending comes back whole after the set
    // applied more (as a rolled-back transaction leaves it); a set that was
    // closed at the snapshot is closed again.
    void snapshotRestoresRowsAndChangeLog() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        set.moveTo(0);
        set.edit();
        set.setText(u"Name", QStringLiteral("甲"));
        const RecordSet::Snapshot before = set.snapshot(); // posts the edit
        QCOMPARE(set.changeCount(), 1);
        set.moveTo(2);
        set.remove();
        set.append();
        set.setText(u"DY_ID", QStringLiteral("X01-000009"));
        set.setText(u"Name", QStringLiteral("乙"));
        QCOMPARE(set.applyUpdates(), 0);
        QVERIFY(!set.hasChanges());
        set.restore(before);
        QCOMPARE(set.rowCount(), 3);
        QCOMPARE(set.value(0, 2).text(), QStringLiteral("甲"));
        QCOMPARE(set.value(2, 2).text(), QStringLiteral("Wang"));
        QCOMPARE(set.changeCount(), 1);
        QCOMPARE(set.currentRow(), 0);
        source.applied.clear();
        QCOMPARE(set.applyUpdates(), 0); // the edit goes out again, alone
        QCOMPARE(kinds(source.applied.value(0)), QStringList{QStringLiteral("update")});

        RecordSet closed(QStringLiteral("CDS_Other"), QStringLiteral("DSP_Test"), &source);
        const RecordSet::Snapshot unopened = closed.snapshot();
        closed.open();
        closed.append();
        closed.restore(unopened);
        QVERIFY(!closed.isOpen());
    }

    void locate_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<bool>("caseInsensitive");
        QTest::addColumn<int>("row");
        QTest::newRow("text") << "Name"
                              << "李四" << false << 1;
        QTest::newRow("case differs") << "Name"
                                      << "WANG" << false << -1;
        QTest::newRow("case ignored") << "Name"
                                      << "WANG" << true << 2;
        QTest::newRow("date") << "ChuShengRQ"
                              << "1990-06-15" << false << 2;
        QTest::newRow("integer") << "SN"
                                 << "2" << false << 1;
        QTest::newRow("calculated age") << "Age"
                                        << "20" << false << 0;
        QTest::newRow("none") << "DY_ID"
                              << "X99-000001" << false << -1;
    }
    void locate() {
        QFETCH(QString, field);
        QFETCH(QString, wanted);
        QFETCH(bool, caseInsensitive);
        QFETCH(int, row);
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        FieldDef age;
        age.name = QStringLiteral("Age");
        age.type = FieldType::Integer;
        age.sources = {QStringLiteral("ChuShengRQ")};
        age.compute = [](const RecordSet& s, int r, const QList<int>& src) {
            const Value born = s.value(r, src[0]);
            return born.isNull() ? Value() : Value::fromInt(2020 - born.dateTime().date().year());
        };
        set.addComputedField(age);
        set.open();
        set.moveTo(0);
        const bool found = set.locate(field, Value::fromText(wanted),
                                      caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
        QCOMPARE(found, row >= 0);
        QCOMPARE(set.currentRow(), row >= 0 ? row : 0);
    }

    // The catalogue's member sets: the age from the clock's today and the
    // branch name looked up in the population's branch set.
    void catalogueAgeAndLookup() {
        ScriptedSource members;
        ScriptedSource branches;
        branches.rows.rows.columns = {{QStringLiteral("ZB_ID"), Value::Type::Text},
                                      {QStringLiteral("ZB_Name"), Value::Type::Text}};
        branches.rows.columns = {};
        branches.rows.rows.rows = {{text("S01-0002"), text("第二支部")},
                                   {text("S01-0001"), text("第一支部")}};
        Catalogue catalogue(&members, [] { return QStringLiteral("01"); });
        catalogue[u"CDS_XS_DZB"].setSource(&branches);
        catalogue[u"CDS_XS_DZB"].open();
        RecordSet& all = catalogue[u"CDS_XSXY_ALL"];
        all.open();
        const int age = all.requireField(u"Age");
        const int zb = all.requireField(u"ZB_Name");
        QCOMPARE(all.value(0, age), Value::fromInt(20)); // born 2000-01-01, today 2020-01-02
        m_clock.setToday(QDate(2020, 1, 1));
        QCOMPARE(all.value(0, age), Value::fromInt(19));
        m_clock.setToday(QDate(2020, 1, 2));
        QCOMPARE(all.displayText(1, age), QString()); // no birth date
        QCOMPARE(all.displayText(0, zb), QStringLiteral("第一支部"));
        QCOMPARE(all.displayText(1, zb), QStringLiteral("第二支部"));
        QCOMPARE(all.displayText(2, zb), QString()); // no branch
        QCOMPARE(all.field(age).label(), QStringLiteral("年龄"));
        QCOMPARE(all.field(all.requireField(u"Name")).label(), QStringLiteral("姓名"));
        QVERIFY(!all.field(all.requireField(u"DY_ID")).isEditable());
        // The student and staff twins are the same sets by other names.
        QVERIFY(catalogue.find(u"CDS_ZGXY_ALL") && catalogue.find(u"CDS_ZGJS_List") &&
                catalogue.find(u"cds_xsxz_list"));
        QCOMPARE(catalogue[u"CDS_XSXZ_List"].providerName(), QStringLiteral("DSP_XSXZ_LIst"));
        QCOMPARE(catalogue[u"CDS_ZGXZ_List"].providerName(), QStringLiteral("DSP_ZGXZ_List"));
    }

    // The model follows every change of the set; while controls are disabled
    // it sees nothing and catches up once.
    void modelFollowsTheSet() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        RecordSetModel model(
            &set, {QStringLiteral("Name"), QStringLiteral("ChuShengRQ"), QStringLiteral("XSPer_YuSen")});
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        set.open();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("2000-01-01"));
        QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("12.34%"));
        QVERIFY(model.setData(model.index(1, 0), QStringLiteral("王五")));
        QCOMPARE(set.state(), RecordSet::State::Edit);
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("王五"));
        QVERIFY(!model.setData(model.index(1, 0), QStringLiteral("一二三四五六"))); // 12 bytes
        QVERIFY(!model.lastError().isEmpty());
        set.post();
        set.append();
        QCOMPARE(model.rowCount(), 4);
        set.cancel();
        QCOMPARE(model.rowCount(), 3);

        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
        set.disableControls();
        for (set.first(); !set.eof(); set.next()) {
            set.edit();
            set.setText(u"Name", set.text(u"Name") + u'!');
            set.post();
        }
        set.moveTo(0);
        set.remove();
        QCOMPARE(model.rowCount(), 3); // not told yet
        QCOMPARE(changes.size(), 0);
        set.enableControls();
        QCOMPARE(resets.size(), 1);
        QCOMPARE(model.rowCount(), 2);
        set.close();
        QCOMPARE(model.rowCount(), 0);
    }

    // Typing in a bound edit starts editing the current record; a refused
    // value is reported and the edit shows the record's value again.
    void binderEditsTheCurrentRecord() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        QLineEdit name;
        QCheckBox mobile;
        QComboBox branch;
        branch.addItems({QStringLiteral("S01-0001"), QStringLiteral("S01-0002")});
        RecordSetBinder binder(&set);
        QStringList errors;
        binder.setErrorHandler([&](const QString& e) { errors << e; });
        binder.bind(&name, QStringLiteral("Name"));
        binder.bind(&mobile, QStringLiteral("isLiuDong"));
        binder.bind(&branch, QStringLiteral("DZB_ID"));
        QCOMPARE(name.text(), QStringLiteral("张三"));
        QCOMPARE(branch.currentText(), QStringLiteral("S01-0001"));
        set.moveTo(1);
        QCOMPARE(name.text(), QStringLiteral("李四"));
        QVERIFY(mobile.isChecked());
        QCOMPARE(set.state(), RecordSet::State::Browse);
        name.setFocus();
        type(&name, QStringLiteral("甲"));
        QCOMPARE(set.state(), RecordSet::State::Edit);
        QCOMPARE(set.value(u"Name"), text("李四甲"));
        // The validator refuses what would not fit: 8 bytes, then 10, then no more.
        type(&name, QStringLiteral("乙丙"));
        QCOMPARE(set.value(u"Name"), text("李四甲乙丙"));
        QCOMPARE(name.text(), QStringLiteral("李四甲乙丙"));
        type(&name, QStringLiteral("丁"));
        QCOMPARE(name.text(), QStringLiteral("李四甲乙丙"));
        mobile.click();
        QCOMPARE(set.value(u"isLiuDong"), Value::fromBool(false));
        set.post();
        QCOMPARE(set.rowStatus(1), RecordSet::RowStatus::Modified);
        // A value refused by the set is reported, the edit shows the stored one.
        set.edit();
        QVERIFY_THROWS_EXCEPTION(DataError, set.setText(u"Name", QStringLiteral("太长太长太长")));
        set.cancel();
        QCOMPARE(name.text(), QStringLiteral("李四甲乙丙"));
        QVERIFY(errors.isEmpty());
    }

    // A date picker shows an empty date as a blank and stores what is picked.
    void binderDatePicker() {
        ScriptedSource source;
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.open();
        QDateEdit born;
        born.setMinimumDate(QDate(1900, 1, 1));
        RecordSetBinder binder(&set);
        binder.bind(&born, QStringLiteral("ChuShengRQ"));
        QCOMPARE(born.date(), QDate(2000, 1, 1));
        set.moveTo(1); // no birth date
        QCOMPARE(born.date(), born.minimumDate());
        QCOMPARE(born.text(), QStringLiteral(" "));
        QCOMPARE(set.state(), RecordSet::State::Browse);
        born.setDate(QDate(2001, 2, 3)); // as the calendar does
        QCOMPARE(set.state(), RecordSet::State::Edit);
        QCOMPARE(set.value(u"ChuShengRQ"), day(2001, 2, 3));
        born.setDate(born.minimumDate());
        QVERIFY(set.value(u"ChuShengRQ").isNull());
    }
};

QTEST_MAIN(TestRecordSet)
#include "tst_recordset.moc"
