// Every statement family the client sends, run against one small organization
// ('05') and compared with rows worked out by hand from the dialect's rules:
// outer joins written in WHERE, GetDate()/Year() and date arithmetic, day
// numbers, text compared without case and trailing blanks, GBK order, NULL
// first. Data-changing statements run inside a transaction that is rolled back,
// so every case sees the same fixture.
#include "db/sqlitedatabase.h"
#include "scratchdatabase.h"
#include "sql/schema.h"
#include "sql/translator.h"

#include <QtTest>

#include <array>
#include <initializer_list>
#include <vector>

using namespace corvexa;

namespace {

QDateTime utc(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}

// "Now" of GetDate() unless a case sets its own clock.
QDateTime today() {
    return utc(2026, 6, 15, 10);
}

// The client's format strings: each %s or %d takes the next argument, %% is
// one %. A null result means the template and the arguments do not match.
QString fill(const QString& format, const QStringList& args) {
    QString out;
    int next = 0;
    for (int i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        const QChar c = format[++i];
        if (c == u'%')
            out += u'%';
        else if ((c == u's' || c == u'd') && next < args.size())
            out += args[next++];
        else
            return QString();
    }
    return next == args.size() ? out : QString();
}

// One value as the expectations write it: NULL, 1/0, yyyy-MM-dd[ HH:mm:ss].
QString cell(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QStringLiteral("NULL");
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDateTime: {
        const QDateTime t = v.toDateTime().toUTC();
        return t.toString(t.time() == QTime(0, 0) ? QStringLiteral("yyyy-MM-dd")
                                                  : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QString typeCode(sql::SqlType type) {
    switch (type) {
    case sql::SqlType::Boolean:
        return QStringLiteral("bool");
    case sql::SqlType::Integer:
        return QStringLiteral("int");
    case sql::SqlType::Float:
    case sql::SqlType::Decimal:
        return QStringLiteral("float");
    case sql::SqlType::Text:
        return QStringLiteral("text");
    case sql::SqlType::DateTime:
        return QStringLiteral("date");
    case sql::SqlType::Null:
        return QStringLiteral("null");
    case sql::SqlType::Unknown:
        break;
    }
    return QStringLiteral("?");
}

// ---------------------------------------------------------------------------
// The organization. Things worth knowing when reading the expectations:
// - student branches 第一支部 S05-0001, 第二支部 S05-0002, 研究生支部 S05-0003
//   (GBK order: 第二 < 第一 < 研究生); staff 机关 G05-0001, 后勤 G05-0002,
//   教工第一 G05-0003 (GBK: 后勤 < 机关 < 教工第一);
// - X05-000005 赵 六 and Z05-000004 郑三 belong to branches that have no row
//   (S05-0009, G05-0009);
// - X05-000003 and X05-000004 are both 王五; X05-000003 has an empty Sex, no
//   JiGuan, no BiYeRQ and turns 18 one day after the fixed "now";
// - MinZhu '汉族 ' (trailing blank) and XueLi 'mba' (code 'MBA') are valid;
// - journals of 2026 and 2025 in both populations.
struct Rows {
    const char* table;
    const char* columns;
    std::vector<const char*> values;
};

const std::vector<Rows>& fixture() {
    static const std::vector<Rows> rows = {
        {"DZZ_List",
         "DZZ_ID,DZZ_Name,DZZ_Type,DZZ_HasStud",
         {"'05','经济学院党委','党委',1", "'06','外语学院党总支','党总支',1"}},
        {"DZZ_Users",
         "UserID,LoginName,LoginPSWD,DZZ_ID,GL_XueSheng,GL_ZhiGong,Usable,UserOnline",
         {"1,'admin','ABC','05',1,1,1,0", "2,'Guest','XYZ','06',1,0,1,0"}},
        {"DZZ_Ver", "DZZ_Version,memo", {"'2008-06-22','初版'", "'2009-01-10','修订'"}},
        {"DZB_XS",
         "ZB_ID,DZZ_ID,ZB_Index,ZB_Name,ZB_ShuJi,ZB_ShuJiID,ZB_FuShuJi,ZB_FuShuJiID",
         {"'S05-0001','05',2,'第一支部','张三','X05-000001',NULL,NULL",
          "'S05-0002','05',3,'第二支部',NULL,NULL,'王五','X05-000004'",
          "'S05-0003','05',4,'研究生支部',NULL,NULL,NULL,NULL",
          "'S06-0001','06',2,'外院支部',NULL,NULL,NULL,NULL"}},
        {"DZB_ZG",
         "ZB_ID,DZZ_ID,ZB_Index,ZB_Name,ZB_ShuJi,ZB_ShuJiID",
         {"'G05-0001','05',2,'机关支部','周一','Z05-000001'",
          "'G05-0002','05',3,'后勤支部','吴二','Z05-000002'", "'G05-0003','05',4,'教工第一支部',NULL,NULL"}},
        {"Stud_DYInfo",
         "DY_ID,Name,Sex,MinZhu,JiGuan,ChuShengRQ,DangYuanLX,RuDangRQ,ZYS_No,XueLi,ZuanYe,NianJi,BanJi,"
         "BiYeRQ,isLiuDong",
         {"'X05-000001','张三','男','汉族','山东','2000-03-10','正式','2021-05-01','2020-0001','mba',NULL,'"
          "2022','经济1班','2026-07-01',0",
          "'X05-000002','李 "
          "四','女','汉族','河北',NULL,'预备','2025-12-01','2025-0002','大专','经济学','2022','经济1班','"
          "2026-07-01',0",
          "'X05-000003','王五','','回族',NULL,'2008-06-16','预备','2026-01-10','2025-0003','本科','经济学','"
          "2023','经济1班',NULL,1",
          "'X05-000004','王五','男','汉族 "
          "','河南','2008-06-15','正式','2025-06-01','2024-0004','硕士','金融学','2023','经济2班','2027-07-"
          "01',0",
          "'X05-000005','赵 "
          "六',NULL,'汉',NULL,'1995-01-01','正式',NULL,NULL,'本科','经济学','2024',NULL,'2026-07-01',0",
          "'X05-000006','陈七',NULL,'汉族','江苏','2009-01-01','预审',NULL,'2026-0099','本科','经济学','2023'"
          ",'经济1班','2027-07-01',0",
          "'X05-000007','刘八','男','汉族','浙江','1999-11-11','正式','2019-06-01','2018-0007','本科','"
          "经济学','2021','经济1班','2026-07-01',0",
          "'X05-000008','孙 九',NULL,NULL,NULL,NULL,'正式',NULL,NULL,NULL,NULL,NULL,NULL,NULL,0",
          "'X06-000001','张三','男','汉族','广东','2001-01-01','正式','2022-01-01',NULL,'本科','英语','2022',"
          "'外语1班','2026-07-01',0"}},
        {"Stud_XianYou",
         "DY_ID,DZZ_ID,DZB_ID,DY_Index",
         {"'X05-000001','05','S05-0001',1", "'X05-000002','05','S05-0002',1",
          "'X05-000003','05','S05-0001',2", "'X05-000004','05','S05-0002',2",
          "'X05-000005','05','S05-0009',NULL", "'X06-000001','06','S06-0001',1"}},
        {"Stud_YuSen", "DY_ID,DZZ_ID,DZB_ID,YuSenRQ", {"'X05-000006','05','S05-0002',46082.00"}},
        {"Stud_XinZen",
         "DY_ID,DZZ_ID,DZB_ID,XinZenRQ,XinZenLX",
         {"'X05-000001','05','S05-0001','2025-05-01','发展新党员'",
          "'X05-000002','05','S05-0002','2026-03-01','发展新党员'",
          "'X05-000003','05','S05-0001','2026-1-10','发展新党员'",
          "'X05-000005','05','S05-0009','2026-04-10','转入'",
          "'X05-000004','05','S05-0002','2026-05-05','其他'"}},
        {"Stud_JianSao",
         "DY_ID,DZZ_ID,DZB_ID,JianSaoRQ,JianSaoLX",
         {"'X05-000007','05','S05-0001','2026-02-01','毕业转出'",
          "'X05-000008','05','S05-0002','2025-07-01','毕业转出'"}},
        {"Stud_BiYe",
         "DY_ID,DZZ_ID,DZB_ID,NianDu,XiaoNeiID",
         {"'X05-000007','05','S05-0001',2026,'26050002'", "'X05-000001','05','S05-0001',2026,NULL",
          "'X05-000002','05','S05-0002',2026,'26050001'", "'X05-000008','05','S05-0002',2025,'25050007'",
          "'X06-000001','06','S06-0001',2026,'26060009'"}},
        {"Staff_DYInfo",
         "DY_ID,Name,Sex,MinZhu,JiGuan,ChuShengRQ,DangYuanLX,RuDangRQ,XueLi,GongZuoRQ,JiShuJB,DangZhengJB,"
         "ZhiYeZK,ZhiYeLX,"
         "isLiuDong,LiuDongLX,LiuChuRQ",
         {"'Z05-000001','周一','男','汉族','北京','1980-05-20','正式','2005-07-01','硕士','2004-07-01','中级'"
          ",'处级','在职','专任教师',0,NULL,NULL",
          "'Z05-000002','吴二','女','汉族','天津','1990-06-16','预备','2025-09-01','本科','2015-07-01','中级'"
          ",'处级','在职','专任教师',1,'外出务工','2026-03-01'",
          "'Z05-000003','Anna "
          "Li','女','汉族','上海','1985-12-31','正式','2010-01-01','硕士','2009-01-01','高级',NULL,'在职','"
          "专任教师',0,NULL,NULL",
          "'Z05-000004','郑三','男','汉族',NULL,'1970-01-01','正式','1995-01-01','本科',NULL,'中级','处级','"
          "在职','专任教师',0,NULL,NULL",
          "'Z05-000005','冯四','男','汉族','广东','1960-02-02','正式','1985-01-01','本科','1982-01-01','高级'"
          ",'处级','退休','专任教师',0,NULL,NULL",
          "'Z05-000006','钱五','女','汉族','湖北',NULL,'预审',NULL,'本科','2020-01-01','中级','处级','在职','"
          "合同制',0,NULL,NULL",
          "'Z05-000007','孔六','女','汉族','四川','1992-02-02','正式','2016-01-01','本科','2014-07-01','中级'"
          ",'处级','在职','专任教师',0,NULL,NULL"}},
        {"Staff_XianYou",
         "DY_ID,DZZ_ID,DZB_ID,DY_Index",
         {"'Z05-000001','05','G05-0001',1", "'Z05-000002','05','G05-0002',1",
          "'Z05-000003','05','G05-0003',1", "'Z05-000004','05','G05-0009',NULL",
          "'Z05-000007','05','G05-0001',2"}},
        {"Staff_YuSen", "DY_ID,DZZ_ID,DZB_ID,YuSenRQ", {"'Z05-000006','05','G05-0001','2026-01-01'"}},
        {"Staff_XinZen",
         "DY_ID,DZZ_ID,DZB_ID,XinZenRQ,XinZenLX",
         {"'Z05-000001','05','G05-0001','2025-06-01','调入'",
          "'Z05-000002','05','G05-0002','2026/1/15','调入'",
          "'Z05-000003','05','G05-0003','2026-02-20','发展新党员'",
          "'Z05-000004','05','G05-0009','2026-03-03','调入'",
          "'Z05-000007','05','G05-0001','2026-04-01','调入'"}},
        {"Staff_JianSao",
         "DY_ID,DZZ_ID,DZB_ID,JianSaoRQ,JianSaoLX",
         {"'Z05-000005','05','G05-0002','2026-05-01','退休'"}},
        {"Code_Sex", "Sex_ID,Sex", {"'1','男'", "'2','女'"}},
        {"Code_MinZhu", "MinZhu_ID,MinZhu", {"'01','汉族'", "'02','回族'"}},
        {"Code_XueLi", "XueLi_ID,XueLi", {"'1','本科'", "'2','硕士'", "'3','MBA'"}},
        {"Code_DangYuanLX", "DYLX_ID,DYLX", {"'1','正式'", "'2','预备'", "'3','预审'"}},
        {"Code_NianJi", "NianJi_ID,NianJi,Usable", {"'01','2022',1", "'02','2023',0"}},
        {"Code_XinZenLX", "XZLX_ID,XZLX", {"'01','发展新党员'", "'02','转入'", "'03','调入'"}},
        {"Code_JianSaoLX", "JSLX_ID,JSLX", {"'01','毕业转出'", "'02','退休'"}},
        {"Code_BanJi", "BanJi,DZZ_ID", {"'经济1班','05'", "'经济2班','06'"}},
        {"Code_ZuanYe", "ZuanYe,DZZ_ID", {"'经济学','05'", "'金融学','06'"}},
        {"Code_JiShuJB", "JSJB_ID,JSJB", {"'1','中级'", "'2','高级'"}},
        {"Code_DangZhengJB", "DZJB_ID,DZJB", {"'1','处级'"}},
        {"Code_ZhiYeZK", "ZYZK_ID,ZYZK", {"'1','在职'"}},
        {"Code_ZhiYeLX", "ZYLX_ID,ZYLX", {"'1','专任教师'"}},
        {"Sys_Tables",
         "TabID,TabName,TabTitle,TabType",
         {"1,'Stud_DYInfo','学生党员','DATA'", "2,'Staff_DYInfo','职工党员','DATA'",
          "10,'Code_Sex','性别','CODE'", "11,'Code_MinZhu','民族','CODE'", "12,'Code_XueLi','学历','code'"}},
        {"Sys_Fields",
         "TabID,FldIndex,FldName,FldTitle,FldType,FldLength",
         {"10,1,'Sex_ID','代码','Text',2", "10,2,'Sex','性别','Text',2", "1,1,'DY_ID','党员编号','Text',10",
          "1,2,'Name','姓名','Text',10"}},
    };
    return rows;
}

// ---------------------------------------------------------------------------
// Data-check templates, as the two check dialogs send them (student texts; the
// staff dialog names Staff_DYInfo and DZB_ZG and has its own C2 and N3).
const char* const kB1 =
    "Select A.DY_ID,A.Name, C.ZB_Name from Stud_DYInfo A, %s B,DZB_XS C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s'  and B.DZB_ID=C.ZB_ID and  ( A.Name Like '%% %%')  order by ZB_Name";
const char* const kB2 =
    "Select A.DY_ID,A.Name, C.ZB_Name from Stud_DYInfo A, %s B,DZB_XS C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s'  and B.DZB_ID=C.ZB_ID and  ( Name Like '%% %%')  order by ZB_Name";
const char* const kB3 =
    "Select A.DY_ID,A.Name, C.ZB_Name from Stud_DYInfo A, %s B,DZB_XS C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s'  and B.DZB_ID=C.ZB_ID and Year(%s)=%d and  ( Name Like '%% %%')  order by ZB_Name";
const char* const kR1 = "Select A.Name,Count(A.Name) as Cnt from Stud_DYInfo A, %s B  where A.DY_ID=B.DY_ID "
                        "and B.DZZ_ID='%s' group by A.Name order by Cnt Desc";
const char* const kR2 = "Select A.Name,Count(A.Name) as Cnt from Stud_DYInfo A, %s B  where A.DY_ID=B.DY_ID "
                        "and B.DZZ_ID='%s' and Year(%s)=%d group by A.Name order by Cnt Desc";
const char* const kA1 = "Select A.DY_ID,A.Name,A.%s, C.ZB_Name from Stud_DYInfo A, %s B,DZB_XS C  where "
                        "A.DY_ID=B.DY_ID and B.DZZ_ID='%s'  and B.DZB_ID=C.ZB_ID and  ( "
                        "(Year(GetDate()-A.%s)-1900)<18  or  A.%s is NULL)  order by ZB_Name";
const char* const kA2 = "Select A.DY_ID,A.Name,A.%s, C.ZB_Name from Stud_DYInfo A, %s B,DZB_XS C  where "
                        "A.DY_ID=B.DY_ID and B.DZZ_ID='%s'  and B.DZB_ID=C.ZB_ID and Year(%s)=%d and  ( "
                        "(Year(GetDate()-A.%s)-1900)<18  or  A.%s is NULL)  order by ZB_Name";
const char* const kC1 = "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where "
                        "A.DY_ID=B.DY_ID and B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and   ((%s not in (Select "
                        "%s from %s))  or (%s is NULL) )order by ZB_Name";
const char* const kC2 = "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where "
                        "A.DY_ID=B.DY_ID and B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and Year(B.%s)=%d and   "
                        "((%s not in (Select %s from %s))  or (%s is NULL) )order by ZB_Name";
const char* const kStaffC2 = "Select A.DY_ID, A.Name, %s, C.ZB_Name from Staff_DYInfo A, %s B, DZB_ZG C  "
                             "where A.DY_ID=B.DY_ID and B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and Year(%s)=%d "
                             "and  ((%s not in (Select %s from %s))  or (%s is NULL) )order by ZB_Name";
const char* const kO1 = "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where "
                        "A.DY_ID=B.DY_ID and B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and   ((%s not in (Select "
                        "%s from %s where DZZ_ID='%s'))  or (%s is NULL) )order by ZB_Name";
const char* const kO2 = "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where "
                        "A.DY_ID=B.DY_ID and B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and Year(%s)=%d and  ((%s "
                        "not in (Select %s from %s where DZZ_ID='%s'))  or (%s is NULL) )order by ZB_Name";
const char* const kL1 =
    "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and   ((%s not in (%s))  or (%s is NULL) )order by ZB_Name";
const char* const kN1 =
    "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and    (%s is NULL) order by ZB_Name";
const char* const kN2 =
    "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and Year(%s)=%d and   (%s is NULL) order by ZB_Name";
const char* const kN3 =
    "Select A.DY_ID, A.Name, %s, C.ZB_Name from Stud_DYInfo A, %s B, DZB_XS C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and Year(%s)=%d and    (%s is NULL) order by ZB_Name";
const char* const kStaffN3 =
    "Select A.DY_ID, A.Name, %s, C.ZB_Name from Staff_DYInfo A, %s B, DZB_ZG C  where A.DY_ID=B.DY_ID and "
    "B.DZZ_ID='%s' and B.DZB_ID*=C.ZB_ID and Year(%s)=%d and   (%s is NULL) order by ZB_Name";

struct CheckText {
    int step;
    QString text;
};

// The check list of one population and category (0 current, 1 pre-review,
// 2 added, 3 left) for organization 05 and work year 2026, in report order.
QList<CheckText> checkStatements(bool staff, int category) {
    static const char* const tables[] = {"XianYou", "YuSen", "XinZen", "JianSao"};
    const QString T = QString::fromLatin1(staff ? "Staff_" : "Stud_") + QString::fromLatin1(tables[category]);
    const QString Z = QStringLiteral("05"), Y = QStringLiteral("2026");
    const bool yearly = category >= 2;
    const QString D = category == 2 ? QStringLiteral("XinZenRQ") : QStringLiteral("JianSaoRQ");
    auto tpl = [staff](const char* text) {
        QString s = QString::fromLatin1(text);
        if (staff)
            s.replace(QStringLiteral("Stud_DYInfo"), QStringLiteral("Staff_DYInfo"))
                .replace(QStringLiteral("DZB_XS"), QStringLiteral("DZB_ZG"));
        return s;
    };
    QList<CheckText> out;
    auto add = [&](int step, const QString& text) { out.append(CheckText{step, text}); };
    auto code = [&](int step, const QString& F, const QString& CT, const QString& K) {
        if (yearly)
            add(step, fill(tpl(staff ? kStaffC2 : kC2), {F, T, Z, D, Y, F, K, CT, F}));
        else
            add(step, fill(tpl(kC1), {F, T, Z, F, K, CT, F}));
    };
    auto orgCode = [&](int step, const QString& F, const QString& CT, const QString& K) {
        if (yearly)
            add(step, fill(tpl(kO2), {F, T, Z, D, Y, F, K, CT, Z, F}));
        else
            add(step, fill(tpl(kO1), {F, T, Z, F, K, CT, Z, F}));
    };
    auto emptyDate = [&](int step, const QString& F) {
        add(step, yearly ? fill(tpl(kN2), {F, T, Z, D, Y, F}) : fill(tpl(kN1), {F, T, Z, F}));
    };

    if (yearly)
        add(1, fill(tpl(kB3), {T, Z, D, Y}));
    else
        add(1, fill(tpl(staff || category == 1 ? kB2 : kB1), {T, Z}));
    add(2, yearly ? fill(tpl(kR2), {T, Z, D, Y}) : fill(tpl(kR1), {T, Z}));
    code(3, QStringLiteral("A.Sex"), QStringLiteral("Code_Sex"), QStringLiteral("Sex"));
    code(4, QStringLiteral("A.MinZhu"), QStringLiteral("Code_MinZhu"), QStringLiteral("MinZhu"));
    const QString f = QStringLiteral("ChuShengRQ");
    add(5, yearly ? fill(tpl(kA2), {f, T, Z, D, Y, f, f}) : fill(tpl(kA1), {f, T, Z, f, f}));
    const QString jiGuan = QStringLiteral("A.JiGuan");
    add(6, yearly ? fill(tpl(staff ? kStaffN3 : kN3), {jiGuan, T, Z, D, Y, jiGuan})
                  : fill(tpl(kN1), {jiGuan, T, Z, jiGuan}));
    static const char* const ownDates[] = {"A.RuDangRQ", "B.YuSenRQ", "B.XinZenRQ", "B.JianSaoRQ"};
    emptyDate(7, QString::fromLatin1(ownDates[category]));
    if (category == 2)
        code(8, QStringLiteral("B.XinZenLX"), QStringLiteral("Code_XinZenLX"), QStringLiteral("XZLX"));
    if (category == 3)
        code(8, QStringLiteral("B.JianSaoLX"), QStringLiteral("Code_JianSaoLX"), QStringLiteral("JSLX"));
    emptyDate(9, staff ? QStringLiteral("A.GongZuoRQ") : QStringLiteral("A.BiYeRQ"));
    if (staff) {
        code(10, QStringLiteral("A.JiShuJB"), QStringLiteral("Code_JiShuJB"), QStringLiteral("JSJB"));
        code(11, QStringLiteral("A.DangZhengJB"), QStringLiteral("Code_DangZhengJB"), QStringLiteral("DZJB"));
    } else {
        orgCode(10, QStringLiteral("A.BanJi"), QStringLiteral("Code_BanJi"), QStringLiteral("BanJi"));
        code(11, QStringLiteral("A.NianJi"), QStringLiteral("Code_NianJi"), QStringLiteral("NianJi"));
    }
    const QString kind = QStringLiteral("A.DangYuanLX");
    if (yearly)
        code(12, kind, QStringLiteral("Code_DangYuanLX"), QStringLiteral("DYLX"));
    else
        add(12, fill(tpl(kL1), {kind, T, Z, kind,
                                category == 0 ? fill(QStringLiteral("'%s','%s'"),
                                                     {QStringLiteral("正式"), QStringLiteral("预备")})
                                              : fill(QStringLiteral("'%s'"), {QStringLiteral("预审")}),
                                kind}));
    code(13, QStringLiteral("A.XueLi"), QStringLiteral("Code_XueLi"), QStringLiteral("XueLi"));
    if (staff) {
        code(14, QStringLiteral("A.ZhiYeZK"), QStringLiteral("Code_ZhiYeZK"), QStringLiteral("ZYZK"));
        code(15, QStringLiteral("A.ZhiYeLX"), QStringLiteral("Code_ZhiYeLX"), QStringLiteral("ZYLX"));
    } else {
        orgCode(14, QStringLiteral("A.ZuanYe"), QStringLiteral("Code_ZuanYe"), QStringLiteral("ZuanYe"));
    }
    return out;
}

} // namespace

class TestSqlCorpus : public QObject {
    Q_OBJECT
    sql::Translator m_tr{sql::Schema::standard(), test::backend()};
    test::ScratchDatabase m_scratch;
    std::unique_ptr<db::Database> m_db;

    struct Outcome {
        bool ok = false;
        bool isQuery = false;
        QString error;
        QStringList rows; // "a,b,c" per row; SN columns left out (server assigned)
    };

    Outcome run(const QString& text) {
        Outcome out;
        const sql::Translation t = m_tr.translateUncached(text);
        if (!t.ok) {
            out.error = t.error.describe(text);
            return out;
        }
        const db::QueryResult r = m_db->run(t);
        if (!r.ok) {
            out.error = r.error + QStringLiteral("\n  as: ") + t.sql;
            return out;
        }
        out.ok = true;
        out.isQuery = t.isQuery;
        for (const auto& row : r.rows) {
            QStringList cells;
            for (size_t i = 0; i < row.size(); ++i) {
                if (i < t.columns.size() &&
                    t.columns[i].name.compare(QLatin1String("SN"), Qt::CaseInsensitive) == 0)
                    continue;
                cells << cell(row[i]);
            }
            out.rows << cells.join(u',');
        }
        return out;
    }

    // Rows as "a,b|c,d". Compared as a set when the statement has no ORDER BY
    // or the expectation starts with "~" (rows that tie in the order).
    void compareRows(const QString& text, QStringList got, QString want) {
        bool unordered = !text.contains(QLatin1String("order by"), Qt::CaseInsensitive);
        if (want.startsWith(u'~')) {
            unordered = true;
            want.remove(0, 1);
        }
        QStringList expected = want.isEmpty() ? QStringList() : want.split(u'|');
        if (unordered) {
            got.sort();
            expected.sort();
        }
        QCOMPARE(got.join(u'|'), expected.join(u'|'));
        QCOMPARE(got.size(), expected.size());
    }

    // A query compared directly, or a change followed by a query showing its effect.
    void verifyCase(const QString& statement, const QString& check, const QString& expected) {
        const Outcome o = run(statement);
        QVERIFY2(o.ok, qPrintable(o.error));
        if (check.isEmpty()) {
            QVERIFY(o.isQuery);
            compareRows(statement, o.rows, expected);
            return;
        }
        QVERIFY(!o.isQuery);
        const Outcome c = run(check);
        QVERIFY2(c.ok, qPrintable(c.error));
        compareRows(check, c.rows, expected);
    }

    static void addCases(std::initializer_list<std::array<const char*, 4>> cases) {
        for (const auto& c : cases)
            QTest::newRow(c[0]) << QString::fromUtf8(c[1]) << QString::fromUtf8(c[2])
                                << QString::fromUtf8(c[3]);
    }

private slots:
    void initTestCase() {
        QString why;
        m_db = m_scratch.open();
        QVERIFY2(m_db, qPrintable(m_scratch.error()));
        m_db->setClock([] { return today(); });
        for (const Rows& rows : fixture()) {
            for (const char* values : rows.values) {
                const QString text = QStringLiteral("Insert into %1 (%2) VALUES (%3)")
                                         .arg(QString::fromLatin1(rows.table),
                                              QString::fromLatin1(rows.columns), QString::fromUtf8(values));
                const Outcome o = run(text);
                QVERIFY2(o.ok, qPrintable(text + QStringLiteral("\n") + o.error));
            }
        }
    }

    void init() { QVERIFY(m_db->exec(QStringLiteral("BEGIN"))); }

    void cleanup() {
        m_db->exec(QStringLiteral("ROLLBACK"));
        m_db->setClock([] { return today(); });
    }

    // ---- the statements the client sends ---------------------------------
    void corpus_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("expected");
        addCases({
            // Seeding the identifier generators.
            {"seed student branch", "Select Max(ZB_ID) as MaxID from DZB_XS where DZZ_ID='05'", "",
             "S05-0003"},
            {"seed staff branch", "Select Max(ZB_ID) as MaxID from DZB_ZG where DZZ_ID='05'", "", "G05-0003"},
            {"seed without branches", "Select Max(ZB_ID) as MaxID from DZB_ZG where DZZ_ID='06'", "", "NULL"},
            {"seed student member", "Select Max(DY_ID) as MaxID from Stud_DYInfo where DY_ID LIKE 'X05-%'",
             "", "X05-000008"},
            {"seed staff member", "Select Max(DY_ID) as MaxID from Staff_DYInfo where DY_ID LIKE 'Z05-%'", "",
             "Z05-000007"},
            {"seed other prefix", "Select Max(DY_ID) as MaxID from Staff_DYInfo where DY_ID LIKE 'Z06-%'", "",
             "NULL"},
            // Start-up, dictionary and code-value picker.
            {"table ids", "Select TabID,TabName from Sys_Tables", "",
             "1,Stud_DYInfo|2,Staff_DYInfo|10,Code_Sex|11,Code_MinZhu|12,Code_XueLi"},
            {"version check", "Select * from DZZ_Ver order by DZZ_Version DESC", "",
             "2009-01-10,修订|2008-06-22,初版"},
            {"code tables", "Select * from Sys_Tables where TabType='CODE'", "",
             "10,Code_Sex,性别,CODE|11,Code_MinZhu,民族,CODE|12,Code_XueLi,学历,code"},
            {"code fields", "Select * from Sys_Fields where TabID=10", "",
             "10,1,Sex_ID,代码,Text,2,NULL|10,2,Sex,性别,Text,2,NULL"},
            {"code values", "Select * from Code_Sex", "", "1,男|2,女"},
            {"names without case", "select sex_id, SEX from code_sex order by SEX_ID desc", "", "2,女|1,男"},
            // Login, account and keep-alive.
            {"login name taken", "Select LoginName from DZZ_Users where LoginName='ADMIN'", "", "admin"},
            {"login name free", "Select LoginName from DZZ_Users where LoginName='nobody'", "", ""},
            {"keep alive", "Update DZZ_Users Set UserOnline=1 where LoginName='admin' and LoginPSWD='ABC'",
             "Select LoginName,UserOnline from DZZ_Users order by LoginName", "admin,1|Guest,0"},
            {"keep alive wrong password",
             "Update DZZ_Users Set UserOnline=1 where LoginName='admin' and LoginPSWD='ABD'",
             "Select LoginName,UserOnline from DZZ_Users order by LoginName", "admin,0|Guest,0"},
            // Graduates' tree and letter numbers.
            {"graduates tree",
             "Select Distinct A.DZB_ID, B.ZB_Name, B.ZB_Index from Stud_BiYe A,DZB_XS B  where A.NianDu=2026 "
             "and A.DZB_ID=B.ZB_ID and B.DZZ_ID='05' order by ZB_Index ",
             "", "S05-0001,第一支部,2|S05-0002,第二支部,3"},
            {"graduates tree other year",
             "Select Distinct A.DZB_ID, B.ZB_Name, B.ZB_Index from Stud_BiYe A,DZB_XS B  where A.NianDu=2025 "
             "and A.DZB_ID=B.ZB_ID and B.DZZ_ID='05' order by ZB_Index ",
             "", "S05-0002,第二支部,3"},
            {"letter number max",
             "Select MAX(XiaoNeiID) as MAX_ID from Stud_BiYe where  DZZ_ID='05' and NianDu=2026", "",
             "26050002"},
            {"letter number none",
             "Select MAX(XiaoNeiID) as MAX_ID from Stud_BiYe where  DZZ_ID='05' and NianDu=2024", "", "NULL"},
            {"graduate memo", "Update Stud_BiYe Set Memo='已寄出'  where DY_ID='X05-000007' ",
             "Select DY_ID,Memo from Stud_BiYe where Memo is not NULL", "X05-000007,已寄出"},
            {"graduate memo and number",
             "Update Stud_BiYe Set Memo='O''Neil',XiaoNeiID='26050003'  where DY_ID='X05-000001' ",
             "Select Memo,XiaoNeiID from Stud_BiYe where DY_ID='X05-000001'", "O'Neil,26050003"},
            {"letter numbering", "Update Stud_BiYe Set XiaoNeiID='26050010' where DY_ID='X05-000002'",
             "Select MAX(XiaoNeiID) as MAX_ID from Stud_BiYe where  DZZ_ID='05' and NianDu=2026", "26050010"},
            // Transfer data and receipts; dates as day numbers.
            {"transfer received",
             "Update Stud_DYInfo Set QianYueDW='华为公司',DWQuYu='省外',DW_DZZ='华为党委',  "
             "HuiZhi=1,HuiZhiRQ=39583.00 where DY_ID='X05-000007' ",
             "Select QianYueDW,DWQuYu,DW_DZZ,HuiZhi,HuiZhiRQ from Stud_DYInfo where DY_ID='X05-000007'",
             "华为公司,省外,华为党委,1,2008-05-15"},
            {"transfer no receipt",
             "Update Stud_DYInfo Set QianYueDW='',DWQuYu='暂留学校',DW_DZZ='',  HuiZhi=0,HuiZhiRQ=0.00 where "
             "DY_ID='X05-000007' ",
             "Select QianYueDW,DWQuYu,DW_DZZ,HuiZhi,HuiZhiRQ from Stud_DYInfo where DY_ID='X05-000007'",
             ",暂留学校,,0,1899-12-30"},
            {"transfer with contacts",
             "Update Stud_DYInfo Set QianYueDW='中石油',DWQuYu='省外',DW_DZZ='中石油党委',  "
             "HuiZhi=1,HuiZhiRQ=46188.50,SFZ_ID='370102199911110011',LX_TEL='0531-88886666',LX_Mobile='"
             "13800000000', LX_Mail='liuba@example.cn' where DY_ID='X05-000007' ",
             "Select HuiZhiRQ,SFZ_ID,LX_Mobile,LX_Mail from Stud_DYInfo where DY_ID='X05-000007'",
             "2026-06-15 12:00:00,370102199911110011,13800000000,liuba@example.cn"},
            {"staff transfer",
             "Update Staff_DYInfo Set QianYueDW='某中学',DWQuYu='省外',DW_DZZ='某区教委',  "
             "HuiZhi=0,HuiZhiRQ=46143.00 where DY_ID='Z05-000005' ",
             "Select QianYueDW,HuiZhi,HuiZhiRQ from Staff_DYInfo where DY_ID='Z05-000005'",
             "某中学,0,2026-05-01"},
            {"receipts signed",
             "Update Stud_DYInfo Set HuiZhi=1, HuiZhiRQ=46188.00 where DY_ID in ('X05-000007','X05-000008')",
             "Select DY_ID,HuiZhi,HuiZhiRQ from Stud_DYInfo where HuiZhi=1 order by DY_ID",
             "X05-000007,1,2026-06-15|X05-000008,1,2026-06-15"},
            {"receipt withdrawn",
             "Update Stud_DYInfo Set HuiZhi=0, HuiZhiRQ=46022.00 where DY_ID in ('X05-000008')",
             "Select HuiZhi,HuiZhiRQ from Stud_DYInfo where DY_ID='X05-000008'", "0,2025-12-31"},
            {"staff receipt",
             "Update Staff_DYInfo Set HuiZhi=1, HuiZhiRQ=46188.00 where DY_ID in ('Z05-000005')",
             "Select DY_ID from Staff_DYInfo where HuiZhiRQ='2026-06-15'", "Z05-000005"},
            // Decreasing a mobile member: journal row, current row, flag.
            {"mobile decrease journal",
             "Insert into Stud_JianSao (DY_ID,DZZ_ID,DZB_ID,JianSaoLX,JianSaoRQ)  VALUES "
             "('X05-000003','05','S05-0001','外出不归','2026/6/15')",
             "Select DY_ID,DZB_ID,JianSaoLX,JianSaoRQ from Stud_JianSao where Year(JianSaoRQ)=2026 order by "
             "JianSaoRQ",
             "X05-000007,S05-0001,毕业转出,2026-02-01|X05-000003,S05-0001,外出不归,2026-06-15"},
            {"mobile decrease journal with time",
             "Insert into Staff_JianSao (DY_ID,DZZ_ID,DZB_ID,JianSaoLX,JianSaoRQ)  VALUES "
             "('Z05-000002','05','G05-0002','外出务工','2026-6-15 14:30:00')",
             "Select DY_ID,JianSaoRQ from Staff_JianSao order by JianSaoRQ desc",
             "Z05-000002,2026-06-15 14:30:00|Z05-000005,2026-05-01"},
            {"mobile current row", "Delete Stud_XianYou where DY_ID='X05-000003'",
             "Select DY_ID from Stud_XianYou where DZZ_ID='05' order by DY_ID",
             "X05-000001|X05-000002|X05-000004|X05-000005"},
            {"mobile staff current row", "Delete  Staff_XianYou where DY_ID='Z05-000002'",
             "Select DY_ID from Staff_XianYou order by DY_ID", "Z05-000001|Z05-000003|Z05-000004|Z05-000007"},
            {"mobile flag", "Update Stud_Info Set isLiuDong=0 where DY_ID='X05-000003'",
             "Select Count(*) as N from Stud_DYInfo where isLiuDong=1", "0"},
            {"mobile staff flag", "Update Staff_Info Set isLiuDong=0 where DY_ID='Z05-000002'",
             "Select Count(*) as N from Staff_DYInfo where isLiuDong=0", "7"},
            // Deleting journal rows and member records.
            {"org added deleted",
             "Delete Stud_XinZen where DZZ_ID='05' And DY_ID in ('X05-000002','X05-000003')",
             "Select DY_ID from Stud_XinZen order by DY_ID", "X05-000001|X05-000004|X05-000005"},
            {"org left deleted", "Delete Stud_JianSao where DZZ_ID='05' And DY_ID in ('X05-000008')",
             "Select DY_ID from Stud_JianSao", "X05-000007"},
            {"other org untouched", "Delete Stud_XinZen where DZZ_ID='06' And DY_ID in ('X05-000002')",
             "Select Count(*) as N from Stud_XinZen", "5"},
            {"added deleted", "Delete from Stud_XinZen where DY_ID in ('X05-000001','X05-000005')",
             "Select DY_ID from Stud_XinZen order by DY_ID", "X05-000002|X05-000003|X05-000004"},
            {"staff added deleted", "Delete from Staff_XinZen where DY_ID in ('Z05-000002')",
             "Select DY_ID from Staff_XinZen order by DY_ID", "Z05-000001|Z05-000003|Z05-000004|Z05-000007"},
            {"left members deleted", "Delete from Stud_DYInfo where DY_ID in ('X05-000007','X05-000008')",
             "Select Count(*) as N from Stud_DYInfo", "7"},
            {"staff left member deleted", "Delete from Staff_DYInfo where DY_ID in ('Z05-000005')",
             "Select Count(*) as N from Staff_DYInfo", "6"},
            // Organization statistics.
            {"current per branch",
             "Select DZB_ID,Count(DY_ID) as RS from Stud_XianYou where  DZZ_ID='05' Group by DZB_ID", "",
             "S05-0001,2|S05-0002,2|S05-0009,1"},
            {"candidates per branch",
             "Select DZB_ID,Count(DY_ID) as RS from Stud_YuSen where  DZZ_ID='05' Group by DZB_ID", "",
             "S05-0002,1"},
            {"added per branch",
             "Select DZB_ID,Count(DY_ID) as RS from Stud_XinZen where  DZZ_ID='05' And Year(XinZenRQ)=2026 "
             "Group by DZB_ID",
             "", "S05-0001,1|S05-0002,2|S05-0009,1"},
            {"left per branch",
             "Select DZB_ID,Count(DY_ID) as RS from Stud_JianSao where  DZZ_ID='05' And Year(JianSaoRQ)=2026 "
             "Group by DZB_ID",
             "", "S05-0001,1"},
            {"staff added per branch",
             "Select DZB_ID,Count(DY_ID) as RS from Staff_XinZen where  DZZ_ID='05' And Year(XinZenRQ)=2026 "
             "Group by DZB_ID",
             "", "G05-0001,1|G05-0002,1|G05-0003,1|G05-0009,1"},
            {"added in organization",
             "Select DZZ_ID,Count(DY_ID) as RS from Stud_XinZen where  DZZ_ID='05' And Year(XinZenRQ)=2026 "
             "Group by DZZ_ID",
             "", "05,4"},
            {"none left in year",
             "Select DZZ_ID,Count(DY_ID) as RS from Staff_JianSao where  DZZ_ID='05' And "
             "Year(JianSaoRQ)=2025 Group by DZZ_ID",
             "", ""},
            {"grade current",
             "Select A.NianJi, Count(A.NianJi) as RenShu from Stud_DYInfo A, Stud_XianYou B  where "
             "A.DY_ID=B.DY_ID And B.DZZ_ID='05' And A.NianJi='2022' Group By A.NianJi",
             "", "2022,2"},
            {"grade candidates",
             "Select A.NianJi, Count(A.NianJi) as RenShu from Stud_DYInfo A, Stud_YuSen B  where "
             "A.DY_ID=B.DY_ID And B.DZZ_ID='05' And A.NianJi='2023' Group By A.NianJi",
             "", "2023,1"},
            {"grade and education",
             "Select A.NianJi, Count(A.NianJi) as RenShu from Stud_DYInfo A, Stud_XianYou B  where "
             "A.DY_ID=B.DY_ID And B.DZZ_ID='05' And A.NianJi='2023'  And A.XueLi='本科' Group By A.NianJi",
             "", "2023,1"},
            {"class full members",
             "Select A.BanJi,Count(A.DY_ID) as RenSu from Stud_DYInfo A, Stud_XianYou B  Where  "
             "B.DZZ_ID='05' and A.DY_ID=B.DY_ID  and A.DangYuanLX='正式' Group By A.BanJi ",
             "", "经济1班,1|经济2班,1|NULL,1"},
            {"class probationary",
             "Select A.BanJi,Count(A.DY_ID) as RenSu from Stud_DYInfo A, Stud_XianYou B  Where  "
             "B.DZZ_ID='05' and A.DY_ID=B.DY_ID  and A.DangYuanLX='预备' Group By A.BanJi ",
             "", "经济1班,2"},
            {"class candidates",
             "Select A.BanJi,Count(A.DY_ID) as RenSu from Stud_DYInfo A, Stud_YuSen B  Where  B.DZZ_ID='05' "
             "and A.DY_ID=B.DY_ID  Group By A.BanJi ",
             "", "经济1班,1"},
            // Find dialogs (inner joins: a member without branch row is not found).
            {"find full name",
             "Select A.DY_ID,A.Name,A.Sex,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from Stud_DYInfo "
             "A, Stud_XianYou B, DZZ_List C, DZB_XS D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID and "
             "B.DZB_ID=D.ZB_ID and  B.DZZ_ID='05' and  A.Name='王五'",
             "",
             "X05-000003,王五,,NULL,05,S05-0001,经济学院党委,第一支部|X05-000004,王五,男,河南,05,S05-0002,"
             "经济学院党委,第二支部"},
            {"find part of name",
             "Select A.DY_ID,A.Name,A.Sex,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from Stud_DYInfo "
             "A, Stud_XianYou B, DZZ_List C, DZB_XS D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID and "
             "B.DZB_ID=D.ZB_ID and  B.DZZ_ID='05' and  A.Name Like '%李%'",
             "", "X05-000002,李 四,女,河北,05,S05-0002,经济学院党委,第二支部"},
            {"find without branch row",
             "Select A.DY_ID,A.Name,A.Sex,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from Stud_DYInfo "
             "A, Stud_XianYou B, DZZ_List C, DZB_XS D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID and "
             "B.DZB_ID=D.ZB_ID and  B.DZZ_ID='05' and  A.Name Like '%赵%'",
             "", ""},
            {"find left earlier year",
             "Select A.DY_ID,A.Name,A.Sex,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from Stud_DYInfo "
             "A, Stud_JianSao B, DZZ_List C, DZB_XS D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID and "
             "B.DZB_ID=D.ZB_ID and  B.DZZ_ID='05' and  A.Name Like '%九%'",
             "", "X05-000008,孙 九,NULL,NULL,05,S05-0002,经济学院党委,第二支部"},
            {"find staff left",
             "Select A.DY_ID,A.Name,A.Sex,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from Staff_DYInfo "
             "A, Staff_JianSao B, DZZ_List C, DZB_ZG D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID and "
             "B.DZB_ID=D.ZB_ID and  B.DZZ_ID='05' and  A.Name='冯四'",
             "", "Z05-000005,冯四,男,广东,05,G05-0002,经济学院党委,后勤支部"},
            {"find staff without case",
             "Select A.DY_ID,A.Name,A.Sex,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from Staff_DYInfo "
             "A, Staff_XianYou B, DZZ_List C, DZB_ZG D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID and "
             "B.DZB_ID=D.ZB_ID and  B.DZZ_ID='05' and  A.Name='anna li'",
             "", "Z05-000003,Anna Li,女,上海,05,G05-0003,经济学院党委,教工第一支部"},
            {"find application form",
             "Select A.DY_ID,A.Name,A.Sex,A.ZYS_No,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from "
             "Stud_DYInfo A, Stud_YuSen B, DZZ_List C, DZB_XS D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID "
             "and B.DZB_ID=D.ZB_ID and  B.DZZ_ID='05' and  A.ZYS_No Like '%0099%'",
             "", "X05-000006,陈七,NULL,2026-0099,江苏,05,S05-0002,经济学院党委,第二支部"},
            // Query wizards: "*=" keeps every category row, other predicates stay in WHERE.
            {"query wizard example",
             "Select C.ZB_Name AS 党支部,Year(GetDate())-Year(A.ChuShengRQ) AS 年龄 FROM Stud_DYInfo A, "
             "Stud_XianYou B, DZB_XS C,DZZ_List D WHERE A.DY_ID=B.DY_ID   AND B.DZB_ID*=C.ZB_ID AND "
             "B.DZZ_ID=D.DZZ_ID  AND D.DZZ_ID='05'  AND ((Year(GetDate())-Year(A.ChuShengRQ) > 25) ) ORDER "
             "BY  Year(GetDate())-Year(A.ChuShengRQ) DESC",
             "", "NULL,31|第一支部,26"},
            {"query wizard two conditions",
             "Select A.Name AS 姓名,C.ZB_Name AS 党支部 FROM Stud_DYInfo A, Stud_XianYou B, DZB_XS "
             "C,DZZ_List D WHERE A.DY_ID=B.DY_ID   AND B.DZB_ID*=C.ZB_ID AND B.DZZ_ID=D.DZZ_ID  AND "
             "D.DZZ_ID='05'  AND ((C.ZB_Name = '第一支部') Or(C.ZB_Name = '第二支部') ) ORDER BY  C.ZB_Name "
             "ASC,A.DY_ID ASC",
             "", "李 四,第二支部|王五,第二支部|张三,第一支部|王五,第一支部"},
            {"query wizard added",
             "Select A.Name AS 姓名,B.XinZenRQ AS 新增时间,B.XinZenLX AS 新增类型,C.ZB_Name AS 党支部 FROM "
             "Stud_DYInfo A, Stud_XinZen B, DZB_XS C,DZZ_List D WHERE A.DY_ID=B.DY_ID  AND B.DZB_ID*=C.ZB_ID "
             "AND B.DZZ_ID=D.DZZ_ID  AND D.DZZ_ID='05'  AND ((B.XinZenRQ >= '2026-01-01') ) ORDER BY  "
             "B.XinZenRQ ASC",
             "",
             "王五,2026-01-10,发展新党员,第一支部|李 四,2026-03-01,发展新党员,第二支部|赵 "
             "六,2026-04-10,转入,NULL|王五,2026-05-05,其他,第二支部"},
            {"query wizard left",
             "Select D.DZZ_Name AS 二级党组织,A.Name AS 姓名,B.JianSaoLX AS 减少类型 FROM Stud_DYInfo A, "
             "Stud_JianSao B, DZB_XS C,DZZ_List D WHERE A.DY_ID=B.DY_ID  AND B.DZB_ID*=C.ZB_ID AND "
             "B.DZZ_ID=D.DZZ_ID  AND D.DZZ_ID='05' ",
             "", "经济学院党委,刘八,毕业转出|经济学院党委,孙 九,毕业转出"},
            {"query wizard chosen branches",
             "Select A.Name AS 姓名,C.ZB_Name AS 党支部 FROM Staff_DYInfo A, Staff_XianYou B, DZB_ZG "
             "C,DZZ_List D WHERE A.DY_ID=B.DY_ID  AND B.DZB_ID*=C.ZB_ID AND B.DZZ_ID=D.DZZ_ID AND B.DZB_ID "
             "IN ('G05-0001','G05-0003')  ORDER BY  A.Name ASC",
             "", "Anna Li,教工第一支部|孔六,机关支部|周一,机关支部"},
            // Branch wizard: "C.x*=A.DY_ID" keeps every branch.
            {"branch wizard secretaries",
             "Select B.DZZ_Name AS 党总支,C.ZB_ID AS 党支部编号,C.ZB_Name AS 党支部,A.Name AS "
             "姓名,Year(GetDate())-Year(A.ChuShengRQ) AS 年龄 FROM Staff_DYInfo A, DZZ_List B,DZB_ZG C  "
             "WHERE C.ZB_ShuJiID*=A.DY_ID AND B.DZZ_ID=C.DZZ_ID  AND C.DZZ_ID = '05' ORDER BY  C.ZB_ID ASC",
             "",
             "经济学院党委,G05-0001,机关支部,周一,46|经济学院党委,G05-0002,后勤支部,吴二,36|经济学院党委,G05-"
             "0003,教工第一支部,NULL,NULL"},
            {"branch wizard all student branches",
             "Select C.ZB_Name AS 党支部,A.Name AS 姓名 FROM Stud_DYInfo A, DZZ_List B,DZB_XS C  WHERE "
             "C.ZB_ShuJiID*=A.DY_ID AND B.DZZ_ID=C.DZZ_ID  AND C.DZZ_ID = '05' ORDER BY  C.ZB_Name ASC",
             "", "第二支部,NULL|第一支部,张三|研究生支部,NULL"},
            {"branch wizard condition on person",
             "Select C.ZB_Name AS 党支部,A.Name AS 姓名 FROM Stud_DYInfo A, DZZ_List B,DZB_XS C  WHERE "
             "C.ZB_ShuJiID*=A.DY_ID AND B.DZZ_ID=C.DZZ_ID  AND C.DZZ_ID = '05' AND ((A.Sex = '男') ) ORDER "
             "BY  C.ZB_Name ASC",
             "", "第一支部,张三"},
            {"branch wizard deputies",
             "Select C.ZB_Name AS 党支部,A.Name AS 姓名 FROM Stud_DYInfo A, DZZ_List B,DZB_XS C  WHERE "
             "C.ZB_FuShuJiID*=A.DY_ID AND B.DZZ_ID=C.DZZ_ID  AND C.ZB_ID IN ('S05-0001','S05-0002')  ORDER "
             "BY  C.ZB_Name ASC",
             "", "第二支部,王五|第一支部,NULL"},
            // Statistics wizards; Count of an empty value counts 0.
            {"statistics example per branch",
             "SELECT B.ZB_Name AS 党支部, Year(GetDate())-Year(A.ChuShengRQ) AS 年龄, "
             "Count(Year(GetDate())-Year(A.ChuShengRQ)) AS 人数 FROM Stud_DYInfo A, DZB_XS B, Stud_XianYou C "
             "WHERE  C.DY_ID=A.DY_ID AND C.DZB_ID=B.ZB_ID   AND C.DZZ_ID='05' GROUP BY "
             "B.ZB_Name,Year(GetDate())-Year(A.ChuShengRQ) ORDER BY "
             "B.ZB_Name,Year(GetDate())-Year(A.ChuShengRQ)",
             "", "第二支部,NULL,0|第二支部,18,1|第一支部,18,1|第一支部,26,1"},
            {"statistics example staff added",
             "SELECT  C.XinZenLX AS 新增类型, Count(C.XinZenLX) AS 人数 FROM Staff_DYInfo A, DZB_ZG B, "
             "Staff_XinZen C WHERE  C.DY_ID=A.DY_ID AND C.DZB_ID*=B.ZB_ID AND C.DZB_ID IN "
             "('G05-0001','G05-0003') AND C.DZZ_ID='05' AND ((A.Sex = '女') ) GROUP BY C.XinZenLX ORDER BY "
             "C.XinZenLX",
             "", "调入,1|发展新党员,1"},
            {"statistics per branch outer",
             "SELECT B.ZB_Name AS 党支部, C.DZB_ID AS 党支部编号, Count(C.DZB_ID) AS 人数 FROM Staff_DYInfo "
             "A, DZB_ZG B, Staff_XinZen C WHERE  C.DY_ID=A.DY_ID AND C.DZB_ID*=B.ZB_ID   AND C.DZZ_ID='05' "
             "GROUP BY B.ZB_Name,C.DZB_ID ORDER BY B.ZB_Name,C.DZB_ID",
             "", "NULL,G05-0009,1|后勤支部,G05-0002,1|机关支部,G05-0001,2|教工第一支部,G05-0003,1"},
            {"statistics current inner",
             "SELECT  A.Sex AS 性别, Count(A.Sex) AS 人数 FROM Stud_DYInfo A, DZB_XS B, Stud_XianYou C WHERE "
             " C.DY_ID=A.DY_ID AND C.DZB_ID=B.ZB_ID   AND C.DZZ_ID='05' GROUP BY A.Sex ORDER BY A.Sex",
             "", ",1|男,2|女,1"},
            {"statistics left with date",
             "SELECT B.ZB_Name AS 党支部, C.JianSaoLX AS 减少类型, Count(C.JianSaoLX) AS 人数 FROM "
             "Stud_DYInfo A, DZB_XS B, Stud_JianSao C WHERE  C.DY_ID=A.DY_ID AND C.DZB_ID*=B.ZB_ID   AND "
             "C.DZZ_ID='05' AND ((C.JianSaoRQ >= '2026-01-01') ) GROUP BY B.ZB_Name,C.JianSaoLX ORDER BY "
             "B.ZB_Name,C.JianSaoLX",
             "", "第一支部,毕业转出,1"},
            {"statistics candidates chosen branch",
             "SELECT  A.NianJi AS 年级, Count(A.NianJi) AS 人数 FROM Stud_DYInfo A, DZB_XS B, Stud_YuSen C "
             "WHERE  C.DY_ID=A.DY_ID AND C.DZB_ID*=B.ZB_ID AND C.DZB_ID IN ('S05-0002') AND C.DZZ_ID='05' "
             "GROUP BY A.NianJi ORDER BY A.NianJi",
             "", "2023,1"},
            {"statistics secretaries example",
             "SELECT Year(GetDate())-Year(A.ChuShengRQ) AS 年龄, Count(Year(GetDate())-Year(A.ChuShengRQ)) "
             "AS 人数 FROM Staff_DYInfo A, DZB_ZG C  WHERE A.DY_ID=*C.ZB_ShuJiID AND C.DZZ_ID='05' GROUP BY "
             "Year(GetDate())-Year(A.ChuShengRQ) ORDER BY Year(GetDate())-Year(A.ChuShengRQ)",
             "", "NULL,0|36,1|46,1"},
            {"statistics student secretaries",
             "SELECT A.Sex AS 性别, Count(A.Sex) AS 人数 FROM Stud_DYInfo A, DZB_XS C  WHERE "
             "A.DY_ID=*C.ZB_ShuJiID AND C.DZZ_ID='05' GROUP BY A.Sex ORDER BY A.Sex",
             "", "NULL,0|男,1"},
            // Select without FROM.
            {"current year", "Select Year(GetDate()) as Y", "", "2026"},
            {"current time", "Select GetDate() as Now", "", "2026-06-15 10:00:00"},
        });
    }
    void corpus() {
        QFETCH(QString, statement);
        QFETCH(QString, check);
        QFETCH(QString, expected);
        verifyCase(statement, check, expected);
    }

    // ---- the member data checks, generated from their templates -----------
    void dataChecks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // Key: population (XS/ZG), category, step. Every check not listed here
        // must come back empty.
        const QHash<QString, QString> listed = {
            {"XS0-01", "X05-000002,李 四,第二支部"},
            {"XS0-02", "~王五,2|张三,1|李 四,1|赵 六,1"},
            {"XS0-03", "X05-000005,赵 六,NULL,NULL|X05-000003,王五,,第一支部"},
            {"XS0-04", "X05-000005,赵 六,汉,NULL"},
            {"XS0-05", "X05-000002,李 四,NULL,第二支部|X05-000003,王五,2008-06-16,第一支部"},
            {"XS0-06", "X05-000005,赵 六,NULL,NULL|X05-000003,王五,NULL,第一支部"},
            {"XS0-07", "X05-000005,赵 六,NULL,NULL"},
            {"XS0-09", "X05-000003,王五,NULL,第一支部"},
            {"XS0-10", "X05-000005,赵 六,NULL,NULL|X05-000004,王五,经济2班,第二支部"},
            {"XS0-11", "X05-000005,赵 六,2024,NULL"},
            {"XS0-13", "X05-000002,李 四,大专,第二支部"},
            {"XS0-14", "X05-000004,王五,金融学,第二支部|X05-000001,张三,NULL,第一支部"},
            {"XS1-02", "~陈七,1"},
            {"XS1-03", "X05-000006,陈七,NULL,第二支部"},
            {"XS1-05", "X05-000006,陈七,2009-01-01,第二支部"},
            {"XS2-01", "X05-000002,李 四,第二支部"},
            {"XS2-02", "~王五,2|李 四,1|赵 六,1"},
            {"XS2-03", "X05-000005,赵 六,NULL,NULL|X05-000003,王五,,第一支部"},
            {"XS2-04", "X05-000005,赵 六,汉,NULL"},
            {"XS2-05", "X05-000002,李 四,NULL,第二支部|X05-000003,王五,2008-06-16,第一支部"},
            {"XS2-06", "X05-000005,赵 六,NULL,NULL|X05-000003,王五,NULL,第一支部"},
            {"XS2-08", "X05-000004,王五,其他,第二支部"},
            {"XS2-09", "X05-000003,王五,NULL,第一支部"},
            {"XS2-10", "X05-000005,赵 六,NULL,NULL|X05-000004,王五,经济2班,第二支部"},
            {"XS2-11", "X05-000005,赵 六,2024,NULL"},
            {"XS2-13", "X05-000002,李 四,大专,第二支部"},
            {"XS2-14", "X05-000004,王五,金融学,第二支部"},
            {"XS3-02", "~刘八,1"},
            {"XS3-11", "X05-000007,刘八,2021,第一支部"},
            {"ZG0-01", "Z05-000003,Anna Li,教工第一支部"},
            {"ZG0-02", "~周一,1|吴二,1|Anna Li,1|郑三,1|孔六,1"},
            {"ZG0-06", "Z05-000004,郑三,NULL,NULL"},
            {"ZG0-09", "Z05-000004,郑三,NULL,NULL"},
            {"ZG0-11", "Z05-000003,Anna Li,NULL,教工第一支部"},
            {"ZG1-02", "~钱五,1"},
            {"ZG1-05", "Z05-000006,钱五,NULL,机关支部"},
            {"ZG1-15", "Z05-000006,钱五,合同制,机关支部"},
            {"ZG2-01", "Z05-000003,Anna Li,教工第一支部"},
            {"ZG2-02", "~吴二,1|Anna Li,1|郑三,1|孔六,1"},
            {"ZG2-06", "Z05-000004,郑三,NULL,NULL"},
            {"ZG2-09", "Z05-000004,郑三,NULL,NULL"},
            {"ZG2-11", "Z05-000003,Anna Li,NULL,教工第一支部"},
            {"ZG3-02", "~冯四,1"},
            {"ZG3-14", "Z05-000005,冯四,退休,后勤支部"},
        };
        QSet<QString> used;
        for (int staff = 0; staff < 2; ++staff) {
            for (int category = 0; category < 4; ++category) {
                for (const CheckText& c : checkStatements(staff, category)) {
                    const QString key = QStringLiteral("%1%2-%3")
                                            .arg(QLatin1String(staff ? "ZG" : "XS"))
                                            .arg(category)
                                            .arg(c.step, 2, 10, QLatin1Char('0'));
                    used.insert(key);
                    QTest::newRow(qPrintable(key)) << c.text << listed.value(key);
                }
            }
        }
        for (auto it = listed.constBegin(); it != listed.constEnd(); ++it)
            QVERIFY2(used.contains(it.key()), qPrintable(it.key()));
    }
    void dataChecks() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QVERIFY2(!text.isNull(), "template and arguments do not match");
        const Outcome o = run(text);
        QVERIFY2(o.ok, qPrintable(o.error + QStringLiteral("\n  in: ") + text));
        if (text.contains(QLatin1String("order by Cnt Desc"))) {
            // the report reads the highest count from the first row
            for (int i = 1; i < o.rows.size(); ++i)
                QVERIFY2(o.rows[i - 1].section(u',', -1).toInt() >= o.rows[i].section(u',', -1).toInt(),
                         qPrintable(o.rows.join(u'|')));
        }
        compareRows(text, o.rows, expected);
    }

