#include "ui/common/ToolbarIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <map>

namespace tarmela {

namespace {

constexpr int kSize = 24;
const QColor kInk(40, 40, 40);
const QColor kAccent(255, 102, 51);
const QColor kBlue(40, 90, 170);
const QColor kPaper(250, 250, 245);

using Painter = std::function<void(QPainter&)>;

void sheet(QPainter& p, QRectF r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void gridSheet(QPainter& p, const QColor& header)
{
    sheet(p, QRectF(3.5, 4.5, 17, 15));
    p.fillRect(QRectF(4, 5, 16, 3), header);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (double y = 11.5; y < 19; y += 3.5)
        p.drawLine(QPointF(4, y), QPointF(20, y));
    p.drawLine(QPointF(9.5, 8), QPointF(9.5, 19));
    p.drawLine(QPointF(14.5, 8), QPointF(14.5, 19));
}

void letters(QPainter& p, const QString& text, QRectF r, const QColor& c)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, text);
}

void arrow(QPainter& p, bool right)
{
    QPainterPath path;
    if (right) {
        path.moveTo(7, 5);
        path.lineTo(17, 12);
        path.lineTo(7, 19);
    } else {
        path.moveTo(17, 5);
        path.lineTo(7, 12);
        path.lineTo(17, 19);
    }
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawPath(path);
}

void magnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(kInk, 2));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(10, 10), 6, 6);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 14.5), QPointF(20, 20));
    p.setPen(QPen(kBlue, 2));
    p.drawLine(QPointF(7, 10), QPointF(13, 10));
    if (plus)
        p.drawLine(QPointF(10, 7), QPointF(10, 13));
}

