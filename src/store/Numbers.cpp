#include "store/Numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace tarmela
{

std::int64_t nearestEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    // std::nearbyint honours the current rounding mode, which is round-half-even by default.
    return static_cast<std::int64_t>(std::nearbyint(value));
}

double d3(double value)
{
    // The number of d3Text(value), read back without building a QString: the recomputation
    // calls this several times for every section of a road.
    //
    // Away from a half, value * 1000 and the exact product round to the same whole number k
    // (the product is off by at most half a unit in its last place), and k / 1000, divided
    // with correct rounding, is the double nearest to the text "k/1000", which is what
    // reading the text back gives. Near a half the text decides.
    const double scaled = value * 1000;
    if (std::fabs(scaled) < 0x1p52) {
        const double k = std::nearbyint(scaled);
        const double offHalf = std::fabs(std::fabs(scaled - k) - 0.5);
        if (offHalf > std::fabs(scaled) * 0x1p-50 + 0x1p-60) {
            const double out = k / 1000;
            return out == 0.0 ? 0.0 : out; // "-0.000" reads as 0, without the sign
        }
    }
    // from_chars rounds correctly, as QString::toDouble does, so the two give the same double.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
    if (res.ec != std::errc())
        return 0.0;
    double out = 0.0;
    if (std::from_chars(buf, res.ptr, out).ec != std::errc())
        return 0.0;
    return out == 0.0 ? 0.0 : out; // "-0.000" reads as 0, without the sign
}

QString d3Text(double value)
{
    // to_chars rounds the exact binary value correctly and ignores the locale.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
    if (res.ec != std::errc())
        return QStringLiteral("0.000");
    QString text = QString::fromLatin1(buf, int(res.ptr - buf));
    if (text == QLatin1String("-0.000"))
        text = QStringLiteral("0.000");
    return text;
}

double leadingNumber(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    const char* start = p;
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    bool seenDigit = false;
    while (p < end && std::isdigit(static_cast<unsigned char>(*p))) {
        ++p;
        seenDigit = true;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && std::isdigit(static_cast<unsigned char>(*p))) {
            ++p;
            seenDigit = true;
        }
    }
    if (!seenDigit)
        return 0.0;
    const char* mantissaEnd = p;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        if (q < end && std::isdigit(static_cast<unsigned char>(*q))) {
            while (q < end && std::isdigit(static_cast<unsigned char>(*q)))
                ++q;
            mantissaEnd = q;
        }
    }
    bool ok = false;
    const double v = QByteArray(start, int(mantissaEnd - start)).toDouble(&ok);
    return ok ? v : 0.0;
}

bool isNumeric(const QString& text)
{
    bool ok = false;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    t.toDouble(&ok); // QString::toDouble is locale-independent (C locale)
    return ok;
}

QString plainDecimal(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0.0)
        return QStringLiteral("0");
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QLocale groupedLocale(const QLocale& locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() &
                             ~QLocale::NumberOptions(QLocale::OmitGroupSeparator));
    return grouped;
}

} // namespace tarmela
