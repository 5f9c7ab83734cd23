#include "providers.h"

namespace corvexa::server {
namespace {

const char* const kPersonFields =
    "A.DY_ID,A.Name,A.Sex,A.MinZhu,A.JiGuan,A.ChuShengRQ,A.RuDangRQ,A.DangYuanLX,A.XueLi";

struct Population {
    const char* code;     // XS, ZG
    const char* prefix;   // Stud_, Staff_
    const char* branches; // DZB_XS, DZB_ZG
    // Member fields of each category's Info set besides the person fields.
    const char* current;
    const char* candidate;
    const char* added;
    const char* decreased;
    const char* mobile;
};

const Population kPopulations[] = {
    {"XS", "Stud_", "DZB_XS",
     "A.ZYS_No,A.ZuanYe,A.NianJi,A.BanJi,A.BiYeRQ,A.QianYueDW,A.DWQuYu,A.DW_DZZ,A.SFZ_ID,A.LX_TEL,A.LX_"
     "Mobile,"
     "A.LX_Mail,A.isLiuDong,A.LiuDongLX,A.LiuChuRQ,A.LD_Memo",
     "A.ZuanYe,A.NianJi,A.BanJi,A.BiYeRQ,A.ZYS_No,A.SFZ_ID,A.LX_TEL,A.LX_Mobile,A.LX_Mail",
     "A.ZuanYe,A.ZYS_No,A.NianJi,A.BiYeRQ,A.BanJi",
     "A.ZuanYe,A.NianJi,A.BiYeRQ,A.BanJi,A.SFZ_ID,A.LX_TEL,A.LX_Mobile,A.LX_Mail,A.HuiZhi,A.HuiZhiRQ,A."
     "QianYueDW,"
     "A.DWQuYu,A.DW_DZZ",
     "A.LiuChuRQ,A.LiuDongLX,A.LD_Memo,A.ZuanYe,A.NianJi,A.BanJi,A.BiYeRQ,A.SFZ_ID,A.LX_TEL,A.LX_Mobile,A.LX_"
     "Mail"},
    {"ZG", "Staff_", "DZB_ZG",
     "A.GongZuoRQ,A.ZYS_No,A.JiShuJB,A.DangZhengJB,A.ZhiYeZK,A.ZhiYeLX,A.SFZ_ID,A.LX_TEL,A.LX_Mobile,A.LX_"
     "Mail,"
     "A.isLiuDong,A.LiuDongLX,A.LiuChuRQ,A.LD_Memo",
     "A.GongZuoRQ,A.JiShuJB,A.DangZhengJB,A.ZhiYeZK,A.ZhiYeLX,A.ZYS_No,A.SFZ_ID,A.LX_TEL,A.LX_Mobile,A.LX_"
     "Mail",
     "A.GongZuoRQ,A.ZYS_No,A.JiShuJB,A.DangZhengJB,A.ZhiYeZK,A.ZhiYeLX",
     "A.GongZuoRQ,A.JiShuJB,A.DangZhengJB,A.ZhiYeZK,A.ZhiYeLX,A.SFZ_ID,A.LX_TEL,A.LX_Mobile,A.LX_Mail,A."
     "HuiZhi,"
     "A.HuiZhiRQ,A.QianYueDW,A.DWQuYu,A.DW_DZZ,A.XiaoNeiID,A.GZW_ID",
     "A.LiuChuRQ,A.LiuDongLX,A.LD_Memo,A.JiShuJB,A.DangZhengJB,A.SFZ_ID,A.LX_TEL,A.LX_Mobile,A.LX_Mail"},
};

struct Category {
    const char* code;  // XY, YS, XZ, JS
    const char* table; // XianYou, YuSen, XinZen, JianSao
    const char* dateColumn;
};

const Category kCategories[] = {
    {"XY", "XianYou", nullptr},
    {"YS", "YuSen", nullptr},
    {"XZ", "XinZen", "XinZenRQ"},
    {"JS", "JianSao", "JianSaoRQ"},
};

QString q(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

void ProviderCatalogue::add(ProviderDef def) {
    m_byName.insert(def.name.toLower(), int(m_providers.size()));
    m_providers.push_back(std::move(def));
}

const ProviderDef* ProviderCatalogue::find(const QString& name) const {
    auto it = m_byName.constFind(name.toLower());
    return it == m_byName.constEnd() ? nullptr : &m_providers[size_t(*it)];
}

sql::SqlType ProviderCatalogue::parameterType(const QString& name) {
    static const QStringList numbers = {QStringLiteral("AYear"), QStringLiteral("AUserID"),
                                        QStringLiteral("ATabID")};
    return numbers.contains(name, Qt::CaseInsensitive) ? sql::SqlType::Integer : sql::SqlType::Text;
}

bool ProviderCatalogue::isCommandProvider(const QString& name) {
    static const QStringList names = {QStringLiteral("DSP_Temp"), QStringLiteral("DSP_Temp2"),
                                      QStringLiteral("DSP_SQLResult"), QStringLiteral("DSP_KeepConnection")};
    return names.contains(name, Qt::CaseInsensitive);
}

const ProviderCatalogue& ProviderCatalogue::standard() {
    static const ProviderCatalogue catalogue = [] {
        ProviderCatalogue c;
        const QStringList sn = {QStringLiteral("SN")};
        const QStringList dyId = {QStringLiteral("DY_ID")};
        // Login, organization, branches, figures.
        c.add(
            {q("DSP_DZZUser"),
             q("Select "
               "UserID,LoginName,DZZ_ID,GL_XueSheng,GL_ZhiGong,GL_BiYeSh,TEL,EMail,Mobile,Usable,UserOnline,"
               "Cur_Version,GL_JieShaoXin from DZZ_Users where LoginName=:AName"),
             q("DZZ_Users"),
             {QStringLiteral("UserID")}});
        c.add({q("DSP_DZZ"),
               q("Select * from DZZ_List where DZZ_ID=:ADZZ_ID"),
               q("DZZ_List"),
               {QStringLiteral("DZZ_ID")}});
        c.add({q("DSP_XS_DZB"),
               q("Select * from DZB_XS where DZZ_ID=:ADZZ_ID order by ZB_Index, ZB_ID"),
               q("DZB_XS"),
               {QStringLiteral("ZB_ID")}});
        c.add({q("DSP_ZG_DZB"),
               q("Select * from DZB_ZG where DZZ_ID=:ADZZ_ID order by ZB_Index, ZB_ID"),
               q("DZB_ZG"),
               {QStringLiteral("ZB_ID")}});
        c.add({q("DSP_XSTJ_NianJi"), q("Select * from XSTJ_NianJi where DZZ_ID=:ADZZ_ID order by SN"),
               q("XSTJ_NianJi"), sn});
        // Code tables, in the order of their codes.
        struct Code {
            const char* provider;
            const char* table;
            const char* id;
        };
        const Code codes[] = {
            {"DSP_CodeDYLX", "Code_DangYuanLX", "DYLX_ID"}, {"DSP_CodeDZJB", "Code_DangZhengJB", "DZJB_ID"},
            {"DSP_CodeJSLX", "Code_JianSaoLX", "JSLX_ID"},  {"DSP_CodeJSJB", "Code_JiShuJB", "JSJB_ID"},
            {"DSP_CodeMinZhu", "Code_MinZhu", "MinZhu_ID"}, {"DSP_CodeNianJi", "Code_NianJi", "NianJi_ID"},
            {"DSP_CodeXZLX", "Code_XinZenLX", "XZLX_ID"},   {"DSP_CodeXueLi", "Code_XueLi", "XueLi_ID"},
            {"DSP_CodeZYLX", "Code_ZhiYeLX", "ZYLX_ID"},    {"DSP_CodeZYZK", "Code_ZhiYeZK", "ZYZK_ID"},
            {"DSP_CodeDWQY", "Code_DWQY", "QY_ID"},         {"DSP_CodeLDLX", "Code_LiuDongLX", "LDLX_ID"},
        };
        for (const Code& code : codes)
            c.add({q(code.provider),
                   QStringLiteral("Select * from %1 order by %2").arg(q(code.table), q(code.id)),
                   q(code.table),
                   {q(code.id)}});
        c.add({q("DSP_CodeZuanYe"),
               q("Select SN,ZuanYe,DZZ_ID from Code_ZuanYe where DZZ_ID=:ADZZ_ID order by SN"),
               q("Code_ZuanYe"), sn});
        c.add({q("DSP_CodeBanJi"),
               q("Select SN,BanJi,DZZ_ID from Code_BanJi where DZZ_ID=:ADZZ_ID order by SN"), q("Code_BanJi"),
               sn});
        // Members: per category an Info set (member records), a List set
        // (category rows) and an ALL set (the whole organization).
        for (const Population& p : kPopulations) {
            const QString members = q(p.prefix) + QStringLiteral("DYInfo");
            const char* fields[] = {p.current, p.candidate, p.added, p.decreased};
            for (int i = 0; i < 4; ++i) {
                const Category& cat = kCategories[i];
                const QString table = q(p.prefix) + q(cat.table);
                const QString year = cat.dateColumn
                                         ? QStringLiteral(" and Year(B.%1)=:AYear").arg(q(cat.dateColumn))
                                         : QString();
                const QString listOrder =
                    i == 0 ? QStringLiteral(" order by DY_Index, DY_ID") : QStringLiteral(" order by DY_ID");
                const QString infoOrder = i == 0 ? QStringLiteral(" order by B.DY_Index, A.DY_ID")
                                                 : QStringLiteral(" order by A.DY_ID");
                const QString base =
                    QStringLiteral("%1,%2 from %3 A, %4 B where A.DY_ID=B.DY_ID and B.DZZ_ID=:ADZZ_ID")
                        .arg(q(kPersonFields), q(fields[i]), members, table);
                const QString set = q(p.code) + q(cat.code);
                c.add({QStringLiteral("DSP_%1_Info").arg(set),
                       QStringLiteral("Select ") + base + QStringLiteral(" and B.DZB_ID=:ADZB_ID") + year +
                           infoOrder,
                       members, dyId});
                c.add(
                    {QStringLiteral("DSP_%1_ALL").arg(set),
                     QStringLiteral("Select ") +
                         QString(base).replace(QStringLiteral(" from "), QStringLiteral(",B.DZB_ID from ")) +
                         year + infoOrder,
                     members, dyId});
                QString listYear = year;
                listYear.replace(QStringLiteral("B."), QString());
                c.add(
                    {QStringLiteral("DSP_%1_List").arg(set),
                     QStringLiteral("Select * from %1 where DZZ_ID=:ADZZ_ID and DZB_ID=:ADZB_ID").arg(table) +
                         listYear + listOrder,
                     table, sn});
            }
            c.add({QStringLiteral("DSP_%1LD_Info").arg(q(p.code)),
                   QStringLiteral(
                       "Select A.DY_ID,A.Name,A.Sex,A.MinZhu,A.JiGuan,A.DangYuanLX,A.RuDangRQ,A.XueLi,"
                       "A.ChuShengRQ,%1,B.DZB_ID from %2 A, %3 B where A.DY_ID=B.DY_ID and "
                       "B.DZZ_ID=:ADZZ_ID and A.isLiuDong=1 order by B.DZB_ID, B.DY_Index, A.DY_ID")
                       .arg(q(p.mobile), members, q(p.prefix) + QStringLiteral("XianYou")),
                   members, dyId});
        }
        // Graduates and their transfer records.
        const QString graduate =
            q("Select "
              "A.DY_ID,A.Name,A.Sex,A.ChuShengRQ,A.JiGuan,A.MinZhu,A.ZuanYe,A.BanJi,A.DangYuanLX,A.SFZ_ID,"
              "A.LX_TEL,A.LX_Mobile,A.LX_Mail,A.QianYueDW,A.DWQuYu,A.DW_DZZ,A.HuiZhi,A.HuiZhiRQ,B.XiaoNeiID,"
              "B.GZW_ID,"
              "B.NianDu,B.Memo");
        c.add(
            {q("DSP_BYS_DZB"),
             graduate + q(" from Stud_DYInfo A, Stud_BiYe B where A.DY_ID=B.DY_ID and B.DZZ_ID=:ADZZ_ID and "
                          "B.DZB_ID=:ADZB_ID and B.NianDu=:AYear order by A.DY_ID"),
             q("Stud_BiYe"),
             {QStringLiteral("DY_ID"), QStringLiteral("NianDu")}});
        c.add({q("DSP_BYS_ALL"),
               graduate + q(",B.DZB_ID from Stud_DYInfo A, Stud_BiYe B where A.DY_ID=B.DY_ID and "
                            "B.DZZ_ID=:ADZZ_ID and "
                            "B.NianDu=:AYear order by B.DZB_ID, A.DY_ID"),
               q("Stud_BiYe"),
               {QStringLiteral("DY_ID"), QStringLiteral("NianDu")}});
        c.add({q("DSP_XSJS_BiYe"),
               q("Select DY_ID,XiaoNeiID,GZW_ID from Stud_BiYe where DZZ_ID=:ADZZ_ID and DZB_ID=:ADZB_ID and "
                 "NianDu=:AYear order by DY_ID"),
               q("Stud_BiYe"),
               {QStringLiteral("DY_ID"), QStringLiteral("NianDu")}});
        // Templates, dictionary, letters.
        c.add({q("DSP_SQL"),
               q("Select * from Sys_SQL where UserID=:AUserID and TempType=:ATempType order by SN"),
               q("Sys_SQL"), sn});
        c.add({q("DSP_FldList"), q("Select * from Sys_Fields where TabID=:ATabID order by FldIndex, SN"),
               q("Sys_Fields"), sn});
        c.add({q("DSP_Report"), q("Select * from DZZ_Report where DZZ_ID=:ADZZ_ID order by SN"),
               q("DZZ_Report"), sn});
        return c;
    }();
    return catalogue;
}

} // namespace corvexa::server
