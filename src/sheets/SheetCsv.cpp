#include "sheets/SheetCsv.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/OutputFile.h"
#include "store/RowReader.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace tarmela {

using statements::Sheet;

namespace {

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

// A line's value for one column: null, a number, or text.
QVariant fieldValue(Sheet sheet, const QString& column, const QString& field, int line)
{
    if (isTextColumn(sheet, column))
        return field.isEmpty() ? QVariant() : QVariant(field);
    if (field.trimmed().isEmpty())
        return QVariant();
    bool ok = false;
    const double v = field.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw csvError(line,
                       QStringLiteral("column %1: \"%2\" is not a number").arg(column, excerpt(field)));
    if (column == QLatin1String("ID")) {
        if (v != std::floor(v) || std::fabs(v) > 9.0e15)
            throw csvError(line,
                           QStringLiteral("column ID: \"%1\" is not a whole number").arg(excerpt(field)));
        return QVariant(qint64(v));
    }
    return v;
}

struct PlannedRow {
    bool isNew = false;
    std::int64_t targetId = 0; // the row to change (old ID) or the ID of a new row
    QVariantList values;       // in the order of the file's columns
};

} // namespace

QVector<CsvRecord> parseCsv(const QString& text)
{
    QVector<CsvRecord> records;
    CsvRecord record;
    QString field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the current field was quoted (and is now closed)
    int line = 1;
    record.line = 1;
    const int n = text.size();
    int i = (n > 0 && text[0] == QChar(0xFEFF)) ? 1 : 0; // byte order mark

    auto endRecord = [&]() {
        record.fields << field;
        const bool blank =
            record.fields.size() == 1 && record.fields.front().isEmpty() && !wasQuoted;
        if (!blank)
            records << record;
        record = CsvRecord();
        field.clear();
        wasQuoted = false;
    };

    for (; i < n; ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == '"') {
                if (i + 1 < n && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (ch == '\n')
                    ++line;
                field += ch;
            }
            continue;
        }
        if (ch == ',') {
            record.fields << field;
            field.clear();
            wasQuoted = false;
        } else if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < n && text[i + 1] == '\n')
                ++i;
            endRecord();
            ++line;
            record.line = line;
        } else if (ch == '"') {
            if (!field.isEmpty() || wasQuoted)
                throw csvError(line, QStringLiteral("a quote inside a field that does not start "
                                                    "with one"));
            quoted = true;
        } else {
            if (wasQuoted)
                throw csvError(line, QStringLiteral("text after the closing quote of a field"));
            field += ch;
        }
    }
    if (quoted)
        throw csvError(record.line, QStringLiteral("a quoted field is not closed"));
    if (!field.isEmpty() || wasQuoted || !record.fields.isEmpty())
        endRecord();
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

CsvImportResult importSheetCsv(Database& db, std::int64_t road, Sheet sheet, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot read %1: %2").arg(shownPath(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot read %1: %2").arg(shownPath(path), file.errorString()));
    // UTF-16 text and binary files hold NUL bytes, which no UTF-8 CSV line does.
    if (bytes.contains('\0'))
        throw Error(ErrorKind::Data, QStringLiteral("%1 is not a CSV file in UTF-8: it holds NUL "
                                                    "bytes")
                                         .arg(shownPath(path)));
    return importSheetCsvText(db, road, sheet, QString::fromUtf8(bytes));
}

