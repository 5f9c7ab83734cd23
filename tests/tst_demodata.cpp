// The demonstration records: the same rows on every run, and the relations
// between them that the screens rely on (categories, branches, graduates,
// code tables, the dictionary, users). Two databases are built: one seen in
// the summer after the graduates left, one on the third day of a year, when
// every date of the year is squeezed into three days.
#include "db/sqlitedatabase.h"
#include "demo/demodata.h"
#include "sql/schema.h"
#include "sql/translator.h"

#include <QCryptographicHash>
#include <QtTest>

#include <map>
#include <memory>
#include <set>
#include <sqlite3.h>

using namespace corvexa;

namespace {

const QDate kSummer(2026, 7, 10);
const QDate kNewYear(2026, 1, 3);

std::unique_ptr<db::SqliteDatabase> freshDatabase(const demo::DemoOptions& options, QString* error) {
    auto database = std::make_unique<db::SqliteDatabase>();
    if (!database->open(QStringLiteral(":memory:"), error) ||
        !database->createSchema(sql::Schema::standard(), error) || !demo::populate(*database, options, error))
        return nullptr;
    return database;
}

QString cell(const QVariant& v) {
    if (v.isNull()) return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().toString(Qt::ISODate);
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 17);
    return QString::fromLatin1(v.typeName()) + u':' + v.toString();
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

    sql::Translator m_translator{sql::Schema::standard(), sql::Backend::SQLite};
    std::unique_ptr<db::SqliteDatabase> m_summer, m_newYear;

    db::SqliteDatabase& database(const QString& which) { return which == u"summer" ? *m_summer : *m_newYear; }

    db::QueryResult query(db::SqliteDatabase& database, const QString& text) {
        auto t = m_translator.translate(text);
        db::QueryResult r = database.run(*t);
        if (!r.ok) qWarning().noquote() << text << "->" << r.error;
        return r;
    }
    // First value of the first row; -1 when the statement fails.
    qint64 number(db::SqliteDatabase& database, const QString& text) {
        db::QueryResult r = query(database, text);
        return r.ok && !r.rows.empty() ? r.rows[0][0].toLongLong() : -1;
    }
    QByteArray digest(db::SqliteDatabase& database) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const sql::TableDef& table : sql::Schema::standard().tables()) {
            db::QueryResult r = query(database, QStringLiteral("Select * from ") + table.name);
            hash.addData(table.name.toUtf8());
            if (!r.ok) return {};
            for (const auto& row : r.rows) {
                for (const QVariant& v : row)
                    hash.addData((cell(v) + u'\x1f').toUtf8());
                hash.addData("\n");
            }
        }
        return hash.result();
    }

