#include "schema.h"

namespace corvexa::sql {

const ColumnDef* TableDef::column(QStringView name) const {
    int i = columnIndex(name);
    return i < 0 ? nullptr : &columns[size_t(i)];
}

int TableDef::columnIndex(QStringView name) const {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    }
    return -1;
}

const TableDef* Schema::table(QStringView name) const {
    auto it = m_byName.constFind(name.toString().toLower());
    return it == m_byName.constEnd() ? nullptr : &m_tables[size_t(*it)];
}

void Schema::addTable(TableDef table) {
    m_byName.insert(table.name.toLower(), int(m_tables.size()));
    m_tables.push_back(std::move(table));
}

void Schema::addSynonym(const QString& synonym, const QString& table) {
    auto it = m_byName.constFind(table.toLower());
    if (it != m_byName.constEnd()) m_byName.insert(synonym.toLower(), *it);
}

namespace {

// Compact column declarations: T(name, width) text, I(name) integer, ...
ColumnDef T(const char* n, int w, bool req = false) {
    return {QString::fromLatin1(n), ColumnType::Text, w, req};
}
ColumnDef M(const char* n) {
    return {QString::fromLatin1(n), ColumnType::Memo, 0};
}
ColumnDef I(const char* n, bool req = false) {
    return {QString::fromLatin1(n), ColumnType::Integer, 0, req};
}
ColumnDef S(const char* n) {
    return {QString::fromLatin1(n), ColumnType::SmallInt, 0};
}
ColumnDef SN() {
    return {QStringLiteral("SN"), ColumnType::Serial, 0};
}
ColumnDef F(const char* n) {
    return {QString::fromLatin1(n), ColumnType::Float, 0};
}
ColumnDef B(const char* n, bool req = false) {
    return {QString::fromLatin1(n), ColumnType::Boolean, 0, req};
}
ColumnDef D(const char* n, bool req = false) {
    return {QString::fromLatin1(n), ColumnType::DateTime, 0, req};
}

TableDef table(const char* name, std::vector<ColumnDef> cols, QStringList key,
               std::vector<IndexDef> idx = {}) {
    TableDef t;
    t.name = QString::fromLatin1(name);
    t.columns = std::move(cols);
    t.key = std::move(key);
    for (const auto& c : t.columns) {
        if (c.type == ColumnType::Serial) t.serial = c.name;
    }
    t.indexes = std::move(idx);
    return t;
}

// The eleven figures of a population: head counts (RS) and shares (Per).
void addFigures(std::vector<ColumnDef>& cols, const char* prefix) {
    const char* parts[] = {"RS_JiChu",    "RS_XinZen",  "RS_JianSao",  "RS_YuSen", "Per_YuSen", "RS_XianYou",
                           "Per_XianYou", "RS_SenQing", "Per_SenQing", "RS_JiJi",  "Per_JiJi"};
    for (const char* p : parts) {
        QString name = QString::fromLatin1(prefix) + QString::fromLatin1(p);
        cols.push_back(
            {name, name.contains(QLatin1String("Per_")) ? ColumnType::Float : ColumnType::Integer, 0});
    }
}

std::vector<ColumnDef> memberColumns(bool students) {
    std::vector<ColumnDef> c = {
        T("DY_ID", 10, true), T("Name", 10, true), T("Sex", 2),   T("MinZhu", 14), T("JiGuan", 20),
        D("ChuShengRQ"),      T("DangYuanLX", 4),  D("RuDangRQ"), T("ZYS_No", 20), T("XueLi", 10),
    };
    if (students) {
        for (auto col : {T("ZuanYe", 40), T("NianJi", 8), T("BanJi", 20)})
            c.push_back(col);
        c.push_back(D("BiYeRQ"));
    } else {
        c.push_back(D("GongZuoRQ"));
        for (auto col : {T("JiShuJB", 4), T("DangZhengJB", 4), T("ZhiYeZK", 20), T("ZhiYeLX", 30)})
            c.push_back(col);
    }
    for (auto col : {T("SFZ_ID", 18), T("LX_TEL", 20), T("LX_Mobile", 20), T("LX_Mail", 50),
                     T("QianYueDW", 100), T("DWQuYu", 20), T("DW_DZZ", 100)})
        c.push_back(col);
    c.push_back(B("HuiZhi"));
    c.push_back(D("HuiZhiRQ"));
    c.push_back(B("isLiuDong"));
    c.push_back(T("LiuDongLX", 50));
    c.push_back(D("LiuChuRQ"));
    c.push_back(T("LD_Memo", 100));
    if (!students) {
        c.push_back(T("XiaoNeiID", 10));
        c.push_back(T("GZW_ID", 10));
    }
    return c;
}

void addPopulation(Schema& s, bool students) {
    const QString p = students ? QStringLiteral("Stud_") : QStringLiteral("Staff_");
    auto named = [&](const char* suffix) { return (p + QString::fromLatin1(suffix)).toLatin1(); };
    s.addTable(table(named("DYInfo").constData(), memberColumns(students), {QStringLiteral("DY_ID")},
                     {{{QStringLiteral("DY_ID")}, true}, {{QStringLiteral("Name")}, false}}));
    auto category = [&](const char* suffix, std::vector<ColumnDef> extra, bool oneRowPerMember) {
        std::vector<ColumnDef> cols = {SN(), T("DY_ID", 10, true), T("DZZ_ID", 2, true),
                                       T("DZB_ID", 8, true)};
        for (auto& e : extra)
            cols.push_back(e);
        std::vector<IndexDef> idx = {{{QStringLiteral("DY_ID")}, oneRowPerMember},
                                     {{QStringLiteral("DZZ_ID"), QStringLiteral("DZB_ID")}, false}};
        s.addTable(table(named(suffix).constData(), cols, {QStringLiteral("SN")}, idx));
    };
    category("XianYou", {I("DY_Index")}, true);
    category("YuSen", {D("YuSenRQ", true)}, true);
    category("XinZen", {D("XinZenRQ", true), T("XinZenLX", 80, true)}, false);
    category("JianSao", {D("JianSaoRQ", true), T("JianSaoLX", 80, true)}, false);
}

Schema buildStandard() {
    Schema s;
    {
        std::vector<ColumnDef> c = {SN(),
                                    T("DZZ_ID", 2, true),
                                    T("DZZ_Name", 30, true),
                                    T("DZZ_Type", 10),
                                    T("DZZ_ShuJi", 10),
                                    T("DZZ_ShuJiID", 10),
                                    T("DZZ_FuShuJi", 10),
                                    T("DZZ_FuShuJiID", 10),
                                    D("DZZ_HuanJieRQ"),
                                    B("DZZ_HasStud")};
        addFigures(c, "XS");
        addFigures(c, "ZG");
        for (auto col : {T("DZZ_Addr", 100), T("DZZ_TEL", 20), T("DZZ_Fax", 20), T("DZZ_ZipCode", 10)})
            c.push_back(col);
        s.addTable(table("DZZ_List", c, {QStringLiteral("DZZ_ID")}, {{{QStringLiteral("DZZ_ID")}, true}}));
    }
    s.addTable(table("DZZ_Users",
                     {I("UserID", true),
                      T("LoginName", 10, true),
                      {QStringLiteral("LoginPSWD"), ColumnType::Text, 10, false, true},
                      T("DZZ_ID", 2, true),
                      B("GL_XueSheng", true),
                      B("GL_ZhiGong", true),
                      B("GL_BiYeSh"),
                      T("TEL", 16),
                      T("EMail", 30),
                      T("Mobile", 14),
                      B("Usable"),
                      B("UserOnline"),
                      T("Cur_Version", 20),
                      B("GL_JieShaoXin")},
                     {QStringLiteral("UserID")},
                     {{{QStringLiteral("UserID")}, true}, {{QStringLiteral("LoginName")}, true}}));
    s.addTable(table("DZZ_Ver", {SN(), T("DZZ_Version", 20, true), M("memo")}, {QStringLiteral("SN")}));
    for (const char* name : {"DZB_XS", "DZB_ZG"}) {
        std::vector<ColumnDef> c = {SN(),
                                    T("ZB_ID", 8, true),
                                    T("DZZ_ID", 2, true),
                                    I("ZB_Index"),
                                    T("ZB_Name", 30, true),
                                    T("ZB_ShuJi", 10),
                                    T("ZB_ShuJiID", 10),
                                    T("ZB_FuShuJi", 10),
                                    T("ZB_FuShuJiID", 10),
                                    D("ZB_HuanJieRQ")};
        addFigures(c, QByteArray(name) == "DZB_XS" ? "XS" : "ZG");
        s.addTable(table(name, c, {QStringLiteral("ZB_ID")},
                         {{{QStringLiteral("ZB_ID")}, true},
                          {{QStringLiteral("DZZ_ID"), QStringLiteral("ZB_Index")}, false}}));
    }
    addPopulation(s, true);
    addPopulation(s, false);
    s.addTable(
        table("Stud_BiYe",
              {SN(), T("DY_ID", 10, true), T("DZZ_ID", 2, true), T("DZB_ID", 8, true), I("NianDu", true),
               T("XiaoNeiID", 8), T("GZW_ID", 8), T("Memo", 20)},
              {QStringLiteral("SN")},
              {{{QStringLiteral("DY_ID"), QStringLiteral("NianDu")}, true},
               {{QStringLiteral("DZZ_ID"), QStringLiteral("NianDu"), QStringLiteral("DZB_ID")}, false}}));
    s.addTable(table("XSTJ_NianJi",
                     {SN(), T("DZZ_ID", 2, true), T("NianJi", 8, true), T("XueLi", 10), I("XSRS_JiChu"),
                      I("XSRS_YuSen"), F("XSPer_YuSen"), I("XSRS_XianYou"), F("XSPer_XianYou"),
                      I("XSRS_SenQing"), F("XSPer_SenQing"), I("XSRS_JiJi"), F("XSPer_JiJi")},
                     {QStringLiteral("SN")}, {{{QStringLiteral("DZZ_ID")}, false}}));
    s.addTable(table("Sys_SQL",
                     {SN(), T("TempType", 10, true), T("TempName", 50, true), M("SQLText"), M("SQLComment"),
                      I("UserID", true)},
                     {QStringLiteral("SN")},
                     {{{QStringLiteral("UserID"), QStringLiteral("TempType")}, false}}));
    s.addTable(table("DZZ_Report",
                     {SN(),
                      T("DZZ_ID", 20),
                      T("DY_ID", 20),
                      T("VarNo", 20),
                      T("VarName", 10),
                      T("VarDYLX", 10),
                      T("VarFrom1", 50),
                      T("VarFrom2", 50),
                      T("VarTo", 100),
                      I("VarDF"),
                      I("VarYear"),
                      I("VarMonth"),
                      I("VarDay"),
                      I("VarYXQ"),
                      T("VarSex", 2),
                      T("VarSFZ", 18),
                      T("VarMinZhu", 14),
                      I("VarAge"),
                      T("VarLXTEL", 20),
                      T("VarLXMobile", 20),
                      T("VarLXMail", 50),
                      T("VarDZZ_TEL", 20),
                      T("VarDZZ_Fax", 20),
                      T("VarDZZ_Zip", 10),
                      T("VarDZZ_Addr", 50),
                      T("VarDZZ", 100)},
                     {QStringLiteral("SN")}, {{{QStringLiteral("DZZ_ID")}, false}}));
    s.addTable(table("Sys_Tables",
                     {I("TabID", true), T("TabName", 30, true), T("TabTitle", 30), T("TabType", 10)},
                     {QStringLiteral("TabID")}, {{{QStringLiteral("TabID")}, true}}));
    s.addTable(table("Sys_Fields",
                     {SN(), I("TabID", true), S("FldIndex"), T("FldName", 20, true), T("FldTitle", 30),
                      T("FldType", 20), S("FldLength"), T("FldComment", 60)},
                     {QStringLiteral("SN")},
                     {{{QStringLiteral("TabID"), QStringLiteral("FldIndex")}, false}}));
    // Code tables: an identifier and the text the member fields store.
    struct Code {
        const char* table;
        const char* id;
        const char* text;
        int width;
    };
    const Code codes[] = {
        {"Code_Sex", "Sex_ID", "Sex", 2},         {"Code_MinZhu", "MinZhu_ID", "MinZhu", 14},
        {"Code_XueLi", "XueLi_ID", "XueLi", 10},  {"Code_DangYuanLX", "DYLX_ID", "DYLX", 4},
        {"Code_XinZenLX", "XZLX_ID", "XZLX", 80}, {"Code_JianSaoLX", "JSLX_ID", "JSLX", 80},
        {"Code_JiShuJB", "JSJB_ID", "JSJB", 4},   {"Code_DangZhengJB", "DZJB_ID", "DZJB", 4},
        {"Code_ZhiYeZK", "ZYZK_ID", "ZYZK", 20},  {"Code_ZhiYeLX", "ZYLX_ID", "ZYLX", 30},
        {"Code_DWQY", "QY_ID", "DWQuYu", 20},     {"Code_LiuDongLX", "LDLX_ID", "LDLX", 50},
    };
    for (const Code& code : codes)
        s.addTable(table(code.table, {T(code.id, 2, true), T(code.text, code.width, true)},
                         {QString::fromLatin1(code.id)}, {{{QString::fromLatin1(code.id)}, true}}));
    s.addTable(table("Code_NianJi", {T("NianJi_ID", 2, true), T("NianJi", 8, true), B("Usable")},
                     {QStringLiteral("NianJi_ID")}, {{{QStringLiteral("NianJi_ID")}, true}}));
    s.addTable(table("Code_ZuanYe", {SN(), T("ZuanYe", 40, true), T("DZZ_ID", 2, true)},
                     {QStringLiteral("SN")}, {{{QStringLiteral("DZZ_ID")}, false}}));
    s.addTable(table("Code_BanJi", {SN(), T("BanJi", 20, true), T("DZZ_ID", 2, true)}, {QStringLiteral("SN")},
                     {{{QStringLiteral("DZZ_ID")}, false}}));
    // The mobile-member statements name the member tables Stud_Info and Staff_Info.
    s.addSynonym(QStringLiteral("Stud_Info"), QStringLiteral("Stud_DYInfo"));
    s.addSynonym(QStringLiteral("Staff_Info"), QStringLiteral("Staff_DYInfo"));
    return s;
}

} // namespace

