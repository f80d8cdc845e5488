#include "app/dlgColors.h"

#include "settings/SectionStyles.h"
#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace tarmela
{

namespace
{

struct FieldSpec {
    const char* name;
    const char* caption;
    std::int32_t Settings::*setting;
    bool longSection;
};

const FieldSpec kFields[] = {
    {"colLFormation", "Formation", &Settings::ColorLFormation, true},
    {"colCentre", "Centre", &Settings::ColorCentre, true},
    {"colLeft", "Left", &Settings::ColorLeft, true},
    {"colRight", "Right", &Settings::ColorRight, true},
    {"colXFormation", "Formation", &Settings::ColorXFormation, false},
    {"colExisting", "Existing", &Settings::ColorExisting, false},
};

const char* const kColorProperty = "rgbValue";

// A colour as the settings keep it: 24-bit RGB with red in the lowest byte.
std::int32_t rgbValueOf(const QColor& color)
{
    return std::int32_t(std::uint32_t(color.red()) | (std::uint32_t(color.green()) << 8) |
                        (std::uint32_t(color.blue()) << 16));
}

} // namespace

dlgColors::dlgColors(QWidget* parent) : TitledDialog(tr("Output Colors"), parent)
{
    setObjectName(QStringLiteral("dlgColors"));

    auto* frames = new QHBoxLayout;
    auto* lsection = new QGroupBox(tr("L Section"), this);
    auto* xsection = new QGroupBox(tr("X Section"), this);
    auto* lgrid = new QGridLayout(lsection);
    auto* xgrid = new QGridLayout(xsection);
    int lrow = 0, xrow = 0;
    for (const FieldSpec& entry : kFields) {
        QGroupBox* box = entry.longSection ? lsection : xsection;
        QGridLayout* grid = entry.longSection ? lgrid : xgrid;
        int& row = entry.longSection ? lrow : xrow;
        auto* colour = new QLabel(box);
        colour->setObjectName(QString::fromLatin1(entry.name));
        colour->setFixedSize(48, 20);
        colour->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        colour->setAutoFillBackground(true);
        colour->setCursor(Qt::PointingHandCursor);
        // Reached by Tab like any control; Space or Enter opens the chooser.
        colour->setFocusPolicy(Qt::StrongFocus);
        colour->setAccessibleName(tr(entry.caption));
        colour->installEventFilter(this);
        auto* caption = new QLabel(tr(entry.caption), box);
        caption->setBuddy(colour);
        grid->addWidget(caption, row, 0);
        grid->addWidget(colour, row, 1);
        ++row;
        setFieldColor(colour, settingColour(appState().settings.*entry.setting));
        m_fields << colour;
    }
    xgrid->setRowStretch(xrow, 1);
    frames->addWidget(lsection);
    frames->addWidget(xsection);
    contentLayout()->addLayout(frames);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    addOkCancel(this, contentLayout(), ok, cancel);
    connect(ok, &QPushButton::clicked, this, [this] {
        save();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void dlgColors::setFieldColor(QLabel* f, const QColor& color)
{
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, color);
    f->setPalette(pal);
    f->setProperty(kColorProperty, rgbValueOf(color));
}

void dlgColors::save()
{
    // The fields are made in the order of kFields.
    for (int i = 0; i < m_fields.size(); ++i)
        appState().settings.*kFields[i].setting = m_fields[i]->property(kColorProperty).toInt();
}

void dlgColors::chooseColor(QLabel* f)
{
    const QColor chosen =
        prompts().pickColor(this, settingColour(f->property(kColorProperty).toInt()));
    if (chosen.isValid())
        setFieldColor(f, chosen);
}

bool dlgColors::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLabel*>(watched);
    if (field && m_fields.contains(field)) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // The swatch with the focus stands out, raised with a thicker edge.
            field->setFrameStyle(
                QFrame::Panel |
                (event->type() == QEvent::FocusIn ? QFrame::Raised : QFrame::Sunken));
            field->setLineWidth(event->type() == QEvent::FocusIn ? 3 : 1);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
                chooseColor(field);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && m_fields.contains(label) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            chooseColor(label);
            return true;
        }
    }
    return TitledDialog::eventFilter(watched, event);
}

} // namespace tarmela
