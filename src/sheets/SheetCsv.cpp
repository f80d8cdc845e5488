#include "sheets/SheetCsv.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/OutputFile.h"
#include "store/Schema.h"
#include "store/SheetTable.h"
#include "store/Statements.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include "sheets/CsvReader.h"
#include "store/RowReader.h"
#include "store/RowWriter.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace tarmela
{

using statements::Sheet;

namespace
{

Error csvError(int line, const QString& what)
{
    return Error(ErrorKind::Data, QStringLiteral("line %1: %2").arg(line).arg(what));
}

QStringList columnsOf(Sheet sheet)
{
    return sheet == Sheet::ReducedLevel ? schema::rlColumns() : schema::lbColumns();
}

bool isTextColumn(Sheet sheet, const QString& column)
{
    return sheet == Sheet::LevelBook && column == QLatin1String("Remarks");
}

QString tableOf(Sheet sheet, std::int64_t road)
{
    return sheet == Sheet::ReducedLevel ? schema::rlTable(road) : schema::lbTable(road);
}

void requireTable(Database& db, Sheet sheet, std::int64_t road)
{
    const QString table = tableOf(sheet, road);
    if (!db.tableExists(table))
        throw Error(ErrorKind::TableMissing,
                    QStringLiteral("The table %1 of road %2 does not exist").arg(table).arg(road));
}

} // namespace

QVector<CsvRecord> parseCsv(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader csv(buffer, QStringLiteral("the text"));
    QVector<CsvRecord> records;
    while (csv.next()) {
        CsvRecord record;
        record.line = csv.line();
        for (int k = 0; k < csv.size(); ++k)
            record.fields << csv.text(k);
        records << record;
    }
    return records;
}

QString csvField(const QString& value)
{
    if (!value.contains(',') && !value.contains('"') && !value.contains('\n') &&
        !value.contains('\r'))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return '"' + quoted + '"';
}

namespace
{

// The sheet's rows as the file finds them: (Chainage, ID) in that order, read once before the
// first line, and which of them a line of this file has already updated. Rows the file adds
// are not in it: they are found by their ID in the sheet itself.
class SheetRowsByChainage
{
public:
    SheetRowsByChainage(Database& db, Sheet sheet, std::int64_t road)
    {
        RowReader q = sheettable::rows(db, sheet, road,
                                       {QStringLiteral("Chainage"), QStringLiteral("ID")}, true);
        while (q.next())
            m_rows.push_back({q.number(0), q.integer(1)});
        m_taken.assign(m_rows.size(), false);
    }

    // The first row at chainage that no line has taken yet, marked taken; nullopt when none.
    std::optional<std::int64_t> takeFirstFree(double chainage)
    {
        for (auto i = first(chainage); i < m_rows.size() && m_rows[i].chainage == chainage; ++i)
            if (!m_taken[i]) {
                m_taken[i] = true;
                return m_rows[i].id;
            }
        return std::nullopt;
    }
    // Marks the row (chainage, id) taken when it is one of the sheet's own.
    void take(double chainage, std::int64_t id)
    {
        for (auto i = first(chainage); i < m_rows.size() && m_rows[i].chainage == chainage; ++i)
            if (m_rows[i].id == id)
                m_taken[i] = true;
    }

private:
    struct Row {
        double chainage;
        std::int64_t id;
    };
    std::size_t first(double chainage) const
    {
        return std::size_t(std::lower_bound(m_rows.begin(), m_rows.end(), chainage,
                                            [](const Row& r, double c) { return r.chainage < c; }) -
                           m_rows.begin());
    }
    std::vector<Row> m_rows;
    std::vector<bool> m_taken;
};

std::string_view trimmed(std::string_view f)
{
    const auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!f.empty() && space(f.front()))
        f.remove_prefix(1);
    while (!f.empty() && space(f.back()))
        f.remove_suffix(1);
    return f;
}

// One field of a line, checked and bound to the statement that writes its row.
struct FieldValue {
    enum Kind { Null, Number, Whole, Text } kind = Null;
    double number = 0;
    std::int64_t whole = 0;
    QByteArray text;
};

QString quotedField(std::string_view f)
{
    return QString::fromUtf8(f.data(), qsizetype(f.size()));
}

// What the import needs to know of a column of the file, found once per file, not per field.
struct ImportColumn {
    QString name;
    bool text = false;
    bool id = false;
    const ValueRange* range = nullptr; // nullptr: any number
};

void readField(FieldValue& v, const ImportColumn& column, std::string_view field, int line)
{
    if (column.text) {
        v.kind = field.empty() ? FieldValue::Null : FieldValue::Text;
        // Through QString, so that bytes that are not UTF-8 become replacement characters.
        v.text = quotedField(field).toUtf8();
        return;
    }
    std::string_view t = trimmed(field);
    if (t.empty()) {
        v.kind = FieldValue::Null;
        return;
    }
    if (t.size() > 1 && t.front() == '+' && t[1] != '-')
        t.remove_prefix(1);
    double d = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), d);
    if (res.ec != std::errc() || res.ptr != t.data() + t.size() || !std::isfinite(d))
        throw csvError(line, QStringLiteral("column %1: \"%2\" is not a number")
                                 .arg(column.name, excerpt(quotedField(field))));
    if (column.id) {
        if (d != std::floor(d) || std::fabs(d) > 9.0e15)
            throw csvError(line, QStringLiteral("column ID: \"%1\" is not a whole number")
                                     .arg(excerpt(quotedField(field))));
        v.kind = FieldValue::Whole;
        v.whole = std::int64_t(d);
        return;
    }
    if (column.range && !inRange(*column.range, d))
        throw csvError(
            line, QStringLiteral("column %1: \"%2\" is out of range: %3")
                      .arg(column.name, excerpt(quotedField(field)), rangeRule(*column.range)));
    v.kind = FieldValue::Number;
    v.number = d;
}

