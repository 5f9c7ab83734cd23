#include "demodata.h"

#include "common/dates.h"
#include "db/database.h"
#include "sql/schema.h"
#include "sql/translator.h"

#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

namespace corvexa::demo {
namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// The generator's own arithmetic on the engine's raw output, so that the rows
// do not depend on how a standard library implements its distributions.
class Rng {
public:
    int below(int n) { return n <= 1 ? 0 : int(uint32_t(m_engine()) % uint32_t(n)); }
    int between(int lo, int hi) { return hi <= lo ? lo : lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    // Leans towards the front of a list ordered from common to rare.
    int common(int n) { return std::min(below(n), below(n)); }
    QDate dateBetween(QDate from, QDate to) {
        return to <= from ? from : from.addDays(below(int(from.daysTo(to)) + 1));
    }
    QString digits(int count) {
        QString out;
        for (int i = 0; i < count; ++i)
            out += QChar(u'0' + below(10));
        return out;
    }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    std::mt19937 m_engine{20080622u};
};

// ---------------------------------------------------------------------------
// Word lists.

struct Word {
    const char* text;
    const char* pinyin;
};

const Word kSurnames[] = {
    {"王", "wang"},  {"李", "li"},       {"张", "zhang"},       {"刘", "liu"},    {"陈", "chen"},
    {"杨", "yang"},  {"黄", "huang"},    {"赵", "zhao"},        {"吴", "wu"},     {"周", "zhou"},
    {"徐", "xu"},    {"孙", "sun"},      {"马", "ma"},          {"朱", "zhu"},    {"胡", "hu"},
    {"郭", "guo"},   {"何", "he"},       {"高", "gao"},         {"林", "lin"},    {"罗", "luo"},
    {"郑", "zheng"}, {"梁", "liang"},    {"谢", "xie"},         {"宋", "song"},   {"唐", "tang"},
    {"许", "xu"},    {"韩", "han"},      {"冯", "feng"},        {"邓", "deng"},   {"曹", "cao"},
    {"彭", "peng"},  {"曾", "zeng"},     {"肖", "xiao"},        {"田", "tian"},   {"董", "dong"},
    {"袁", "yuan"},  {"潘", "pan"},      {"于", "yu"},          {"蒋", "jiang"},  {"蔡", "cai"},
    {"余", "yu"},    {"杜", "du"},       {"叶", "ye"},          {"程", "cheng"},  {"苏", "su"},
    {"魏", "wei"},   {"吕", "lv"},       {"丁", "ding"},        {"任", "ren"},    {"沈", "shen"},
    {"姚", "yao"},   {"卢", "lu"},       {"姜", "jiang"},       {"崔", "cui"},    {"钟", "zhong"},
    {"谭", "tan"},   {"陆", "lu"},       {"汪", "wang"},        {"范", "fan"},    {"金", "jin"},
    {"石", "shi"},   {"廖", "liao"},     {"贾", "jia"},         {"夏", "xia"},    {"韦", "wei"},
    {"方", "fang"},  {"欧阳", "ouyang"}, {"上官", "shangguan"}, {"司马", "sima"},
};

const Word kMaleGiven[] = {
    {"伟", "wei"}, {"强", "qiang"}, {"磊", "lei"},  {"军", "jun"},  {"勇", "yong"}, {"杰", "jie"},
    {"涛", "tao"}, {"斌", "bin"},   {"超", "chao"}, {"明", "ming"}, {"刚", "gang"}, {"平", "ping"},
    {"辉", "hui"}, {"鹏", "peng"},  {"华", "hua"},  {"飞", "fei"},  {"鑫", "xin"},  {"波", "bo"},
    {"宇", "yu"},  {"浩", "hao"},   {"凯", "kai"},  {"健", "jian"}, {"俊", "jun"},  {"帆", "fan"},
    {"旭", "xu"},  {"宁", "ning"},  {"龙", "long"}, {"阳", "yang"}, {"博", "bo"},   {"文", "wen"},
    {"志", "zhi"}, {"峰", "feng"},  {"晨", "chen"}, {"轩", "xuan"}, {"睿", "rui"},  {"泽", "ze"},
    {"子", "zi"},  {"天", "tian"},  {"一", "yi"},   {"嘉", "jia"},  {"国", "guo"},  {"建", "jian"},
    {"海", "hai"}, {"东", "dong"},  {"新", "xin"},  {"振", "zhen"}, {"毅", "yi"},   {"思", "si"},
};

const Word kFemaleGiven[] = {
    {"芳", "fang"}, {"娜", "na"},  {"敏", "min"},  {"静", "jing"}, {"丽", "li"},   {"艳", "yan"},
    {"娟", "juan"}, {"霞", "xia"}, {"燕", "yan"},  {"玲", "ling"}, {"婷", "ting"}, {"雪", "xue"},
    {"琳", "lin"},  {"洁", "jie"}, {"颖", "ying"}, {"倩", "qian"}, {"萍", "ping"}, {"红", "hong"},
    {"梅", "mei"},  {"慧", "hui"}, {"佳", "jia"},  {"欣", "xin"},  {"怡", "yi"},   {"璐", "lu"},
    {"瑶", "yao"},  {"雯", "wen"}, {"悦", "yue"},  {"晶", "jing"}, {"蕾", "lei"},  {"莉", "li"},
    {"琪", "qi"},   {"涵", "han"}, {"诗", "shi"},  {"梦", "meng"}, {"晓", "xiao"}, {"月", "yue"},
    {"彤", "tong"}, {"妍", "yan"}, {"云", "yun"},  {"春", "chun"}, {"秀", "xiu"},  {"兰", "lan"},
    {"文", "wen"},  {"思", "si"},  {"雨", "yu"},   {"心", "xin"},
};

// Native place, the area code of its identity cards and its telephone prefix.
struct Place {
    const char* name;
    const char* region;
    const char* area;
};

const Place kPlaces[] = {
    {"江苏南京", "320104", "025"},
    {"江苏苏州", "320505", "0512"},
    {"江苏无锡", "320211", "0510"},
    {"江苏常州", "320402", "0519"},
    {"江苏南通", "320602", "0513"},
    {"江苏扬州", "321002", "0514"},
    {"江苏徐州", "320302", "0516"},
    {"江苏盐城", "320902", "0515"},
    {"山东济南", "370102", "0531"},
    {"山东青岛", "370202", "0532"},
    {"浙江杭州", "330106", "0571"},
    {"浙江宁波", "330203", "0574"},
    {"安徽合肥", "340104", "0551"},
    {"安徽芜湖", "340202", "0553"},
    {"河南郑州", "410105", "0371"},
    {"河南洛阳", "410302", "0379"},
    {"湖北武汉", "420106", "027"},
    {"湖南长沙", "430104", "0731"},
    {"四川成都", "510107", "028"},
    {"河北石家庄", "130102", "0311"},
    {"江西南昌", "360102", "0791"},
    {"福建福州", "350102", "0591"},
    {"广东广州", "440106", "020"},
    {"陕西西安", "610113", "029"},
    {"山西太原", "140105", "0351"},
    {"辽宁沈阳", "210102", "024"},
    {"吉林长春", "220102", "0431"},
    {"黑龙江哈尔滨", "230103", "0451"},
    {"内蒙古呼和浩特", "150102", "0471"},
    {"新疆乌鲁木齐", "650102", "0991"},
    {"云南昆明", "530102", "0871"},
    {"贵州贵阳", "520102", "0851"},
    {"广西南宁", "450102", "0771"},
    {"甘肃兰州", "620102", "0931"},
    {"宁夏银川", "640104", "0951"},
    {"重庆", "500103", "023"},
    {"上海", "310104", "021"},
    {"北京", "110105", "010"},
    {"天津", "120101", "022"},
};

// The 56 nationalities in the order of the national standard.
const char* const kNationalities[] = {
    "汉族",     "蒙古族",   "回族",       "藏族",     "维吾尔族",   "苗族",   "彝族",     "壮族",
    "布依族",   "朝鲜族",   "满族",       "侗族",     "瑶族",       "白族",   "土家族",   "哈尼族",
    "哈萨克族", "傣族",     "黎族",       "傈僳族",   "佤族",       "畲族",   "高山族",   "拉祜族",
    "水族",     "东乡族",   "纳西族",     "景颇族",   "柯尔克孜族", "土族",   "达斡尔族", "仫佬族",
    "羌族",     "布朗族",   "撒拉族",     "毛南族",   "仡佬族",     "锡伯族", "阿昌族",   "普米族",
    "塔吉克族", "怒族",     "乌孜别克族", "俄罗斯族", "鄂温克族",   "德昂族", "保安族",   "裕固族",
    "京族",     "塔塔尔族", "独龙族",     "鄂伦春族", "赫哲族",     "门巴族", "珞巴族",   "基诺族",
};
// Positions of the larger minorities in the list above.
const int kCommonMinorities[] = {2, 1, 10, 7, 14, 5, 9, 4, 3, 6, 11, 12};

const char* const kXueLi[] = {"博士研究生", "硕士研究生", "大学本科",  "大学专科",
                              "中专",       "高中",       "初中及以下"};
const char* const kDangYuanLX[] = {"正式", "预备", "预审"};
// The first kind is the one written when a candidate becomes a probationary
// member; the new-member dialog offers only the others.
const char* const kXinZenLX[] = {"发展新党员", "外单位转入", "校内转入", "新生入学转入", "恢复党籍", "其他"};
const char* const kJianSaoLX[] = {"毕业转出", "工作调动转出", "校内转出", "出党", "死亡", "停止党籍", "其他"};
const char* const kJiShuJB[] = {"正高", "副高", "中级", "初级", "无"};
const char* const kDangZhengJB[] = {"正处", "副处", "正科", "副科", "科员", "无"};
const char* const kZhiYeZK[] = {"在岗", "病休", "借调", "待岗", "离岗创业", "退休"};
const char* const kZhiYeLX[] = {"专任教师", "教学辅助人员", "行政管理人员",
                                "科研人员", "辅导员",       "工勤技能人员"};
const char* const kLiuDongLX[] = {"外出务工经商", "外出学习进修", "出国（境）学习",
                                  "外出实习",     "挂职锻炼",     "其他"};

// Regions of receiving units: three with a meaning of their own, then the
// cities of the province.
const char* const kOutside = "省外";
const char* const kStaying = "暂留学校";
const char* const kInside = "校内";
const char* const kCities[] = {"南京市", "苏州市", "无锡市",   "常州市", "镇江市", "南通市", "扬州市",
                               "泰州市", "徐州市", "连云港市", "淮安市", "盐城市", "宿迁市"};

const char* const kCityUnits[] = {
    "供电公司",    "第一中学", "人民医院", "税务局", "农村商业银行", "规划设计研究院", "轨道交通集团有限公司",
    "高新区管委会"};
const char* const kOutsideUnits[] = {
    "上海浦江软件有限公司",     "北京京华信息技术有限公司", "杭州西湖数据服务有限公司",
    "深圳南山电子科技有限公司", "广州羊城建设集团有限公司", "合肥滨湖中学",
    "武汉光谷通信技术有限公司", "成都锦江区人民政府",       "西安长安工程设计研究院",
};

const char* const kMobilePrefixes[] = {"133", "135", "136", "137", "138", "139", "150", "151", "152",
                                       "158", "159", "180", "181", "182", "186", "187", "188", "189"};

// ---------------------------------------------------------------------------
// The organizations.

struct MajorDef {
    const char* name;
    const char* abbr; // two characters, the start of the class names
};

struct StudBranchDef {
    const char* name;
    bool postgraduate;
    std::vector<int> majors;
};

struct OrgDef {
    const char* id;
    const char* name;
    const char* type;
    const char* unit; // the college
    const char* addr;
    const char* tel;
    const char* fax;
    int students;      // current student members at the small scale; the weight at larger ones
    int femalePercent; // among students
    std::vector<MajorDef> majors;
    std::vector<StudBranchDef> studBranches;
    std::vector<const char*> staffBranches;
};

const std::vector<OrgDef>& orgDefs() {
    static const std::vector<OrgDef> defs = {
        {"01",
         "计算机学院党委",
         "党委",
         "计算机学院",
         "学府路8号计算机楼305室",
         "025-84315001",
         "025-84315002",
         60,
         30,
         {{"计算机科学与技术", "计科"},
          {"软件工程", "软工"},
          {"网络工程", "网工"},
          {"人工智能", "智能"},
          {"数据科学与大数据技术", "数据"}},
         {{"计算机本科生第一党支部", false, {0, 2}},
          {"计算机本科生第二党支部", false, {0, 3, 4}},
          {"软件工程本科生党支部", false, {1}},
          {"研究生第一党支部", true, {0, 3}},
          {"研究生第二党支部", true, {1}}},
         {"计算机系教工党支部", "软件工程系教工党支部", "实验中心党支部", "机关党支部"}},
        {"02",
         "经济管理学院党委",
         "党委",
         "经济管理学院",
         "学府路8号经管楼210室",
         "025-84316001",
         "025-84316002",
         50,
         55,
         {{"经济学", "经济"},
          {"国际经济与贸易", "国贸"},
          {"工商管理", "工商"},
          {"会计学", "会计"},
          {"市场营销", "营销"}},
         {{"经济学本科生党支部", false, {0, 1}},
          {"工商管理本科生党支部", false, {2, 4}},
          {"会计学本科生党支部", false, {3}},
          {"研究生党支部", true, {0, 2, 3}}},
         {"经济系教工党支部", "管理系教工党支部", "机关党支部"}},
        {"03",
         "外国语学院党总支",
         "党总支",
         "外国语学院",
         "学府路8号外语楼102室",
         "025-84317001",
         "025-84317002",
         30,
         75,
         {{"英语", "英语"}, {"日语", "日语"}, {"翻译", "翻译"}, {"商务英语", "商英"}},
         {{"英语本科生党支部", false, {0, 2, 3}},
          {"日语本科生党支部", false, {1}},
          {"研究生党支部", true, {0, 1}}},
         {"英语系教工党支部", "日语系教工党支部"}},
        {"04",
         "机械工程学院党委",
         "党委",
         "机械工程学院",
         "学府路8号机械楼401室",
         "025-84318001",
         "025-84318002",
         45,
         20,
         {{"机械设计制造及其自动化", "机械"},
          {"车辆工程", "车辆"},
          {"工业设计", "工设"},
          {"测控技术与仪器", "测控"}},
         {{"机械本科生第一党支部", false, {0}},
          {"机械本科生第二党支部", false, {2, 3}},
          {"车辆工程本科生党支部", false, {1}},
          {"研究生党支部", true, {0, 1}}},
         {"机械系教工党支部", "车辆系教工党支部", "机关党支部"}},
        {"05",
         "马克思主义学院党总支",
         "党总支",
         "马克思主义学院",
         "学府路8号人文楼518室",
         "025-84319001",
         "025-84319002",
         20,
         60,
         {{"思想政治教育", "思政"}, {"马克思主义基本原理", "马原"}, {"中国近现代史基本问题研究", "近史"}},
         {{"本科生党支部", false, {0}}, {"硕士研究生党支部", true, {0, 1, 2}}},
         {"思政教研党支部", "机关党支部"}},
    };
    return defs;
}

// ---------------------------------------------------------------------------
// The records as they are built before anything is written.

struct Figures {
    int jiChu = 0, xinZen = 0, jianSao = 0, yuSen = 0, xianYou = 0, senQing = 0, jiJi = 0;
};

struct Branch {
    QString id;
    QString name;
    int index = 0;
    bool postgraduate = false;
    std::vector<int> majors;
    QString shuJi, shuJiId, fuShuJi, fuShuJiId;
    QDate huanJie;
    Figures figures;
};

struct Org {
    const OrgDef* def = nullptr;
    QString id;
    std::vector<Branch> stud, staff;
    QString shuJi, shuJiId, fuShuJi, fuShuJiId;
    QDate huanJie;
    Figures xs, zg;
    int studNo = 0, staffNo = 0, zysNo = 0;
};

struct Member {
    QString id, name, sex, minZhu, jiGuan;
    QDate birth;
    QString type;
    QDate ruDang;
    QString zys, xueLi;
    QString zuanYe, nianJi, banJi;
    QDate biYe;
    QDate gongZuo;
    QString jiShu, dangZheng, zhiYeZK, zhiYeLX;
    QString sfz, tel, mobile, mail, qianYueDW, dwQuYu, dwDzz;
    bool huiZhi = false;
    QDate huiZhiRQ;
    bool liuDong = false;
    QString liuDongLX;
    QDate liuChu;
    QString ldMemo;
    QString xiaoNei, gzw; // staff only
};

struct CategoryRow {
    size_t member = 0; // index into the population's members
    QString dzz, dzb;
    QDate date;
    QString kind;
    int index = 0; // roster position of a current member
};

struct Population {
    std::vector<Member> members;
    std::vector<CategoryRow> current, candidates, added, left;
};

struct Graduate {
    size_t member = 0;
    QString dzz, dzb;
    int year = 0;
    QString xiaoNei, gzw, memo;
};

struct Destination {
    QString unit, region, dzz, memo;
};

struct Plan {
    int studCurrent = 0, studCandidates = 0, gradThisYear = 0, gradLastYear = 0, studLeft = 0;
    int staffCurrent = 0, staffCandidates = 0, staffLeft = 0;
};

Plan planFor(int students) {
    Plan p;
    p.studCurrent = students;
    p.studCandidates = std::max(1, students / 5);
    p.gradThisYear = std::max(3, students / 5);
    p.gradLastYear = std::max(2, students * 2 / 15);
    p.studLeft = std::max(1, students / 40);
    p.staffCurrent = std::max(4, students * 3 / 5);
    p.staffCandidates = std::max(1, p.staffCurrent / 9);
    p.staffLeft = std::max(2, p.staffCurrent / 7);
    return p;
}

enum class Status { Current, Candidate, Left };

// ---------------------------------------------------------------------------

class Builder {
public:
    explicit Builder(const DemoOptions& options)
        : m_today(options.today.isValid() ? options.today : QDate::currentDate()), m_year(m_today.year()),
          m_newestGrade(m_today.month() >= 9 ? m_year : m_year - 1), m_scale(options.scale) {}

