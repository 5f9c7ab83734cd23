#include "workbookreader.h"

#include "common/dates.h"
#include "zippackage.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <freexl.h>
#include <memory>
#include <orcus/orcus_csv.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <stdexcept>

namespace corvexa::office {
namespace ss = orcus::spreadsheet;

void WorkbookReader::Sheet::set(int row, int column, const QString& text) {
    if (row < 1 || column < 1 || column > 0xFFFF || text.isEmpty()) return;
    cells.insert((quint64(row) << 16) | quint64(column), text);
    rows = std::max(rows, row);
    columns = std::max(columns, column);
}

QString numberText(double value) {
    if (!std::isfinite(value)) return {};
    if (value == std::floor(value) && std::fabs(value) < 1e15) return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 15);
    return text;
}

namespace {

QString dateText(const QDateTime& value) {
    if (!value.isValid()) return {};
    if (value.time() == QTime(0, 0)) return value.toString(QStringLiteral("yyyy-MM-dd"));
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Whether a number format shows a date or a time: the built-in date formats,
// or a format code with date or time letters outside quotes and brackets.
bool isDateFormat(std::optional<size_t> id, const QString& code) {
    if (id) {
        const size_t n = *id;
        if ((n >= 14 && n <= 22) || (n >= 27 && n <= 36) || (n >= 45 && n <= 47) || (n >= 50 && n <= 58))
            return true;
        if (n < 164 && code.isEmpty()) return false;
    }
    bool quoted = false;
    int bracket = 0;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\\' || c == u'_' || c == u'*')
            ++i;
        else if (c == u'[')
            ++bracket;
        else if (c == u']')
            --bracket;
        else if (bracket == 0 && QStringLiteral("yYdDhHsS").contains(c))
            return true;
        else if (bracket == 0 && c == u';')
            break; // the first section decides
    }
    return false;
}

class Strings : public ss::iface::import_shared_strings {
public:
    std::vector<QString> pool;
    QString segments;
    size_t append(std::string_view s) override {
        return push(QString::fromUtf8(s.data(), qsizetype(s.size())));
    }
    size_t add(std::string_view s) override { return append(s); }
    void set_segment_font(size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t,
                                ss::color_elem_t) override {}
    void append_segment(std::string_view s) override {
        segments += QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    size_t commit_segments() override {
        size_t id = push(segments);
        segments.clear();
        return id;
    }

private:
    size_t push(const QString& s) {
        pool.push_back(s);
        return pool.size() - 1;
    }
};

// Only the number formats matter here: they tell dates from numbers.
class Styles : public ss::iface::import_styles {
public:
    struct NumberFormat {
        std::optional<size_t> id;
        QString code;
    };
    std::vector<NumberFormat> numberFormats;
    std::vector<size_t> xfNumberFormat; // per cell format: the number format given to it

    bool isDate(size_t xf) const {
        if (xf >= xfNumberFormat.size()) return false;
        const size_t n = xfNumberFormat[xf];
        // The format is named by its number format id; the committed formats
        // carry their ids, the built-in ones have none committed.
        for (const auto& f : numberFormats)
            if (f.id && *f.id == n) return isDateFormat(f.id, f.code);
        if (n < numberFormats.size() && !numberFormats[n].id) return isDateFormat({}, numberFormats[n].code);
        return isDateFormat(n, {});
    }

