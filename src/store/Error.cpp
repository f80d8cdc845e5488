#include "store/Error.h"

#include <QDir>

#include <algorithm>

namespace tarmela
{

QString oneLine(const QString& text)
{
    const bool plain = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
    if (plain)
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString excerpt(const QString& text, int limit)
{
    // Cut before escaping as well, so that a huge value is not copied whole first.
    QString cut = text.size() > limit ? text.left(limit) : text;
    // A surrogate pair is never split.
    if (cut.size() < text.size() && !cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    QString shown = oneLine(cut);
    const bool longer = cut.size() < text.size() || shown.size() > limit;
    if (shown.size() > limit)
        shown.truncate(limit);
    return longer ? shown + QChar(0x2026) : shown;
}

QString shownPath(const QString& path, int limit)
{
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() <= limit)
        return oneLine(native);
    QString tail = native.right(limit - 1);
    if (!tail.isEmpty() && tail.front().isLowSurrogate())
        tail.remove(0, 1);
    return QChar(0x2026) + oneLine(tail).right(limit - 1);
}

} // namespace tarmela