    void build();
    bool write(db::Database& db, QString* error);

private:
    // people
    QString personName(bool male, QString* pinyin);
    QString nationality();
    QString idCard(const Place& place, QDate birth, bool male);
    QString mobile() { return u8(m_rng.pick(kMobilePrefixes)) + m_rng.digits(8); }
    // A fixed-line number: local numbers start with 2 to 8.
    QString landline(const char* area) {
        return QLatin1String(area) + u'-' + QChar(u'0' + m_rng.between(2, 8)) + m_rng.digits(7);
    }
    // The party committee above a unit; offices of government have one for their staff.
    static QString committeeOf(const QString& unit) {
        const bool office =
            unit.endsWith(u8("局")) || unit.endsWith(u8("政府")) || unit.endsWith(u8("管委会"));
        return u8("中共") + unit + (office ? u8("机关委员会") : u8("委员会"));
    }
    QString zysNo(Org& org, int year) {
        return QStringLiteral("%1%2%3").arg(year).arg(org.id).arg(++org.zysNo, 4, 10, QChar(u'0'));
    }
    QDate past(QDate d) const { return std::min(d, m_today); }
    QDate thisYearUntilToday() { return m_rng.dateBetween(QDate(m_year, 1, 1), m_today); }
    Destination destination(const Org& org, int slot);
    void addJournal(Population& pop, size_t member, const Org& org, const QString& branch, QDate date,
                    const char* kind);