const std::map<QString, Painter>& painters()
{
    static const std::map<QString, Painter> all = {
        {QStringLiteral("Save"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kBlue);
             p.drawRect(QRectF(3.5, 3.5, 17, 17));
             p.fillRect(QRectF(7, 4, 10, 6), kPaper);
             p.fillRect(QRectF(7, 14, 10, 6), QColor(200, 200, 200));
         }},
        {QStringLiteral("Previous"), [](QPainter& p) { arrow(p, false); }},
        {QStringLiteral("Next"), [](QPainter& p) { arrow(p, true); }},
        {QStringLiteral("ZoomIn"), [](QPainter& p) { magnifier(p, true); }},
        {QStringLiteral("ZoomOut"), [](QPainter& p) { magnifier(p, false); }},
        {QStringLiteral("Add"),
         [](QPainter& p) {
             gridSheet(p, QColor(180, 200, 230));
             p.setPen(QPen(QColor(0, 140, 0), 3));
             p.drawLine(QPointF(17, 12), QPointF(17, 22));
             p.drawLine(QPointF(12, 17), QPointF(22, 17));
         }},
        {QStringLiteral("Delete"),
         [](QPainter& p) {
             gridSheet(p, QColor(180, 200, 230));
             p.setPen(QPen(QColor(200, 0, 0), 3));
             p.drawLine(QPointF(13, 13), QPointF(21, 21));
             p.drawLine(QPointF(21, 13), QPointF(13, 21));
         }},
        {QStringLiteral("Print"),
         [](QPainter& p) {
             sheet(p, QRectF(7.5, 2.5, 9, 7));
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(170, 170, 170));
             p.drawRect(QRectF(2.5, 9.5, 19, 8));
             sheet(p, QRectF(6.5, 14.5, 11, 7));
             p.fillRect(QRectF(18, 11, 2, 2), QColor(0, 160, 0));
         }},
        {QStringLiteral("Cut"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.5));
             p.drawLine(QPointF(8, 3), QPointF(15, 15));
             p.drawLine(QPointF(16, 3), QPointF(9, 15));
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(kBlue, 2));
             p.drawEllipse(QPointF(7.5, 18), 3.5, 3.5);
             p.drawEllipse(QPointF(16.5, 18), 3.5, 3.5);
         }},
        {QStringLiteral("Copy"),
         [](QPainter& p) {
             sheet(p, QRectF(3.5, 3.5, 11, 13));
             sheet(p, QRectF(9.5, 8.5, 11, 13));
             p.setPen(QPen(QColor(150, 150, 150), 1));
             for (double y = 12.5; y < 20; y += 3)
                 p.drawLine(QPointF(11.5, y), QPointF(18.5, y));
         }},
        {QStringLiteral("Paste"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(190, 140, 80));
             p.drawRect(QRectF(3.5, 4.5, 13, 17));
             p.fillRect(QRectF(7, 2, 6, 4), QColor(120, 120, 120));
             sheet(p, QRectF(10.5, 10.5, 10, 11));
         }},
        {QStringLiteral("Undo"),
         [](QPainter& p) {
             QPainterPath path;
             path.moveTo(19, 18);
             path.cubicTo(20, 8, 12, 5, 6, 10);
             p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawPath(path);
             QPainterPath head;
             head.moveTo(3, 7);
             head.lineTo(10, 6);
             head.lineTo(5, 13);
             head.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(kBlue);
             p.drawPath(head);
         }},
        {QStringLiteral("Filter"),
         [](QPainter& p) {
             QPainterPath path;
             path.moveTo(3, 4);
             path.lineTo(21, 4);
             path.lineTo(14, 12);
             path.lineTo(14, 20);
             path.lineTo(10, 18);
             path.lineTo(10, 12);
             path.closeSubpath();
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(230, 200, 60));
             p.drawPath(path);
         }},
        {QStringLiteral("Update"),
         [](QPainter& p) {
             p.setPen(QPen(QColor(0, 140, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
             QPainterPath head;
             head.moveTo(14, 2);
             head.lineTo(20, 6);
             head.lineTo(13, 9);
             head.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0, 140, 0));
             p.drawPath(head);
             letters(p, QStringLiteral("Q"), QRectF(6, 7, 12, 10), kInk);
         }},
        {QStringLiteral("Formation"),
         [](QPainter& p) {
             p.setPen(QPen(QColor(120, 80, 40), 1.5));
             p.drawPolyline(QPolygonF({QPointF(2, 17), QPointF(7, 13), QPointF(12, 18),
                                       QPointF(17, 10), QPointF(22, 14)}));
             p.setPen(QPen(kAccent, 2));
             p.drawLine(QPointF(2, 12), QPointF(22, 11));
             p.setPen(QPen(kInk, 1));
             p.setBrush(kAccent);
             for (double x : {2.0, 12.0, 22.0})
                 p.drawRect(QRectF(x - 1.5, 10, 3, 3));
         }},
        {QStringLiteral("ReducedLevel"),
         [](QPainter& p) {
             gridSheet(p, QColor(120, 170, 120));
             letters(p, QStringLiteral("RL"), QRectF(4, 8, 16, 11), kInk);
         }},
        {QStringLiteral("LevelBook"),
         [](QPainter& p) {
             gridSheet(p, QColor(200, 170, 110));
             letters(p, QStringLiteral("LB"), QRectF(4, 8, 16, 11), kInk);
         }},
        {QStringLiteral("Roads"),
         [](QPainter& p) {
             QPainterPath road;
             road.moveTo(2, 21);
             road.lineTo(10, 3);
             road.lineTo(14, 3);
             road.lineTo(22, 21);
             road.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(90, 90, 90));
             p.drawPath(road);
             p.setPen(QPen(Qt::white, 1.5, Qt::DashLine));
             p.drawLine(QPointF(12, 4), QPointF(12, 20));
         }},
    };
    return all;
}

} // namespace

QIcon toolbarIcon(const QString& key)
{
    const auto it = painters().find(key);
    if (it == painters().end())
        return {};
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        it->second(p);
    }
    return QIcon(pm);
}

} // namespace tarmela
