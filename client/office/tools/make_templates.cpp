// Writes the workbook and document templates the program ships in FixedReport:
// the two candidate sheets and the transfer registration form. Run by the
// build; the output is reproducible from this file alone.
//
//   corvexa-make-templates OUTPUT_FOLDER
#include "zippackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <xlsxwriter.h>

using corvexa::office::ZipPackage;

namespace {

struct CandidateSheet {
    QString file;
    QString title;
    QStringList headings; // row 3, from column A
    int branchColumn;     // 1-based cell (2, branchColumn) gets the branch name
    int dateColumn;       // 1-based cell (11, dateColumn) gets the date
    QList<double> widths;
};

QByteArray u8(const QString& s) {
    return s.toUtf8();
}

bool writeCandidateSheet(const QString& folder, const CandidateSheet& sheet) {
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + sheet.file);
    lxw_workbook* book = workbook_new(path.constData());
    if (!book) return false;
    lxw_worksheet* ws = workbook_add_worksheet(book, "Sheet1");
    worksheet_set_landscape(ws);
    worksheet_set_paper(ws, 9); // A4
    worksheet_set_margins(ws, 0.4, 0.4, 0.6, 0.6);
    worksheet_fit_to_pages(ws, 1, 1);

    lxw_format* title = workbook_add_format(book);
    format_set_bold(title);
    format_set_font_size(title, 16);
    format_set_align(title, LXW_ALIGN_CENTER);
    format_set_align(title, LXW_ALIGN_VERTICAL_CENTER);
    format_set_font_name(title, "宋体");

    lxw_format* plain = workbook_add_format(book);
    format_set_font_name(plain, "宋体");
    format_set_font_size(plain, 11);
    format_set_align(plain, LXW_ALIGN_VERTICAL_CENTER);

    lxw_format* label = workbook_add_format(book);
    format_set_font_name(label, "宋体");
    format_set_font_size(label, 11);
    format_set_align(label, LXW_ALIGN_RIGHT);
    format_set_align(label, LXW_ALIGN_VERTICAL_CENTER);

    lxw_format* heading = workbook_add_format(book);
    format_set_font_name(heading, "宋体");
    format_set_bold(heading);
    format_set_font_size(heading, 10);
    format_set_border(heading, LXW_BORDER_THIN);
    format_set_text_wrap(heading);
    format_set_align(heading, LXW_ALIGN_CENTER);
    format_set_align(heading, LXW_ALIGN_VERTICAL_CENTER);
    format_set_bg_color(heading, 0xE8E8E8);

    lxw_format* cell = workbook_add_format(book);
    format_set_font_name(cell, "宋体");
    format_set_font_size(cell, 10);
    format_set_border(cell, LXW_BORDER_THIN);
    format_set_text_wrap(cell);
    format_set_align(cell, LXW_ALIGN_CENTER);
    format_set_align(cell, LXW_ALIGN_VERTICAL_CENTER);

    const int last = int(sheet.headings.size()) - 1;
    for (int c = 0; c <= last; ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), sheet.widths.value(c, 10), nullptr);
    worksheet_set_row(ws, 0, 36, nullptr);
    worksheet_merge_range(ws, 0, 0, 0, lxw_col_t(last), u8(sheet.title).constData(), title);
    // Row 2: the organization's name (written at A2) and the branch's name.
    worksheet_set_row(ws, 1, 22, nullptr);
    worksheet_merge_range(ws, 1, 0, 1, lxw_col_t(sheet.branchColumn - 3), "", plain);
    worksheet_write_string(ws, 1, lxw_col_t(sheet.branchColumn - 2), "党支部：", label);
    worksheet_merge_range(ws, 1, lxw_col_t(sheet.branchColumn - 1), 1, lxw_col_t(sheet.branchColumn + 1), "",
                          plain);
    worksheet_set_row(ws, 2, 42, nullptr);
    for (int c = 0; c <= last; ++c)
        worksheet_write_string(ws, 2, lxw_col_t(c), u8(sheet.headings[c]).constData(), heading);
    for (int r = 3; r <= 7; ++r) {
        worksheet_set_row(ws, lxw_row_t(r), 30, nullptr);
        for (int c = 0; c <= last; ++c)
            worksheet_write_blank(ws, lxw_row_t(r), lxw_col_t(c), cell);
    }
    // Row 9: the note with the branch's head counts.
    worksheet_set_row(ws, 8, 22, nullptr);
    worksheet_merge_range(ws, 8, 0, 8, lxw_col_t(last), "", plain);
    // Row 11: signatures and the date.
    worksheet_set_row(ws, 10, 22, nullptr);
    worksheet_write_string(ws, 10, 0, "党支部书记（签字）：", plain);
    worksheet_write_string(ws, 10, 5, "二级党组织（盖章）：", plain);
    worksheet_write_string(ws, 10, lxw_col_t(sheet.dateColumn - 2), "填表日期：", label);
    worksheet_write_blank(ws, 10, lxw_col_t(sheet.dateColumn - 1), plain);
    return workbook_close(book) == LXW_NO_ERROR;
}