    // students
    std::vector<int> grades(bool postgraduate) const;
    size_t student(Org& org, const Branch& branch, int grade, Status status, QDate until, bool newThisYear);
    void studentsOf(Org& org, const Plan& plan);
    void graduates(Org& org, int count, int year);

    // staff
    size_t staffMember(Org& org, const Branch& branch, Status status, QDate until, bool newThisYear);
    void staffOf(Org& org, const Plan& plan);

    // after the members
    void rosters(Population& pop);
    void secretaries(Org& org);
    void figures();

    const QDate m_today;
    const int m_year;
    const int m_newestGrade;
    const int m_scale;
    Rng m_rng;
    std::vector<Org> m_orgs;
    Population m_stud, m_staff;
    std::vector<Graduate> m_graduates;
    std::map<int, int> m_gzwNo; // provincial letter numbers per year
};

QString Builder::personName(bool male, QString* pinyin) {
    const Word& surname = kSurnames[m_rng.common(int(std::size(kSurnames)))];
    QString name = u8(surname.text);
    QString spelled = QString::fromLatin1(surname.pinyin);
    const int parts = m_rng.chance(70) ? 2 : 1;
    for (int i = 0; i < parts; ++i) {
        const Word& w = male ? m_rng.pick(kMaleGiven) : m_rng.pick(kFemaleGiven);
        if (i == 1 && name.endsWith(u8(w.text))) continue;
        name += u8(w.text);
        spelled += QString::fromLatin1(w.pinyin);
    }
    if (pinyin) *pinyin = spelled;
    return name;
}

QString Builder::nationality() {
    if (m_rng.chance(90)) return u8(kNationalities[0]);
    if (m_rng.chance(80)) return u8(kNationalities[m_rng.pick(kCommonMinorities)]);
    return u8(kNationalities[1 + m_rng.below(int(std::size(kNationalities)) - 1)]);
}

// Region, birth date, sequence with the sex in its last digit, and the check
// character of the ISO 7064 MOD 11-2 rule.
QString Builder::idCard(const Place& place, QDate birth, bool male) {
    int last = m_rng.below(5) * 2 + (male ? 1 : 0);
    QString body = QString::fromLatin1(place.region) + birth.toString(QStringLiteral("yyyyMMdd")) +
                   m_rng.digits(2) + QChar(u'0' + last);
    static const int weights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += (body[i].unicode() - u'0') * weights[i];
    return body + QChar(QLatin1Char("10X98765432"[sum % 11]));
}

// Where a member's relation goes: every tenth slot spreads over the regions
// that decide the letters, so that each organization has all of them.
Destination Builder::destination(const Org& org, int slot) {
    Destination d;
    switch (slot % 10) {
    case 0:
    case 3:
    case 6: {
        d.region = u8(kOutside);
        d.unit = u8(m_rng.pick(kOutsideUnits));
        d.dzz = committeeOf(d.unit);
        static const char* const memos[] = {"已签约", "考取外校研究生", ""};
        d.memo = u8(m_rng.pick(memos));
        break;
    }
    case 1: {
        d.region = u8(kStaying);
        static const char* const memos[] = {"暂缓就业", "待就业", "出国手续办理中"};
        d.memo = u8(m_rng.pick(memos));
        break;
    }
    case 2: {
        const Org& other = m_orgs[(size_t(org.def - orgDefs().data()) + 1 + size_t(m_rng.below(4))) % 5];
        d.region = u8(kInside);
        d.unit = u8("本校") + u8(other.def->unit);
        d.dzz = u8(other.def->name);
        d.memo = u8("本校读研");
        break;
    }
    default: {
        const QString city = u8(m_rng.pick(kCities));
        d.region = city;
        d.unit = city + u8(m_rng.pick(kCityUnits));
        d.dzz = committeeOf(d.unit);
        d.memo = m_rng.chance(50) ? u8("已签约") : QString();
        break;
    }
    }
    return d;
}

void Builder::addJournal(Population& pop, size_t member, const Org& org, const QString& branch, QDate date,
                         const char* kind) {
    // The journal goes back to the year the records were first kept in.
    if (date < QDate(m_year - 5, 1, 1)) return;
    pop.added.push_back({member, org.id, branch, past(date), u8(kind), 0});
}

// ---------------------------------------------------------------------------
// Students.

std::vector<int> Builder::grades(bool postgraduate) const {
    std::vector<int> out;
    for (int g = m_year - (postgraduate ? 2 : 3); g <= m_newestGrade; ++g)
        out.push_back(g);
    return out;
}

// One student in a branch; `until` is the day he left (Left) or today.
size_t Builder::student(Org& org, const Branch& branch, int grade, Status status, QDate until,
                        bool newThisYear) {
    const OrgDef& def = *org.def;
    Member m;
    m.id = QStringLiteral("X%1-%2").arg(org.id).arg(++org.studNo, 6, 10, QChar(u'0'));
    const bool male = !m_rng.chance(def.femalePercent);
    QString pinyin;
    m.name = personName(male, &pinyin);
    m.sex = male ? u8("男") : u8("女");
    m.minZhu = nationality();
    const Place& place = kPlaces[m_rng.common(int(std::size(kPlaces)))];
    m.jiGuan = u8(place.name);
    const bool pg = branch.postgraduate;
    const int entryAge = pg ? 22 : 18;
    m.birth = QDate(grade - entryAge - m_rng.below(2), 1 + m_rng.below(12), 1 + m_rng.below(28));
    const QDate entry(grade, 9, 1);
    const MajorDef& major = def.majors[size_t(branch.majors[size_t(m_rng.below(int(branch.majors.size())))])];
    m.zuanYe = u8(major.name);
    m.nianJi = QStringLiteral("%1级").arg(grade);
    const QString abbr = u8(major.abbr);
    const QString yy = QStringLiteral("%1").arg(grade % 100, 2, 10, QChar(u'0'));
    m.banJi = pg ? abbr.left(1) + u8("研") + yy + u8("01班")
                 : abbr + yy + QStringLiteral("%1").arg(1 + m_rng.below(2), 2, 10, QChar(u'0')) + u8("班");
    m.xueLi = pg ? u8("硕士研究生") : u8("大学本科");
    m.biYe = QDate(grade + (pg ? 3 : 4), 6, 30);
    m.sfz = idCard(place, m.birth, male);
    if (m_rng.chance(70)) m.tel = landline(place.area);
    m.mobile = mobile();
    m.mail = pinyin + m_rng.digits(2) + QStringLiteral("@stu.example.edu.cn");

    const size_t index = m_stud.members.size();
    QString branchId = branch.id;
    if (status == Status::Candidate) {
        m.type = u8("预审");
        if (m_rng.chance(50)) m.zys = zysNo(org, m_year);
        m_stud.members.push_back(std::move(m));
        m_stud.candidates.push_back(
            {index, org.id, branchId, m_rng.dateBetween(m_today.addDays(-200), m_today), QString(), 0});
        return index;
    }

    // Joined the party: at the university, or already before entering it.
    const QDate end = until.addDays(-30);
    const QDate adult = m.birth.addYears(18);
    const QDate earliestHere = std::max(adult, entry.addDays(pg ? 60 : 300));
    const bool before = pg ? m_rng.chance(50) : m_rng.chance(10);
    const char* kind = "发展新党员";
    QDate joined;
    QDate journal;
    if (newThisYear) {
        joined = thisYearUntilToday();
        journal = joined;
    } else if (!before && earliestHere <= end) {
        joined = m_rng.dateBetween(earliestHere, end);
        journal = joined;
    } else if (adult <= entry.addDays(-30)) {
        joined = m_rng.dateBetween(adult, entry.addDays(-30));
        journal = entry.addDays(m_rng.between(5, 30));
        kind = pg ? (m_rng.chance(30) ? "校内转入" : "外单位转入") : "新生入学转入";
    } else {
        joined = std::max(adult, end);
        journal = joined;
    }
    joined = past(joined);
    m.ruDang = joined;
    const qint64 days = joined.daysTo(m_today);
    m.type = days < 365 || (days < 500 && m_rng.chance(30)) ? u8("预备") : u8("正式");
    if (qstrcmp(kind, "发展新党员") == 0 || m_rng.chance(60)) m.zys = zysNo(org, joined.year());
    m_stud.members.push_back(std::move(m));
    addJournal(m_stud, index, org, branchId, std::min(journal, until), kind);
    if (status == Status::Current) m_stud.current.push_back({index, org.id, branchId, QDate(), QString(), 0});
    return index;
}

void Builder::studentsOf(Org& org, const Plan& plan) {
    const int branches = int(org.stud.size());
    for (int i = 0; i < plan.studCurrent; ++i) {
        const Branch& branch = org.stud[size_t(m_rng.below(branches))];
        std::vector<int> gs = grades(branch.postgraduate);
        const bool newThisYear = i % 12 == 0;
        if (newThisYear) gs.pop_back(); // not the freshest grade
        // Few students join in their first year: the older grades are fuller.
        const int grade = gs[size_t(m_rng.common(int(gs.size())))];
        const size_t k = student(org, branch, grade, Status::Current, m_today, newThisYear);
        Member& m = m_stud.members[k];
        if (i % 17 == 5) {
            m.liuDong = true;
            const bool intern = m.biYe.year() <= m_year + 1;
            m.liuDongLX = intern ? u8("外出实习") : u8("外出学习进修");
            m.liuChu = m_rng.dateBetween(m_today.addDays(-240), m_today);
            static const char* const cities[] = {"上海", "深圳", "杭州", "北京", "苏州"};
            m.ldMemo = intern ? u8("在") + u8(m_rng.pick(cities)) + u8("某公司实习")
                              : u8("赴") + u8(m_rng.pick(cities)) + u8("交换学习一学期");
        }
        // Students in their last year may already have signed with an employer.
        if (m.biYe <= m_today.addYears(1) && m_rng.chance(25)) {
            Destination d = destination(org, m_rng.below(10));
            if (d.region != u8(kStaying)) {
                m.qianYueDW = d.unit;
                m.dwQuYu = d.region;
                m.dwDzz = d.dzz;
            }
        }
    }
    for (int i = 0; i < plan.studCandidates; ++i) {
        const Branch& branch = org.stud[size_t(m_rng.below(branches))];
        const std::vector<int> gs = grades(branch.postgraduate);
        student(org, branch, gs[size_t(m_rng.below(int(gs.size())))], Status::Candidate, m_today, false);
    }
    graduates(org, plan.gradLastYear, m_year - 1);
    graduates(org, plan.gradThisYear, m_year);
    // A few left for other reasons: to another college, or out of the party.
    for (int i = 0; i < plan.studLeft; ++i) {
        const Branch& branch = org.stud[size_t(m_rng.below(branches))];
        std::vector<int> gs = grades(branch.postgraduate);
        const int grade = gs.front();
        const QDate leftOn = m_rng.dateBetween(QDate(m_year - 1, 1, 1), m_today);
        const size_t k = student(org, branch, grade, Status::Left, leftOn, false);
        const char* kind = i % 5 == 3 ? "停止党籍" : (i % 5 == 4 ? "出党" : "校内转出");
        if (qstrcmp(kind, "校内转出") == 0) {
            Destination d = destination(org, 2);
            Member& m = m_stud.members[k];
            m.qianYueDW = d.unit;
            m.dwQuYu = d.region;
            m.dwDzz = d.dzz;
        }
        m_stud.left.push_back({k, org.id, branch.id, leftOn, u8(kind), 0});
    }
}

// The graduates of one year: transferred out, with their transfer entries.
void Builder::graduates(Org& org, int count, int year) {
    const int branches = int(org.stud.size());
    int letter = 0;
    for (int i = 0; i < count; ++i) {
        const Branch& branch = org.stud[size_t(m_rng.below(branches))];
        const int grade = year - (branch.postgraduate ? 3 : 4);
        // Transferred when they graduate, or as early as the year allows.
        const QDate from = m_today < QDate(year, 6, 15) ? QDate(year, 1, 1) : QDate(year, 6, 15);
        const QDate leftOn = m_rng.dateBetween(from, std::min(QDate(year, 7, 20), m_today));
        const size_t k = student(org, branch, grade, Status::Left, leftOn, false);
        Member& m = m_stud.members[k];
        m.biYe = QDate(year, 6, 30);
        const Destination d = destination(org, i);
        m.qianYueDW = d.unit;
        m.dwQuYu = d.region;
        m.dwDzz = d.dzz;
        m_stud.left.push_back({k, org.id, branch.id, leftOn, u8("毕业转出"), 0});

        Graduate g;
        g.member = k;
        g.dzz = org.id;
        g.dzb = branch.id;
        g.year = year;
        g.memo = d.memo;
        const bool letters = d.region != u8(kStaying) && (year < m_year || m_rng.chance(75));
        if (letters) {
            g.xiaoNei = QStringLiteral("%1%2%3")
                            .arg(year % 100, 2, 10, QChar(u'0'))
                            .arg(org.id)
                            .arg(++letter, 4, 10, QChar(u'0'));
            if (d.region == u8(kOutside))
                g.gzw = QStringLiteral("GW%1%2")
                            .arg(year % 100, 2, 10, QChar(u'0'))
                            .arg(++m_gzwNo[year], 4, 10, QChar(u'0'));
            const QDate earliest = leftOn.addDays(7);
            if (earliest <= m_today && m_rng.chance(year < m_year ? 85 : 45)) {
                m.huiZhi = true;
                m.huiZhiRQ = m_rng.dateBetween(earliest, std::min(m_today, leftOn.addDays(120)));
            }
        }
        m_graduates.push_back(g);
    }
}

// ---------------------------------------------------------------------------
// Staff.

size_t Builder::staffMember(Org& org, const Branch& branch, Status status, QDate until, bool newThisYear) {
    Member m;
    m.id = QStringLiteral("Z%1-%2").arg(org.id).arg(++org.staffNo, 6, 10, QChar(u'0'));
    const bool male = m_rng.chance(55);
    QString pinyin;
    m.name = personName(male, &pinyin);
    m.sex = male ? u8("男") : u8("女");
    m.minZhu = nationality();
    const Place& place = kPlaces[m_rng.common(int(std::size(kPlaces)))];
    m.jiGuan = u8(place.name);
    int age = status == Status::Candidate || newThisYear ? m_rng.between(25, 34) : m_rng.between(25, 59);
    m.birth = until.addYears(-age).addDays(-m_rng.below(365));
    if (m.birth > m_today.addYears(-25)) m.birth = m_today.addYears(-25);
    age = int(m.birth.daysTo(m_today) / 365);

    // Role, education and ranks.
    const bool office = branch.name.contains(u8("机关"));
    const bool lab = branch.name.contains(u8("实验"));
    int role; // index into kZhiYeLX
    if (office)
        role = m_rng.chance(60) ? 2 : (m_rng.chance(60) ? 4 : 5);
    else if (lab)
        role = m_rng.chance(70) ? 1 : 3;
    else
        role = m_rng.chance(85) ? 0 : 3;
    m.zhiYeLX = u8(kZhiYeLX[role]);
    const bool academic = role == 0 || role == 3;
    int edu; // index into kXueLi
    if (academic)
        edu = age < 45 ? (m_rng.chance(80) ? 0 : 1) : (m_rng.chance(50) ? 0 : (m_rng.chance(60) ? 1 : 2));
    else if (role == 5)
        edu = m_rng.chance(60) ? 3 : 4;
    else
        edu = m_rng.chance(50) ? 1 : (m_rng.chance(80) ? 2 : 3);
    static const int startAge[] = {28, 25, 22, 20, 18, 18, 18};
    // Everyone started work at least a year ago.
    while (edu < 2 && m.birth.year() + startAge[edu] >= m_today.year())
        ++edu;
    m.xueLi = u8(kXueLi[edu]);
    m.gongZuo = past(QDate(m.birth.year() + startAge[edu], 7, 1 + m_rng.below(20)));
    if (m.gongZuo > m_today.addDays(-30)) m.gongZuo = m_today.addDays(-30 - m_rng.below(60));

    int tech = 4; // 无
    if (academic) {
        if (age >= 50)
            tech = m_rng.chance(55) ? 0 : 1;
        else if (age >= 40)
            tech = m_rng.chance(20) ? 0 : (m_rng.chance(65) ? 1 : 2);
        else if (age >= 30)
            tech = m_rng.chance(30) ? 1 : (m_rng.chance(85) ? 2 : 3);
        else
            tech = m_rng.chance(40) ? 2 : 3;
    } else if (role != 5) {
        tech = age >= 35 ? (m_rng.chance(70) ? 2 : 4) : (m_rng.chance(60) ? 3 : 4);
    }
    m.jiShu = u8(kJiShuJB[tech]);
    int rank = 5; // 无
    if (role == 2 || role == 4) {
        if (age >= 45)
            rank = m_rng.chance(30) ? 1 : 2;
        else if (age >= 35)
            rank = m_rng.chance(50) ? 2 : 3;
        else
            rank = 4;
    } else if (academic && age >= 45 && m_rng.chance(15)) {
        rank = 1;
    }
    m.dangZheng = u8(kDangZhengJB[rank]);
    const int status2 = m_rng.below(100);
    m.zhiYeZK = u8(kZhiYeZK[status2 < 92 ? 0 : (status2 < 94 ? 1 : (status2 < 97 ? 2 : 4))]);

    m.sfz = idCard(place, m.birth, male);
    m.tel = landline("025");
    m.mobile = mobile();
    m.mail = pinyin + QStringLiteral("@example.edu.cn");

    const size_t index = m_staff.members.size();
    if (status == Status::Candidate) {
        m.type = u8("预审");
        if (m_rng.chance(50)) m.zys = zysNo(org, m_year);
        m_staff.members.push_back(std::move(m));
        m_staff.candidates.push_back(
            {index, org.id, branch.id, m_rng.dateBetween(m_today.addDays(-200), m_today), QString(), 0});
        return index;
    }

    // Joined the party as a student, or after starting work here.
    const QDate end = until.addDays(-30);
    const QDate adult = m.birth.addYears(18);
    QDate joined;
    if (newThisYear)
        joined = thisYearUntilToday();
    else if (m_rng.chance(60) && adult < m.gongZuo.addDays(-30))
        joined = m_rng.dateBetween(adult, m.gongZuo.addDays(-30));
    else
        joined = m_rng.dateBetween(std::min(m.gongZuo.addDays(180), end), end);
    joined = past(std::max(joined, adult));
    if (newThisYear && m.gongZuo > joined) m.gongZuo = joined.addDays(-m_rng.between(180, 720));
    m.ruDang = joined;
    const qint64 days = joined.daysTo(m_today);
    m.type = days < 365 || (days < 500 && m_rng.chance(30)) ? u8("预备") : u8("正式");
    const bool developedHere = newThisYear || joined >= m.gongZuo;
    if (developedHere || m_rng.chance(40)) m.zys = zysNo(org, joined.year());
    if (developedHere)
        addJournal(m_staff, index, org, branch.id, joined, "发展新党员");
    else if (m.gongZuo >= QDate(m_year - 5, 1, 1))
        addJournal(m_staff, index, org, branch.id, std::min(m.gongZuo.addDays(m_rng.between(10, 60)), until),
                   "外单位转入");
    else if (m_rng.chance(4))
        addJournal(m_staff, index, org, branch.id,
                   m_rng.dateBetween(QDate(m_year - 3, 1, 1), std::min(m_today, until)), "校内转入");
    m_staff.members.push_back(std::move(m));
    if (status == Status::Current)
        m_staff.current.push_back({index, org.id, branch.id, QDate(), QString(), 0});
    return index;
}

void Builder::staffOf(Org& org, const Plan& plan) {
    const int branches = int(org.staff.size());
    for (int i = 0; i < plan.staffCurrent; ++i) {
        const Branch& branch = org.staff[size_t(m_rng.below(branches))];
        const size_t k = staffMember(org, branch, Status::Current, m_today, i % 15 == 0);
        if (i % 19 == 3) {
            Member& m = m_staff.members[k];
            m.liuDong = true;
            static const char* const memos[] = {"赴英国访学一年", "赴美国做访问学者", "在市科技局挂职锻炼",
                                                "在对口支援高校支教"};
            const int which = m_rng.below(4);
            m.liuDongLX = u8(which < 2 ? "出国（境）学习" : (which == 2 ? "挂职锻炼" : "外出学习进修"));
            m.ldMemo = u8(memos[which]);
            m.liuChu = m_rng.dateBetween(m_today.addDays(-300), m_today);
        }
    }
    for (int i = 0; i < plan.staffCandidates; ++i)
        staffMember(org, org.staff[size_t(m_rng.below(branches))], Status::Candidate, m_today, false);
    for (int i = 0; i < plan.staffLeft; ++i) {
        const Branch& branch = org.staff[size_t(m_rng.below(branches))];
        const QDate leftOn =
            i == 0 ? thisYearUntilToday() : m_rng.dateBetween(QDate(m_year - 3, 1, 1), m_today);
        const size_t k = staffMember(org, branch, Status::Left, leftOn, false);
        Member& m = m_staff.members[k];
        const int r = m_rng.below(100);
        const char* kind = r < 55 ? "工作调动转出" : (r < 80 ? "校内转出" : (r < 90 ? "死亡" : "停止党籍"));
        if (qstrcmp(kind, "死亡") == 0 && m.birth > m_today.addYears(-45)) kind = "工作调动转出";
        if (qstrcmp(kind, "工作调动转出") == 0 || qstrcmp(kind, "校内转出") == 0) {
            Destination d = destination(org, qstrcmp(kind, "校内转出") == 0 ? 2 : 3 + m_rng.below(6));
            m.qianYueDW = d.unit;
            m.dwQuYu = d.region;
            m.dwDzz = d.dzz;
            // School letters of staff are numbered from 9001 in the year's series.
            m.xiaoNei = QStringLiteral("%1%2%3")
                            .arg(leftOn.year() % 100, 2, 10, QChar(u'0'))
                            .arg(org.id)
                            .arg(9001 + i);
            if (d.region == u8(kOutside))
                m.gzw = QStringLiteral("GW%1%2")
                            .arg(leftOn.year() % 100, 2, 10, QChar(u'0'))
                            .arg(++m_gzwNo[leftOn.year()], 4, 10, QChar(u'0'));
            if (leftOn.addDays(10) <= m_today && m_rng.chance(60)) {
                m.huiZhi = true;
                m.huiZhiRQ = m_rng.dateBetween(leftOn.addDays(10), std::min(m_today, leftOn.addDays(90)));
            }
        }
        m_staff.left.push_back({k, org.id, branch.id, leftOn, u8(kind), 0});
    }
}

// ---------------------------------------------------------------------------

void Builder::rosters(Population& pop) {
    std::map<QString, int> next;
    for (CategoryRow& row : pop.current)
        row.index = ++next[row.dzb];
}

void Builder::secretaries(Org& org) {
    auto pickIn = [](const Population& pop, const QString& branch, int minAge, QDate today,
                     const QString& skip) -> const Member* {
        for (const CategoryRow& row : pop.current) {
            const Member& m = pop.members[row.member];
            if (row.dzb == branch && m.type == u8("正式") && m.id != skip &&
                m.birth.addYears(minAge) <= today)
                return &m;
        }
        return nullptr;
    };
    for (size_t i = 0; i < org.stud.size(); ++i) {
        Branch& b = org.stud[i];
        b.huanJie = m_rng.dateBetween(QDate(m_year - 2, 1, 1), m_today);
        if (i % 3 == 2) continue; // the college's counsellor leads it; not one of the members
        if (const Member* m = pickIn(m_stud, b.id, 0, m_today, QString())) {
            b.shuJi = m->name;
            b.shuJiId = m->id;
            if (i % 3 == 0) {
                if (const Member* f = pickIn(m_stud, b.id, 0, m_today, m->id)) {
                    b.fuShuJi = f->name;
                    b.fuShuJiId = f->id;
                }
            }
        }
    }
    for (Branch& b : org.staff) {
        b.huanJie = m_rng.dateBetween(QDate(m_year - 2, 1, 1), m_today);
        if (const Member* m = pickIn(m_staff, b.id, 35, m_today, QString())) {
            b.shuJi = m->name;
            b.shuJiId = m->id;
            if (const Member* f = pickIn(m_staff, b.id, 30, m_today, m->id)) {
                b.fuShuJi = f->name;
                b.fuShuJiId = f->id;
            }
        }
    }
    // The organization's secretary and deputy: senior staff members.
    Member* chosen[2] = {nullptr, nullptr};
    for (const CategoryRow& row : m_staff.current) {
        Member& m = m_staff.members[row.member];
        if (row.dzz != org.id || m.type != u8("正式") || m.birth.addYears(45) > m_today) continue;
        if (!chosen[0]) {
            chosen[0] = &m;
        } else if (!chosen[1]) {
            chosen[1] = &m;
            break;
        }
    }
    org.huanJie = m_rng.dateBetween(QDate(m_year - 3, 1, 1), m_today);
    if (chosen[0]) {
        chosen[0]->dangZheng = u8("正处");
        org.shuJi = chosen[0]->name;
        org.shuJiId = chosen[0]->id;
    }
    if (chosen[1]) {
        chosen[1]->dangZheng = u8("副处");
        org.fuShuJi = chosen[1]->name;
        org.fuShuJiId = chosen[1]->id;
    }
}

// Counted figures as the statistics would count them for this year; the
// population, applicants and activists as people would type them in.
void Builder::figures() {
    std::map<QString, Figures*> byBranch;
    for (Org& org : m_orgs) {
        for (Branch& b : org.stud)
            byBranch[b.id] = &b.figures;
        for (Branch& b : org.staff)
            byBranch[b.id] = &b.figures;
    }
    for (const Population* pop : {&m_stud, &m_staff}) {
        for (const CategoryRow& r : pop->current)
            ++byBranch[r.dzb]->xianYou;
        for (const CategoryRow& r : pop->candidates)
            ++byBranch[r.dzb]->yuSen;
        for (const CategoryRow& r : pop->added)
            if (r.date.year() == m_year) ++byBranch[r.dzb]->xinZen;
        for (const CategoryRow& r : pop->left)
            if (r.date.year() == m_year) ++byBranch[r.dzb]->jianSao;
    }
    for (Org& org : m_orgs) {
        for (int students = 1; students >= 0; --students) {
            Figures& total = students ? org.xs : org.zg;
            for (Branch& b : students ? org.stud : org.staff) {
                Figures& f = b.figures;
                const int members = f.xianYou + f.yuSen;
                f.jiChu = students ? std::max(20, members * m_rng.between(45, 75) / 10)
                                   : std::max(8, members * m_rng.between(13, 20) / 10);
                f.senQing = f.jiChu * m_rng.between(15, 35) / 100;
                f.jiJi = f.senQing * m_rng.between(40, 60) / 100;
                total.jiChu += f.jiChu;
                total.xianYou += f.xianYou;
                total.yuSen += f.yuSen;
                total.xinZen += f.xinZen;
                total.jianSao += f.jianSao;
                total.senQing += f.senQing;
                total.jiJi += f.jiJi;
            }
        }
    }
}

void Builder::build() {
    const std::vector<OrgDef>& defs = orgDefs();
    int weights = 0;
    for (const OrgDef& d : defs)
        weights += d.students;
    // Current students per organization: the small set, or `scale` shared out
    // by weight with the remainders going to the largest fractions.
    std::vector<int> students;
    if (m_scale <= 0) {
        for (const OrgDef& d : defs)
            students.push_back(d.students);
    } else {
        std::vector<std::pair<qint64, size_t>> fractions;
        int given = 0;
        for (size_t i = 0; i < defs.size(); ++i) {
            const qint64 share = qint64(m_scale) * defs[i].students;
            students.push_back(int(share / weights));
            given += students.back();
            fractions.push_back({-(share % weights), i});
        }
        std::sort(fractions.begin(), fractions.end());
        for (int i = 0; given < m_scale; ++i, ++given)
            ++students[fractions[size_t(i) % fractions.size()].second];
    }

    for (const OrgDef& d : defs) {
        Org org;
        org.def = &d;
        org.id = QString::fromLatin1(d.id);
        int n = 0;
        for (const StudBranchDef& sb : d.studBranches) {
            Branch b;
            b.id = QStringLiteral("S%1-%2").arg(org.id).arg(++n, 4, 10, QChar(u'0'));
            b.name = u8(sb.name);
            b.index = n + 1; // the organization's node is the first in the tree
            b.postgraduate = sb.postgraduate;
            b.majors = sb.majors;
            org.stud.push_back(b);
        }
        n = 0;
        for (const char* name : d.staffBranches) {
            Branch b;
            b.id = QStringLiteral("G%1-%2").arg(org.id).arg(++n, 4, 10, QChar(u'0'));
            b.name = u8(name);
            b.index = n + 1;
            org.staff.push_back(b);
        }
        m_orgs.push_back(org);
    }
    for (size_t i = 0; i < m_orgs.size(); ++i) {
        const Plan plan = planFor(students[i]);
        studentsOf(m_orgs[i], plan);
        staffOf(m_orgs[i], plan);
    }
    rosters(m_stud);
    rosters(m_staff);
    for (Org& org : m_orgs)
        secretaries(org);
    figures();
}

// ---------------------------------------------------------------------------
// Writing.

QVariant text(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}
QVariant text(const char* s) {
    return s && *s ? QVariant(u8(s)) : QVariant();
}
QVariant day(QDate d) {
    return d.isValid() ? QVariant(dates::makeDateTime(d.year(), d.month(), d.day())) : QVariant();
}
QVariant flag(bool b) {
    return QVariant(b);
}
QVariant number(int n) {
    return QVariant(n);
}

// One parameterised Insert per table: translated once and run per row; the
// connection keeps the prepared statement.
class Inserter {
public:
    Inserter(db::Database& db, sql::Translator& translator, const QString& table, const QStringList& columns)
        : m_db(db), m_table(table), m_width(columns.size()) {
        QStringList parameters;
        for (const QString& c : columns)
            parameters << u':' + c;
        m_translation = translator.translate(QStringLiteral("Insert into %1 (%2) VALUES (%3)")
                                                 .arg(table, columns.join(u','), parameters.join(u',')),
                                             sql::TranslateOptions{true});
        if (!m_translation->ok) return;
        for (const QString& p : m_translation->parameters)
            m_order.push_back(columns.indexOf(p));
    }
    Inserter(const Inserter&) = delete;
    Inserter& operator=(const Inserter&) = delete;