void bindField(RowWriter& q, int index, const FieldValue& v)
{
    switch (v.kind) {
    case FieldValue::Null:
        q.bindNull(index);
        break;
    case FieldValue::Number:
        q.bindNumber(index, v.number);
        break;
    case FieldValue::Whole:
        q.bindInteger(index, v.whole);
        break;
    case FieldValue::Text:
        q.bindText(index, v.text.constData(), int(v.text.size()));
        break;
    }
}

CsvImportResult importCsv(Database& db, std::int64_t road, Sheet sheet, QIODevice& in,
                          const QString& name)
{
    // The sheet is read under the write lock, so that no other program changes it between
    // this read and the writes that follow from it. Every line is written as it is read: a
    // bad line rolls back the lines before it, so the sheet is changed by the whole file or
    // not at all.
    Transaction tx(db);
    requireTable(db, sheet, road);
    CsvReader csv(in, name);
    if (!csv.next())
        throw Error(ErrorKind::Data, QStringLiteral("The file is empty: the first line must name "
                                                    "the columns"));

    const QStringList known = columnsOf(sheet);
    QStringList header;
    for (int k = 0; k < csv.size(); ++k)
        header << csv.text(k);
    for (int k = 0; k < header.size(); ++k) {
        if (!known.contains(header[k]))
            throw csvError(1, QStringLiteral("unknown column \"%1\"").arg(excerpt(header[k])));
        if (header.indexOf(header[k]) != k)
            throw csvError(1, QStringLiteral("the column %1 is named twice").arg(header[k]));
    }
    const int chainageCol = header.indexOf(QStringLiteral("Chainage"));
    const int idCol = header.indexOf(QStringLiteral("ID"));
    if (chainageCol < 0)
        throw csvError(1, QStringLiteral("the column Chainage is required"));

    const bool idInFile = idCol >= 0;
    const QString table = tableOf(sheet, road);

    SheetRowsByChainage sheetRows(db, sheet, road);
    const std::optional<std::int64_t> maxId = sheettable::maxId(db, table);
    std::int64_t nextId = maxId ? *maxId + 1 : 1;
    RowReader rowWithId = sheettable::rowWithId(db, table, {QStringLiteral("Chainage")});
    RowWriter update = sheettable::updater(db, table, header);
    RowWriter insert = sheettable::inserter(
        db, table, idInFile ? header : header + QStringList{QStringLiteral("ID")});

    std::vector<ImportColumn> columns;
    const QString templateTable = statements::sheetTable(sheet, 0);
    for (const QString& c : header)
        columns.push_back(
            {c, isTextColumn(sheet, c), c == QLatin1String("ID"), rangeOfColumn(templateTable, c)});
    std::vector<FieldValue> values(std::size_t(header.size()));
    CsvImportResult result;
    while (csv.next()) {
        const int line = csv.line();
        if (csv.size() != header.size())
            throw csvError(line, QStringLiteral("%1 fields where the first line names %2 columns")
                                     .arg(csv.size())
                                     .arg(header.size()));
        for (int k = 0; k < header.size(); ++k)
            readField(values[std::size_t(k)], columns[std::size_t(k)], csv.field(k), line);
        const FieldValue& chainageValue = values[std::size_t(chainageCol)];
        if (chainageValue.kind == FieldValue::Null)
            throw csvError(line, QStringLiteral("column Chainage: a chainage is required"));
        const double chainage = chainageValue.number;
        const bool hasId = idInFile && values[std::size_t(idCol)].kind != FieldValue::Null;
        const std::int64_t givenId = hasId ? values[std::size_t(idCol)].whole : 0;

        // Whether the line's ID is a row of the sheet already, and that row's chainage.
        bool idTaken = false;
        std::optional<double> chainageOfId;
        if (hasId) {
            rowWithId.bind(0, qlonglong(givenId));
            idTaken = rowWithId.next();
            if (idTaken)
                chainageOfId = rowWithId.optionalNumber(0);
            rowWithId.reset();
        }

        // The row of that chainage with the line's ID, else the first one that no earlier line
        // has taken: a file with two rows at one chainage reads back as two rows.
        std::optional<std::int64_t> target;
        if (idTaken && chainageOfId == chainage) {
            target = givenId;
            sheetRows.take(chainage, givenId);
        } else {
            if (idTaken)
                throw csvError(
                    line, QStringLiteral("column ID: %1 is the ID of another row").arg(givenId));
            target = sheetRows.takeFirstFree(chainage);
        }
        const bool isNew = !target;
        const std::int64_t id = target ? *target : hasId ? givenId : nextId;
        nextId = std::max(nextId, std::max(id, givenId) + 1);

        RowWriter& q = isNew ? insert : update;
        for (int k = 0; k < header.size(); ++k) {
            // An empty ID keeps the row's own (update) or takes the planned one (new row).
            if (k == idCol && !hasId)
                q.bindInteger(k, id);
            else
                bindField(q, k, values[std::size_t(k)]);
        }
        if (!isNew || !idInFile)
            q.bindInteger(header.size(), id);
        q.run();
        ++(isNew ? result.added : result.updated);
    }
    tx.commit();
    return result;
}

