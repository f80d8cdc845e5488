#include "sheets/ClipboardText.h"

namespace tarmela::sheets
{

QString joinClipboardText(const QVector<QStringList>& rows)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const QStringList& r : rows)
        lines << r.join(QLatin1Char('\t'));
    return lines.join(QStringLiteral("\r\n"));
}

QVector<QStringList> splitClipboardText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (t.endsWith(QLatin1Char('\n')))
        t.chop(1);
    QVector<QStringList> out;
    if (text.isEmpty())
        return out;
    const QStringList lines = t.split(QLatin1Char('\n'));
    out.reserve(lines.size());
    for (const QString& line : lines)
        out << line.split(QLatin1Char('\t'));
    return out;
}

} // namespace tarmela::sheets
