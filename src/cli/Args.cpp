#include "cli/Args.h"

#include "store/Error.h"

#include <cmath>

namespace tarmela::cli
{

std::optional<QString> Args::option(const QString& name)
{
    std::optional<QString> found;
    for (int i = 0; i < m_words.size();) {
        const QString& w = m_words[i];
        if (w == name) {
            if (i + 1 >= m_words.size())
                throw Error(ErrorKind::Usage, QStringLiteral("%1 needs a value").arg(name));
            if (found)
                throw Error(ErrorKind::Usage, QStringLiteral("%1 is given twice").arg(name));
            found = m_words[i + 1];
            m_words.remove(i, 2);
        } else if (w.startsWith(name + "=")) {
            if (found)
                throw Error(ErrorKind::Usage, QStringLiteral("%1 is given twice").arg(name));
            found = w.mid(name.size() + 1);
            m_words.remove(i);
        } else {
            ++i;
        }
    }
    return found;
}

QStringList Args::options(const QString& name)
{
    QStringList found;
    for (int i = 0; i < m_words.size();) {
        const QString& w = m_words[i];
        if (w == name) {
            if (i + 1 >= m_words.size())
                throw Error(ErrorKind::Usage, QStringLiteral("%1 needs a value").arg(name));
            found << m_words[i + 1];
            m_words.remove(i, 2);
        } else if (w.startsWith(name + "=")) {
            found << w.mid(name.size() + 1);
            m_words.remove(i);
        } else {
            ++i;
        }
    }
    return found;
}

bool Args::flag(const QString& name)
{
    const int before = m_words.size();
    m_words.removeAll(name);
    return m_words.size() != before;
}

std::optional<QString> Args::optionalPositional()
{
    for (int i = 0; i < m_words.size(); ++i) {
        if (!m_words[i].startsWith(QLatin1String("--"))) {
            // Commands read their options first, so a word still behind an option name is
            // that option's value or a mistake: taking it for the road would change another.
            const QString before = i > 0 ? m_words[i - 1] : QString();
            if (before.startsWith(QLatin1String("--")) && !before.contains(QLatin1Char('=')))
                throw Error(ErrorKind::Usage, QStringLiteral("unexpected argument: %1 %2")
                                                  .arg(excerpt(before), excerpt(m_words[i])));
            const QString w = m_words[i];
            m_words.remove(i);
            return w;
        }
    }
    return std::nullopt;
}

QString Args::positional(const QString& what)
{
    auto w = optionalPositional();
    if (!w)
        throw Error(ErrorKind::Usage, QStringLiteral("missing %1").arg(what));
    return *w;
}

QStringList Args::rest()
{
    QStringList out;
    for (int i = 0; i < m_words.size();) {
        if (!m_words[i].startsWith(QLatin1String("--")))
            out << m_words.takeAt(i);
        else
            ++i;
    }
    return out;
}

void Args::finish() const
{
    if (!m_words.isEmpty())
        throw Error(ErrorKind::Usage,
                    QStringLiteral("unexpected argument: %1").arg(excerpt(m_words.front())));
}

double Args::number(const QString& text, const QString& what)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw Error(ErrorKind::Usage,
                    QStringLiteral("%1 must be a number, not \"%2\"").arg(what, excerpt(text)));
    return v;
}

long long Args::wholeNumber(const QString& text, const QString& what)
{
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw Error(
            ErrorKind::Usage,
            QStringLiteral("%1 must be a whole number, not \"%2\"").arg(what, excerpt(text)));
    return v;
}

} // namespace tarmela::cli