    void set_font_count(size_t) override {}
    void set_font_bold(bool) override {}
    void set_font_italic(bool) override {}
    void set_font_name(std::string_view) override {}
    void set_font_size(double) override {}
    void set_font_underline(ss::underline_t) override {}
    void set_font_underline_width(ss::underline_width_t) override {}
    void set_font_underline_mode(ss::underline_mode_t) override {}
    void set_font_underline_type(ss::underline_type_t) override {}
    void set_font_underline_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t,
                                  ss::color_elem_t) override {}
    void set_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_strikethrough_style(ss::strikethrough_style_t) override {}
    void set_strikethrough_type(ss::strikethrough_type_t) override {}
    void set_strikethrough_width(ss::strikethrough_width_t) override {}
    void set_strikethrough_text(ss::strikethrough_text_t) override {}
    size_t commit_font() override { return fonts_++; }
    void set_fill_count(size_t) override {}
    void set_fill_pattern_type(ss::fill_pattern_t) override {}
    void set_fill_fg_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_fill_bg_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    size_t commit_fill() override { return fills_++; }
    void set_border_count(size_t) override {}
    void set_border_style(ss::border_direction_t, ss::border_style_t) override {}
    void set_border_color(ss::border_direction_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t,
                          ss::color_elem_t) override {}
    void set_border_width(ss::border_direction_t, double, orcus::length_unit_t) override {}
    size_t commit_border() override { return borders_++; }
    void set_cell_hidden(bool) override {}
    void set_cell_locked(bool) override {}
    void set_cell_print_content(bool) override {}
    void set_cell_formula_hidden(bool) override {}
    size_t commit_cell_protection() override { return protections_++; }
    void set_number_format_count(size_t) override {}
    void set_number_format_identifier(size_t id) override { pending_.id = id; }
    void set_number_format_code(std::string_view s) override {
        pending_.code = QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    size_t commit_number_format() override {
        numberFormats.push_back(pending_);
        pending_ = {};
        return numberFormats.size() - 1;
    }
    void set_cell_xf_count(size_t) override {}
    void set_cell_style_xf_count(size_t) override {}
    void set_dxf_count(size_t) override {}
    void set_xf_font(size_t) override {}
    void set_xf_fill(size_t) override {}
    void set_xf_border(size_t) override {}
    void set_xf_protection(size_t) override {}
    void set_xf_number_format(size_t index) override { xfFormat_ = index; }
    void set_xf_style_xf(size_t) override {}
    void set_xf_apply_alignment(bool) override {}
    void set_xf_horizontal_alignment(ss::hor_alignment_t) override {}
    void set_xf_vertical_alignment(ss::ver_alignment_t) override {}
    size_t commit_cell_xf() override {
        xfNumberFormat.push_back(xfFormat_);
        xfFormat_ = 0;
        return xfNumberFormat.size() - 1;
    }
    size_t commit_cell_style_xf() override {
        xfFormat_ = 0;
        return styleXfs_++;
    }
    size_t commit_dxf() override {
        xfFormat_ = 0;
        return dxfs_++;
    }
    void set_cell_style_count(size_t) override {}
    void set_cell_style_name(std::string_view) override {}
    void set_cell_style_xf(size_t) override {}
    void set_cell_style_builtin(size_t) override {}
    void set_cell_style_parent_name(std::string_view) override {}
    size_t commit_cell_style() override { return cellStyles_++; }

private:
    NumberFormat pending_;
    size_t xfFormat_ = 0;
    size_t fonts_ = 0, fills_ = 0, borders_ = 0, protections_ = 0, styleXfs_ = 0, dxfs_ = 0, cellStyles_ = 0;
};

class Settings : public ss::iface::import_global_settings {
public:
    QDate origin{1899, 12, 30};
    void set_origin_date(int year, int month, int day) override { origin = QDate(year, month, day); }
    void set_default_formula_grammar(ss::formula_grammar_t g) override { grammar_ = g; }
    ss::formula_grammar_t get_default_formula_grammar() const override { return grammar_; }
    void set_character_set(orcus::character_set_t) override {}

private:
    ss::formula_grammar_t grammar_ = ss::formula_grammar_t::xlsx;
};

// Cell references such as "B7", "$B$7" or "Sheet1!A1:C3"; the sheet part is not needed.
class References : public ss::iface::import_reference_resolver {
public:
    ss::src_address_t resolve_address(std::string_view address) override {
        std::string_view a =
            address.substr(address.find('!') == std::string_view::npos ? 0 : address.find('!') + 1);
        ss::src_address_t out{0, 0, 0};
        int column = 0, row = 0;
        for (char c : a) {
            if (c == '$') continue;
            if (c >= 'A' && c <= 'Z')
                column = column * 26 + (c - 'A' + 1);
            else if (c >= 'a' && c <= 'z')
                column = column * 26 + (c - 'a' + 1);
            else if (c >= '0' && c <= '9')
                row = row * 10 + (c - '0');
            else
                throw std::invalid_argument("not a cell reference");
        }
        if (column < 1 || row < 1) throw std::invalid_argument("not a cell reference");
        out.row = row - 1;
        out.column = column - 1;
        return out;
    }
    ss::src_range_t resolve_range(std::string_view range) override {
        const size_t colon = range.find(':');
        if (colon == std::string_view::npos) {
            const auto one = resolve_address(range);
            return {one, one};
        }
        return {resolve_address(range.substr(0, colon)), resolve_address(range.substr(colon + 1))};
    }
};

struct Collected {
    References references;
    Strings strings;
    Styles styles;
    Settings settings;
};

// A cell's value arrives in pieces (value, then format); it is rendered as
// text once the workbook is read.
struct RawCell {
    enum Kind { Text, Number, Bool, Date } kind = Text;
    QString text;
    double number = 0;
    size_t xf = 0;
};

class SheetSink;

class FormulaSink : public ss::iface::import_formula {
public:
    explicit FormulaSink(SheetSink& sheet) : sheet_(sheet) {}
    void set_position(ss::row_t row, ss::col_t col) override {
        row_ = row;
        col_ = col;
    }
    void set_formula(ss::formula_grammar_t, std::string_view) override {}
    void set_shared_formula_index(size_t) override {}
    void set_result_string(std::string_view value) override;
    void set_result_value(double value) override;
    void set_result_bool(bool value) override;
    void set_result_empty() override {}
    void commit() override {}

private:
    SheetSink& sheet_;
    ss::row_t row_ = 0;
    ss::col_t col_ = 0;
};

class SheetSink : public ss::iface::import_sheet {
public:
    SheetSink(QString name, Collected& shared) : name(std::move(name)), shared_(shared), formula_(*this) {}
    QString name;
    QHash<quint64, RawCell> cells;

