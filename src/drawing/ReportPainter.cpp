#include "drawing/ReportPainter.h"

#include "drawing/CharacterWidths.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

namespace tarmela
{

namespace
{

constexpr double kPageUnitsPerInch = 96;
constexpr double kRuleWidth = 0.75; // page units: a thin line that still prints

} // namespace

QTransform pageToDevice(const QPaintDevice& device, double zoom)
{
    return QTransform::fromScale(zoom * device.logicalDpiX() / kPageUnitsPerInch,
                                 zoom * device.logicalDpiY() / kPageUnitsPerInch);
}

void paintReportPage(QPainter& painter, const ReportPage& page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), page.size), Qt::white);

    QPen rule(Qt::black);
    rule.setWidthF(kRuleWidth);
    rule.setCapStyle(Qt::SquareCap);
    painter.setPen(rule);
    painter.drawLines(page.rules.data(), int(page.rules.size()));

    // A font's size is in points of the device it draws on; the painter's transform already
    // scales page units to the device, so the size is given in page units' terms.
    const QPaintDevice* device = painter.device();
    const double toPage = device ? kPageUnitsPerInch / device->logicalDpiY() : 1;
    painter.setPen(Qt::black);
    double fontSize = -1;
    bool bold = false;
    for (const PlacedText& t : page.texts) {
        if (t.fontSize != fontSize || t.bold != bold) {
            fontSize = t.fontSize;
            bold = t.bold;
            painter.setFont(reportFont(fontSize * toPage, bold));
        }
        const Qt::Alignment h = t.align == cellstyle::Right    ? Qt::AlignRight
                                : t.align == cellstyle::Centre ? Qt::AlignHCenter
                                                               : Qt::AlignLeft;
        QRectF line(t.box.left(), t.box.top(), t.box.width(), t.lineHeight);
        for (const QString& text : t.lines) {
            painter.drawText(line, int(h | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip),
                             text);
            line.translate(0, t.lineHeight);
        }
    }
    painter.restore();
}

} // namespace tarmela