private slots:
    void initTestCase() {
        QString error;
        m_summer = freshDatabase({0, kSummer}, &error);
        QVERIFY2(m_summer, qPrintable(error));
        m_newYear = freshDatabase({0, kNewYear}, &error);
        QVERIFY2(m_newYear, qPrintable(error));
    }

    void sameOptionsGiveSameRows() {
        QString error;
        auto again = freshDatabase({0, kSummer}, &error);
        QVERIFY2(again, qPrintable(error));
        const QByteArray first = digest(*m_summer);
        QVERIFY(!first.isEmpty());
        QCOMPARE(digest(*again), first);
        QVERIFY(digest(*m_newYear) != first);
    }

    void categoryRowsBelongToTheirOrganization_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("members");
        QTest::addColumn<QString>("branches");
        QTest::addColumn<QString>("prefixes"); // member letter, branch letter
        for (const char* suffix : {"XianYou", "YuSen", "XinZen", "JianSao"}) {
            QTest::newRow(QByteArray("Stud_").append(suffix).constData())
                << QStringLiteral("Stud_") + QLatin1String(suffix) << "Stud_DYInfo"
                << "DZB_XS"
                << "XS";
            QTest::newRow(QByteArray("Staff_").append(suffix).constData())
                << QStringLiteral("Staff_") + QLatin1String(suffix) << "Staff_DYInfo"
                << "DZB_ZG"
                << "ZG";
        }
        QTest::newRow("Stud_BiYe") << "Stud_BiYe"
                                   << "Stud_DYInfo"
                                   << "DZB_XS"
                                   << "XS";
    }
    void categoryRowsBelongToTheirOrganization() {
        QFETCH(QString, table);
        QFETCH(QString, members);
        QFETCH(QString, branches);
        QFETCH(QString, prefixes);
        db::SqliteDatabase& db = *m_summer;
        QCOMPARE(
            number(db, QStringLiteral("Select Count(*) from %1 where DY_ID not in (Select DY_ID from %2)")
                           .arg(table, members)),
            0);
        std::map<QString, QString> branchOrg;
        for (const auto& row : query(db, QStringLiteral("Select ZB_ID, DZZ_ID from ") + branches).rows)
            branchOrg[row[0].toString()] = row[1].toString();
        const db::QueryResult rows = query(db, QStringLiteral("Select DY_ID, DZZ_ID, DZB_ID from ") + table);
        QVERIFY(!rows.rows.empty());
        for (const auto& row : rows.rows) {
            const QString id = row[0].toString(), org = row[1].toString(), branch = row[2].toString();
            QVERIFY2(id.size() == 10 && id.startsWith(prefixes[0] + org + u'-'), qPrintable(id));
            QVERIFY2(branch.startsWith(prefixes[1] + org + u'-'), qPrintable(branch));
            QCOMPARE(branchOrg[branch], org);
        }
    }

    void currentMembersAndCandidatesApart_data() {
        QTest::addColumn<QString>("p");
        QTest::newRow("students") << "Stud_";
        QTest::newRow("staff") << "Staff_";
    }
    void currentMembersAndCandidatesApart() {
        QFETCH(QString, p);
        db::SqliteDatabase& db = *m_summer;
        QCOMPARE(
            number(
                db,
                QStringLiteral("Select Count(*) from %1XianYou A, %1YuSen B where A.DY_ID=B.DY_ID").arg(p)),
            0);
        QCOMPARE(
            number(
                db,
                QStringLiteral("Select Count(*) from %1XianYou A, %1JianSao B where A.DY_ID=B.DY_ID").arg(p)),
            0);
        QCOMPARE(number(db, QStringLiteral(
                                "Select Count(*) from %1DYInfo A, %1XianYou B where A.DY_ID=B.DY_ID and "
                                "A.DangYuanLX not in ('正式','预备')")
                                .arg(p)),
                 0);
        QCOMPARE(
            number(db, QStringLiteral("Select Count(*) from %1DYInfo A, %1YuSen B where A.DY_ID=B.DY_ID and "
                                      "(A.DangYuanLX<>'预审' or A.RuDangRQ is not NULL)")
                           .arg(p)),
            0);
        // Both member types occur among the current members.
        QCOMPARE(number(db, QStringLiteral(
                                "Select Count(Distinct A.DangYuanLX) from %1DYInfo A, %1XianYou B where "
                                "A.DY_ID=B.DY_ID")
                                .arg(p)),
                 2);
    }

    void everyCategoryHasRowsThisYear_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("statement");
        for (const char* which : {"summer", "newYear"}) {
            for (const char* p : {"Stud_", "Staff_"}) {
                const QString tag = QLatin1String(which) + u' ' + QLatin1String(p);
                QTest::newRow(qPrintable(tag + "XianYou"))
                    << which << QStringLiteral("Select Count(*) from %1XianYou").arg(QLatin1String(p));
                QTest::newRow(qPrintable(tag + "YuSen"))
                    << which << QStringLiteral("Select Count(*) from %1YuSen").arg(QLatin1String(p));
                QTest::newRow(qPrintable(tag + "XinZen"))
                    << which
                    << QStringLiteral("Select Count(*) from %1XinZen where Year(XinZenRQ)=2026")
                           .arg(QLatin1String(p));
                QTest::newRow(qPrintable(tag + "JianSao"))
                    << which
                    << QStringLiteral("Select Count(*) from %1JianSao where Year(JianSaoRQ)=2026")
                           .arg(QLatin1String(p));
                QTest::newRow(qPrintable(tag + "mobile"))
                    << which
                    << QStringLiteral(
                           "Select Count(*) from %1DYInfo A, %1XianYou B where A.DY_ID=B.DY_ID and "
                           "A.isLiuDong=1 and A.LiuDongLX is not NULL and A.LiuChuRQ is not NULL")
                           .arg(QLatin1String(p));
            }
        }
    }
    void everyCategoryHasRowsThisYear() {
        QFETCH(QString, which);
        QFETCH(QString, statement);
        QVERIFY(number(database(which), statement) > 0);
    }

    void noDateAfterToday_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        const char* checks[][2] = {
            {"Stud_DYInfo", "ChuShengRQ"}, {"Stud_DYInfo", "RuDangRQ"},    {"Stud_DYInfo", "HuiZhiRQ"},
            {"Stud_DYInfo", "LiuChuRQ"},   {"Staff_DYInfo", "ChuShengRQ"}, {"Staff_DYInfo", "RuDangRQ"},
            {"Staff_DYInfo", "GongZuoRQ"}, {"Staff_DYInfo", "HuiZhiRQ"},   {"Staff_DYInfo", "LiuChuRQ"},
            {"Stud_YuSen", "YuSenRQ"},     {"Staff_YuSen", "YuSenRQ"},     {"Stud_XinZen", "XinZenRQ"},
            {"Staff_XinZen", "XinZenRQ"},  {"Stud_JianSao", "JianSaoRQ"},  {"Staff_JianSao", "JianSaoRQ"},
            {"DZB_XS", "ZB_HuanJieRQ"},    {"DZZ_List", "DZZ_HuanJieRQ"},
        };
        for (const char* which : {"summer", "newYear"})
            for (const auto& c : checks)
                QTest::newRow(
                    qPrintable(QStringLiteral("%1 %2.%3")
                                   .arg(QLatin1String(which), QLatin1String(c[0]), QLatin1String(c[1]))))
                    << which << c[0] << c[1];
    }
    void noDateAfterToday() {
        QFETCH(QString, which);
        QFETCH(QString, table);
        QFETCH(QString, column);
        const QDate today = which == u"summer" ? kSummer : kNewYear;
        QCOMPARE(number(database(which), QStringLiteral("Select Count(*) from %1 where %2 > '%3'")
                                             .arg(table, column, today.toString(Qt::ISODate))),
                 0);
        QVERIFY(number(database(which),
                       QStringLiteral("Select Count(*) from %1 where %2 is not NULL").arg(table, column)) >
                0);
    }

    void agesOfCurrentMembers_data() {
        QTest::addColumn<QString>("p");
        QTest::addColumn<int>("youngest");
        QTest::addColumn<int>("oldest");
        QTest::newRow("students") << "Stud_" << 17 << 27;
        QTest::newRow("staff") << "Staff_" << 25 << 60;
    }
    void agesOfCurrentMembers() {
        QFETCH(QString, p);
        QFETCH(int, youngest);
        QFETCH(int, oldest);
        const db::QueryResult r =
            query(*m_summer, QStringLiteral("Select Min(A.ChuShengRQ), Max(A.ChuShengRQ) from "
                                            "%1DYInfo A, %1XianYou B where A.DY_ID=B.DY_ID")
                                 .arg(p));
        QVERIFY(r.ok && r.rows.size() == 1);
        auto age = [](const QDate& birth) {
            int years = kSummer.year() - birth.year();
            if (QDate(kSummer.year(), birth.month(), birth.day()) > kSummer) --years;
            return years;
        };
        QVERIFY2(age(r.rows[0][0].toDateTime().date()) <= oldest, qPrintable(r.rows[0][0].toString()));
        QVERIFY2(age(r.rows[0][1].toDateTime().date()) >= youngest, qPrintable(r.rows[0][1].toString()));
    }

    void codedValuesComeFromTheirTables_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("codeColumn");
        const char* rows[][4] = {
            {"Stud_DYInfo", "Sex", "Code_Sex", "Sex"},
            {"Staff_DYInfo", "Sex", "Code_Sex", "Sex"},
            {"Stud_DYInfo", "MinZhu", "Code_MinZhu", "MinZhu"},
            {"Staff_DYInfo", "MinZhu", "Code_MinZhu", "MinZhu"},
            {"Stud_DYInfo", "XueLi", "Code_XueLi", "XueLi"},
            {"Staff_DYInfo", "XueLi", "Code_XueLi", "XueLi"},
            {"Stud_DYInfo", "NianJi", "Code_NianJi", "NianJi"},
            {"Stud_DYInfo", "ZuanYe", "Code_ZuanYe", "ZuanYe"},
            {"Stud_DYInfo", "BanJi", "Code_BanJi", "BanJi"},
            {"Stud_DYInfo", "DangYuanLX", "Code_DangYuanLX", "DYLX"},
            {"Staff_DYInfo", "DangYuanLX", "Code_DangYuanLX", "DYLX"},
            {"Staff_DYInfo", "JiShuJB", "Code_JiShuJB", "JSJB"},
            {"Staff_DYInfo", "DangZhengJB", "Code_DangZhengJB", "DZJB"},
            {"Staff_DYInfo", "ZhiYeZK", "Code_ZhiYeZK", "ZYZK"},
            {"Staff_DYInfo", "ZhiYeLX", "Code_ZhiYeLX", "ZYLX"},
            {"Stud_DYInfo", "DWQuYu", "Code_DWQY", "DWQuYu"},
            {"Staff_DYInfo", "DWQuYu", "Code_DWQY", "DWQuYu"},
            {"Stud_DYInfo", "LiuDongLX", "Code_LiuDongLX", "LDLX"},
            {"Staff_DYInfo", "LiuDongLX", "Code_LiuDongLX", "LDLX"},
            {"Stud_XinZen", "XinZenLX", "Code_XinZenLX", "XZLX"},
            {"Staff_XinZen", "XinZenLX", "Code_XinZenLX", "XZLX"},
            {"Stud_JianSao", "JianSaoLX", "Code_JianSaoLX", "JSLX"},
            {"Staff_JianSao", "JianSaoLX", "Code_JianSaoLX", "JSLX"},
            {"XSTJ_NianJi", "NianJi", "Code_NianJi", "NianJi"},
            {"XSTJ_NianJi", "XueLi", "Code_XueLi", "XueLi"},
        };
        for (const auto& r : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1.%2").arg(QLatin1String(r[0]), QLatin1String(r[1]))))
                << r[0] << r[1] << r[2] << r[3];
    }
    void codedValuesComeFromTheirTables() {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, codes);
        QFETCH(QString, codeColumn);
        QVERIFY(number(*m_summer,
                       QStringLiteral("Select Count(*) from %1 where %2 is not NULL").arg(table, column)) >
                0);
        QCOMPARE(number(*m_summer,
                        QStringLiteral("Select Count(*) from %1 where %2 is not NULL and %2 not in (Select "
                                       "%4 from %3)")
                            .arg(table, column, codes, codeColumn)),
                 0);
    }

    void specialitiesAndClassesOfTheOwnOrganization_data() {
        QTest::addColumn<QString>("column");
        QTest::newRow("ZuanYe") << "ZuanYe";
        QTest::newRow("BanJi") << "BanJi";
    }
    void specialitiesAndClassesOfTheOwnOrganization() {
        QFETCH(QString, column);
        std::set<std::pair<QString, QString>> listed;
        for (const auto& row :
             query(*m_summer, QStringLiteral("Select DZZ_ID, %1 from Code_%1").arg(column)).rows)
            listed.insert({row[0].toString(), row[1].toString()});
        const db::QueryResult used =
            query(*m_summer, QStringLiteral("Select B.DZZ_ID, A.%1 from Stud_DYInfo A, "
                                            "Stud_XianYou B where A.DY_ID=B.DY_ID")
                                 .arg(column));
        QVERIFY(!used.rows.empty());
        for (const auto& row : used.rows)
            QVERIFY2(listed.count({row[0].toString(), row[1].toString()}),
                     qPrintable(row[0].toString() + u' ' + row[1].toString()));
    }

    void nationalities() {
        const db::QueryResult r =
            query(*m_summer, QStringLiteral("Select MinZhu from Code_MinZhu order by MinZhu_ID"));
        QCOMPARE(r.rows.size(), size_t(56));
        QCOMPARE(r.rows.front()[0].toString(), QStringLiteral("汉族"));
        QCOMPARE(r.rows.back()[0].toString(), QStringLiteral("基诺族"));
        QCOMPARE(number(*m_summer, QStringLiteral("Select Count(Distinct MinZhu) from Code_MinZhu")), 56);
    }

    void graduatesOfTheYearInEveryRegion_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("region");
        for (const char* which : {"summer", "newYear"})
            for (const QString& region :
                 {QStringLiteral("省外"), QStringLiteral("暂留学校"), QStringLiteral("校内")})
                QTest::newRow(qPrintable(QLatin1String(which) + u' ' + region)) << which << region;
    }
    void graduatesOfTheYearInEveryRegion() {
        QFETCH(QString, which);
        QFETCH(QString, region);
        // In every organization.
        const db::QueryResult r =
            query(database(which), QStringLiteral("Select G.DZZ_ID, Count(*) from Stud_BiYe G, Stud_DYInfo A "
                                                  "where G.DY_ID=A.DY_ID and G.NianDu=2026 and A.DWQuYu='%1' "
                                                  "group by G.DZZ_ID")
                                       .arg(region));
        QVERIFY(r.ok);
        QCOMPARE(r.rows.size(), size_t(5));
    }

    void graduatesLeftAsGraduates_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("summer") << "summer";
        QTest::newRow("newYear") << "newYear";
    }
    void graduatesLeftAsGraduates() {
        QFETCH(QString, which);
        db::SqliteDatabase& db = database(which);
        QVERIFY(number(db, QStringLiteral("Select Count(*) from Stud_BiYe where NianDu=2026")) > 0);
        QVERIFY(
            number(db, QStringLiteral("Select Count(*) from Stud_BiYe where NianDu=2026 and XiaoNeiID is not "
                                      "NULL")) > 0);
        QVERIFY(number(db, QStringLiteral(
                               "Select Count(*) from Stud_BiYe where NianDu=2026 and GZW_ID is not NULL")) >
                0);
        // Each entry's member left this year as a graduate, graduating that year.
        QCOMPARE(number(db, QStringLiteral(
                                "Select Count(*) from Stud_BiYe G where G.DY_ID not in (Select DY_ID from "
                                "Stud_JianSao where JianSaoLX='毕业转出' and Year(JianSaoRQ)=G.NianDu)")),
                 0);
        QCOMPARE(number(db, QStringLiteral(
                                "Select Count(*) from Stud_BiYe G, Stud_DYInfo A where G.DY_ID=A.DY_ID and "
                                "Year(A.BiYeRQ)<>G.NianDu")),
                 0);
        QCOMPARE(number(db, QStringLiteral(
                                "Select Count(*) from Stud_BiYe G, Stud_XianYou B where G.DY_ID=B.DY_ID")),
                 0);
        // Nobody who stays at the school gets a letter; letter numbers are unique.
        QCOMPARE(number(db, QStringLiteral(
                                "Select Count(*) from Stud_BiYe G, Stud_DYInfo A where G.DY_ID=A.DY_ID and "
                                "A.DWQuYu='暂留学校' and (G.XiaoNeiID is not NULL or G.GZW_ID is not "
                                "NULL)")),
                 0);
        QCOMPARE(number(db, QStringLiteral("Select Count(*) from Stud_BiYe where XiaoNeiID is not NULL")),
                 number(db, QStringLiteral("Select Count(Distinct XiaoNeiID) from Stud_BiYe")));
    }

    void receiptsAfterLeaving() {
        for (const char* p : {"Stud_", "Staff_"}) {
            QVERIFY(number(*m_summer, QStringLiteral("Select Count(*) from %1DYInfo where HuiZhi=1").arg(p)) >
                    0);
            QCOMPARE(
                number(*m_summer, QStringLiteral("Select Count(*) from %1DYInfo A, %1JianSao B where "
                                                 "A.DY_ID=B.DY_ID and A.HuiZhi=1 and (A.HuiZhiRQ is NULL or "
                                                 "A.HuiZhiRQ < B.JianSaoRQ)")
                                      .arg(p)),
                0);
        }
    }

    void users_data() {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("org");
        QTest::addColumn<bool>("students");
        QTest::addColumn<bool>("staff");
        QTest::addColumn<bool>("graduates");
        QTest::addColumn<bool>("letters");
        QTest::addColumn<bool>("usable");
        QTest::newRow("admin") << "admin"
                               << "01" << true << true << true << true << true;
        QTest::newRow("xuesheng") << "xuesheng"
                                  << "01" << true << false << false << false << true;
        QTest::newRow("zhigong") << "zhigong"
                                 << "01" << false << true << false << false << true;
        QTest::newRow("biye") << "biye"
                              << "01" << true << false << true << true << true;
        QTest::newRow("tingyong") << "tingyong"
                                  << "01" << true << true << true << true << false;
        QTest::newRow("jingguan") << "jingguan"
                                  << "02" << true << true << true << true << true;
        QTest::newRow("waiyu") << "waiyu"
                               << "03" << true << true << true << true << true;
    }
    void users() {
        QFETCH(QString, login);
        QFETCH(QString, org);
        QFETCH(bool, students);
        QFETCH(bool, staff);
        QFETCH(bool, graduates);
        QFETCH(bool, letters);
        QFETCH(bool, usable);
        const db::QueryResult r =
            query(*m_summer, QStringLiteral("Select DZZ_ID, GL_XueSheng, GL_ZhiGong, GL_BiYeSh, "
                                            "GL_JieShaoXin, Usable from DZZ_Users where "
                                            "LoginName='%1'")
                                 .arg(login));
        QCOMPARE(r.rows.size(), size_t(1));
        const auto& row = r.rows[0];
        QCOMPARE(row[0].toString(), org);
        QCOMPARE(row[1].toBool(), students);
        QCOMPARE(row[2].toBool(), staff);
        QCOMPARE(row[3].toBool(), graduates);
        QCOMPARE(row[4].toBool(), letters);
        QCOMPARE(row[5].toBool(), usable);
        // The password is out of reach of statements; read it from the file.
        sqlite3_stmt* stmt = nullptr;
        QCOMPARE(sqlite3_prepare_v2(m_summer->handle(), "SELECT LoginPSWD FROM DZZ_Users WHERE LoginName = ?",
                                    -1, &stmt, nullptr),
                 SQLITE_OK);
        const QByteArray name = login.toUtf8();
        sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        QCOMPARE(sqlite3_step(stmt), SQLITE_ROW);
        const QString password =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        QCOMPARE(password, QStringLiteral("demo"));
    }

    void everyOrganizationHasBranchesInTreeOrder() {
        const db::QueryResult orgs =
            query(*m_summer, QStringLiteral("Select DZZ_ID, DZZ_Name from DZZ_List"));
        QCOMPARE(orgs.rows.size(), size_t(5));
        for (const auto& org : orgs.rows) {
            const QString name = org[1].toString();
            QVERIFY2(name.endsWith(QStringLiteral("党委")) || name.endsWith(QStringLiteral("党总支")),
                     qPrintable(name));
            for (const char* table : {"DZB_XS", "DZB_ZG"}) {
                const db::QueryResult b = query(
                    *m_summer, QStringLiteral("Select ZB_Index from %1 where DZZ_ID='%2' order by ZB_ID")
                                   .arg(QLatin1String(table), org[0].toString()));
                QVERIFY(b.rows.size() >= 2);
                for (size_t i = 0; i < b.rows.size(); ++i)
                    QCOMPARE(b.rows[i][0].toLongLong(), qint64(i + 2));
            }
        }
    }

    void rostersAndSecretaries_data() {
        QTest::addColumn<QString>("p");
        QTest::addColumn<QString>("branches");
        QTest::newRow("students") << "Stud_"
                                  << "DZB_XS";
        QTest::newRow("staff") << "Staff_"
                               << "DZB_ZG";
    }
    void rostersAndSecretaries() {
        QFETCH(QString, p);
        QFETCH(QString, branches);
        std::map<QString, std::vector<qint64>> roster;
        std::set<std::pair<QString, QString>> members; // branch, member
        for (const auto& row :
             query(*m_summer, QStringLiteral("Select DZB_ID, DY_Index, DY_ID from %1XianYou order "
                                             "by DZB_ID, DY_Index")
                                  .arg(p))
                 .rows) {
            roster[row[0].toString()].push_back(row[1].toLongLong());
            members.insert({row[0].toString(), row[2].toString()});
        }
        for (const auto& [branch, positions] : roster)
            for (size_t i = 0; i < positions.size(); ++i)
                QCOMPARE(positions[i], qint64(i + 1));
        int with = 0, without = 0;
        for (const auto& row :
             query(*m_summer, QStringLiteral("Select ZB_ID, ZB_ShuJiID, ZB_FuShuJiID from ") + branches)
                 .rows) {
            if (row[1].isNull()) {
                ++without;
                continue;
            }
            ++with;
            QVERIFY(members.count({row[0].toString(), row[1].toString()}));
            if (!row[2].isNull()) QVERIFY(members.count({row[0].toString(), row[2].toString()}));
        }
        QVERIFY(with > 0);
        if (p == u"Stud_") QVERIFY(without > 0);
    }

    void figuresAgreeWithTheCategories_data() {
        QTest::addColumn<QString>("branches");
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("statement");
        for (int s = 0; s < 2; ++s) {
            const QString b = s ? QStringLiteral("DZB_ZG") : QStringLiteral("DZB_XS");
            const QString p = s ? QStringLiteral("Staff_") : QStringLiteral("Stud_");
            const QString f = s ? QStringLiteral("ZG") : QStringLiteral("XS");
            QTest::newRow(qPrintable(f + "XianYou"))
                << b << f + "RS_XianYou"
                << "Select DZB_ID, Count(*) from " + p + "XianYou group by DZB_ID";
            QTest::newRow(qPrintable(f + "YuSen"))
                << b << f + "RS_YuSen"
                << "Select DZB_ID, Count(*) from " + p + "YuSen group by DZB_ID";
            QTest::newRow(qPrintable(f + "XinZen"))
                << b << f + "RS_XinZen"
                << "Select DZB_ID, Count(*) from " + p + "XinZen where Year(XinZenRQ)=2026 group by DZB_ID";
            QTest::newRow(qPrintable(f + "JianSao"))
                << b << f + "RS_JianSao"
                << "Select DZB_ID, Count(*) from " + p + "JianSao where Year(JianSaoRQ)=2026 group by DZB_ID";
        }
    }
    void figuresAgreeWithTheCategories() {
        QFETCH(QString, branches);
        QFETCH(QString, figure);
        QFETCH(QString, statement);
        std::map<QString, qint64> counted;
        for (const auto& row : query(*m_summer, statement).rows)
            counted[row[0].toString()] = row[1].toLongLong();
        std::map<QString, qint64> perOrg;
        const db::QueryResult r =
            query(*m_summer, QStringLiteral("Select ZB_ID, DZZ_ID, %1, %2 from %3")
                                 .arg(figure, figure.left(2) + QStringLiteral("RS_JiChu"), branches));
        QVERIFY(!r.rows.empty());
        for (const auto& row : r.rows) {
            QCOMPARE(row[2].toLongLong(), counted[row[0].toString()]);
            QVERIFY(row[3].toLongLong() >= row[2].toLongLong());
            perOrg[row[1].toString()] += row[2].toLongLong();
        }
        for (const auto& row :
             query(*m_summer, QStringLiteral("Select DZZ_ID, %1 from DZZ_List").arg(figure)).rows)
            QCOMPARE(row[1].toLongLong(), perOrg[row[0].toString()]);
    }

    void dictionaryDescribesTheTables() {
        const sql::Schema& schema = sql::Schema::standard();
        const db::QueryResult tables =
            query(*m_summer, QStringLiteral("Select TabID, TabName, TabType from Sys_Tables"));
        std::set<QString> codeTables;
        for (const auto& t : tables.rows) {
            const QString name = t[1].toString();
            const sql::TableDef* def = schema.table(name);
            QVERIFY2(def, qPrintable(name));
            const db::QueryResult fields = query(
                *m_summer, QStringLiteral("Select FldIndex, FldName, FldTitle from Sys_Fields where TabID=%1 "
                                          "order by FldIndex")
                               .arg(t[0].toLongLong()));
            QVERIFY(!fields.rows.empty());
            for (size_t i = 0; i < fields.rows.size(); ++i) {
                QCOMPARE(fields.rows[i][0].toLongLong(), qint64(i + 1));
                QVERIFY2(def->column(fields.rows[i][1].toString()), qPrintable(fields.rows[i][1].toString()));
                QVERIFY(!fields.rows[i][2].toString().isEmpty());
            }
            if (t[2].toString() == u"CODE") {
                codeTables.insert(name);
                QCOMPARE(fields.rows.size(), size_t(2));
                QCOMPARE(fields.rows[0][1].toString(), def->columns[0].name);
                QCOMPARE(fields.rows[1][1].toString(), def->columns[1].name);
                QVERIFY(number(*m_summer, QStringLiteral("Select Count(*) from ") + name) > 0);
            } else {
                // The import maps every field but the identifier to one of 26 columns.
                QVERIFY(fields.rows.size() <= 27);
                QCOMPARE(fields.rows[0][2].toString(), QStringLiteral("党员编号"));
            }
        }
        for (const char* name : {"Stud_DYInfo", "Staff_DYInfo"})
            QCOMPARE(
                number(*m_summer, QStringLiteral("Select Count(*) from Sys_Tables where TabName='%1' and "
                                                 "TabType<>'CODE'")
                                      .arg(QLatin1String(name))),
                1);
        for (const sql::TableDef& t : schema.tables())
            if (t.name.startsWith(QStringLiteral("Code_")))
                QVERIFY2(codeTables.count(t.name), qPrintable(t.name));
    }

    void savedTemplatesRun() {
        const db::QueryResult r = query(*m_summer, QStringLiteral("Select TempName, SQLText from Sys_SQL"));
        QVERIFY(!r.rows.empty());
        for (const auto& row : r.rows) {
            const db::QueryResult result = query(*m_summer, row[1].toString());
            QVERIFY2(result.ok, qPrintable(row[0].toString()));
            QVERIFY2(!result.rows.empty(), qPrintable(row[0].toString()));
        }
    }

    void largerScale() {
        QString error;
        auto scaled = freshDatabase({2000, kSummer}, &error);
        QVERIFY2(scaled, qPrintable(error));
        QCOMPARE(number(*scaled, QStringLiteral("Select Count(*) from Stud_XianYou")), 2000);
        const db::QueryResult perOrg =
            query(*scaled, QStringLiteral("Select DZZ_ID, Count(*) from Stud_XianYou group by DZZ_ID"));
        QCOMPARE(perOrg.rows.size(), size_t(5));
        const qint64 staff = number(*scaled, QStringLiteral("Select Count(*) from Staff_XianYou"));
        QVERIFY(staff > 500 && staff < 2000);
        QVERIFY(number(*scaled, QStringLiteral("Select Count(*) from Stud_YuSen")) > 100);
        QVERIFY(number(*scaled, QStringLiteral("Select Count(*) from Stud_BiYe where NianDu=2026")) > 100);
        QCOMPARE(number(*scaled, QStringLiteral("Select Count(*) from Stud_XianYou A, Stud_YuSen B where "
                                                "A.DY_ID=B.DY_ID")),
                 0);
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
