// What the two member frames show: the lists' columns for each population.
// A column is named by its caption; where its text comes from is the same
// for both populations and kept in one dictionary.
#include "memberframe.h"

#include <QHash>

namespace corvexa::client {
namespace {

ListColumn column(const char* caption) {
    static const QHash<QString, ListColumn> sources = [] {
        const ListColumn all[] = {
            {"党员编号", "DY_ID"},
            {"姓名", "Name"},
            {"性别", "Sex"},
            {"年龄", "Age"},
            {"籍贯", "JiGuan"},
            {"民族", "MinZhu"},
            {"出生日期", "ChuShengRQ"},
            {"专业", "ZuanYe"},
            {"入党时间", "RuDangRQ"},
            {"入党日期", "RuDangRQ"},
            {"入党志愿书编号", "ZYS_No"},
            {"党员类型", "DangYuanLX"},
            {"学历", "XueLi"},
            {"年级", "NianJi"},
            {"班级", "BanJi"},
            {"毕业时间", "BiYeRQ"},
            {"毕业日期", "BiYeRQ"},
            {"工作时间", "GongZuoRQ"},
            {"技术级别", "JiShuJB"},
            {"党政级别", "DangZhengJB"},
            {"职业状况", "ZhiYeZK"},
            {"在职类型", "ZhiYeLX"},
            {"签约单位", "QianYueDW"},
            {"接收单位地区", "DWQuYu"},
            {"流动党员", "isLiuDong", ColumnSource::Mobile},
            {"流动类型", "LiuDongLX", ColumnSource::MobileInfo},
            {"流出日期", "LiuChuRQ", ColumnSource::MobileInfo},
            {"身份证", "SFZ_ID"},
            {"家庭固定电话", "LX_TEL"},
            {"手机", "LX_Mobile"},
            {"电子邮件", "LX_Mail"},
            {"预审时间", "YuSenRQ", ColumnSource::Journal},
            {"新增类型", "XinZenLX", ColumnSource::Journal},
            {"新增日期", "XinZenRQ", ColumnSource::Journal},
            {"新增时间", "XinZenRQ", ColumnSource::Journal},
            {"减少类型", "JianSaoLX", ColumnSource::Journal},
            {"减少日期", "JianSaoRQ", ColumnSource::Journal},
            {"减少时间", "JianSaoRQ", ColumnSource::Journal},
            {"介绍信编号", "XiaoNeiID", ColumnSource::Letters},
            {"高工委编号", "GZW_ID", ColumnSource::Letters},
            {"省高工委编号", "GZW_ID", ColumnSource::Letters},
            {"转往单位名称", "QianYueDW"},
            {"转往单位隶属上级党组织", "DW_DZZ"},
            {"转往单位上级党组织", "DW_DZZ"},
            {"转往单位所在地区", "DWQuYu"},
            {"收到回执", "HuiZhi", ColumnSource::Receipt},
            {"收到回执日期", "HuiZhiRQ", ColumnSource::ReceiptInfo},
        };
        QHash<QString, ListColumn> out;
        for (const ListColumn& c : all)
            out.insert(QString::fromUtf8(c.caption), c);
        return out;
    }();
    const auto it = sources.constFind(QString::fromUtf8(caption));
    Q_ASSERT(it != sources.constEnd());
    return it == sources.constEnd() ? ListColumn{caption, ""} : *it;
}

QStringList fields(std::initializer_list<const char*> names) {
    QStringList out;
    for (const char* n : names)
        out << QString::fromLatin1(n);
    return out;
}

// The member's own fields as the panels show them.
QStringList personal(bool students) {
    QStringList out = fields({"DY_ID", "Name", "Sex", "MinZhu", "JiGuan", "ChuShengRQ", "Age", "DangYuanLX",
                              "RuDangRQ", "ZYS_No", "XueLi"});
    out << (students ? fields({"ZuanYe", "NianJi", "BanJi", "BiYeRQ"})
                     : fields({"GongZuoRQ", "JiShuJB", "DangZhengJB", "ZhiYeZK", "ZhiYeLX"}));
    out << fields({"SFZ_ID", "LX_TEL", "LX_Mobile", "LX_Mail"});
    return out;
}

QSet<QString> fixedFields(const QStringList& list) {
    return QSet<QString>(list.begin(), list.end());
}

// The four pages' detail panels.
void addPanels(std::array<MemberPage, 4>& pages, bool students) {
    const QStringList own = personal(students);
    const QSet<QString> idAgeForm = fixedFields(fields({"DY_ID", "Age", "ZYS_No"}));
    QList<PanelGroup> current{{QStringLiteral("基本信息"), own}};
    if (students)
        current << PanelGroup{QStringLiteral("毕业信息"), fields({"QianYueDW", "DWQuYu", "DW_DZZ"})};
    current << PanelGroup{QStringLiteral("流动党员信息"),
                          fields({"isLiuDong", "LiuDongLX", "LiuChuRQ", "LD_Memo"})};
    pages[Current].panel = current;
    pages[Current].panelFixed = idAgeForm;

    QStringList candidate = own;
    candidate.removeOne(QStringLiteral("RuDangRQ"));
    candidate.insert(candidate.indexOf(QStringLiteral("ZYS_No")), QStringLiteral("List:YuSenRQ"));
    pages[PreReview].panel = {{QStringLiteral("基本信息"), candidate}};
    pages[PreReview].panelFixed = idAgeForm;

    pages[Added].panel = {{QStringLiteral("基本信息"), own + fields({"List:XinZenLX", "List:XinZenRQ"})}};
    pages[Added].panelFixed = fixedFields(own);

    const QString letters = students ? QStringLiteral("Letters:") : QString();
    pages[Decreased].panel = {
        {QStringLiteral("党员基本信息"), own + fields({"List:JianSaoLX", "List:JianSaoRQ"})},
        {QStringLiteral("转出信息"),
         fields({"QianYueDW", "DW_DZZ", "DWQuYu", "HuiZhi", "HuiZhiRQ"}) +
             QStringList{letters + QStringLiteral("XiaoNeiID"), letters + QStringLiteral("GZW_ID")}}};
    QSet<QString> decreasedFixed = fixedFields(own);
    for (const char* contact : {"SFZ_ID", "LX_TEL", "LX_Mobile", "LX_Mail"})
        decreasedFixed.remove(QString::fromLatin1(contact));
    decreasedFixed << letters + QStringLiteral("XiaoNeiID") << letters + QStringLiteral("GZW_ID");
    pages[Decreased].panelFixed = decreasedFixed;
}

std::vector<ListColumn> columns(std::initializer_list<const char*> captions) {
    std::vector<ListColumn> out;
    for (const char* c : captions)
        out.push_back(column(c));
    return out;
}

} // namespace

QString MemberPopulation::otherFamily(int category) const {
    return QLatin1String(otherPrefix) + QLatin1String(pages[size_t(category)].family).mid(2);
}

const MemberPopulation& studentMembers() {
    static const MemberPopulation students = [] {
        MemberPopulation p{
            .tag = 11,
            .treeName = "TreeViewStud",
            .branchSet = "CDS_XS_DZB",
            .titlePrefix = "学生支部【",
            .lettersSet = "CDS_XSJS_BiYe",
            .ageColumn = 3,
            .countPrefix = "XS",
            .baseGroup = "学生党支部基本资料",
            .countGroup = "学生党支部基本人数统计",
            .headCountCaption = "支部学生人数：",
            .addedCaption = "本年度新增党员人数：",
            .decreasedCaption = "本年度减少党员人数：",
            .pages = {{
                {"现有党员",
                 "XSXY",
                 columns({"党员编号", "姓名",     "性别",     "年龄",           "籍贯",         "民族",
                          "出生日期", "专业",     "入党时间", "入党志愿书编号", "党员类型",     "学历",
                          "年级",     "班级",     "毕业时间", "签约单位",       "接收单位地区", "流动党员",
                          "流动类型", "流出日期", "身份证",   "家庭固定电话",   "手机",         "电子邮件"}),
                 {},
                 {}},
                {"预审党员",
                 "XSYS",
                 columns({"党员编号", "姓名", "性别", "年龄", "籍贯", "预审时间", "入党志愿书编号", "民族",
                          "出生日期", "专业", "党员类型", "学历", "年级", "班级", "毕业时间", "身份证",
                          "家庭固定电话", "手机", "电子邮件"}),
                 {},
                 {}},
                {"本年度新增党员",
                 "XSXZ",
                 columns({"党员编号", "姓名", "性别", "年龄", "籍贯", "新增类型", "新增日期", "民族",
                          "出生日期", "专业", "入党时间", "入党志愿书编号", "党员类型", "学历", "年级",
                          "班级", "毕业时间"}),
                 {},
                 {}},
                {"本年度减少党员",
                 "XSJS",
                 columns({"党员编号",
                          "姓名",
                          "性别",
                          "年龄",
                          "籍贯",
                          "减少类型",
                          "减少日期",
                          "民族",
                          "出生日期",
                          "专业",
                          "入党日期",
                          "党员类型",
                          "学历",
                          "年级",
                          "班级",
                          "毕业日期",
                          "身份证",
                          "家庭固定电话",
                          "手机",
                          "电子邮件",
                          "介绍信编号",
                          "高工委编号",
                          "转往单位名称",
                          "转往单位隶属上级党组织",
                          "转往单位所在地区",
                          "收到回执",
                          "收到回执日期"}),
                 {},
                 {}},
            }},
            .tablePrefix = "Stud",
            .otherPrefix = "ZG",
            .otherBranchType = 3,
            .newDefaults = fields({"BiYeRQ", "XueLi", "BanJi", "ZuanYe", "NianJi"}),
            .candidateLimit = 20,
            .presetCandidateType = true,
            .decreaseReorders = true,
            .deleteDecreasedQuestion = "请认真核对信息，确认是否删除？",
            .letterCaption = "介绍信打印",
            .reindexName = "actXY_ReIndex",
            .moveCandidatesLikeDelete = false,
            .receiptNeedsBrowse = false,
            .dialogPage = 0,
            .newMember = {QStringLiteral("新增学生党员"),
                          fields({"DY_ID",         "Name",   "Sex",      "ChuShengRQ", "JiGuan",
                                  "Age",           "MinZhu", "RuDangRQ", "DangYuanLX", "BiYeRQ",
                                  "BanJi",         "NianJi", "XueLi",    "ZuanYe",     "List:XinZenLX",
                                  "List:XinZenRQ", "SFZ_ID", "LX_TEL",   "LX_Mobile",  "LX_Mail"}),
                          fields({"Name", "Sex", "JiGuan", "ChuShengRQ", "RuDangRQ", "MinZhu", "DangYuanLX",
                                  "BiYeRQ", "BanJi", "NianJi", "XueLi", "ZuanYe", "List:XinZenRQ",
                                  "List:XinZenLX"})},
            .newCandidate = {QStringLiteral("新增学生预审党员基本资料"),
                             fields({"DY_ID", "Name", "Sex", "ChuShengRQ", "JiGuan", "Age", "MinZhu",
                                     "List:YuSenRQ", "DangYuanLX", "BiYeRQ", "BanJi", "NianJi", "XueLi",
                                     "ZuanYe", "SFZ_ID", "LX_TEL", "LX_Mail", "LX_Mobile"}),
                             fields({"Name", "Sex", "JiGuan", "ChuShengRQ", "List:YuSenRQ", "MinZhu",
                                     "DangYuanLX", "BiYeRQ", "BanJi", "NianJi", "XueLi", "ZuanYe"})},
            .panelTall = 355,
            .panelShort = 206,
            .panelOpen = 355,
            .panelCollapsible = true,
        };
        addPanels(p.pages, true);
        return p;
    }();
    return students;
}

const MemberPopulation& staffMembers() {
    static const MemberPopulation staff = [] {
        MemberPopulation p{
            .tag = 21,
            .treeName = "TreeViewStaff",
            .branchSet = "CDS_ZG_DZB",
            .titlePrefix = "职工支部【",
            .lettersSet = "",
            .ageColumn = 6,
            .countPrefix = "ZG",
            .baseGroup = "职工党支部基本资料",
            .countGroup = "职工党支部基本人数统计",
            .headCountCaption = "支部职工人数：",
            .addedCaption = "新增党员人数：",
            .decreasedCaption = "减少党员人数：",
            .pages = {{
                {"现有党员",
                 "ZGXY",
                 columns({"党员编号", "姓名",     "性别",         "民族",           "出生日期", "籍贯",
                          "年龄",     "学历",     "工作时间",     "技术级别",       "党政级别", "职业状况",
                          "在职类型", "党员类型", "入党时间",     "入党志愿书编号", "流动党员", "流动类型",
                          "流出日期", "身份证",   "家庭固定电话", "手机",           "电子邮件"}),
                 {},
                 {}},
                {"预审党员",
                 "ZGYS",
                 columns({"党员编号", "姓名",     "性别",           "民族",     "出生日期",
                          "籍贯",     "年龄",     "入党志愿书编号", "学历",     "工作时间",
                          "技术级别", "党政级别", "职业状况",       "在职类型", "党员类型",
                          "预审时间", "身份证",   "家庭固定电话",   "手机",     "电子邮件"}),
                 {},
                 {}},
                {"本年度新增党员",
                 "ZGXZ",
                 columns({"党员编号", "姓名", "性别", "民族", "出生日期", "籍贯", "年龄", "学历", "工作时间",
                          "技术级别", "党政级别", "职业状况", "在职类型", "党员类型", "入党时间",
                          "入党志愿书编号", "新增类型", "新增时间"}),
                 {},
                 {}},
                {"本年度减少党员",
                 "ZGJS",
                 columns({"党员编号",
                          "姓名",
                          "性别",
                          "民族",
                          "出生日期",
                          "籍贯",
                          "年龄",
                          "学历",
                          "工作时间",
                          "技术级别",
                          "党政级别",
                          "职业状况",
                          "在职类型",
                          "党员类型",
                          "入党时间",
                          "减少类型",
                          "减少时间",
                          "身份证",
                          "家庭固定电话",
                          "手机",
                          "电子邮件",
                          "介绍信编号",
                          "省高工委编号",
                          "转往单位名称",
                          "转往单位上级党组织",
                          "转往单位所在地区",
                          "收到回执",
                          "收到回执日期"}),
                 {},
                 {}},
            }},
            .tablePrefix = "Staff",
            .otherPrefix = "XS",
            .otherBranchType = 2,
            .newDefaults = {},
            .candidateLimit = 0,
            .presetCandidateType = false,
            .decreaseReorders = false,
            .deleteDecreasedQuestion = "请认真核对相关信息，确认是否删除？",
            .letterCaption = "介绍信",
            .reindexName = "actXY_Reindex",
            .moveCandidatesLikeDelete = true,
            .receiptNeedsBrowse = true,
            .dialogPage = 1,
            .newMember = {QStringLiteral("新增职工党员"),
                          fields({"DY_ID",         "Name",          "Sex",         "ChuShengRQ", "JiGuan",
                                  "Age",           "RuDangRQ",      "MinZhu",      "DangYuanLX", "XueLi",
                                  "GongZuoRQ",     "JiShuJB",       "DangZhengJB", "ZhiYeZK",    "ZhiYeLX",
                                  "List:XinZenRQ", "List:XinZenLX", "SFZ_ID",      "LX_TEL",     "LX_Mail",
                                  "LX_Mobile"}),
                          fields({"Name", "Sex", "JiGuan", "ChuShengRQ", "RuDangRQ", "MinZhu", "DangYuanLX",
                                  "XueLi", "GongZuoRQ", "JiShuJB", "DangZhengJB", "ZhiYeZK", "ZhiYeLX",
                                  "List:XinZenRQ", "List:XinZenLX"})},
            .newCandidate = {QStringLiteral("新增职工预审党员基本资料"),
                             fields({"DY_ID", "Name", "Sex", "ChuShengRQ", "JiGuan", "Age", "MinZhu", "XueLi",
                                     "GongZuoRQ", "JiShuJB", "DangZhengJB", "ZhiYeZK", "ZhiYeLX",
                                     "List:YuSenRQ", "DangYuanLX", "SFZ_ID", "LX_Mobile", "LX_TEL",
                                     "LX_Mail"}),
                             fields({"Name", "Sex", "JiGuan", "ChuShengRQ", "List:YuSenRQ", "MinZhu",
                                     "DangYuanLX", "XueLi", "GongZuoRQ", "JiShuJB", "DangZhengJB", "ZhiYeZK",
                                     "ZhiYeLX"})},
            .panelTall = 293,
            .panelShort = 213,
            .panelOpen = 215,
            .panelCollapsible = false,
        };
        addPanels(p.pages, false);
        return p;
    }();
    return staff;
}

} // namespace corvexa::client
