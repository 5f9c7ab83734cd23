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

std::vector<ListColumn> columns(std::initializer_list<const char*> captions) {
    std::vector<ListColumn> out;
    for (const char* c : captions)
        out.push_back(column(c));
    return out;
}

} // namespace

const MemberPopulation& studentMembers() {
    static const MemberPopulation students{
        11,
        "TreeViewStud",
        "CDS_XS_DZB",
        "学生支部【",
        "CDS_XSJS_BiYe",
        3,
        "XS",
        "学生党支部基本资料",
        "学生党支部基本人数统计",
        "支部学生人数：",
        "本年度新增党员人数：",
        "本年度减少党员人数：",
        {{QStringLiteral("基本信息"),
          {"DY_ID", "Name", "Sex", "MinZhu", "JiGuan", "ChuShengRQ", "Age", "DangYuanLX", "RuDangRQ",
           "ZYS_No", "XueLi", "ZuanYe", "NianJi", "BanJi", "BiYeRQ", "SFZ_ID", "LX_TEL", "LX_Mobile",
           "LX_Mail"}},
         {QStringLiteral("毕业信息"), {"QianYueDW", "DWQuYu", "DW_DZZ"}},
         {QStringLiteral("流动党员信息"), {"isLiuDong", "LiuDongLX", "LiuChuRQ", "LD_Memo"}}},
        {{
            {"现有党员", "XSXY",
             columns({"党员编号", "姓名",     "性别",     "年龄",           "籍贯",         "民族",
                      "出生日期", "专业",     "入党时间", "入党志愿书编号", "党员类型",     "学历",
                      "年级",     "班级",     "毕业时间", "签约单位",       "接收单位地区", "流动党员",
                      "流动类型", "流出日期", "身份证",   "家庭固定电话",   "手机",         "电子邮件"})},
            {"预审党员", "XSYS",
             columns({"党员编号", "姓名", "性别", "年龄", "籍贯", "预审时间", "入党志愿书编号", "民族",
                      "出生日期", "专业", "党员类型", "学历", "年级", "班级", "毕业时间", "身份证",
                      "家庭固定电话", "手机", "电子邮件"})},
            {"本年度新增党员", "XSXZ",
             columns({"党员编号", "姓名", "性别", "年龄", "籍贯", "新增类型", "新增日期", "民族", "出生日期",
                      "专业", "入党时间", "入党志愿书编号", "党员类型", "学历", "年级", "班级", "毕业时间"})},
            {"本年度减少党员", "XSJS",
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
                      "收到回执日期"})},
        }}};
    return students;
}

const MemberPopulation& staffMembers() {
    static const MemberPopulation staff{
        21,
        "TreeViewStaff",
        "CDS_ZG_DZB",
        "职工支部【",
        "",
        6,
        "ZG",
        "职工党支部基本资料",
        "职工党支部基本人数统计",
        "支部职工人数：",
        "新增党员人数：",
        "减少党员人数：",
        {{QStringLiteral("基本信息"),
          {"DY_ID",      "Name",     "Sex",    "MinZhu", "JiGuan",    "ChuShengRQ", "Age",
           "DangYuanLX", "RuDangRQ", "ZYS_No", "XueLi",  "GongZuoRQ", "JiShuJB",    "DangZhengJB",
           "ZhiYeZK",    "ZhiYeLX",  "SFZ_ID", "LX_TEL", "LX_Mobile", "LX_Mail"}},
         {QStringLiteral("流动党员信息"), {"isLiuDong", "LiuDongLX", "LiuChuRQ", "LD_Memo"}}},
        {{
            {"现有党员", "ZGXY",
             columns({"党员编号", "姓名",     "性别",         "民族",           "出生日期", "籍贯",
                      "年龄",     "学历",     "工作时间",     "技术级别",       "党政级别", "职业状况",
                      "在职类型", "党员类型", "入党时间",     "入党志愿书编号", "流动党员", "流动类型",
                      "流出日期", "身份证",   "家庭固定电话", "手机",           "电子邮件"})},
            {"预审党员", "ZGYS", columns({"党员编号", "姓名",     "性别",           "民族",     "出生日期",
                                          "籍贯",     "年龄",     "入党志愿书编号", "学历",     "工作时间",
                                          "技术级别", "党政级别", "职业状况",       "在职类型", "党员类型",
                                          "预审时间", "身份证",   "家庭固定电话",   "手机",     "电子邮件"})},
            {"本年度新增党员", "ZGXZ",
             columns({"党员编号", "姓名", "性别", "民族", "出生日期", "籍贯", "年龄", "学历", "工作时间",
                      "技术级别", "党政级别", "职业状况", "在职类型", "党员类型", "入党时间",
                      "入党志愿书编号", "新增类型", "新增时间"})},
            {"本年度减少党员", "ZGJS",
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
                      "收到回执日期"})},
        }}};
    return staff;
}

} // namespace corvexa::client
