#pragma once
// TDM: the one object through which the program reaches its data. It owns the
// connection, every record set, the identifier generators, the login values
// and the letter settings, and runs the start-up sequence.
#include "catalogue.h"
#include "connection.h"
#include "helpers.h"
#include "settings.h"

#include <QObject>
#include <functional>
#include <memory>

namespace corvexa::office {
class Workbook;
}

class QComboBox;

namespace corvexa::client {

class TDM;

struct LoginValues {
    qint32 UserID = -1;
    QString LoginName;
    QString LoginPSWD;
    QString DZZ_ID;
    QString DZZ_Name;
    QString XueYuan;
    int WorkYear = 0;
    int BiYeNianDu = 0;
    bool GL_XueSheng = false;
    bool GL_ZhiGong = false;
    bool GL_BiYeSh = false;
    bool GL_JieShaoXin = false;
    QString ReportDir;
    int StudTabID = -1;
    int StaffTabID = -1;
};

// The login step of the start-up: true when the login closed with OK and the
// login values are filled (through TDM::logIn).
class LoginStep {
public:
    virtual ~LoginStep() = default;
    virtual bool run(TDM& dm) = 0;
};

// Logs in with given values, without a dialog.
class DirectLogin : public LoginStep {
public:
    DirectLogin(QString host, QString user, QString password, int workYear)
        : m_host(std::move(host)), m_user(std::move(user)), m_password(std::move(password)),
          m_workYear(workYear) {}
    bool run(TDM& dm) override;
    QString error() const { return m_error; }

private:
    QString m_host, m_user, m_password;
    int m_workYear;
    QString m_error;
};

// The main window's part of the start-up.
class ShellStep {
public:
    virtual ~ShellStep() = default;
    virtual void createMainWindow(TDM& dm) = 0;
    virtual void setStatus(const QString& user, const QString& organization, const QString& workYear) = 0;
};

class TDM : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kClientVersion = "2008-06-22";

    // settings: where the letter settings live (nullptr: the machine's place).
    explicit TDM(std::unique_ptr<SettingsStore> settings = {}, QObject* parent = nullptr);
    ~TDM() override;

    // The shared instance (the one constructed last and still alive).
    static TDM* instance();

    ServerConnection& connection() { return m_connection; }
    // The machine's settings (registry key or settings file).
    SettingsStore& settings() { return *m_settings; }
    Catalogue& catalogue() { return *m_catalogue; }
    RecordSet& set(QStringView name) { return (*m_catalogue)[name]; }
    RecordSet& CDS_Temp() { return set(u"CDS_Temp"); }
    RecordSet& CDS_Temp2() { return set(u"CDS_Temp2"); }

    LoginValues login;
    LetterSettings letters;

    QString XSZBPrefix, ZGZBPrefix, XSDYPrefix, ZGDYPrefix;
    TAutoIncNo XSZBNo, ZGZBNo, XSDYNo, ZGDYNo;

    // Connects to the host typed at login ("host" or "host:port", port 211),
    // checks name and password, and on success fills the login values and
    // opens CDS_DZZUser on the user's row. Throws ConnectionError.
    LoginResult logIn(const QString& hostText, const QString& user, const QString& password, int workYear);

    // The start-up sequence; false when the login did not succeed and the
    // program is to end.
    bool startUp(LoginStep& login, ShellStep& shell);
    // Destruction sequence: off line, connection closed, settings saved.
    void shutDown();

    // Ad-hoc statements through CDS_Temp or CDS_Temp2.
    void OpenSQL(RecordSet& set, const QString& text);
    void ExecSQL(RecordSet& set, const QString& text);
    // A text value as a quoted literal, inner quotes doubled.
    static QString quoted(const QString& text);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    // Posts and applies a set inside a bracket; failed rows raise EApplyError.
    static void applyOrRaise(RecordSet& set);
    // BeginTrans; body; CommitTrans. On any failure the text is shown in the
    // transaction-error box and the transaction rolled back; false then.
    bool inTransaction(const std::function<void()>& body);

    void seedGenerators();
    void LoadTableIDs();
    bool CheckVersion();
    void MarkOnline();
    void goOffline();
    void LoadSettings();
    void SaveSettings();

    // Spreadsheet output of the exports: a workbook file written on release
    // into the export folder and opened for the user. ExcelNewSheet and
    // ExcelNewBook show "打开Excel时出现错误！" with the reason and throw EAbort
    // when no workbook can be made; ExcelAddSheet throws DataError.
    bool ExcelNewSheet();
    bool ExcelNewBook();
    void ExcelAddSheet(const QString& templateFile, int index, const QString& name);
    void ExcelCell(int row, int column, const QString& text);
    // The workbook being written (null between exports).
    office::Workbook* excel() const { return m_excel.get(); }
    // Writes the workbook named after what it holds and opens it; a failure is
    // shown. Nothing happens without a workbook.
    void ExcelRelease(const QString& subject = QStringLiteral("导出"));
    // The export folder (a setting; by default a folder under the documents).
    QString exportFolder();

    // Fills a drop-down list for a member field from its code table (or its
    // fixed items).
    void fillCodeCombo(QComboBox* combo, const QString& memberField, bool candidate = false);

signals:
    void startUpStep(const QString& step);

private:
    void seed(TAutoIncNo& generator, const QString& query, int digits);

    ServerConnection m_connection;
    Catalogue* m_catalogue;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<office::Workbook> m_excel;
    bool m_loggedIn = false;
    bool m_shutDown = false;
};

// The shared data module.
inline TDM& DM() {
    return *TDM::instance();
}

} // namespace corvexa::client
