#include "app/frmSplash.h"

#include "version.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace tarmela
{

frmSplash::frmSplash(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setStyleSheet(QStringLiteral("QDialog { background: #ff6633; border: 2px solid #7a2a10; }"
                                 "QLabel { color: white; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    auto* title = new QLabel(QStringLiteral("Tarmela"), this);
    QFont f = title->font();
    f.setPointSize(28);
    f.setBold(true);
    title->setFont(f);
    auto* subtitle = new QLabel(tr("Earthwork of roads"), this);
    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    for (QLabel* l : {title, subtitle, version}) {
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
    }
}

QString frmSplash::versionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(TARMELA_VERSION_MAJOR)
        .arg(TARMELA_VERSION_MINOR)
        .arg(TARMELA_VERSION_PATCH);
}

void frmSplash::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

} // namespace tarmela
