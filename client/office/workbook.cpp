#include "workbook.h"

#include "common/gbk.h"
#include "templatebook.h"
#include "zippackage.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <xlsxwriter.h>

namespace corvexa::office {
namespace {
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
} // namespace

Workbook::Workbook(OutputTarget target) : target_(std::move(target)) {}
Workbook::~Workbook() = default;

OfficeResult Workbook::newSheet() {
    discard();
    open_ = true;
    sheets_.push_back({QStringLiteral("Sheet1"), false, {}});
    current_ = 0;
    return OfficeResult::success();
}

OfficeResult Workbook::newBook() {
    discard();
    open_ = true;
    return OfficeResult::success();
}

OfficeResult Workbook::addSheet(const QString& templatePath, int index, const QString& name) {
    if (!open_) return OfficeResult::failure(kExcelOpenError, QStringLiteral("没有打开的工作簿"));
    if (!template_ && !sheets_.empty())
        return OfficeResult::failure(kExcelOpenError, QStringLiteral("普通工作簿中不能加入模板工作表"));
    if (template_ && QFileInfo(template_->templatePath()) != QFileInfo(templatePath))
        return OfficeResult::failure(kExcelOpenError, QStringLiteral("一个工作簿只能使用一个模板"));
    if (!template_) {
        auto book = std::make_unique<TemplateBook>();
        QString reason;
        if (!book->load(templatePath, &reason)) return OfficeResult::failure(kExcelOpenError, reason);
        template_ = std::move(book);
    }
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    if (name.trimmed().isEmpty() || name.size() > 31 ||
        std::any_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); }))
        return OfficeResult::failure(kExcelOpenError, QStringLiteral("工作表名称无效：%1").arg(name));
    for (const auto& s : sheets_)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return OfficeResult::failure(kExcelOpenError, QStringLiteral("工作表名称重复：%1").arg(name));
    int at = std::clamp(index - 1, 0, int(sheets_.size()));
    sheets_.insert(sheets_.begin() + at, Sheet{name, true, {}});
    current_ = at;
    return OfficeResult::success();
}

void Workbook::setCell(int row, int column, const QString& text) {
    if (current_ < 0 || row < 1 || column < 1 || row > kMaxRows || column > kMaxColumns) return;
    auto& rows = sheets_[current_].rows;
    if (int(rows.size()) < row) rows.resize(row);
    auto& cells = rows[row - 1];
    if (int(cells.size()) < column) cells.resize(column);
    cells[column - 1] = text;
}

QString Workbook::cell(int row, int column) const {
    if (current_ < 0 || row < 1 || column < 1) return {};
    const auto& rows = sheets_[current_].rows;
    if (int(rows.size()) < row || int(rows[row - 1].size()) < column) return {};
    return rows[row - 1][column - 1];
}

QString Workbook::sheetName(int index) const {
    return index >= 1 && index <= int(sheets_.size()) ? sheets_[index - 1].name : QString();
}

void Workbook::discard() {
    open_ = false;
    sheets_.clear();
    current_ = -1;
    template_.reset();
}

OfficeResult Workbook::release(const QString& subject) {
    if (!open_) return OfficeResult::failure(kExcelOpenError, QStringLiteral("没有打开的工作簿"));
    if (sheets_.empty()) {
        discard();
        return OfficeResult::failure(kExcelOpenError, QStringLiteral("工作簿中没有工作表"));
    }
    QString reason;
    if (!prepareFolder(target_.folder, &reason)) {
        discard();
        return OfficeResult::failure(kExcelOpenError, reason);
    }
    const QString path = exportPath(target_.folder, subject, QStringLiteral(".xlsx"));
    OfficeResult result = OfficeResult::success(path);
    if (template_) {
        if (!template_->write(path, sheets_, current_, &reason))
            result = OfficeResult::failure(kExcelOpenError, reason);
    } else {
        result = writePlain(path);
    }
    discard();
    if (result && target_.files) target_.files->openForUser(path);
    return result;
}

OfficeResult Workbook::writePlain(const QString& path) const {
    QString reason;
    bool written = writeThroughTemporary(path, &reason, [this](const QString& temporary, QString* error) {
        // Strings go into the shared string table (not inline), which every
        // reader handles.
        const QByteArray tmp = QFile::encodeName(temporary);
        lxw_workbook* book = workbook_new(tmp.constData());
        if (!book) {
            *error = QStringLiteral("无法写入文件：%1").arg(QDir::toNativeSeparators(temporary));
            return false;
        }
        for (const Sheet& sheet : sheets_) {
            const QByteArray name = sheet.name.toUtf8();
            lxw_worksheet* ws = workbook_add_worksheet(book, name.constData());
            if (!ws) {
                workbook_close(book);
                *error = QStringLiteral("工作表名称无效：%1").arg(sheet.name);
                return false;
            }
            // Column widths from the widest text, counted as Excel counts: a
            // Chinese character takes two.
            std::vector<int> widths;
            for (const auto& cells : sheet.rows) {
                if (widths.size() < cells.size()) widths.resize(cells.size(), 0);
                for (size_t c = 0; c < cells.size(); ++c)
                    widths[c] = std::max(widths[c], std::min(gbk::byteWidth(cells[c]), 60));
            }
            for (size_t c = 0; c < widths.size(); ++c)
                if (widths[c] > 0)
                    worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), widths[c] + 2.0, nullptr);
            for (size_t r = 0; r < sheet.rows.size(); ++r) {
                const auto& cells = sheet.rows[r];
                for (size_t c = 0; c < cells.size(); ++c) {
                    if (cells[c].isEmpty()) continue;
                    const QByteArray text = cells[c].toUtf8();
                    worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), text.constData(), nullptr);
                }
            }
        }
        lxw_error err = workbook_close(book);
        if (err != LXW_NO_ERROR) {
            *error = QStringLiteral("写入文件时出错：%1").arg(QString::fromUtf8(lxw_strerror(err)));
            return false;
        }
        return true;
    });
    return written ? OfficeResult::success(path) : OfficeResult::failure(kExcelOpenError, reason);
}

} // namespace corvexa::office
