#include "store/RlRows.h"

#include "store/Error.h"
#include "store/RowFunction.h"
#include "store/RowReader.h"

namespace tarmela
{

namespace
{

// The number columns in the order RlColumns::read fills an RlRow.
QStringList numberColumns()
{
    QStringList names{QStringLiteral("Chainage")};
    for (int i = 1; i <= kReadingsPerSide; ++i)
        names << QStringLiteral("L%1").arg(i);
    names << QStringLiteral("C");
    for (int i = 1; i <= kReadingsPerSide; ++i)
        names << QStringLiteral("R%1").arg(i);
    names << QStringList{"FL2",         "FL1",       "FC",          "FR1",   "FR2",
                         "Width",       "TopWidth",  "BottomWidth", "Crust", "Left Slope",
                         "Right Slope", "Fill Area", "Cut Area"};
    return names;
}

int indexIn(const QStringList& names, const QString& name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw Error(ErrorKind::Data, QStringLiteral("The RL sheet has no column %1").arg(name));
}

} // namespace

RlColumns::RlColumns(const QStringList& names) : m_id(indexIn(names, QStringLiteral("ID")))
{
    const QStringList numbers = numberColumns();
    Q_ASSERT(numbers.size() == kNumbers);
    for (int k = 0; k < kNumbers; ++k)
        m_numbers[std::size_t(k)] = indexIn(names, numbers[k]);
}

template <class Cells> void RlColumns::read(const Cells& cells, RlRow& row) const
{
    row.id = cells.integer(m_id);
    auto at = m_numbers.begin();
    row.chainage = cells.numberOrNan(*at++);
    for (double& level : row.left)
        level = cells.numberOrNan(*at++);
    row.centre = cells.numberOrNan(*at++);
    for (double& level : row.right)
        level = cells.numberOrNan(*at++);
    for (double* value : {&row.fl2, &row.fl1, &row.fc, &row.fr1, &row.fr2, &row.width,
                          &row.topWidth, &row.bottomWidth, &row.crust, &row.leftSlope,
                          &row.rightSlope, &row.fillArea, &row.cutArea})
        *value = cells.numberOrNan(*at++);
}

template void RlColumns::read(const RowReader&, RlRow&) const;
template void RlColumns::read(const FunctionArguments&, RlRow&) const;

namespace
{

QStringList columnNames(const RowReader& query)
{
    QStringList names;
    for (int c = 0; c < query.columnCount(); ++c)
        names << query.columnName(c);
    return names;
}

} // namespace

RlRowReader::RlRowReader(RowReader query, Columns columns)
    : m_query(std::move(query)), m_summary(columns == Columns::Summary),
      m_columns(m_summary ? schema::rlColumns() : columnNames(m_query))
{
}

bool RlRowReader::next(RlRow& row)
{
    if (!m_query.next())
        return false;
    if (!m_summary) {
        m_columns.read(m_query, row);
        return true;
    }
    row = RlRow{};
    row.id = m_query.integer(0);
    row.chainage = m_query.numberOrNan(1);
    row.centre = m_query.numberOrNan(2);
    row.fc = m_query.numberOrNan(3);
    row.fillArea = m_query.numberOrNan(4);
    row.cutArea = m_query.numberOrNan(5);
    return true;
}

} // namespace tarmela
