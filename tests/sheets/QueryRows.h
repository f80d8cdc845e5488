#pragma once

#include "store/Database.h"
#include "store/RowReader.h"

#include <QStringList>

namespace tarmela::test
{

// The rows a query returns as one text: values joined by ',' (NULL as nothing), rows by ';'.
inline QString queryRows(Database& db, const QString& sql)
{
    RowReader q(db, sql);
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.columnCount(); ++i)
            values << q.value(i).toString();
        rows << values.join(',');
    }
    return rows.join(';');
}

} // namespace tarmela::test
