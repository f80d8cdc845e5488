#include "drawing/Fonts.h"

#include <QFont>
#include <QStringList>

namespace tarmela
{

void installFontSubstitutions()
{
    const QString liberation = QStringLiteral("Liberation Sans");
    for (const char* name : {"Arial", "MS Sans Serif"}) {
        const QString family = QString::fromLatin1(name);
        if (!QFont::substitutes(family).contains(liberation, Qt::CaseInsensitive))
            QFont::insertSubstitution(family, liberation);
    }
}

} // namespace tarmela