// A number as the file writes it: plain decimal, the shortest that reads back the same.
void appendNumber(QByteArray& out, double v)
{
    if (!std::isfinite(v) || v == 0.0) {
        out += '0';
        return;
    }
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    out.append(buf, qsizetype(res.ptr - buf));
}

void appendCsvField(QByteArray& out, const char* p, int n)
{
    const std::string_view f(p, std::size_t(n));
    if (f.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(p, n);
        return;
    }
    out += '"';
    for (char c : f) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// Hands the sheet to write a block at a time; returns the rows.
std::int64_t writeCsv(Database& db, std::int64_t road, Sheet sheet,
                      const std::function<void(const QByteArray&)>& write)
{
    requireTable(db, sheet, road);
    const QStringList columns = columnsOf(sheet);
    QStringList headerFields;
    for (const QString& c : columns)
        headerFields << csvField(c);
    QByteArray block = (headerFields.join(',') + QStringLiteral("\r\n")).toUtf8();
    constexpr qsizetype kBlockSize = 1 << 20;
    block.reserve(kBlockSize + 4096);
    const auto flush = [&]() {
        write(block);
        block.resize(0);
    };
    int textColumn = -1;
    for (int k = 0; k < columns.size(); ++k)
        if (isTextColumn(sheet, columns[k]))
            textColumn = k;

    const int chainageColumn = int(columns.indexOf(QStringLiteral("Chainage")));
    RowReader q = sheettable::rows(db, sheet, road, columns);
    std::int64_t rows = 0;
    const int n = int(columns.size());
    while (q.next()) {
        ++rows;
        // The import refuses a row without a chainage: a file holding one could not be read
        // back.
        if (chainageColumn >= 0 && q.isNull(chainageColumn))
            throw Error(ErrorKind::NullValue,
                        QStringLiteral("The row with ID %1 of %2 has no chainage; give it one "
                                       "before exporting the sheet")
                            .arg(q.integer(0))
                            .arg(statements::sheetTable(sheet, road)));
        for (int k = 0; k < n; ++k) {
            if (k > 0)
                block += ',';
            if (q.isNull(k))
                continue;
            if (k == textColumn) {
                const QByteArray text = q.text(k).toUtf8();
                appendCsvField(block, text.constData(), int(text.size()));
            } else if (k == 0) {
                char buf[24];
                const auto res = std::to_chars(buf, buf + sizeof buf, q.integer(k));
                block.append(buf, qsizetype(res.ptr - buf));
            } else {
                appendNumber(block, q.number(k));
            }
        }
        block += "\r\n";
        if (block.size() >= kBlockSize)
            flush();
    }
    flush();
    return rows;
}

} // namespace

CsvImportResult importSheetCsv(Database& db, std::int64_t road, Sheet sheet, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot read %1: %2").arg(shownPath(path), file.errorString()));
    return importCsv(db, road, sheet, file, shownPath(path));
}

CsvImportResult importSheetCsvText(Database& db, std::int64_t road, Sheet sheet,
                                   const QString& text)
{
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return importCsv(db, road, sheet, buffer, QStringLiteral("the text"));
}

QString sheetCsvText(Database& db, std::int64_t road, Sheet sheet)
{
    QByteArray bytes;
    writeCsv(db, road, sheet, [&](const QByteArray& block) { bytes += block; });
    return QString::fromUtf8(bytes);
}

std::int64_t exportSheetCsv(Database& db, std::int64_t road, Sheet sheet, const QString& path)
{
    OutputFile file(path);
    // Every row from one state of the sheet, whatever another program writes meanwhile.
    const ReadTransaction snapshot(db);
    const std::int64_t rows =
        writeCsv(db, road, sheet, [&](const QByteArray& block) { file.put(block); });
    file.commit();
    return rows;
}

} // namespace tarmela