    bool insert(const std::vector<QVariant>& values, QString* error) {
        if (!m_translation->ok) return fail(m_translation->error.message, error);
        if (qsizetype(values.size()) != m_width) return fail(QStringLiteral("值的个数与字段个数不同"), error);
        std::vector<QVariant> parameters;
        parameters.reserve(m_order.size());
        for (qsizetype column : m_order)
            parameters.push_back(column < 0 ? QVariant() : values[size_t(column)]);
        const db::QueryResult r = m_db.run(*m_translation, parameters);
        return r.ok || fail(r.error, error);
    }

private:
    bool fail(const QString& message, QString* error) const {
        if (error) *error = QStringLiteral("写入 %1 时出错：%2").arg(m_table, message);
        return false;
    }

    db::Database& m_db;
    QString m_table;
    qsizetype m_width;
    std::shared_ptr<const sql::Translation> m_translation;
    std::vector<qsizetype> m_order;
};

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* s : list)
        out << QString::fromLatin1(s);
    return out;
}

const char* const kFigureParts[] = {"RS_JiChu",    "RS_XinZen",  "RS_JianSao",  "RS_YuSen",
                                    "Per_YuSen",   "RS_XianYou", "Per_XianYou", "RS_SenQing",
                                    "Per_SenQing", "RS_JiJi",    "Per_JiJi"};

