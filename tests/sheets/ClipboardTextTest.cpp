#include "sheets/ClipboardText.h"

#include <gtest/gtest.h>

using namespace tarmela::sheets;

TEST(ClipboardText, SplitReadsWhatSpreadsheetsPut)
{
    using Rows = QVector<QStringList>;
    // Rows split at CR LF and the line end after the last row adds no row, as the sheet's paste
    // checks; a lone LF ends a row too.
    EXPECT_EQ(splitClipboardText("1\n2\n"), (Rows{{"1"}, {"2"}}));
    EXPECT_EQ(splitClipboardText("x\t\t"), (Rows{{"x", "", ""}}));
    EXPECT_TRUE(splitClipboardText("").isEmpty());
    // An empty row in the middle stays a row.
    EXPECT_EQ(splitClipboardText("1\r\n\r\n3"), (Rows{{"1"}, {""}, {"3"}}));
}