CsvImportResult importSheetCsvText(Database& db, std::int64_t road, Sheet sheet,
                                   const QString& text)
{
    // The sheet is read under the write lock, so that no other program changes it between
    // this read and the writes planned from it.
    Transaction tx(db);
    requireTable(db, sheet, road);
    const QVector<CsvRecord> records = parseCsv(text);
    if (records.isEmpty())
        throw Error(ErrorKind::Data, QStringLiteral("The file is empty: the first line must name "
                                                    "the columns"));

    const QStringList known = columnsOf(sheet);
    const QStringList header = records.front().fields;
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

    // The sheet as it stands: IDs of each chainage in (Chainage, ID) order, and every ID.
    const QString table = quoteName(tableOf(sheet, road));
    std::map<double, std::vector<std::int64_t>> byChainage;
    QSet<std::int64_t> ids;
    std::int64_t nextId = 1;
    {
        RowReader q(db, "SELECT ID, Chainage FROM " + table + " ORDER BY Chainage, ID");
        bool any = false;
        while (q.next()) {
            const std::int64_t id = q.integer(0);
            ids.insert(id);
            nextId = any ? std::max(nextId, id + 1) : id + 1;
            any = true;
            if (!q.isNull(1))
                byChainage[q.number(1)].push_back(id);
        }
    }

    // Plan every change before writing, so that a bad line leaves the sheet as it was.
    std::vector<PlannedRow> plan;
    plan.reserve(size_t(records.size()));
    CsvImportResult result;
    QSet<std::int64_t> taken; // rows already matched by a line of this file
    for (int r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        if (rec.fields.size() != header.size())
            throw csvError(rec.line,
                           QStringLiteral("%1 fields where the first line names %2 columns")
                               .arg(rec.fields.size())
                               .arg(header.size()));
        PlannedRow row;
        for (int k = 0; k < header.size(); ++k)
            row.values << fieldValue(sheet, header[k], rec.fields[k], rec.line);
        if (row.values[chainageCol].isNull())
            throw csvError(rec.line, QStringLiteral("column Chainage: a chainage is required"));
        const double chainage = row.values[chainageCol].toDouble();
        const bool hasId = idCol >= 0 && !row.values[idCol].isNull();
        const std::int64_t givenId = hasId ? row.values[idCol].toLongLong() : 0;

        // The row of that chainage with the line's ID, else the first one that no earlier
        // line has taken: a file with two rows at one chainage reads back as two rows.
        auto& sameChainage = byChainage[chainage];
        auto it = sameChainage.end();
        if (hasId)
            it = std::find(sameChainage.begin(), sameChainage.end(), givenId);
        if (it == sameChainage.end())
            it = std::find_if(sameChainage.begin(), sameChainage.end(),
                              [&](std::int64_t id) { return !taken.contains(id); });
        if (it != sameChainage.end()) {
            row.targetId = *it;
            if (hasId && givenId != row.targetId) {
                if (ids.contains(givenId))
                    throw csvError(
                        rec.line,
                        QStringLiteral("column ID: %1 is the ID of another row").arg(givenId));
                ids.remove(row.targetId);
                ids.insert(givenId);
                *it = givenId;
            }
            taken.insert(*it);
            ++result.updated;
        } else {
            row.isNew = true;
            if (hasId) {
                if (ids.contains(givenId))
                    throw csvError(
                        rec.line,
                        QStringLiteral("column ID: %1 is the ID of another row").arg(givenId));
                row.targetId = givenId;
            } else {
                row.targetId = nextId;
            }
            nextId = std::max(nextId, row.targetId + 1);
            ids.insert(row.targetId);
            taken.insert(row.targetId);
            sameChainage.push_back(row.targetId);
            ++result.added;
        }
        plan.push_back(std::move(row));
    }

    QStringList quoted, marks, sets;
    for (const QString& c : header) {
        quoted << quoteName(c);
        marks << QStringLiteral("?");
        sets << quoteName(c) + " = ?";
    }
    const bool idInFile = idCol >= 0;
    QSqlQuery update = db.prepare("UPDATE " + table + " SET " + sets.join(", ") + " WHERE ID = ?");
    QSqlQuery insert =
        db.prepare("INSERT INTO " + table + " (" + quoted.join(", ") +
                   (idInFile ? QString() : QStringLiteral(", ID")) + ") VALUES (" +
                   marks.join(", ") + (idInFile ? QString() : QStringLiteral(", ?")) + ")");
    for (const PlannedRow& row : plan) {
        QSqlQuery& q = row.isNew ? insert : update;
        for (int k = 0; k < row.values.size(); ++k) {
            // An empty ID keeps the row's own (update) or takes the planned one (new row).
            if (k == idCol && row.values[k].isNull())
                q.addBindValue(qint64(row.targetId));
            else
                q.addBindValue(row.values[k]);
        }
        if (!row.isNew || !idInFile)
            q.addBindValue(qint64(row.targetId));
        Database::run(q);
    }
    tx.commit();
    return result;
}

namespace {

QString csvText(Database& db, std::int64_t road, Sheet sheet, std::int64_t& rows)
{
    requireTable(db, sheet, road);
    const QStringList columns = columnsOf(sheet);
    QStringList quoted;
    for (const QString& c : columns)
        quoted << quoteName(c);
    QString out;
    QStringList headerFields;
    for (const QString& c : columns)
        headerFields << csvField(c);
    out += headerFields.join(',') + QStringLiteral("\r\n");

    RowReader q(db, "SELECT " + quoted.join(", ") + " FROM " + quoteName(tableOf(sheet, road)) +
                        " ORDER BY Chainage, ID");
    QStringList fields;
    rows = 0;
    while (q.next()) {
        ++rows;
        fields.clear();
        for (int k = 0; k < columns.size(); ++k) {
            if (q.isNull(k))
                fields << QString();
            else if (isTextColumn(sheet, columns[k]))
                fields << csvField(q.text(k));
            else if (k == 0)
                fields << QString::number(q.integer(k));
            else
                fields << plainDecimal(q.number(k));
        }
        out += fields.join(',') + QStringLiteral("\r\n");
    }
    return out;
}

} // namespace

QString sheetCsvText(Database& db, std::int64_t road, Sheet sheet)
{
    std::int64_t rows = 0;
    return csvText(db, road, sheet, rows);
}

std::int64_t exportSheetCsv(Database& db, std::int64_t road, Sheet sheet, const QString& path)
{
    std::int64_t rows = 0;
    const QString text = csvText(db, road, sheet, rows);
    OutputFile file(path);
    file.put(text.toUtf8());
    file.commit();
    return rows;
}

} // namespace tarmela