void addFigures(QStringList& cols, std::vector<QVariant>& values, const char* prefix, const Figures& f) {
    auto share = [&](int n) { return f.jiChu == 0 ? QVariant() : QVariant(n * 100.0 / f.jiChu); };
    for (const char* part : kFigureParts)
        cols << QString::fromLatin1(prefix) + QString::fromLatin1(part);
    for (const QVariant& v : {number(f.jiChu), number(f.xinZen), number(f.jianSao), number(f.yuSen),
                              share(f.yuSen), number(f.xianYou), share(f.xianYou), number(f.senQing),
                              share(f.senQing), number(f.jiJi), share(f.jiJi)})
        values.push_back(v);
}

// Fields of the member tables in the dictionary: those a user picks in the
// wizards and maps in the Excel import, which takes at most 26 columns.
struct FieldTitle {
    const char* field;
    const char* title;
    const char* codeTable;
};

const FieldTitle kStudentFields[] = {
    {"DY_ID", "党员编号", nullptr},
    {"Name", "姓名", nullptr},
    {"Sex", "性别", "Code_Sex"},
    {"MinZhu", "民族", "Code_MinZhu"},
    {"JiGuan", "籍贯", nullptr},
    {"ChuShengRQ", "出生日期", nullptr},
    {"DangYuanLX", "党员类型", "Code_DangYuanLX"},
    {"RuDangRQ", "入党时间", nullptr},
    {"ZYS_No", "入党志愿书编号", nullptr},
    {"XueLi", "学历", "Code_XueLi"},
    {"ZuanYe", "专业", "Code_ZuanYe"},
    {"NianJi", "年级", "Code_NianJi"},
    {"BanJi", "班级", "Code_BanJi"},
    {"BiYeRQ", "毕业时间", nullptr},
    {"SFZ_ID", "身份证", nullptr},
    {"LX_TEL", "家庭固定电话", nullptr},
    {"LX_Mobile", "手机", nullptr},
    {"LX_Mail", "电子邮件", nullptr},
    {"QianYueDW", "签约单位", nullptr},
    {"DWQuYu", "接收单位地区", "Code_DWQY"},
    {"DW_DZZ", "单位隶属党组织", nullptr},
};

