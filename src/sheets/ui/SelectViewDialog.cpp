#include "sheets/ui/SelectViewSupport.h"

#include "ui/common/AppState.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPushButton>

namespace tarmela
{

sheets::ViewOrder viewOrderFromSettings()
{
    const Settings& s = appState().settings;
    return {s.ViewSections, s.LeftOrder, s.RightOrder, s.LeftReverse, s.RightReverse};
}

QCheckBox* addViewCheckBox(QWidget* parent, QBoxLayout* layout, const char* name,
                           const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(true);
    layout->addWidget(box);
    return box;
}

} // namespace tarmela
