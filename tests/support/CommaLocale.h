#pragma once

#include <QLocale>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>
#include <locale>
#include <stdexcept>
#include <string>

namespace tarmela::test
{

// For its lifetime, the process works in a locale that writes decimal commas: Qt's default
// locale, the C library's (printf and friends) and the C++ global locale (streams) alike, as
// under a German desktop where the program's start-up has adopted the user's locale. The test
// fails when the system lacks the locale; scripts/install-deps generates it.
class CommaLocale
{
public:
    CommaLocale() : m_c(std::setlocale(LC_ALL, nullptr))
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        try {
            std::locale::global(std::locale("de_DE.UTF-8")); // sets the C library's too
        } catch (const std::runtime_error&) {
            ADD_FAILURE() << "the locale de_DE.UTF-8 is missing: run scripts/install-deps";
        }
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 2.5);
        EXPECT_STREQ(text, "2,5") << "the C library does not write decimal commas";
    }
    ~CommaLocale()
    {
        std::locale::global(m_cpp);
        std::setlocale(LC_ALL, m_c.c_str());
        QLocale::setDefault(m_qt);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

private:
    QLocale m_qt;
    std::locale m_cpp;
    std::string m_c;
};

} // namespace tarmela::test