const FieldTitle kStaffFields[] = {
    {"DY_ID", "党员编号", nullptr},
    {"Name", "姓名", nullptr},
    {"Sex", "性别", "Code_Sex"},
    {"MinZhu", "民族", "Code_MinZhu"},
    {"JiGuan", "籍贯", nullptr},
    {"ChuShengRQ", "出生日期", nullptr},
    {"DangYuanLX", "党员类型", "Code_DangYuanLX"},
    {"RuDangRQ", "入党时间", nullptr},
    {"ZYS_No", "入党志愿书编号", nullptr},
    {"XueLi", "学历", "Code_XueLi"},
    {"GongZuoRQ", "工作时间", nullptr},
    {"JiShuJB", "技术级别", "Code_JiShuJB"},
    {"DangZhengJB", "党政级别", "Code_DangZhengJB"},
    {"ZhiYeZK", "职业状况", "Code_ZhiYeZK"},
    {"ZhiYeLX", "在职类型", "Code_ZhiYeLX"},
    {"SFZ_ID", "身份证", nullptr},
    {"LX_TEL", "家庭固定电话", nullptr},
    {"LX_Mobile", "手机", nullptr},
    {"LX_Mail", "电子邮件", nullptr},
    {"QianYueDW", "签约单位", nullptr},
    {"DWQuYu", "接收单位地区", "Code_DWQY"},
    {"DW_DZZ", "单位隶属党组织", nullptr},
};

struct CodeTable {
    const char* table;
    const char* title;
    const char* codeTitle;
    const char* textTitle;
};

const CodeTable kCodeTables[] = {
    {"Code_Sex", "性别", "代码", "性别"},
    {"Code_MinZhu", "民族", "代码", "民族"},
    {"Code_XueLi", "学历", "代码", "学历"},
    {"Code_NianJi", "年级", "代码", "年级"},
    {"Code_DangYuanLX", "党员类型", "代码", "党员类型"},
    {"Code_XinZenLX", "新增类型", "代码", "新增类型"},
    {"Code_JianSaoLX", "减少类型", "代码", "减少类型"},
    {"Code_JiShuJB", "技术级别", "代码", "技术级别"},
    {"Code_DangZhengJB", "党政级别", "代码", "党政级别"},
    {"Code_ZhiYeZK", "职业状况", "代码", "职业状况"},
    {"Code_ZhiYeLX", "在职类型", "代码", "在职类型"},
    {"Code_DWQY", "单位所在地区", "代码", "单位所在地区"},
    {"Code_LiuDongLX", "流动类型", "代码", "流动类型"},
    {"Code_ZuanYe", "专业", "序号", "专业"},
    {"Code_BanJi", "班级", "序号", "班级"},
};

struct User {
    int id;
    const char* login;
    const char* org;
    bool students, staff, graduates, letters, usable;
    const char* tel;
    const char* mobile;
};

const User kUsers[] = {
    {1, "admin", "01", true, true, true, true, true, "025-84315001", "13905150001"},
    {2, "xuesheng", "01", true, false, false, false, true, "025-84315003", "13905150002"},
    {3, "zhigong", "01", false, true, false, false, true, "025-84315004", "13905150003"},
    {4, "biye", "01", true, false, true, true, true, "025-84315005", "13905150004"},
    {5, "tingyong", "01", true, true, true, true, false, "", ""},
    {6, "jingguan", "02", true, true, true, true, true, "025-84316001", "13905150006"},
    {7, "waiyu", "03", true, true, true, true, true, "025-84317001", "13905150007"},
    {8, "jixie", "04", true, true, true, true, true, "025-84318001", "13905150008"},
    {9, "makesi", "05", true, true, true, false, true, "025-84319001", ""},
};