    static quint64 key(ss::row_t row, ss::col_t col) { return (quint64(row + 1) << 16) | quint64(col + 1); }
    RawCell& at(ss::row_t row, ss::col_t col) { return cells[key(row, col)]; }

    ss::iface::import_formula* get_formula() override { return &formula_; }
    void set_auto(ss::row_t row, ss::col_t col, std::string_view s) override {
        RawCell& c = at(row, col);
        c.kind = RawCell::Text;
        c.text = QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    void set_string(ss::row_t row, ss::col_t col, ss::string_id_t id) override {
        RawCell& c = at(row, col);
        c.kind = RawCell::Text;
        c.text = id < shared_.strings.pool.size() ? shared_.strings.pool[id] : QString();
    }
    void set_value(ss::row_t row, ss::col_t col, double value) override {
        RawCell& c = at(row, col);
        if (c.kind != RawCell::Date) c.kind = RawCell::Number;
        c.number = value;
    }
    void set_bool(ss::row_t row, ss::col_t col, bool value) override {
        RawCell& c = at(row, col);
        c.kind = RawCell::Bool;
        c.number = value ? 1 : 0;
    }
    void set_date_time(ss::row_t row, ss::col_t col, int year, int month, int day, int hour, int minute,
                       double second) override {
        RawCell& c = at(row, col);
        c.kind = RawCell::Date;
        c.text = dateText(dates::makeDateTime(year, month, day, hour, minute, int(second)));
    }
    void set_format(ss::row_t row, ss::col_t col, size_t xf) override {
        auto it = cells.find(key(row, col));
        if (it != cells.end())
            it->xf = xf;
        else
            formats_.insert(key(row, col), xf);
    }
    void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, size_t) override {}
    void fill_down_cells(ss::row_t row, ss::col_t col, ss::row_t size) override {
        auto it = cells.constFind(key(row, col));
        if (it == cells.constEnd()) return;
        RawCell copy = *it;
        for (ss::row_t r = 1; r <= size; ++r)
            cells.insert(key(row + r, col), copy);
    }
    ss::range_size_t get_sheet_size() const override { return {1048576, 16384}; }

    // Formats may arrive before the value (ods); join them up.
    void applyPendingFormats() {
        for (auto it = formats_.constBegin(); it != formats_.constEnd(); ++it) {
            auto c = cells.find(it.key());
            if (c != cells.end()) c->xf = it.value();
        }
    }

private:
    Collected& shared_;
    FormulaSink formula_;
    QHash<quint64, size_t> formats_;
};

void FormulaSink::set_result_string(std::string_view value) {
    sheet_.set_auto(row_, col_, value);
}
void FormulaSink::set_result_value(double value) {
    sheet_.set_value(row_, col_, value);
}
void FormulaSink::set_result_bool(bool value) {
    sheet_.set_bool(row_, col_, value);
}

class Factory : public ss::iface::import_factory {
public:
    Collected shared;
    std::vector<std::unique_ptr<SheetSink>> sheets;

