#include "catalogue.h"

#include "errors.h"
#include "helpers.h"
#include "services.h"

namespace corvexa::client {
namespace {

struct Caption {
    const char* field;
    const char* label;
};

// Labels of the member record's fields in the screens.
const Caption kMemberCaptions[] = {
    {"DY_ID", "党员编号"},
    {"Name", "姓名"},
    {"Sex", "性别"},
    {"MinZhu", "民族"},
    {"JiGuan", "籍贯"},
    {"ChuShengRQ", "出生日期"},
    {"Age", "年龄"},
    {"DangYuanLX", "党员类型"},
    {"RuDangRQ", "入党时间"},
    {"ZYS_No", "入党志愿书编号"},
    {"XueLi", "学历"},
    {"ZuanYe", "专业"},
    {"NianJi", "年级"},
    {"BanJi", "班级"},
    {"BiYeRQ", "毕业时间"},
    {"GongZuoRQ", "工作时间"},
    {"JiShuJB", "技术级别"},
    {"DangZhengJB", "党政级别"},
    {"ZhiYeZK", "职业状况"},
    {"ZhiYeLX", "在职类型"},
    {"SFZ_ID", "身份证"},
    {"LX_TEL", "家庭固定电话"},
    {"LX_Mobile", "手机"},
    {"LX_Mail", "电子邮件"},
    {"QianYueDW", "签约单位"},
    {"DWQuYu", "接收单位地区"},
    {"DW_DZZ", "单位隶属党组织"},
    {"HuiZhi", "已收到组织关系转接回执"},
    {"HuiZhiRQ", "收到回执日期"},
    {"isLiuDong", "是流动党员"},
    {"LiuDongLX", "流动类型"},
    {"LiuChuRQ", "流出日期"},
    {"LD_Memo", "备注"},
    {"XiaoNeiID", "介绍信编号"},
    {"GZW_ID", "省高工委编号"},
};

// The drop-down lists of member fields filled from code tables.
struct CodeTable {
    const char* field;
    const char* set;
    const char* column;
};
const CodeTable kCodeTables[] = {
    {"MinZhu", "CDS_MinZhu", "MinZhu"},       {"XueLi", "CDS_XueLi", "XueLi"},
    {"NianJi", "CDS_NianJi", "NianJi"},       {"ZuanYe", "CDS_ZuanYe", "ZuanYe"},
    {"BanJi", "CDS_BanJi", "BanJi"},          {"JiShuJB", "CDS_JiShuJB", "JSJB"},
    {"DangZhengJB", "CDS_DangZenJB", "DZJB"}, {"ZhiYeZK", "CDS_ZhiYeZK", "ZYZK"},
    {"ZhiYeLX", "CDS_ZhiYeLX", "ZYLX"},       {"LiuDongLX", "CDS_LiuDongLX", "LDLX"},
    {"DWQuYu", "CDS_DWQY", "DWQuYu"},         {"XinZenLX", "CDS_XinZenLX", "XZLX"},
    {"JianSaoLX", "CDS_JianSaoLX", "JSLX"},
};

struct CodeSet {
    const char* set;
    const char* provider;
};
const CodeSet kCodeSets[] = {
    {"CDS_DangYuanLX", "DSP_CodeDYLX"}, {"CDS_DangZenJB", "DSP_CodeDZJB"}, {"CDS_JianSaoLX", "DSP_CodeJSLX"},
    {"CDS_JiShuJB", "DSP_CodeJSJB"},    {"CDS_MinZhu", "DSP_CodeMinZhu"},  {"CDS_NianJi", "DSP_CodeNianJi"},
    {"CDS_XinZenLX", "DSP_CodeXZLX"},   {"CDS_XueLi", "DSP_CodeXueLi"},    {"CDS_ZhiYeLX", "DSP_CodeZYLX"},
    {"CDS_ZhiYeZK", "DSP_CodeZYZK"},    {"CDS_DWQY", "DSP_CodeDWQY"},      {"CDS_LiuDongLX", "DSP_CodeLDLX"},
    {"CDS_ZuanYe", "DSP_CodeZuanYe"},   {"CDS_BanJi", "DSP_CodeBanJi"},
};

QString s(const char* text) {
    return QString::fromUtf8(text);
}

FieldHint captioned(const QString& caption, bool readOnly = false) {
    FieldHint hint;
    hint.caption = caption;
    hint.readOnly = readOnly;
    return hint;
}

} // namespace

Catalogue::Catalogue(RecordSource* source, std::function<QString()> organization, QObject* parent)
    : QObject(parent), m_source(source), m_organization(std::move(organization)) {
    add(s("CDS_DZZUser"), s("DSP_DZZUser"));
    add(s("CDS_DZZ"), s("DSP_DZZ"));
    add(s("CDS_XS_DZB"), s("DSP_XS_DZB"));
    add(s("CDS_ZG_DZB"), s("DSP_ZG_DZB"));
    add(s("CDS_XSTJ_NianJi"), s("DSP_XSTJ_NianJi"));
    for (const CodeSet& c : kCodeSets)
        add(s(c.set), s(c.provider));
    // A speciality or class typed in belongs to the login's organization.
    for (const char* name : {"CDS_ZuanYe", "CDS_BanJi"}) {
        find(s(name))->setAfterInsert(
            [this](RecordSet& set) { set.setValue(u"DZZ_ID", Value::fromText(m_organization())); });
    }
    addMemberSets(QStringLiteral("XS"));
    addMemberSets(QStringLiteral("ZG"));
    RecordSet* graduates = add(s("CDS_BYS_ALL"), s("DSP_BYS_ALL"));
    addAge(graduates);
    graduates->addLookupField(QStringLiteral("ZB_Name"), 30, QStringLiteral("DZB_ID"), find(u"CDS_XS_DZB"),
                              QStringLiteral("ZB_ID"), QStringLiteral("ZB_Name"));
    addAge(add(s("CDS_BYS_DZB"), s("DSP_BYS_DZB")));
    RecordSet* letterNumbers = add(s("CDS_XSJS_BiYe"), s("DSP_XSJS_BiYe"));
    FieldHint wide;
    wide.width = 20;
    letterNumbers->setFieldHint(QStringLiteral("DY_ID"), wide);
    // The letter record feeds the letter templates, which take what fits.
    add(s("CDS_Report"), s("DSP_Report"))->setCutsOverlongText(true);
    add(s("CDS_SQL"), s("DSP_SQL"));
    add(s("CDS_SQLResult"), s("DSP_SQLResult"));
    add(s("CDS_FldList"), s("DSP_FldList"));
    add(s("CDS_Temp"), s("DSP_Temp"));
    add(s("CDS_Temp2"), s("DSP_Temp2"));
    add(s("CDS_KeepConnection"), s("DSP_KeepConnection"));
}

RecordSet* Catalogue::add(const QString& name, const QString& provider) {
    auto* set = new RecordSet(name, provider, m_source, this);
    m_sets.append(set);
    m_byName.insert(name.toCaseFolded(), set);
    return set;
}

// One family of sets per population; the twins differ only in their names.
void Catalogue::addMemberSets(const QString& population) {
    const QString branches = QStringLiteral("CDS_%1_DZB").arg(population);
    for (const char* category : {"XY", "YS", "XZ", "JS"}) {
        const QString family = population + s(category);
        RecordSet* info =
            add(QStringLiteral("CDS_%1_Info").arg(family), QStringLiteral("DSP_%1_Info").arg(family));
        addAge(info);
        RecordSet* all =
            add(QStringLiteral("CDS_%1_ALL").arg(family), QStringLiteral("DSP_%1_ALL").arg(family));
        addAge(all);
        all->addLookupField(QStringLiteral("ZB_Name"), 30, QStringLiteral("DZB_ID"), find(branches),
                            QStringLiteral("ZB_ID"), QStringLiteral("ZB_Name"));
        // The server has always been asked for this one list under this spelling.
        const QString listProvider =
            family == u"XSXZ" ? QStringLiteral("DSP_XSXZ_LIst") : QStringLiteral("DSP_%1_List").arg(family);
        add(QStringLiteral("CDS_%1_List").arg(family), listProvider);
        for (RecordSet* set : {info, all}) {
            for (const Caption& c : kMemberCaptions)
                set->setFieldHint(s(c.field), captioned(s(c.label)));
            set->setFieldHint(QStringLiteral("DY_ID"), captioned(s("党员编号"), true));
        }
        if (family == u"XSYS")
            info->setFieldHint(QStringLiteral("ZYS_No"), captioned(s("入党志愿书编号"), true));
        if (family == u"ZGJS") {
            info->setFieldHint(QStringLiteral("XiaoNeiID"), captioned(s("介绍信编号"), true));
            info->setFieldHint(QStringLiteral("GZW_ID"), captioned(s("省高工委编号"), true));
        }
        if (family.endsWith(u"JS")) {
            // A decreased member's unit is the one the membership went to.
            for (RecordSet* set : {info, all}) {
                set->setFieldHint(QStringLiteral("QianYueDW"), captioned(s("转往单位名称")));
                set->setFieldHint(QStringLiteral("DWQuYu"), captioned(s("转往单位所在地区")));
                set->setFieldHint(QStringLiteral("DW_DZZ"), captioned(s("转往单位隶属上级党组织")));
            }
        }
    }
    RecordSet* mobile =
        add(QStringLiteral("CDS_%1LD_Info").arg(population), QStringLiteral("DSP_%1LD_Info").arg(population));
    addAge(mobile);
    for (const Caption& c : kMemberCaptions)
        mobile->setFieldHint(s(c.field), captioned(s(c.label)));
}

// Computed from the birth date whenever a row is read.
void Catalogue::addAge(RecordSet* set) {
    FieldDef age;
    age.name = QStringLiteral("Age");
    age.type = FieldType::Integer;
    age.caption = s("年龄");
    age.sources = {QStringLiteral("ChuShengRQ")};
    age.compute = [](const RecordSet& set, int row, const QList<int>& sources) {
        if (sources.value(0, -1) < 0) return Value();
        // Without a birth date there is no age to show (the formula would
        // count from its epoch and give over a hundred years).
        const Value born = set.value(row, sources[0]);
        return born.isNull() ? Value() : Value::fromInt(memberAge(born.dateTime().date(), clock().today()));
    };
    set->addComputedField(age);
}

RecordSet* Catalogue::find(QStringView name) const {
    return m_byName.value(name.toString().toCaseFolded(), nullptr);
}

RecordSet& Catalogue::operator[](QStringView name) const {
    RecordSet* set = find(name);
    if (!set) throw DataError(QStringLiteral("没有名为 %1 的数据集").arg(name.toString()));
    return *set;
}

std::optional<Catalogue::CodeList> Catalogue::codeListFor(QStringView memberField, bool candidate) {
    if (memberField.compare(u"Sex", Qt::CaseInsensitive) == 0) return CodeList{{}, {}, {s("男"), s("女")}};
    if (memberField.compare(u"DangYuanLX", Qt::CaseInsensitive) == 0)
        return CodeList{{}, {}, candidate ? QStringList{s("预审")} : QStringList{s("预备"), s("正式")}};
    for (const CodeTable& c : kCodeTables) {
        if (memberField.compare(QLatin1String(c.field), Qt::CaseInsensitive) == 0)
            return CodeList{s(c.set), s(c.column), {}};
    }
    return std::nullopt;
}

QString Catalogue::memberCaption(QStringView field) {
    for (const Caption& c : kMemberCaptions) {
        if (field.compare(QLatin1String(c.field), Qt::CaseInsensitive) == 0) return s(c.label);
    }
    return {};
}

} // namespace corvexa::client