// ---- the registration form (.docx) ----

QString esc(const QString& s) {
    return s.toHtmlEscaped();
}

const char* kRunFont = R"(<w:rFonts w:ascii="SimSun" w:hAnsi="SimSun" w:eastAsia="宋体"/>)";

QString run(const QString& text, int halfPoints = 21, bool bold = false) {
    return QStringLiteral(
               R"(<w:r><w:rPr>%1%2<w:sz w:val="%3"/></w:rPr><w:t xml:space="preserve">%4</w:t></w:r>)")
        .arg(QLatin1String(kRunFont), bold ? QStringLiteral("<w:b/>") : QString())
        .arg(halfPoints)
        .arg(esc(text));
}

// A bookmark right before its one placeholder character.
QString mark(const QString& name, int id, int halfPoints = 21, bool bold = false) {
    return QStringLiteral(R"(<w:bookmarkStart w:id="%1" w:name="%2"/><w:bookmarkEnd w:id="%1"/>)")
               .arg(id)
               .arg(name) +
           run(QStringLiteral("＿"), halfPoints, bold);
}

QString paragraph(const QString& runs, const QString& align = QStringLiteral("left"), int halfPoints = 21) {
    return QStringLiteral(
               R"(<w:p><w:pPr><w:jc w:val="%1"/><w:rPr>%2<w:sz w:val="%3"/></w:rPr></w:pPr>%4</w:p>)")
        .arg(align, QLatin1String(kRunFont))
        .arg(halfPoints)
        .arg(runs);
}

QString tableCell(int width, const QString& content) {
    return QStringLiteral(
               R"(<w:tc><w:tcPr><w:tcW w:w="%1" w:type="dxa"/><w:vAlign w:val="center"/></w:tcPr>%2</w:tc>)")
        .arg(width)
        .arg(content);
}

QByteArray registrationForm() {
    const QStringList headings = {QStringLiteral("姓名"),
                                  QStringLiteral("党员类型"),
                                  QStringLiteral("接收单位"),
                                  QStringLiteral("接收单位隶属上级党组织"),
                                  QStringLiteral("接收单位所在地区"),
                                  QStringLiteral("身份证号"),
                                  QStringLiteral("家庭固定电话"),
                                  QStringLiteral("手机"),
                                  QStringLiteral("电子邮件")};
    const QList<int> widths = {1100, 900, 2400, 2400, 1300, 2000, 1400, 1400, 1800};
    QString grid;
    for (int w : widths)
        grid += QStringLiteral(R"(<w:gridCol w:w="%1"/>)").arg(w);
    QString rows;
    QString header;
    for (int c = 0; c < headings.size(); ++c)
        header += tableCell(widths[c], paragraph(run(headings[c], 18, true), QStringLiteral("center"), 18));
    rows += QStringLiteral(R"(<w:tr><w:trPr><w:tblHeader/><w:trHeight w:val="560"/></w:trPr>%1</w:tr>)")
                .arg(header);
    for (int r = 1; r <= 9; ++r) {
        QString cells;
        for (int c = 0; c < headings.size(); ++c) {
            QString content = (r == 9 && c == 0) ? mark(QStringLiteral("bk_Ins"), 2, 18) : QString();
            cells += tableCell(widths[c], paragraph(content, QStringLiteral("center"), 18));
        }
        rows += QStringLiteral(R"(<w:tr><w:trPr><w:trHeight w:val="480"/></w:trPr>%1</w:tr>)").arg(cells);
    }
    const QString borders = QStringLiteral(
        R"(<w:tblBorders><w:top w:val="single" w:sz="6"/><w:left w:val="single" w:sz="6"/><w:bottom w:val="single" w:sz="6"/><w:right w:val="single" w:sz="6"/><w:insideH w:val="single" w:sz="4"/><w:insideV w:val="single" w:sz="4"/></w:tblBorders>)");
    const QString table =
        QStringLiteral(
            R"(<w:tbl><w:tblPr><w:tblW w:w="0" w:type="auto"/><w:jc w:val="center"/>%1<w:tblLayout w:type="fixed"/></w:tblPr><w:tblGrid>%2</w:tblGrid>%3</w:tbl>)")
            .arg(borders, grid, rows);

    QString body;
    body += paragraph(mark(QStringLiteral("bk_XueYuan"), 0, 32, true) +
                          run(QStringLiteral("毕业生党员组织关系介绍信转移登记表"), 32, true),
                      QStringLiteral("center"), 32);
    body += paragraph(run(QStringLiteral("毕业生党员总数：")) + mark(QStringLiteral("bk_BYDY"), 1) +
                      run(QStringLiteral(" 人；其中组织关系转往省外：")) + mark(QStringLiteral("bk_Wai"), 3) +
                      run(QStringLiteral(" 人，转往校内：")) + mark(QStringLiteral("bk_Xiao"), 4) +
                      run(QStringLiteral(" 人。")));
    body += table;
    body += paragraph(QString());
    body += paragraph(
        run(QStringLiteral("经办人（签字）：                    二级党组织（盖章）：                    "
                           "年    月    日")));
    body += QStringLiteral(
        R"(<w:sectPr><w:pgSz w:w="16838" w:h="11906" w:orient="landscape"/><w:pgMar w:top="1000" w:right="800" w:bottom="1000" w:left="800" w:header="600" w:footer="600" w:gutter="0"/></w:sectPr>)");
    return (QStringLiteral(
                R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                "\n"
                R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><w:body>)") +
            body + QStringLiteral("</w:body></w:document>"))
        .toUtf8();
}

