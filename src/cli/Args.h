#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tarmela::cli
{

// The words of one command line, taken apart option by option. Everything that is asked for
// is removed; finish() then refuses what nobody asked for. Mistakes throw Error(Usage).
class Args
{
public:
    explicit Args(QStringList words) : m_words(std::move(words)) {}

    std::optional<QString> option(const QString& name); // "--name VALUE" or "--name=VALUE"
    QStringList options(const QString& name);           // every occurrence, in order
    bool flag(const QString& name);                     // "--name"
    // The next word that is no option. Read after every option and flag: a word that still
    // follows an unread "--name" is refused as ambiguous.
    QString positional(const QString& what);
    std::optional<QString> optionalPositional();
    QStringList rest();  // the remaining positional words
    void finish() const; // throws on anything left over

    // Conversions with a clear message naming the option.
    static double number(const QString& text, const QString& what);
    static long long wholeNumber(const QString& text, const QString& what);

private:
    QStringList m_words;
};

} // namespace tarmela::cli
