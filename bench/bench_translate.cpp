// Translation time of the longest wizard statement, cold and from the cache.
#include "sql/schema.h"
#include "sql/translator.h"

#include <QElapsedTimer>
#include <QTextStream>

using namespace corvexa;

int main() {
    const QString text = QStringLiteral(
        "Select D.DZZ_Name AS 二级党组织,B.DZB_ID AS 党支部编号,C.ZB_Name AS 党支部,A.DY_ID AS "
        "党员编号,A.Name AS 姓名,"
        "A.Sex AS 性别,A.MinZhu AS 民族,A.JiGuan AS 籍贯,A.ChuShengRQ AS 出生日期,A.DangYuanLX AS 党员类型,"
        "A.RuDangRQ AS 入党时间,A.ZYS_No AS 入党志愿书编号,A.XueLi AS 学历,A.ZuanYe AS 专业,A.NianJi AS 年级,"
        "A.BanJi AS 班级,A.BiYeRQ AS 毕业时间,A.SFZ_ID AS 身份证,A.LX_TEL AS 家庭固定电话,A.LX_Mobile AS "
        "手机,"
        "A.LX_Mail AS 电子邮件,A.QianYueDW AS 签约单位,A.DWQuYu AS 接收单位地区,A.DW_DZZ AS 单位隶属党组织,"
        "B.JianSaoRQ AS 减少时间,B.JianSaoLX AS 减少类型,Year(GetDate())-Year(A.ChuShengRQ) AS 年龄 "
        "FROM Stud_DYInfo A, Stud_JianSao B, DZB_XS C,DZZ_List D WHERE A.DY_ID=B.DY_ID   AND "
        "B.DZB_ID*=C.ZB_ID "
        "AND B.DZZ_ID=D.DZZ_ID AND B.DZB_ID IN ('S05-0001','S05-0003','S05-0004','S05-0007') "
        "AND ((A.Sex = '女') And(Year(GetDate())-Year(A.ChuShengRQ) > 25) Or(A.MinZhu = '汉族') "
        "And Not(B.JianSaoRQ >= '2026-01-01') ) ORDER BY  C.ZB_Name ASC,Year(GetDate())-Year(A.ChuShengRQ) "
        "DESC,A.Name ASC");
    sql::Translator translator(sql::Schema::standard(), sql::Backend::SQLite);
    QTextStream out(stdout);
    const int cold = 2000;
    QElapsedTimer timer;
    timer.start();
    int ok = 0;
    for (int i = 0; i < cold; ++i)
        ok += translator.translateUncached(text).ok ? 1 : 0;
    double coldUs = timer.nsecsElapsed() / 1000.0 / cold;
    const int warm = 200000;
    timer.restart();
    for (int i = 0; i < warm; ++i)
        ok += translator.translate(text)->ok ? 1 : 0;
    double warmUs = timer.nsecsElapsed() / 1000.0 / warm;
    out << "statement length " << text.size() << " characters, " << ok << " translations\n";
    out << "uncached: " << coldUs << " us per translation\n";
    out << "cached:   " << warmUs << " us per translation\n";
    return ok == cold + warm ? 0 : 1;
}
