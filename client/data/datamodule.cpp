#include "datamodule.h"

#include "office/workbook.h"

#include "errors.h"
#include "services.h"
#include "widgethelpers.h"

#include <QComboBox>
#include <QCoreApplication>

namespace corvexa::client {
namespace {
TDM* g_instance = nullptr;
} // namespace

bool DirectLogin::run(TDM& dm) {
    try {
        return dm.logIn(m_host, m_user, m_password, m_workYear) == LoginResult::Ok;
    } catch (const DataError& e) {
        m_error = e.message();
        return false;
    }
}

TDM::TDM(std::unique_ptr<SettingsStore> settings, QObject* parent)
    : QObject(parent), m_settings(settings ? std::move(settings) : std::make_unique<SettingsStore>()) {
    m_catalogue = new Catalogue(
        &m_connection, [this] { return login.DZZ_ID; }, this);
    g_instance = this;
}

TDM::~TDM() {
    shutDown();
    if (g_instance == this) g_instance = nullptr;
}

TDM* TDM::instance() {
    return g_instance;
}

QString TDM::quoted(const QString& text) {
    QString inner = text;
    inner.replace(u'\'', QStringLiteral("''"));
    return u'\'' + inner + u'\'';
}

LoginResult TDM::logIn(const QString& hostText, const QString& user, const QString& password, int workYear) {
    if (!m_connection.isConnected()) m_connection.connectTo(hostText);
    qint64 userId = -1;
    QString dzzId;
    const LoginResult result = m_connection.login(user.trimmed(), password.trimmed(), &userId, &dzzId);
    if (result != LoginResult::Ok) return result;
    login.UserID = qint32(userId);
    login.LoginName = user.trimmed();
    login.LoginPSWD = password.trimmed().toUpper();
    login.DZZ_ID = dzzId;
    login.WorkYear = workYear;
    if (login.BiYeNianDu == 0) login.BiYeNianDu = clock().today().year();
    RecordSet& users = set(u"CDS_DZZUser");
    users.close();
    users.setParam(QStringLiteral("AName"), login.LoginName);
    users.open();
    login.GL_XueSheng = users.value(u"GL_XueSheng").toBool();
    login.GL_ZhiGong = users.value(u"GL_ZhiGong").toBool();
    login.GL_BiYeSh = users.value(u"GL_BiYeSh").toBool();
    login.GL_JieShaoXin = users.value(u"GL_JieShaoXin").toBool();
    m_loggedIn = true;
    return result;
}

bool TDM::startUp(LoginStep& loginStep, ShellStep& shell) {
    // 1. The login; without it nothing else is prepared.
    emit startUpStep(QStringLiteral("DoLogin"));
    if (!loginStep.run(*this)) return false;
    const QString dzz = login.DZZ_ID;
    auto reset = [this](const char* name) -> RecordSet& {
        RecordSet& s = set(QString::fromLatin1(name));
        s.close();
        return s;
    };
    // 2. The organization's specialities and classes (opened on first use).
    for (const char* name : {"CDS_ZuanYe", "CDS_BanJi"})
        reset(name).setParam(QStringLiteral("ADZZ_ID"), dzz);
    // 3. The organization.
    RecordSet& org = reset("CDS_DZZ");
    org.setParam(QStringLiteral("ADZZ_ID"), dzz);
    org.open();
    login.DZZ_Name = org.value(u"DZZ_Name").text();
    // 4. Branches and per-grade figures.
    for (const char* name : {"CDS_XS_DZB", "CDS_ZG_DZB", "CDS_XSTJ_NianJi"}) {
        RecordSet& s = reset(name);
        s.setParam(QStringLiteral("ADZZ_ID"), dzz);
        s.open();
    }
    // 5. Templates.
    reset("CDS_SQL").setParam(QStringLiteral("AUserID"), qint64(login.UserID));
    // 6. The sets bound to the work year.
    for (const char* name :
         {"CDS_XSXZ_Info", "CDS_XSXZ_List", "CDS_XSJS_Info", "CDS_XSJS_BiYe", "CDS_XSJS_List",
          "CDS_ZGXZ_Info", "CDS_ZGXZ_List", "CDS_ZGJS_Info", "CDS_ZGJS_List", "CDS_ZGXZ_ALL", "CDS_ZGJS_ALL",
          "CDS_XSXZ_ALL", "CDS_XSJS_ALL"}) {
        RecordSet& s = reset(name);
        s.setParam(QStringLiteral("AYear"), qint64(login.WorkYear));
        s.setParam(QStringLiteral("ADZZ_ID"), dzz);
    }
    // 7. Mobile members.
    for (const char* name : {"CDS_XSLD_Info", "CDS_ZGLD_Info"})
        reset(name).setParam(QStringLiteral("ADZZ_ID"), dzz);
    // 8. The identifier generators.
    emit startUpStep(QStringLiteral("seedGenerators"));
    seedGenerators();
    // 9. - 11.
    login.XueYuan = OrgUnitName(login.DZZ_Name);
    emit startUpStep(QStringLiteral("LoadTableIDs"));
    LoadTableIDs();
    login.ReportDir = QCoreApplication::applicationDirPath() + QStringLiteral("/FixedReport/");
    // 12. The version check only informs; start-up goes on.
    emit startUpStep(QStringLiteral("CheckVersion"));
    CheckVersion();
    // 13. - 14.
    emit startUpStep(QStringLiteral("createMainWindow"));
    shell.createMainWindow(*this);
    shell.setStatus(QStringLiteral("登录用户：") + login.LoginName,
                    QStringLiteral("二级党组织：") + login.DZZ_Name,
                    QStringLiteral("工作年度：") + QString::number(login.WorkYear));
    // 15. - 17.
    emit startUpStep(QStringLiteral("SetCurUser"));
    m_connection.SetCurUser(login.UserID);
    emit startUpStep(QStringLiteral("MarkOnline"));
    MarkOnline();
    emit startUpStep(QStringLiteral("LoadSettings"));
    LoadSettings();
    return true;
}

void TDM::seed(TAutoIncNo& generator, const QString& query, int digits) {
    OpenSQL(CDS_Temp(), query);
    const QString maxId = CDS_Temp().isEmpty() ? QString() : CDS_Temp().value(u"MaxID").text();
    CDS_Temp().close();
    generator = TAutoIncNo(maxId.isEmpty() ? 0 : maxId.right(digits).toInt());
}

void TDM::seedGenerators() {
    const QString dzz = login.DZZ_ID;
    XSZBPrefix = QStringLiteral("S") + dzz + u'-';
    ZGZBPrefix = QStringLiteral("G") + dzz + u'-';
    XSDYPrefix = QStringLiteral("X") + dzz + u'-';
    ZGDYPrefix = QStringLiteral("Z") + dzz + u'-';
    // Branches count from every branch of the organization, members only
    // from identifiers that carry the prefix.
    seed(XSZBNo, QStringLiteral("Select Max(ZB_ID) as MaxID from DZB_XS where DZZ_ID=") + quoted(dzz), 4);
    seed(ZGZBNo, QStringLiteral("Select Max(ZB_ID) as MaxID from DZB_ZG where DZZ_ID=") + quoted(dzz), 4);
    seed(XSDYNo,
         QStringLiteral("Select Max(DY_ID) as MaxID from Stud_DYInfo where DY_ID LIKE ") +
             quoted(XSDYPrefix + u'%'),
         6);
    seed(ZGDYNo,
         QStringLiteral("Select Max(DY_ID) as MaxID from Staff_DYInfo where DY_ID LIKE ") +
             quoted(ZGDYPrefix + u'%'),
         6);
}

void TDM::LoadTableIDs() {
    RecordSet& t = CDS_Temp();
    OpenSQL(t, QStringLiteral("Select TabID,TabName from Sys_Tables"));
    login.StaffTabID = -1;
    login.StudTabID = -1;
    const int id = t.requireField(u"TabID");
    const int name = t.requireField(u"TabName");
    for (int r = 0; r < t.rowCount(); ++r) {
        const QString table = t.value(r, name).text();
        if (table == u"Staff_DYInfo") login.StaffTabID = int(t.value(r, id).toInt());
        if (table == u"Stud_DYInfo") login.StudTabID = int(t.value(r, id).toInt());
    }
    t.close();
}

bool TDM::CheckVersion() {
    RecordSet& t = CDS_Temp();
    OpenSQL(t, QStringLiteral("Select * from DZZ_Ver order by DZZ_Version DESC"));
    if (t.isEmpty()) {
        t.close();
        return true;
    }
    t.first();
    const QString stored = t.value(u"DZZ_Version").text();
    const QString memo = t.value(u"memo").text();
    t.close();
    if (QByteArray(kClientVersion) >= stored.trimmed().toUtf8()) return true;
    ShowInfo(QStringLiteral(
                 "有新版本软件可以下载，请到网站上下载新版软件并重新安装！\n\n您当前使用的软件版本是：") +
             QString::fromLatin1(kClientVersion) + QStringLiteral("\n\n可下载的新版本软件版本是：") + stored +
             QStringLiteral("\n") + QStringLiteral("可下载的新版本软件简单描述：") + memo);
    return false;
}

void TDM::MarkOnline() {
    RecordSet& users = set(u"CDS_DZZUser");
    try {
        if (!users.isOpen() || users.isEmpty()) return;
        users.edit();
        users.setValue(u"Cur_Version", Value::fromText(QString::fromLatin1(kClientVersion)));
        users.setValue(u"UserOnline", Value::fromBool(true));
        users.post();
        if (users.applyUpdates() != 0) users.cancelUpdates(); // not reported
    } catch (const ConnectionError&) {
        throw;
    } catch (const DataError&) {
        users.cancelUpdates();
    }
}

void TDM::goOffline() {
    if (!m_loggedIn || !m_connection.isConnected()) return;
    RecordSet& users = set(u"CDS_DZZUser");
    try {
        if (!users.isOpen()) users.open();
        if (users.isEmpty()) return;
        users.edit();
        users.setValue(u"UserOnline", Value::fromBool(false));
        users.post();
        users.applyUpdates();
    } catch (const DataError&) {
        // The program is ending; the server marks nothing else.
    }
}

void TDM::LoadSettings() {
    letters = readLetterSettings(*m_settings, login.XueYuan, login.DZZ_Name, clock().today());
}

void TDM::SaveSettings() {
    writeLetterSettings(*m_settings, letters);
}

void TDM::shutDown() {
    if (m_shutDown) return;
    m_shutDown = true;
    goOffline();
    m_connection.disconnect();
    if (m_loggedIn) SaveSettings();
}

void TDM::OpenSQL(RecordSet& set, const QString& text) {
    set.close();
    set.setCommandText(text);
    set.open();
}

void TDM::ExecSQL(RecordSet& set, const QString& text) {
    set.close();
    set.setCommandText(text);
    set.execute();
}

void TDM::BeginTrans() {
    m_connection.BeginTrans();
}
void TDM::CommitTrans() {
    m_connection.CommitTrans();
}
void TDM::RollbackTrans() {
    m_connection.RollbackTrans();
}

void TDM::applyOrRaise(RecordSet& set) {
    set.post();
    if (set.applyUpdates() != 0) RaiseApplyError();
}

bool TDM::inTransaction(const std::function<void()>& body) {
    try {
        BeginTrans();
    } catch (const DataError& e) {
        ShowTransError(e.message());
        return false;
    }
    try {
        body();
        CommitTrans();
        return true;
    } catch (const std::exception& e) {
        const auto* data = dynamic_cast<const DataError*>(&e);
        ShowTransError(data ? data->message() : QString::fromUtf8(e.what()));
        try {
            RollbackTrans();
        } catch (const DataError&) {
            // A lost connection rolls the transaction back on the server.
        }
        return false;
    }
}

void TDM::fillCodeCombo(QComboBox* combo, const QString& memberField, bool candidate) {
    const auto list = Catalogue::codeListFor(memberField, candidate);
    if (!list) throw DataError(QStringLiteral("字段 %1 没有代码表").arg(memberField));
    if (!list->fixedItems.isEmpty()) {
        combo->clear();
        combo->addItems(list->fixedItems);
        return;
    }
    FillComboFromSet(combo, set(list->set), list->field);
}

QString TDM::exportFolder() {
    const QVariant folder = m_settings->value(QStringLiteral("ExportDir"));
    return folder.toString().isEmpty() ? office::defaultExportFolder() : folder.toString();
}

namespace {
void abortWith(const office::OfficeResult& result) {
    ShowError(result.text());
    throw EAbort();
}
} // namespace

bool TDM::ExcelNewSheet() {
    m_excel =
        std::make_unique<office::Workbook>(office::OutputTarget{exportFolder(), &office::fileService()});
    if (office::OfficeResult r = m_excel->newSheet(); !r) {
        m_excel.reset();
        abortWith(r);
    }
    return true;
}

bool TDM::ExcelNewBook() {
    m_excel =
        std::make_unique<office::Workbook>(office::OutputTarget{exportFolder(), &office::fileService()});
    if (office::OfficeResult r = m_excel->newBook(); !r) {
        m_excel.reset();
        abortWith(r);
    }
    return true;
}

void TDM::ExcelAddSheet(const QString& templateFile, int index, const QString& name) {
    if (!m_excel) throw DataError(office::kExcelOpenError);
    if (office::OfficeResult r = m_excel->addSheet(templateFile, index, name); !r) throw DataError(r.text());
}

void TDM::ExcelCell(int row, int column, const QString& text) {
    if (m_excel) m_excel->setCell(row, column, text);
}

void TDM::ExcelRelease(const QString& subject) {
    if (!m_excel) return;
    std::unique_ptr<office::Workbook> book = std::move(m_excel);
    if (!book->isOpen()) return;
    if (office::OfficeResult r = book->release(subject); !r) ShowError(r.text());
}

} // namespace corvexa::client
