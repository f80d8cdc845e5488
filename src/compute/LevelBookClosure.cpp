#include "compute/LevelBookClosure.h"

#include "compute/HeightOfInstrument.h"
#include "store/Error.h"
#include "store/Numbers.h"

#include <cmath>

namespace tarmela
{

namespace
{
double orZero(double v)
{
    return std::isnan(v) ? 0.0 : v;
}

QString signedMetres(double v)
{
    const QString text = d3Text(std::abs(v));
    return (v < 0 && text != QLatin1String("0.000") ? QStringLiteral("-") : QStringLiteral("+")) +
           text;
}
} // namespace

SetupCount::Row SetupCount::next(double bs)
{
    Row row{m_setup, m_setup};
    if (!m_first && orZero(bs) > 0)
        row.after = ++m_setup;
    m_first = false;
    return row;
}

double LevelBookCheck::lengthKm() const
{
    return std::abs(lastChainage - firstChainage) / 1000;
}

double LevelBookCheck::allowance() const
{
    return 0.012 * std::sqrt(lengthKm());
}

bool LevelBookCheck::within() const
{
    // The error as the book shows it, to the millimetre, against the allowance.
    return std::abs(d3(error)) <= allowance() + 1e-9;
}

double LevelBookCheck::correction(int setup) const
{
    if (!closingBenchMark || !distributed || setups < 1)
        return 0;
    return -error * setup / setups;
}

LevelBookChecker::LevelBookChecker(double benchMark)
{
    m_check.benchMark = benchMark;
    m_check.lastHI = benchMark;
}

void LevelBookChecker::add(double chainage, double bs, double fs, double c)
{
    if (m_check.rows == 0)
        m_check.firstChainage = chainage;
    m_check.lastChainage = chainage;
    ++m_check.rows;
    if (orZero(bs) > 0)
        m_check.sumBS += bs;
    if (orZero(fs) > 0)
        m_check.sumFS += fs;
    m_hiBeforeLast = m_check.lastHI;
    m_lastFS = fs;
    m_lastSetup = m_setups.next(bs).foreSight;
    m_check.lastHI = instrumentStep(m_check.lastHI, bs, fs, c).hiAfter;
}

void LevelBookChecker::close(double closingBenchMark, bool distribute)
{
    if (m_check.rows == 0)
        throw Error(ErrorKind::Data, QStringLiteral("The level book is empty: there is no fore "
                                                    "sight onto the closing bench mark"));
    if (!(orZero(m_lastFS) > 0))
        throw Error(ErrorKind::Data,
                    QStringLiteral("The level book's last row (chainage %1) has no fore sight "
                                   "onto the closing bench mark")
                        .arg(plainDecimal(m_check.lastChainage)));
    m_check.closingBenchMark = closingBenchMark;
    m_check.closingLevel = m_hiBeforeLast - m_lastFS;
    m_check.error = m_check.closingLevel - closingBenchMark;
    m_check.setups = m_lastSetup;
    m_check.distributed = distribute;
}

QString closingErrorLine(const LevelBookCheck& check)
{
    if (!check.closingBenchMark)
        return QString();
    return QStringLiteral("Closing error %1 m on bench mark %2; allowance 12 \u221aK = %3 m over "
                          "%4 km: %5")
        .arg(signedMetres(check.error), d3Text(*check.closingBenchMark), d3Text(check.allowance()),
             d3Text(check.lengthKm()),
             check.within() ? QStringLiteral("within the allowance")
                            : QStringLiteral("outside the allowance"));
}

QString correctionLine(const LevelBookCheck& check)
{
    if (!check.closingBenchMark || !check.distributed)
        return QStringLiteral("No correction applied");
    return QStringLiteral("Correction -e \u00d7 k / N over %1 setup%2, %3 m at the closing bench "
                          "mark")
        .arg(check.setups)
        .arg(check.setups == 1 ? QString() : QStringLiteral("s"))
        .arg(signedMetres(check.correction(check.setups)));
}

} // namespace tarmela
