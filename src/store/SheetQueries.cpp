#include "store/SheetQueries.h"

#include "store/Schema.h"

#include <algorithm>

namespace tarmela::sheets
{

namespace
{
// The order of every reader of a road's sheet (store/RlRowStore.h).
const QString kSheetOrder = QStringLiteral(" order by Chainage, ID");

QString block(QChar side, int count, bool reverse)
{
    QString out;
    for (int i = 1; i <= count; ++i)
        out += QStringLiteral(", %1%2").arg(side).arg(reverse ? count + 1 - i : i);
    return out;
}
} // namespace

QString levelColumns(const ViewOrder& order)
{
    // A setting outside 0..8 would name columns the tables don't have.
    const int v = std::clamp(order.viewSections, 0, kReadingsPerSide);
    QString out;
    for (int p = 0; p < 3; ++p) {
        if (p == order.leftOrder)
            out += block(QLatin1Char('L'), v, order.leftReverse);
        else if (p == order.rightOrder)
            out += block(QLatin1Char('R'), v, order.rightReverse);
        else
            out += QStringLiteral(", C");
    }
    return out;
}

QString reducedLevelStatement(std::int64_t road, const ViewOrder& order,
                              const ReducedLevelGroups& groups)
{
    QString s = QStringLiteral("Select Chainage");
    if (groups.existingLevels)
        s += levelColumns(order);
    if (groups.proposedLevels)
        s += QStringLiteral(", FL2, FL1, FC, FR1, FR2");
    if (groups.proposedWidth)
        s += QStringLiteral(", Width");
    if (groups.existingWidth)
        s += QStringLiteral(", TopWidth, BottomWidth");
    if (groups.crust)
        s += QStringLiteral(", Crust");
    if (groups.slope)
        s += QStringLiteral(", [Left Slope], [Right Slope]");
    return s + QStringLiteral(", ID from ") + schema::rlTable(road) + kSheetOrder;
}

QString levelBookStatement(std::int64_t road, const ViewOrder& order, const LevelBookGroups& groups)
{
    QString s = QStringLiteral("Select Chainage");
    if (groups.existingLevels)
        s += levelColumns(order);
    if (groups.bsfs)
        s += QStringLiteral(", BS, FS");
    if (groups.existingWidth)
        s += QStringLiteral(", TopWidth, BottomWidth");
    if (groups.remarks)
        s += QStringLiteral(", Remarks");
    return s + QStringLiteral(", ID from ") + schema::lbTable(road) + kSheetOrder;
}

QString crossDistancesStatement(std::int64_t road, int readingsPerSide)
{
    QString s = QStringLiteral("Select ");
    for (int k = readingsPerSide; k >= 1; --k)
        s += QStringLiteral("L%1, ").arg(k);
    for (int k = 1; k <= readingsPerSide; ++k)
        s += QStringLiteral("R%1, ").arg(k);
    return s + QStringLiteral("ID from ChDistance where RoadRef=%1").arg(road);
}

QString roadDetailsStatement()
{
    return QStringLiteral("Select [From], [To], Length, Interval, [Formation Camber], "
                          "[Carriage Camber], [Cut Factor], Field1, Field2, Field3, Field4, ID "
                          "from Roads");
}

QString culvertTypesStatement()
{
    return QStringLiteral("Select CulvertName, Type, ImageFileExisting, ImageFileProposed, ID "
                          "from CulvertTypes order by CulvertName");
}

QString culvertsStatement(std::int64_t road)
{
    return QStringLiteral("Select CulvertName, EPType, Chainage, Culverts.ID from Culverts, "
                          "CulvertTypes where CTypeRef=CulvertTypes.ID and Culverts.RoadRef=%1 "
                          "order by Chainage, Culverts.ID")
        .arg(road);
}

} // namespace tarmela::sheets