    // ---- result columns: aliases as written, types the client formats by --
    void resultColumns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // "name:type,..."; "-" for a statement without rows
        addColumnsCase("wizard aliases",
                       "Select C.ZB_Name AS 党支部,Year(GetDate())-Year(A.ChuShengRQ) AS 年龄 FROM "
                       "Stud_DYInfo A, Stud_XianYou B, DZB_XS C,DZZ_List D WHERE A.DY_ID=B.DY_ID   AND "
                       "B.DZB_ID*=C.ZB_ID AND B.DZZ_ID=D.DZZ_ID  AND D.DZZ_ID='05' ",
                       "党支部:text,年龄:int");
        addColumnsCase("statistics aliases",
                       "SELECT B.ZB_Name AS 党支部, Year(GetDate())-Year(A.ChuShengRQ) AS 年龄, "
                       "Count(Year(GetDate())-Year(A.ChuShengRQ)) AS 人数 FROM Stud_DYInfo A, DZB_XS B, "
                       "Stud_XianYou C WHERE  C.DY_ID=A.DY_ID AND C.DZB_ID=B.ZB_ID   AND C.DZZ_ID='05' GROUP "
                       "BY B.ZB_Name,Year(GetDate())-Year(A.ChuShengRQ) ORDER BY "
                       "B.ZB_Name,Year(GetDate())-Year(A.ChuShengRQ)",
                       "党支部:text,年龄:int,人数:int");
        addColumnsCase("generator seed", "Select Max(ZB_ID) as MaxID from DZB_XS where DZZ_ID='05'",
                       "MaxID:text");
        addColumnsCase("repeat check",
                       "Select A.Name,Count(A.Name) as Cnt from Stud_DYInfo A, Stud_XianYou B  where "
                       "A.DY_ID=B.DY_ID and B.DZZ_ID='05' group by A.Name order by Cnt Desc",
                       "Name:text,Cnt:int");
        QTest::newRow("age check") << checkStatements(false, 0).at(4).text
                                   << QStringLiteral("DY_ID:text,Name:text,ChuShengRQ:date,ZB_Name:text");
        addColumnsCase("graduates tree",
                       "Select Distinct A.DZB_ID, B.ZB_Name, B.ZB_Index from Stud_BiYe A,DZB_XS B  where "
                       "A.NianDu=2026 and A.DZB_ID=B.ZB_ID and B.DZZ_ID='05' order by ZB_Index ",
                       "DZB_ID:text,ZB_Name:text,ZB_Index:int");
        addColumnsCase("empty candidate row",
                       "Select DY_ID,DZZ_ID,DZB_ID,YuSenRQ from Stud_YuSen where DY_ID='-1'",
                       "DY_ID:text,DZZ_ID:text,DZB_ID:text,YuSenRQ:date");
        addColumnsCase("empty staff current row",
                       "Select DY_ID,DZZ_ID,DZB_ID from Staff_XianYou where DY_ID='-1'",
                       "DY_ID:text,DZZ_ID:text,DZB_ID:text");
        addColumnsCase("flags", "Select LoginName,UserOnline from DZZ_Users",
                       "LoginName:text,UserOnline:bool");
        addColumnsCase("grade codes", "Select * from Code_NianJi", "NianJi_ID:text,NianJi:text,Usable:bool");
        addColumnsCase("dictionary", "Select * from Sys_Tables",
                       "TabID:int,TabName:text,TabTitle:text,TabType:text");
        addColumnsCase("without from", "Select Year(GetDate()) as Y", "Y:int");
        QStringList member;
        for (const sql::ColumnDef& c : sql::Schema::standard().table(u"Stud_DYInfo")->columns)
            member << c.name + u':' + typeCode(sql::sqlTypeOf(c.type));
        QTest::newRow("empty member row")
            << QStringLiteral("Select * from Stud_DYInfo where DY_ID='-1'") << member.join(u',');
        addColumnsCase("update", "Update Stud_Info Set isLiuDong=0 where DY_ID='X05-000003'", "-");
        addColumnsCase("delete", "Delete  Staff_XianYou where DY_ID='Z05-000002'", "-");
        addColumnsCase("insert",
                       "Insert into Stud_JianSao (DY_ID,DZZ_ID,DZB_ID,JianSaoLX,JianSaoRQ)  VALUES "
                       "('X05-000003','05','S05-0001','外出不归','2026/6/15')",
                       "-");
    }
    void resultColumns() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const sql::Translation t = m_tr.translateUncached(text);
        QVERIFY2(t.ok, qPrintable(t.error.describe(text)));
        if (expected == QLatin1String("-")) {
            QVERIFY(!t.isQuery);
            QVERIFY(t.columns.empty());
            return;
        }
        QVERIFY(t.isQuery);
        QStringList got;
        for (const sql::ResultColumn& c : t.columns)
            got << c.name + u':' + typeCode(c.type);
        QCOMPARE(got.join(u','), expected);
        const db::QueryResult r = m_db->run(t);
        QVERIFY2(r.ok, qPrintable(r.error));
    }

    // ---- the server's whole-year age: year of (now - birth) from 1900-01-01
    void ageFlip_data() {
        QTest::addColumn<QString>("birth");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("age");
        QTest::addColumn<int>("years"); // Year(GetDate())-Year(birth)
        QTest::newRow("two days before") << QStringLiteral("2008-06-14") << today() << 18 << 18;
        QTest::newRow("birthday") << QStringLiteral("2008-06-15") << today() << 18 << 18;
        QTest::newRow("one day short") << QStringLiteral("2008-06-16") << today() << 17 << 18;
        QTest::newRow("two days short") << QStringLiteral("2008-06-17") << today() << 17 << 18;
        QTest::newRow("flips at midnight") << QStringLiteral("2008-06-16") << utc(2026, 6, 16) << 18 << 18;
        QTest::newRow("last second before")
            << QStringLiteral("2008-06-16") << utc(2026, 6, 15, 23, 59, 59) << 17 << 18;
        QTest::newRow("leap days flip early") << QStringLiteral("2006-03-01") << utc(2024, 2, 29) << 18 << 18;
        QTest::newRow("day before early flip")
            << QStringLiteral("2006-03-01") << utc(2024, 2, 28, 23) << 17 << 18;
        QTest::newRow("new year") << QStringLiteral("2008-12-31") << utc(2026, 1, 1, 8) << 17 << 18;
        QTest::newRow("late in year") << QStringLiteral("1985-12-31") << today() << 40 << 41;
        QTest::newRow("leap birthday") << QStringLiteral("2000-02-29") << today() << 26 << 26;
    }
    void ageFlip() {
        QFETCH(QString, birth);
        QFETCH(QDateTime, now);
        QFETCH(int, age);
        QFETCH(int, years);
        m_db->setClock([now] { return now; });
        const Outcome set =
            run(QStringLiteral("Update Stud_DYInfo Set ChuShengRQ='%1' where DY_ID='X05-000001'").arg(birth));
        QVERIFY2(set.ok, qPrintable(set.error));
        const Outcome o = run(QStringLiteral(
            "Select (Year(GetDate()-A.ChuShengRQ)-1900) as Age, Year(GetDate())-Year(A.ChuShengRQ) as Years "
            "from Stud_DYInfo A where A.DY_ID='X05-000001'"));
        QVERIFY2(o.ok, qPrintable(o.error));
        QCOMPARE(o.rows, QStringList{QStringLiteral("%1,%2").arg(age).arg(years)});
        // the age check of the current members lists him exactly while under 18
        const Outcome check = run(checkStatements(false, 0).at(4).text);
        QVERIFY2(check.ok, qPrintable(check.error));
        bool listed = false;
        for (const QString& row : check.rows)
            listed = listed || row.startsWith(QLatin1String("X05-000001,"));
        QCOMPARE(listed, age < 18);
    }

    // ---- numbers and text written against a date column --------------------
    void dayNumbers_data() {
        QTest::addColumn<QString>("literal");
        QTest::addColumn<QString>("stored");
        QTest::newRow("receipt date") << QStringLiteral("39583.00") << QStringLiteral("2008-05-15");
        QTest::newRow("empty date") << QStringLiteral("0.00") << QStringLiteral("1899-12-30");
        QTest::newRow("noon") << QStringLiteral("46188.50") << QStringLiteral("2026-06-15 12:00:00");
        QTest::newRow("integer") << QStringLiteral("61") << QStringLiteral("1900-03-01");
        QTest::newRow("early") << QStringLiteral("2") << QStringLiteral("1900-01-01");
        QTest::newRow("iso text") << QStringLiteral("'2008-05-15'") << QStringLiteral("2008-05-15");
        QTest::newRow("short text") << QStringLiteral("'2008-5-1'") << QStringLiteral("2008-05-01");
        QTest::newRow("slashes") << QStringLiteral("'2008/5/1'") << QStringLiteral("2008-05-01");
        QTest::newRow("with time") << QStringLiteral("'2008-05-15 08:30:00'")
                                   << QStringLiteral("2008-05-15 08:30:00");
        QTest::newRow("slashes with time")
            << QStringLiteral("'2026/6/15 14:30:00'") << QStringLiteral("2026-06-15 14:30:00");
    }
    void dayNumbers() {
        QFETCH(QString, literal);
        QFETCH(QString, stored);
        verifyCase(QStringLiteral("Update Stud_DYInfo Set HuiZhiRQ=%1 where DY_ID='X05-000007'").arg(literal),
                   QStringLiteral("Select HuiZhiRQ from Stud_DYInfo where DY_ID='X05-000007'"), stored);
        verifyCase(QStringLiteral("Select DY_ID from Stud_DYInfo where HuiZhiRQ=%1").arg(literal), QString(),
                   QStringLiteral("X05-000007"));
    }

    // ---- text: no case, no trailing blanks, GBK order, NULL first --------
    void textRules_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("expected");
        addCases({
            {"equal without case and blanks", "Select Name from Staff_DYInfo where Name='anna li  '", "",
             "Anna Li"},
            {"trailing blank stored", "Select Count(*) as N from Stud_DYInfo where MinZhu='汉族'", "", "6"},
            {"like without case", "Select Name from Staff_DYInfo where Name Like 'ANNA%'", "", "Anna Li"},
            {"like one character", "Select LoginName from DZZ_Users where LoginName Like 'g_EST'", "",
             "Guest"},
            {"in without case", "Select DY_ID from Staff_DYInfo where Name in ('ANNA LI','x')", "",
             "Z05-000003"},
            {"in list of one", "Select Count(*) as N from Sys_Tables where TabType in ('code')", "", "3"},
            {"group without case", "Select Count(*) as N from Sys_Tables group by TabType order by N", "",
             "2|3"},
            {"order without case", "Select LoginName from DZZ_Users order by LoginName", "", "admin|Guest"},
            {"grouped text selected",
             "Select Upper(TabType) as T, Count(*) as N from Sys_Tables group by TabType order by N", "",
             "~"
             "DATA,2|CODE,3"},
            {"in subquery without case",
             "Select LoginName from DZZ_Users where LoginName in (Select Upper(LoginName) from DZZ_Users)",
             "", "admin|Guest"},
            {"greatest text in gbk order", "Select Max(ZB_Name) as M from DZB_XS where DZZ_ID='05'", "",
             "研究生支部"},
            {"distinct in gbk order",
             "Select Distinct ZB_Name from DZB_XS where DZZ_ID='05' order by ZB_Name desc", "",
             "研究生支部|第一支部|第二支部"},
            {"branches in gbk order", "Select ZB_Name from DZB_XS where DZZ_ID='05' order by ZB_Name", "",
             "第二支部|第一支部|研究生支部"},
            {"staff branches descending", "Select ZB_Name from DZB_ZG order by ZB_Name desc", "",
             "教工第一支部|机关支部|后勤支部"},
            {"names in gbk order",
             "Select Name from Stud_DYInfo where DY_ID in ('X05-000001','X05-000002','X05-000007') order by "
             "Name",
             "", "李 四|刘八|张三"},
            {"null first",
             "Select DY_ID,JiGuan from Stud_DYInfo where DY_ID in ('X05-000001','X05-000003') order by "
             "JiGuan",
             "", "X05-000003,NULL|X05-000001,山东"},
            {"null last descending",
             "Select DY_ID,JiGuan from Stud_DYInfo where DY_ID in ('X05-000001','X05-000003') order by "
             "JiGuan desc",
             "", "X05-000001,山东|X05-000003,NULL"},
            {"names with a blank", "Select DY_ID from Stud_DYInfo where Name Like '% %' order by DY_ID", "",
             "X05-000002|X05-000005|X05-000008"},
            {"boolean", "Select DY_ID,isLiuDong from Staff_DYInfo where isLiuDong=1", "", "Z05-000002,1"},
            {"date against text", "Select Name from Stud_DYInfo where BiYeRQ > '2026-12-31'", "",
             "王五|陈七"},
            {"date against day number", "Select Name from Stud_DYInfo where ChuShengRQ < 36526", "",
             "刘八|赵 六"},
            {"year of a date", "Select Year(ChuShengRQ) as Y from Staff_DYInfo where DY_ID='Z05-000003'", "",
             "1985"},
        });
    }
    void textRules() {
        QFETCH(QString, statement);
        QFETCH(QString, check);
        QFETCH(QString, expected);
        verifyCase(statement, check, expected);
    }

    // ---- text wider than its column (GBK bytes) ------------------------------
    void tooWide_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("column"); // empty when the value fits
        QTest::newRow("ten chinese fit twenty")
            << QStringLiteral("Update Stud_BiYe Set Memo='一二三四五六七八九十'  where DY_ID='X05-000007' ")
            << QString();
        QTest::newRow("eleven chinese")
            << QStringLiteral("Update Stud_BiYe Set Memo='一二三四五六七八九十一'  where DY_ID='X05-000007' ")
            << QStringLiteral("Memo");
        QTest::newRow("twenty ascii fit")
            << QStringLiteral("Update Stud_BiYe Set Memo='12345678901234567890'  where DY_ID='X05-000007' ")
            << QString();
        QTest::newRow("twenty-one ascii")
            << QStringLiteral("Update Stud_BiYe Set Memo='123456789012345678901'  where DY_ID='X05-000007' ")
            << QStringLiteral("Memo");
        QTest::newRow("name of five chinese")
            << QStringLiteral("Update Stud_DYInfo Set Name='欧阳娜娜娜' where DY_ID='X05-000001'")
            << QString();
        QTest::newRow("identifier too long")
            << QStringLiteral("Insert into Stud_JianSao (DY_ID,DZZ_ID,DZB_ID,JianSaoLX,JianSaoRQ)  VALUES "
                              "('X05-0000001','05','S05-0001','退休','2026/6/15')")
            << QStringLiteral("DY_ID");
        QTest::newRow("code value fits")
            << QStringLiteral("Insert into Code_Sex (Sex_ID,Sex) VALUES ('3','男')") << QString();
        QTest::newRow("code value too wide")
            << QStringLiteral("Insert into Code_Sex (Sex_ID,Sex) VALUES ('3','未知')")
            << QStringLiteral("Sex");
    }
    void tooWide() {
        QFETCH(QString, statement);
        QFETCH(QString, column);
        const Outcome o = run(statement);
        if (column.isEmpty()) {
            QVERIFY2(o.ok, qPrintable(o.error));
            return;
        }
        QVERIFY(!o.ok);
        QVERIFY2(o.error.contains(column, Qt::CaseInsensitive), qPrintable(o.error));
    }

    // ---- statements built from bad input are refused where the fault is ----
    void refused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("marker"); // the position lies inside one occurrence; empty: not checked
        QTest::newRow("delete unknown table")
            << QStringLiteral("Delete Stud_XianYo where DY_ID='X05-000001'") << QStringLiteral("Stud_XianYo");
        QTest::newRow("update unknown column")
            << QStringLiteral("Update Stud_BiYe Set Memmo='已寄出'  where DY_ID='X05-000007' ")
            << QStringLiteral("Memmo");
        QTest::newRow("insert unknown column")
            << QStringLiteral("Insert into Stud_JianSao (DY_ID,DZZ_ID,DZB_ID,JianSaoLeiXing,JianSaoRQ)  "
                              "VALUES ('X05-000001','05','S05-0001','退休','2026/6/15')")
            << QStringLiteral("JianSaoLeiXing");
        QTest::newRow("check on missing code table")
            << fill(QString::fromLatin1(kC1),
                    {QStringLiteral("A.Sex"), QStringLiteral("Stud_XianYou"), QStringLiteral("05"),
                     QStringLiteral("A.Sex"), QStringLiteral("Sex"), QStringLiteral("Code_Nothing"),
                     QStringLiteral("A.Sex")})
            << QStringLiteral("Code_Nothing");
        QString staffCheck = QString::fromLatin1(kC1);
        staffCheck.replace(QStringLiteral("Stud_DYInfo"), QStringLiteral("Staff_DYInfo"))
            .replace(QStringLiteral("DZB_XS"), QStringLiteral("DZB_ZG"));
        QTest::newRow("check on field staff lack")
            << fill(staffCheck, {QStringLiteral("A.BanJi"), QStringLiteral("Staff_XianYou"),
                                 QStringLiteral("05"), QStringLiteral("A.BanJi"), QStringLiteral("BanJi"),
                                 QStringLiteral("Code_BanJi"), QStringLiteral("A.BanJi")})
            << QStringLiteral("A.BanJi");
        QTest::newRow("wizard field not in map")
            << QStringLiteral("Select C.ZB_Name AS 党支部 FROM Stud_DYInfo A, Stud_XianYou B, DZB_XS "
                              "C,DZZ_List D WHERE A.DY_ID=B.DY_ID   AND B.DZB_ID*=C.ZB_ID AND "
                              "B.DZZ_ID=D.DZZ_ID  AND D.DZZ_ID='05'  AND (( > 25) )")
            << QStringLiteral(">");
        QTest::newRow("wizard relation on last row")
            << QStringLiteral("Select C.ZB_Name AS 党支部 FROM Stud_DYInfo A, Stud_XianYou B, DZB_XS "
                              "C,DZZ_List D WHERE A.DY_ID=B.DY_ID   AND B.DZB_ID*=C.ZB_ID AND "
                              "B.DZZ_ID=D.DZZ_ID  AND D.DZZ_ID='05'  AND ((C.ZB_Name = '第一支部') And) ")
            << QStringLiteral("And)");
        QTest::newRow("cut short") << QStringLiteral("Select * from Stud_DYInfo where") << QString();
    }
    void refused() {
        QFETCH(QString, text);
        QFETCH(QString, marker);
        const sql::Translation t = m_tr.translateUncached(text);
        QVERIFY2(!t.ok, qPrintable(t.sql));
        QVERIFY(!t.error.message.trimmed().isEmpty());
        if (marker.isEmpty()) return;
        const int pos = t.error.position;
        bool inside = false;
        for (int at = text.indexOf(marker); at >= 0 && !inside; at = text.indexOf(marker, at + 1))
            inside = pos >= at && pos < at + marker.size();
        QVERIFY2(inside, qPrintable(QStringLiteral("%1 (position %2)").arg(t.error.describe(text)).arg(pos)));
    }

private:
    static void addColumnsCase(const char* name, const char* text, const char* expected) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(expected);
    }
};

QTEST_GUILESS_MAIN(TestSqlCorpus)
#include "tst_sqlcorpus.moc"
