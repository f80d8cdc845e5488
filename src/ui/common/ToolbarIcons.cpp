#include "ui/common/ToolbarIcons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <initializer_list>

// The icons are linked into a static library: nothing else would pull their registration in.
static void registerIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace tarmela
{

namespace
{

// The picture rendered at each size, so that it stays sharp wherever it is shown.
QIcon svgIcon(const QString& path, std::initializer_list<int> sizes)
{
    static const bool registered = (registerIconResources(), true);
    (void)registered;
    if (!QFile::exists(path))
        return {};
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QIcon icon;
    for (int size : sizes) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        svg.render(&p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

QIcon toolbarIcon(const QString& key)
{
    return svgIcon(QStringLiteral(":/icons/%1.svg").arg(key), {24, 48});
}

QIcon applicationIcon()
{
    return svgIcon(QStringLiteral(":/icons/Tarmela.svg"), {16, 24, 32, 48, 64, 128, 256});
}

} // namespace tarmela
