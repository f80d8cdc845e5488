#pragma once

#include "store/Statements.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

namespace tarmela
{

class Database;

// Comma separated files of a road's RL or LB sheet (RFC 4180): the first line holds column
// names exactly as in the table, every following line one row. An empty field is an empty
// (null) value.

struct CsvRecord {
    int line = 0; // line of the file on which the record starts, from 1
    QStringList fields;
};

// Splits CSV text into records. Quoted fields may hold commas, quotes ("") and line breaks;
// lines may end in CRLF or LF; blank lines are skipped. Throws Error(Data) naming the line of
// a malformed field.
QVector<CsvRecord> parseCsv(const QString& text);
// A field as written: quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& value);

struct CsvImportResult {
    std::int64_t updated = 0; // rows whose chainage was already in the sheet
    std::int64_t added = 0;   // rows appended with the next free ID
};

// Each line updates the sheet's row of that chainage (where several rows share a chainage,
// the one with the line's ID if given, else the first not yet updated by an earlier line) or
// appends a row: with the line's ID when it gives one, else the next free ID. Columns not in the
// file are left as they are. Every line is checked before anything is written; all or nothing.
CsvImportResult importSheetCsv(Database& db, std::int64_t road, statements::Sheet sheet,
                               const QString& path);
CsvImportResult importSheetCsvText(Database& db, std::int64_t road, statements::Sheet sheet,
                                   const QString& text);

// Writes every column, rows in chainage order, numbers in plain decimal. Returns the rows.
std::int64_t exportSheetCsv(Database& db, std::int64_t road, statements::Sheet sheet,
                            const QString& path);
QString sheetCsvText(Database& db, std::int64_t road, statements::Sheet sheet);

} // namespace tarmela