const Schema& Schema::standard() {
    static const Schema schema = buildStandard();
    return schema;
}

SqlType sqlTypeOf(ColumnType type) {
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        return SqlType::Text;
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::Serial:
        return SqlType::Integer;
    case ColumnType::Decimal:
        return SqlType::Decimal;
    case ColumnType::Float:
        return SqlType::Float;
    case ColumnType::Boolean:
        return SqlType::Boolean;
    case ColumnType::DateTime:
        return SqlType::DateTime;
    }
    return SqlType::Unknown;
}

QString typeName(SqlType type) {
    switch (type) {
    case SqlType::Unknown:
        return QStringLiteral("未知");
    case SqlType::Null:
        return QStringLiteral("NULL");
    case SqlType::Boolean:
        return QStringLiteral("逻辑");
    case SqlType::Integer:
        return QStringLiteral("整数");
    case SqlType::Float:
        return QStringLiteral("数值");
    case SqlType::Decimal:
        return QStringLiteral("数值");
    case SqlType::Text:
        return QStringLiteral("文本");
    case SqlType::DateTime:
        return QStringLiteral("日期");
    }
    return {};
}

QString SqlError::describe(const QString& statement) const {
    if (position < 0) return message;
    int line = 1, col = 1;
    for (int i = 0; i < position && i < statement.size(); ++i) {
        if (statement[i] == u'\n') {
            ++line;
            col = 1;
        } else {
            ++col;
        }
    }
    return QStringLiteral("第%1行第%2列：%3").arg(line).arg(col).arg(message);
}

} // namespace corvexa::sql