bool writeRegistrationForm(const QString& path) {
    ZipPackage package;
    package.setPart(QStringLiteral("[Content_Types].xml"),
                    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/><Override PartName="/word/settings.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"/></Types>)");
    package.setPart(QStringLiteral("_rels/.rels"), R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)");
    package.setPart(QStringLiteral("word/_rels/document.xml.rels"),
                    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings" Target="settings.xml"/></Relationships>)");
    package.setPart(QStringLiteral("word/settings.xml"),
                    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<w:settings xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:defaultTabStop w:val="420"/><w:compat/></w:settings>)");
    package.setPart(QStringLiteral("word/document.xml"), registrationForm());
    QString error;
    if (!package.write(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvexa-make-templates OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QList<double> studentWidths = {12, 12, 9, 6, 7, 11, 11, 8, 11, 11, 10, 12, 14, 10};
    const QList<double> staffWidths = {12, 14, 9, 6, 7, 11, 11, 11, 11, 11, 9, 8, 12};
    const CandidateSheet student{QStringLiteral("学生党员发展对象基本情况一览表.xlsx"),
                                 QStringLiteral("学生党员发展对象基本情况一览表"),
                                 {QStringLiteral("入党志愿书编号"), QStringLiteral("班级"),
                                  QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("民族"),
                                  QStringLiteral("出生日期"), QStringLiteral("籍贯"), QStringLiteral("学历"),
                                  QStringLiteral("递交入党申请书时间"), QStringLiteral("确定为积极分子时间"),
                                  QStringLiteral("培养联系人"), QStringLiteral("政治审查情况"),
                                  QStringLiteral("支部委员会意见"), QStringLiteral("备注")},
                                 7,
                                 14,
                                 studentWidths};
    const CandidateSheet staff{QStringLiteral("教工党员发展对象基本情况一览表.xlsx"),
                               QStringLiteral("教工党员发展对象基本情况一览表"),
                               {QStringLiteral("入党志愿书编号"), QStringLiteral("党支部"),
                                QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("民族"),
                                QStringLiteral("出生日期"), QStringLiteral("籍贯"),
                                QStringLiteral("参加工作时间"), QStringLiteral("递交入党申请书时间"),
                                QStringLiteral("确定为积极分子时间"), QStringLiteral("技术级别"),
                                QStringLiteral("学历"), QStringLiteral("备注")},
                               6,
                               13,
                               staffWidths};
    bool ok = writeCandidateSheet(folder, student) && writeCandidateSheet(folder, staff) &&
              writeRegistrationForm(folder + QStringLiteral("/学院毕业生党员组织关系介绍信转移登记表.docx"));
    return ok ? 0 : 1;
}