    ss::iface::import_global_settings* get_global_settings() override { return &shared.settings; }
    ss::iface::import_shared_strings* get_shared_strings() override { return &shared.strings; }
    ss::iface::import_styles* get_styles() override { return &shared.styles; }
    ss::iface::import_reference_resolver* get_reference_resolver(ss::formula_ref_context_t) override {
        return &shared.references;
    }
    ss::iface::import_sheet* append_sheet(ss::sheet_t, std::string_view name) override {
        sheets.push_back(
            std::make_unique<SheetSink>(QString::fromUtf8(name.data(), qsizetype(name.size())), shared));
        return sheets.back().get();
    }
    ss::iface::import_sheet* get_sheet(std::string_view name) override {
        const QString wanted = QString::fromUtf8(name.data(), qsizetype(name.size()));
        for (auto& s : sheets)
            if (s->name == wanted) return s.get();
        return nullptr;
    }
    ss::iface::import_sheet* get_sheet(ss::sheet_t index) override {
        return index >= 0 && size_t(index) < sheets.size() ? sheets[index].get() : nullptr;
    }
    void finalize() override {}
};

QString renderCell(const RawCell& cell, const Collected& shared) {
    switch (cell.kind) {
    case RawCell::Text:
    case RawCell::Date:
        return cell.text;
    case RawCell::Bool:
        return cell.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case RawCell::Number:
        if (shared.styles.isDate(cell.xf)) {
            QDate origin = shared.settings.origin;
            double whole = std::floor(cell.number);
            qint64 ms = std::llround((cell.number - whole) * 86400000.0);
            QDateTime value(origin.addDays(qint64(whole)), QTime(0, 0), Qt::UTC);
            return dateText(value.addMSecs(ms));
        }
        return numberText(cell.number);
    }
    return {};
}

// The .xlsx reader skips cells stored as inline strings (t="inlineStr"), which
// some exporting tools write. Such workbooks are read from a copy whose inline
// strings are moved into the shared string table. Returns the copy's path, or
// an empty text when the workbook has none (or is no package we can copy).
QString sharedStringCopy(const QString& path, const QTemporaryDir& scratch) {
    ZipPackage package;
    QString error;
    if (!scratch.isValid() || !package.read(path, &error)) return {};
    QStringList sheets;
    for (const QString& name : package.names())
        if (name.startsWith(QStringLiteral("xl/worksheets/")) && name.endsWith(QStringLiteral(".xml")) &&
            package.part(name).contains("inlineStr"))
            sheets << name;
    if (sheets.isEmpty()) return {};

    // The string table: the workbook's own, or a new one.
    QString stringsPart = QStringLiteral("xl/sharedStrings.xml");
    QString rels = QString::fromUtf8(package.part(QStringLiteral("xl/_rels/workbook.xml.rels")));
    static const QRegularExpression stringsRel(
        QStringLiteral(R"(<Relationship\b[^>]*/sharedStrings"[^>]*>)"));
    static const QRegularExpression target(QStringLiteral(R"re(Target="/?(?:xl/)?([^"]+)")re"));
    const auto rel = stringsRel.match(rels);
    if (rel.hasMatch()) {
        stringsPart = QStringLiteral("xl/") + target.match(rel.captured(0)).captured(1);
    } else {
        rels.replace(
            QStringLiteral("</Relationships>"),
            QStringLiteral("<Relationship Id=\"rIdCorvexaStrings\" Type=\"http://schemas.openxmlformats.org/"
                           "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                           "</Relationships>"));
        package.setPart(QStringLiteral("xl/_rels/workbook.xml.rels"), rels.toUtf8());
        QString types = QString::fromUtf8(package.part(QStringLiteral("[Content_Types].xml")));
        types.replace(
            QStringLiteral("</Types>"),
            QStringLiteral("<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
                           "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/></Types>"));
        package.setPart(QStringLiteral("[Content_Types].xml"), types.toUtf8());
    }
    QString strings = QString::fromUtf8(package.part(stringsPart));
    if (strings.isEmpty())
        strings =
            QStringLiteral("<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"></sst>");
    static const QRegularExpression emptyRoot(QStringLiteral(R"(<((?:\w+:)?)sst\b([^>]*?)/>)"));
    strings.replace(emptyRoot, QStringLiteral("<\\1sst\\2></\\1sst>"));
    static const QRegularExpression item(QStringLiteral(R"(<(?:\w+:)?si[ >/])"));
    const int existing = int(strings.count(item));

    static const QRegularExpression inlineCell(
        QStringLiteral(R"(<((?:\w+:)?)c\b([^>]*?)\st="inlineStr"([^>]*?)(?<!/)>(.*?)</\1c>)"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression textRun(QStringLiteral(R"(<(?:\w+:)?t(?:\s[^>]*)?>(.*?)</(?:\w+:)?t>)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression phonetic(QStringLiteral(R"(<(?:\w+:)?rPh\b.*?</(?:\w+:)?rPh>)"),
                                             QRegularExpression::DotMatchesEverythingOption);
    QString items; // the moved texts, still escaped as they stood
    int moved = 0;
    for (const QString& name : sheets) {
        const QString xml = QString::fromUtf8(package.part(name));
        QString out;
        qsizetype last = 0;
        for (auto it = inlineCell.globalMatch(xml); it.hasNext();) {
            const auto m = it.next();
            QString content = m.captured(4);
            content.remove(phonetic);
            QString text;
            for (auto t = textRun.globalMatch(content); t.hasNext();)
                text += t.next().captured(1);
            items += QStringLiteral("<si><t xml:space=\"preserve\">") + text + QStringLiteral("</t></si>");
            out += QStringView(xml).mid(last, m.capturedStart() - last);
            out += QStringLiteral("<%1c%2 t=\"s\"%3><%1v>%4</%1v></%1c>")
                       .arg(m.captured(1), m.captured(2), m.captured(3))
                       .arg(existing + moved++);
            last = m.capturedEnd();
        }
        out += QStringView(xml).mid(last);
        package.setPart(name, out.toUtf8());
    }
    const qsizetype end = strings.lastIndexOf(QStringLiteral("sst>"));
    const qsizetype close = strings.lastIndexOf(QLatin1Char('<'), end);
    if (close < 0) return {};
    strings.insert(close, items);
    package.setPart(stringsPart, strings.toUtf8());
    const QString copy = scratch.filePath(QStringLiteral("workbook.xlsx"));
    return package.write(copy, &error) ? copy : QString();
}

bool readWithOrcus(const QString& path, const QString& suffix, std::vector<WorkbookReader::Sheet>& out,
                   QString* reason) {
    Factory factory;
    try {
        const std::string file = QFile::encodeName(path).toStdString();
        if (suffix == u"xlsx" || suffix == u"xlsm") {
            QTemporaryDir scratch;
            const QString copy = sharedStringCopy(path, scratch);
            orcus::orcus_xlsx filter(&factory);
            filter.read_file(copy.isEmpty() ? file : QFile::encodeName(copy).toStdString());
        } else if (suffix == u"ods") {
            orcus::orcus_ods filter(&factory);
            filter.read_file(file);
        } else {
            orcus::orcus_csv filter(&factory);
            filter.read_file(file);
            // A csv is one sheet, named after the file.
            if (!factory.sheets.empty()) factory.sheets.front()->name = QFileInfo(path).completeBaseName();
        }
    } catch (const std::exception& e) {
        *reason = QStringLiteral("无法读取工作簿 %1：%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(e.what()));
        return false;
    }
    for (auto& sink : factory.sheets) {
        sink->applyPendingFormats();
        WorkbookReader::Sheet sheet;
        sheet.name = sink->name;
        for (auto it = sink->cells.constBegin(); it != sink->cells.constEnd(); ++it)
            sheet.set(int(it.key() >> 16), int(it.key() & 0xFFFF), renderCell(*it, factory.shared));
        out.push_back(std::move(sheet));
    }
    return true;
}

bool readWithFreexl(const QString& path, std::vector<WorkbookReader::Sheet>& out, QString* reason) {
    const void* handle = nullptr;
    const QByteArray file = QFile::encodeName(path);
    auto fail = [&](const QString& why) {
        *reason = QStringLiteral("无法读取工作簿 %1：%2").arg(QDir::toNativeSeparators(path), why);
        if (handle) freexl_close(handle);
        return false;
    };
    int rc = freexl_open(file.constData(), &handle);
    if (rc != FREEXL_OK) {
        handle = nullptr;
        return fail(QStringLiteral("不是有效的Excel 97-2003工作簿（错误 %1）").arg(rc));
    }
    unsigned int password = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
        password == FREEXL_BIFF_OBFUSCATED)
        return fail(QStringLiteral("工作簿有密码保护"));
    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return fail(QStringLiteral("读取工作表失败"));
    for (unsigned short s = 0; s < count; ++s) {
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(handle, s, &name) != FREEXL_OK ||
            freexl_select_active_worksheet(handle, s) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
            return fail(QStringLiteral("读取工作表失败"));
        WorkbookReader::Sheet sheet;
        sheet.name = QString::fromUtf8(name);
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK) continue;
                QString text;
                switch (value.type) {
                case FREEXL_CELL_INT:
                    text = QString::number(value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    text = numberText(value.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_TIME:
                    text = QString::fromUtf8(value.value.text_value);
                    break;
                case FREEXL_CELL_DATETIME:
                    text = QString::fromUtf8(value.value.text_value);
                    if (text.endsWith(QStringLiteral(" 00:00:00"))) text.chop(9);
                    break;
                default:
                    break;
                }
                sheet.set(int(r) + 1, int(c) + 1, text);
            }
        }
        out.push_back(std::move(sheet));
    }
    freexl_close(handle);
    return true;
}

} // namespace

OfficeResult WorkbookReader::open(const QString& path) {
    close();
    QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return OfficeResult::failure(kExcelAttachError,
                                     QStringLiteral("无法打开文件：%1").arg(QDir::toNativeSeparators(path)));
    const QString suffix = info.suffix().toLower();
    QString reason;
    bool ok = false;
    if (suffix == u"xls")
        ok = readWithFreexl(path, sheets_, &reason);
    else if (suffix == u"xlsx" || suffix == u"xlsm" || suffix == u"ods" || suffix == u"csv" ||
             suffix == u"txt")
        ok = readWithOrcus(path, suffix, sheets_, &reason);
    else
        reason = QStringLiteral("不支持的文件类型：%1").arg(info.fileName());
    if (ok && sheets_.empty()) {
        ok = false;
        reason = QStringLiteral("工作簿中没有工作表：%1").arg(QDir::toNativeSeparators(path));
    }
    if (!ok) {
        sheets_.clear();
        return OfficeResult::failure(kExcelAttachError, reason);
    }
    current_ = 0;
    return OfficeResult::success(path);
}

void WorkbookReader::close() {
    sheets_.clear();
    current_ = -1;
}

QStringList WorkbookReader::sheetNames() const {
    QStringList names;
    for (const auto& s : sheets_)
        names << s.name;
    return names;
}

bool WorkbookReader::selectSheet(int index) {
    if (index < 0 || index >= int(sheets_.size())) return false;
    current_ = index;
    return true;
}

QString WorkbookReader::cellText(int row, int column) const {
    if (current_ < 0 || row < 1 || column < 1 || column > 0xFFFF) return {};
    return sheets_[current_].cells.value((quint64(row) << 16) | quint64(column));
}

OfficeResult attachWorkbook(WorkbookReader& reader, FileService& files, QWidget* parent) {
    const QString path =
        files.openFileName(parent, QStringLiteral("选择要导入的Excel工作簿"),
                           QStringLiteral("Excel 工作簿 (*.xlsx *.xls *.ods *.csv);;所有文件 (*)"));
    if (path.isEmpty()) return OfficeResult::failure({}, {});
    return reader.open(path);
}

int WorkbookReader::rowCount() const {
    return current_ < 0 ? 0 : sheets_[current_].rows;
}
int WorkbookReader::columnCount() const {
    return current_ < 0 ? 0 : sheets_[current_].columns;
}

} // namespace corvexa::office
