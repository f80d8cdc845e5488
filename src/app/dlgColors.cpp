#include "app/dlgColors.h"

#include "ui/common/AppState.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace tarmela {

namespace {

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

} // namespace

QColor colorFromRgbValue(std::int32_t value)
{
    const auto v = std::uint32_t(value);
    return QColor(int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff));
}

std::int32_t rgbValueOf(const QColor& color)
{
    return std::int32_t(std::uint32_t(color.red()) | (std::uint32_t(color.green()) << 8) |
                        (std::uint32_t(color.blue()) << 16));
}

dlgColors::dlgColors(QWidget* parent)
    : TitledDialog(tr("Output Colors"), parent), m_target(&appState().settings)
{
    setObjectName(QStringLiteral("dlgColors"));
    m_chooser = [](const QColor& initial, QWidget* owner) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, owner, tr("Color"));
        if (!c.isValid())
            return std::nullopt;
        return c;
    };

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
        colour->installEventFilter(this);
        grid->addWidget(new QLabel(tr(entry.caption), box), row, 0);
        grid->addWidget(colour, row, 1);
        ++row;
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
    load();
}

void dlgColors::setTarget(Settings* settings)
{
    m_target = settings;
    load();
}

QLabel* dlgColors::field(const QString& name) const
{
    for (QLabel* f : m_fields)
        if (f->objectName() == name)
            return f;
    return nullptr;
}

void dlgColors::setFieldColor(QLabel* f, const QColor& color)
{
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, color);
    f->setPalette(pal);
    f->setProperty(kColorProperty, rgbValueOf(color));
}

QColor dlgColors::fieldColor(const QString& name) const
{
    const QLabel* f = field(name);
    return f ? colorFromRgbValue(f->property(kColorProperty).toInt()) : QColor();
}

void dlgColors::load()
{
    for (const FieldSpec& entry : kFields)
        setFieldColor(field(QString::fromLatin1(entry.name)),
                      colorFromRgbValue(m_target->*entry.setting));
}

void dlgColors::save()
{
    for (const FieldSpec& entry : kFields)
        m_target->*entry.setting =
            field(QString::fromLatin1(entry.name))->property(kColorProperty).toInt();
}

void dlgColors::chooseColor(const QString& name)
{
    QLabel* f = field(name);
    if (!f)
        return;
    if (const std::optional<QColor> chosen = m_chooser(fieldColor(name), this))
        setFieldColor(f, *chosen);
}

bool dlgColors::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && m_fields.contains(label) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            chooseColor(label->objectName());
            return true;
        }
    }
    return TitledDialog::eventFilter(watched, event);
}

} // namespace tarmela
