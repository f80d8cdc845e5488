#include "compute/RlRows.h"

#include "store/Error.h"


namespace tarmela {

RlRowReader::RlRowReader(RowReader& query) : m_query(query)
{
    auto column = [&](const QString& name) {
        const int i = query.columnIndex(name);
        if (i < 0)
            throw Error(ErrorKind::Data, QStringLiteral("The RL sheet has no column %1").arg(name));
        return i;
    };
    m_chainage = column(QStringLiteral("Chainage"));
    for (int i = 0; i < kReadingsPerSide; ++i) {
        m_left[i] = column(QStringLiteral("L%1").arg(i + 1));
        m_right[i] = column(QStringLiteral("R%1").arg(i + 1));
    }
    m_centre = column(QStringLiteral("C"));
    m_fl2 = column(QStringLiteral("FL2"));
    m_fl1 = column(QStringLiteral("FL1"));
    m_fc = column(QStringLiteral("FC"));
    m_fr1 = column(QStringLiteral("FR1"));
    m_fr2 = column(QStringLiteral("FR2"));
    m_width = column(QStringLiteral("Width"));
    m_leftSlope = column(QStringLiteral("Left Slope"));
    m_rightSlope = column(QStringLiteral("Right Slope"));
    m_fillArea = column(QStringLiteral("Fill Area"));
    m_cutArea = column(QStringLiteral("Cut Area"));
}

bool RlRowReader::next(RlRow& row)
{
    if (!m_query.next())
        return false;
    auto get = [this](int column) {
        if (m_query.isNull(column))
            return double(NAN);
        // Text that is not a number (older files could hold it) is no value.
        if (m_query.isText(column)) {
            bool ok = false;
            const double d = m_query.text(column).toDouble(&ok);
            return ok ? d : double(NAN);
        }
        return m_query.number(column);
    };
    row.chainage = get(m_chainage);
    for (int i = 0; i < kReadingsPerSide; ++i) {
        row.left[i] = get(m_left[i]);
        row.right[i] = get(m_right[i]);
    }
    row.centre = get(m_centre);
    row.fl2 = get(m_fl2);
    row.fl1 = get(m_fl1);
    row.fc = get(m_fc);
    row.fr1 = get(m_fr1);
    row.fr2 = get(m_fr2);
    row.width = get(m_width);
    row.leftSlope = get(m_leftSlope);
    row.rightSlope = get(m_rightSlope);
    row.fillArea = get(m_fillArea);
    row.cutArea = get(m_cutArea);
    return true;
}

} // namespace tarmela
