#include "drawing/CharacterWidths.h"

#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <cmath>

namespace tarmela
{

namespace
{

constexpr double kPageUnitsPerInch = 96;

// Measures in page units: a device of 96 dots to the inch.
const QPaintDevice* pageDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int perMetre = int(std::lround(kPageUnitsPerInch / 0.0254));
        image.setDotsPerMeterX(perMetre);
        image.setDotsPerMeterY(perMetre);
        return image;
    }();
    return &device;
}

// The font's own advance, scaled from the file's size. Without a graphical application there
// is no font to ask; a character then counts as wide as an "n".
double fontWidth(const QString& text, bool bold, double points, double fallback)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return fallback * text.size();
    const QFontMetricsF metrics(reportFont(CharacterWidths::kFilePoints, bold), pageDevice());
    return metrics.horizontalAdvance(text) * points / CharacterWidths::kFilePoints;
}

} // namespace

QFont reportFont(double points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QString CharacterWidths::pathIn(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("Fonts/ARFONT8.fl"));
}

CharacterWidths CharacterWidths::load(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw Error(ErrorKind::Io,
                    QStringLiteral("The character widths file %1 is missing; the printed "
                                   "reports need it to lay out their pages")
                        .arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::Io, QStringLiteral("Cannot read the character widths file %1: %2")
                                       .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.read(64 * 1024);
    if (bytes.isEmpty() && file.error() != QFileDevice::NoError)
        throw Error(ErrorKind::Io, QStringLiteral("Cannot read the character widths file %1: %2")
                                       .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QStringList words = QString::fromLatin1(bytes).split(
        QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    CharacterWidths w;
    auto damaged = [&](const QString& why) {
        return Error(ErrorKind::Data, QStringLiteral("The character widths file %1 is damaged: %2")
                                          .arg(QDir::toNativeSeparators(path), why));
    };
    if (words.size() != 1 + int(w.m_widths.size()))
        throw damaged(QStringLiteral("it should hold a line height and %1 widths, not %2 numbers")
                          .arg(w.m_widths.size())
                          .arg(words.size()));
    for (int i = 0; i < words.size(); ++i) {
        bool ok = false;
        const double v = words[i].toDouble(&ok);
        if (!ok || !std::isfinite(v) || v <= 0 || v > 1000)
            throw damaged(QStringLiteral("\"%1\" is not a width").arg(words[i]));
        (i == 0 ? w.m_lineHeight : w.m_widths[i - 1]) = v;
    }
    return w;
}

double CharacterWidths::width(QChar c, double points) const
{
    const ushort code = c.unicode();
    if (code >= kFirst && code <= kLast)
        return m_widths[code - kFirst] * points / kFilePoints;
    return fontWidth(QString(c), false, points, m_widths['n' - kFirst] * points / kFilePoints);
}

double CharacterWidths::textWidth(const QString& text, double points, bool bold) const
{
    if (bold)
        return fontWidth(text, true, points, m_widths['n' - kFirst] * points / kFilePoints);
    double sum = 0;
    QString others;
    for (const QChar c : text) {
        const ushort code = c.unicode();
        if (code >= kFirst && code <= kLast)
            sum += m_widths[code - kFirst];
        else
            others += c;
    }
    // Characters outside the file are measured together, so a pair of surrogates counts once.
    sum *= points / kFilePoints;
    if (!others.isEmpty())
        sum += fontWidth(others, false, points, m_widths['n' - kFirst] * points / kFilePoints);
    return sum;
}

QStringList CharacterWidths::wrap(const QString& text, double width, double points, bool bold) const
{
    QStringList lines;
    const QString plain = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        QString line;
        double lineWidth = 0;
        const double space = textWidth(QStringLiteral(" "), points, bold);
        for (const QString& word :
             paragraph.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const double w = textWidth(word, points, bold);
            if (!line.isEmpty() && lineWidth + space + w > width) {
                lines << line;
                line.clear();
            }
            if (line.isEmpty()) {
                line = word;
                lineWidth = w;
            } else {
                line += QLatin1Char(' ') + word;
                lineWidth += space + w;
            }
        }
        lines << line;
    }
    return lines;
}

} // namespace tarmela