// Sizes in bytes of the non-text columns, for the dictionary.
int fieldLength(const sql::ColumnDef& c) {
    switch (c.type) {
    case sql::ColumnType::Text:
        return c.width;
    case sql::ColumnType::DateTime:
        return 8;
    case sql::ColumnType::Boolean:
        return 1;
    case sql::ColumnType::SmallInt:
        return 2;
    default:
        return 4;
    }
}

bool Builder::write(db::Database& db, QString* error) {
    const sql::Schema& schema = sql::Schema::standard();
    sql::Translator translator(schema, db.backend());
    auto writer = [&](const char* table, const QStringList& cols) {
        return std::make_unique<Inserter>(db, translator, QString::fromLatin1(table), cols);
    };
    auto code = [&](int i) { return QStringLiteral("%1").arg(i, 2, 10, QChar(u'0')); };

    // Code tables.
    auto simpleCodes = [&](const char* table, const char* idCol, const char* textCol, const auto& values) {
        auto w = writer(table, names({idCol, textCol}));
        int i = 0;
        for (const char* v : values)
            if (!w->insert({code(++i), u8(v)}, error)) return false;
        return true;
    };
    {
        auto w = writer("Code_Sex", names({"Sex_ID", "Sex"}));
        if (!w->insert({QStringLiteral("1"), u8("男")}, error) ||
            !w->insert({QStringLiteral("2"), u8("女")}, error))
            return false;
    }
    std::vector<const char*> regions = {kInside, kStaying};
    for (const char* c : kCities)
        regions.push_back(c);
    regions.push_back(kOutside);
    if (!simpleCodes("Code_MinZhu", "MinZhu_ID", "MinZhu", kNationalities) ||
        !simpleCodes("Code_XueLi", "XueLi_ID", "XueLi", kXueLi) ||
        !simpleCodes("Code_DangYuanLX", "DYLX_ID", "DYLX", kDangYuanLX) ||
        !simpleCodes("Code_XinZenLX", "XZLX_ID", "XZLX", kXinZenLX) ||
        !simpleCodes("Code_JianSaoLX", "JSLX_ID", "JSLX", kJianSaoLX) ||
        !simpleCodes("Code_JiShuJB", "JSJB_ID", "JSJB", kJiShuJB) ||
        !simpleCodes("Code_DangZhengJB", "DZJB_ID", "DZJB", kDangZhengJB) ||
        !simpleCodes("Code_ZhiYeZK", "ZYZK_ID", "ZYZK", kZhiYeZK) ||
        !simpleCodes("Code_ZhiYeLX", "ZYLX_ID", "ZYLX", kZhiYeLX) ||
        !simpleCodes("Code_DWQY", "QY_ID", "DWQuYu", regions) ||
        !simpleCodes("Code_LiuDongLX", "LDLX_ID", "LDLX", kLiuDongLX))
        return false;
    {
        // Grades of the last years; those whose students have all left are no
        // longer offered for new records.
        auto w = writer("Code_NianJi", names({"NianJi_ID", "NianJi", "Usable"}));
        int i = 0;
        for (int g = m_year - 6; g <= m_newestGrade; ++g)
            if (!w->insert({code(++i), QStringLiteral("%1级").arg(g), flag(g >= m_year - 3)}, error))
                return false;
    }
    {
        auto majors = writer("Code_ZuanYe", names({"ZuanYe", "DZZ_ID"}));
        auto classes = writer("Code_BanJi", names({"BanJi", "DZZ_ID"}));
        for (const Org& org : m_orgs) {
            for (const MajorDef& m : org.def->majors)
                if (!majors->insert({u8(m.name), org.id}, error)) return false;
            // The classes of every grade still in the records, undergraduate
            // classes first, then the postgraduate ones.
            QStringList seen;
            for (int g = m_year - 5; g <= m_newestGrade; ++g) {
                const QString yy = QStringLiteral("%1").arg(g % 100, 2, 10, QChar(u'0'));
                for (const MajorDef& m : org.def->majors)
                    for (int c = 1; c <= 2; ++c)
                        seen << u8(m.abbr) + yy + QStringLiteral("%1").arg(c, 2, 10, QChar(u'0')) + u8("班");
            }
            for (int g = m_year - 4; g <= m_newestGrade; ++g) {
                const QString yy = QStringLiteral("%1").arg(g % 100, 2, 10, QChar(u'0'));
                for (const MajorDef& m : org.def->majors) {
                    const QString c = u8(m.abbr).left(1) + u8("研") + yy + u8("01班");
                    if (!seen.contains(c)) seen << c;
                }
            }
            for (const QString& c : seen)
                if (!classes->insert({c, org.id}, error)) return false;
        }
    }

    // The table dictionary.
    {
        auto tables = writer("Sys_Tables", names({"TabID", "TabName", "TabTitle", "TabType"}));
        auto fields =
            writer("Sys_Fields",
                   names({"TabID", "FldIndex", "FldName", "FldTitle", "FldType", "FldLength", "FldComment"}));
        auto field = [&](int tab, int index, const QString& table, const char* name, const char* title,
                         const char* comment) {
            const sql::ColumnDef* c = schema.table(table)->column(QString::fromLatin1(name));
            return fields->insert(
                {number(tab), number(index), c->name, u8(title), sql::typeName(sql::sqlTypeOf(c->type)),
                 number(fieldLength(*c)),
                 comment ? QVariant(u8("代码表 ") + QString::fromLatin1(comment)) : QVariant()},
                error);
        };
        int tab = 0;
        for (bool students : {true, false}) {
            const QString table = students ? QStringLiteral("Stud_DYInfo") : QStringLiteral("Staff_DYInfo");
            if (!tables->insert({number(++tab), table, students ? u8("学生党员信息") : u8("职工党员信息"),
                                 QStringLiteral("MAIN")},
                                error))
                return false;
            int index = 0;
            for (const FieldTitle& f :
                 students ? std::vector<FieldTitle>(std::begin(kStudentFields), std::end(kStudentFields))
                          : std::vector<FieldTitle>(std::begin(kStaffFields), std::end(kStaffFields)))
                if (!field(tab, ++index, table, f.field, f.title, f.codeTable)) return false;
        }
        for (const CodeTable& ct : kCodeTables) {
            const QString table = QString::fromLatin1(ct.table);
            const sql::TableDef* def = schema.table(table);
            if (!tables->insert({number(++tab), table, u8(ct.title), QStringLiteral("CODE")}, error))
                return false;
            // The first two columns: the code (or serial) and the text.
            const QByteArray first = def->columns[0].name.toLatin1();
            const QByteArray second = def->columns[1].name.toLatin1();
            if (!field(tab, 1, table, first.constData(), ct.codeTitle, nullptr) ||
                !field(tab, 2, table, second.constData(), ct.textTitle, nullptr))
                return false;
        }
    }

    // Organizations and branches.
    {
        std::unique_ptr<Inserter> orgs;
        for (const Org& org : m_orgs) {
            QStringList cols = names({"DZZ_ID", "DZZ_Name", "DZZ_Type", "DZZ_ShuJi", "DZZ_ShuJiID",
                                      "DZZ_FuShuJi", "DZZ_FuShuJiID", "DZZ_HuanJieRQ", "DZZ_HasStud"});
            std::vector<QVariant> v = {org.id,
                                       u8(org.def->name),
                                       u8(org.def->type),
                                       text(org.shuJi),
                                       text(org.shuJiId),
                                       text(org.fuShuJi),
                                       text(org.fuShuJiId),
                                       day(org.huanJie),
                                       flag(!org.stud.empty())};
            addFigures(cols, v, "XS", org.xs);
            addFigures(cols, v, "ZG", org.zg);
            cols << names({"DZZ_Addr", "DZZ_TEL", "DZZ_Fax", "DZZ_ZipCode"});
            for (const QVariant& x : {text(org.def->addr), text(org.def->tel), text(org.def->fax),
                                      QVariant(QStringLiteral("210094"))})
                v.push_back(x);
            if (!orgs) orgs = std::make_unique<Inserter>(db, translator, QStringLiteral("DZZ_List"), cols);
            if (!orgs->insert(v, error)) return false;
        }
        for (bool students : {true, false}) {
            std::unique_ptr<Inserter> w;
            for (const Org& org : m_orgs) {
                for (const Branch& b : students ? org.stud : org.staff) {
                    QStringList cols = names({"ZB_ID", "DZZ_ID", "ZB_Index", "ZB_Name", "ZB_ShuJi",
                                              "ZB_ShuJiID", "ZB_FuShuJi", "ZB_FuShuJiID", "ZB_HuanJieRQ"});
                    std::vector<QVariant> v = {
                        b.id,          org.id,          number(b.index), b.name,
                        text(b.shuJi), text(b.shuJiId), text(b.fuShuJi), text(b.fuShuJiId),
                        day(b.huanJie)};
                    addFigures(cols, v, students ? "XS" : "ZG", b.figures);
                    if (!w)
                        w = std::make_unique<Inserter>(
                            db, translator, students ? QStringLiteral("DZB_XS") : QStringLiteral("DZB_ZG"),
                            cols);
                    if (!w->insert(v, error)) return false;
                }
            }
        }
    }

    // Users; passwords are kept as typed when the accounts were made.
    {
        auto w = writer("DZZ_Users", names({"UserID", "LoginName", "LoginPSWD", "DZZ_ID", "GL_XueSheng",
                                            "GL_ZhiGong", "GL_BiYeSh", "TEL", "EMail", "Mobile", "Usable",
                                            "UserOnline", "Cur_Version", "GL_JieShaoXin"}));
        for (const User& u : kUsers) {
            const QString login = QString::fromLatin1(u.login);
            if (!w->insert({number(u.id), login, QStringLiteral("demo"), QString::fromLatin1(u.org),
                            flag(u.students), flag(u.staff), flag(u.graduates), text(u.tel),
                            QVariant(login + QStringLiteral("@example.edu.cn")), text(u.mobile),
                            flag(u.usable), flag(false), QVariant(), flag(u.letters)},
                           error))
                return false;
        }
    }
    {
        auto w = writer("DZZ_Ver", names({"DZZ_Version", "memo"}));
        if (!w->insert({QStringLiteral("2008-06-22"),
                        u8("学生与职工党员管理、毕业生组织关系转移、流动党员管理、查询与统计向导")},
                       error))
            return false;
    }

    // Members and their categories.
    for (bool students : {true, false}) {
        const Population& pop = students ? m_stud : m_staff;
        const char* prefix = students ? "Stud_" : "Staff_";
        QStringList cols = names({"DY_ID", "Name", "Sex", "MinZhu", "JiGuan", "ChuShengRQ", "DangYuanLX",
                                  "RuDangRQ", "ZYS_No", "XueLi"});
        cols << (students ? names({"ZuanYe", "NianJi", "BanJi", "BiYeRQ"})
                          : names({"GongZuoRQ", "JiShuJB", "DangZhengJB", "ZhiYeZK", "ZhiYeLX"}));
        cols << names({"SFZ_ID", "LX_TEL", "LX_Mobile", "LX_Mail", "QianYueDW", "DWQuYu", "DW_DZZ", "HuiZhi",
                       "HuiZhiRQ", "isLiuDong", "LiuDongLX", "LiuChuRQ", "LD_Memo"});
        if (!students) cols << names({"XiaoNeiID", "GZW_ID"});
        Inserter members(db, translator, QString::fromLatin1(prefix) + QStringLiteral("DYInfo"), cols);
        std::vector<QVariant> v;
        for (const Member& m : pop.members) {
            v = {m.id,         m.name,       text(m.sex),   text(m.minZhu), text(m.jiGuan),
                 day(m.birth), text(m.type), day(m.ruDang), text(m.zys),    text(m.xueLi)};
            if (students) {
                for (const QVariant& x : {text(m.zuanYe), text(m.nianJi), text(m.banJi), day(m.biYe)})
                    v.push_back(x);
            } else {
                for (const QVariant& x :
                     {day(m.gongZuo), text(m.jiShu), text(m.dangZheng), text(m.zhiYeZK), text(m.zhiYeLX)})
                    v.push_back(x);
            }
            for (const QVariant& x :
                 {text(m.sfz), text(m.tel), text(m.mobile), text(m.mail), text(m.qianYueDW), text(m.dwQuYu),
                  text(m.dwDzz), flag(m.huiZhi), day(m.huiZhiRQ), flag(m.liuDong), text(m.liuDongLX),
                  day(m.liuChu), text(m.ldMemo)})
                v.push_back(x);
            if (!students) {
                v.push_back(text(m.xiaoNei));
                v.push_back(text(m.gzw));
            }
            if (!members.insert(v, error)) return false;
        }
        auto category = [&](const char* suffix, const char* extra, const char* extra2,
                            const std::vector<CategoryRow>& rows, int which) {
            QStringList c = names({"DY_ID", "DZZ_ID", "DZB_ID", extra});
            if (extra2) c << QString::fromLatin1(extra2);
            Inserter w(db, translator, QString::fromLatin1(prefix) + QString::fromLatin1(suffix), c);
            std::vector<QVariant> values;
            for (const CategoryRow& r : rows) {
                values = {pop.members[r.member].id, r.dzz, r.dzb, which == 0 ? number(r.index) : day(r.date)};
                if (extra2) values.push_back(r.kind);
                if (!w.insert(values, error)) return false;
            }
            return true;
        };
        if (!category("XianYou", "DY_Index", nullptr, pop.current, 0) ||
            !category("YuSen", "YuSenRQ", nullptr, pop.candidates, 1) ||
            !category("XinZen", "XinZenRQ", "XinZenLX", pop.added, 1) ||
            !category("JianSao", "JianSaoRQ", "JianSaoLX", pop.left, 1))
            return false;
    }
    {
        auto w = writer("Stud_BiYe",
                        names({"DY_ID", "DZZ_ID", "DZB_ID", "NianDu", "XiaoNeiID", "GZW_ID", "Memo"}));
        for (const Graduate& g : m_graduates)
            if (!w->insert({m_stud.members[g.member].id, g.dzz, g.dzb, number(g.year), text(g.xiaoNei),
                            text(g.gzw), text(g.memo)},
                           error))
                return false;
    }

    // Student figures per grade and education level, counted like the
    // statistics count them.
    {
        std::map<std::tuple<QString, QString, QString>, Figures> perGrade;
        for (const Org& org : m_orgs) {
            for (int pg = 0; pg <= 1; ++pg) {
                bool has = false;
                for (const Branch& b : org.stud)
                    has = has || b.postgraduate == bool(pg);
                if (!has) continue;
                for (int g : grades(pg))
                    perGrade[{org.id, pg ? u8("硕士研究生") : u8("大学本科"), QStringLiteral("%1级").arg(g)}];
            }
        }
        for (const CategoryRow& r : m_stud.current) {
            const Member& m = m_stud.members[r.member];
            auto it = perGrade.find({r.dzz, m.xueLi, m.nianJi});
            if (it != perGrade.end()) ++it->second.xianYou;
        }
        for (const CategoryRow& r : m_stud.candidates) {
            const Member& m = m_stud.members[r.member];
            auto it = perGrade.find({r.dzz, m.xueLi, m.nianJi});
            if (it != perGrade.end()) ++it->second.yuSen;
        }
        auto w = writer("XSTJ_NianJi", names({"DZZ_ID", "NianJi", "XueLi", "XSRS_JiChu", "XSRS_YuSen",
                                              "XSPer_YuSen", "XSRS_XianYou", "XSPer_XianYou", "XSRS_SenQing",
                                              "XSPer_SenQing", "XSRS_JiJi", "XSPer_JiJi"}));
        for (auto& [key, f] : perGrade) {
            const bool pg = std::get<1>(key) == u8("硕士研究生");
            f.jiChu = std::max(pg ? 30 : 120, (f.xianYou + f.yuSen) * m_rng.between(50, 90) / 10);
            f.senQing = f.jiChu * m_rng.between(15, 35) / 100;
            f.jiJi = f.senQing * m_rng.between(40, 60) / 100;
            auto share = [&](int n) { return QVariant(n * 100.0 / f.jiChu); };
            if (!w->insert({std::get<0>(key), std::get<2>(key), std::get<1>(key), number(f.jiChu),
                            number(f.yuSen), share(f.yuSen), number(f.xianYou), share(f.xianYou),
                            number(f.senQing), share(f.senQing), number(f.jiJi), share(f.jiJi)},
                           error))
                return false;
        }
    }

    // Two saved templates of the first user, as the wizards write them.
    {
        const QString made = m_today.toString(QStringLiteral("yyyy-MM-dd"));
        auto w = writer("Sys_SQL", names({"TempType", "TempName", "SQLText", "SQLComment", "UserID"}));
        const QString query =
            u8("Select C.ZB_Name AS 党支部,A.DY_ID AS 党员编号,A.Name AS 姓名,A.NianJi AS 年级 FROM "
               "Stud_DYInfo A, "
               "Stud_XianYou B, DZB_XS C,DZZ_List D WHERE A.DY_ID=B.DY_ID   AND B.DZB_ID*=C.ZB_ID AND "
               "B.DZZ_ID=D.DZZ_ID  AND D.DZZ_ID='01'  AND ((A.Sex = '女') ) ORDER BY  C.ZB_Name ASC");
        const QString queryNote = u8("[查询类型]\n学生党员情况查询\n\n[模版建立日期]\n") + made +
                                  u8("\n\n[查询范围]\n本二级党组织所有的学生党支部\n");
        const QString count =
            u8("SELECT B.ZB_Name AS 党支部, A.NianJi AS 年级, Count(A.NianJi) AS 人数 FROM Stud_DYInfo A, "
               "DZB_XS B, "
               "Stud_XianYou C WHERE  C.DY_ID=A.DY_ID AND C.DZB_ID=B.ZB_ID   AND C.DZZ_ID='01' GROUP BY "
               "B.ZB_Name,A.NianJi ORDER BY B.ZB_Name,A.NianJi");
        const QString countNote = u8("[统计类型]\n学生党员情况统计\n\n[模版建立日期]\n") + made +
                                  u8("\n\n[统计字段]\n年级\n\n[统计方式]\n分别统计\n\n[统计范围]\n"
                                     "本二级党组织全部学生支部\n");
        if (!w->insert({QStringLiteral("XS"), u8("女学生党员名单"), query, queryNote, number(1)}, error) ||
            !w->insert({QStringLiteral("TJXS"), u8("各支部各年级党员人数"), count, countNote, number(1)},
                       error))
            return false;
    }
    return true;
}

} // namespace

bool populate(db::Database& db, const DemoOptions& options, QString* error) {
    Builder builder(options);
    builder.build();
    QString message;
    if (!db.exec(QStringLiteral("BEGIN"), &message)) {
        if (error) *error = message;
        return false;
    }
    // Any failure abandons the whole transaction, so single statements need
    // no undo of their own.
    db.setStatementRollback(false);
    const bool written = builder.write(db, &message);
    db.setStatementRollback(true);
    if (!written) {
        db.exec(QStringLiteral("ROLLBACK"));
        if (error) *error = message;
        return false;
    }
    if (!db.exec(QStringLiteral("COMMIT"), &message)) {
        db.exec(QStringLiteral("ROLLBACK"));
        if (error) *error = message;
        return false;
    }
    return true;
}

} // namespace corvexa::demo
