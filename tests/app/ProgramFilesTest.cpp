#include "app/frmMain.h"
#include "drawing/Fonts.h"
#include "support/TestProject.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tarmela;

TEST(ProgramFiles, TheDrawingFontsMeasureAsLiberationSans)
{
    installFontSubstitutions();
    installFontSubstitutions(); // twice does no harm
    for (const char* name : {"Arial", "MS Sans Serif"}) {
        EXPECT_EQ(QFont::substitutes(name).join(',').toLower(), "liberation sans") << name;
        EXPECT_EQ(QFontInfo(QFont(name, 10)).family(), "Liberation Sans") << name;
    }
}

TEST(ProgramFiles, HelpPagesShipBesideTheProgramAndTheirLinksResolve)
{
    const QString index = frmMain::helpIndexPath();
    ASSERT_TRUE(QFileInfo::exists(index)) << index.toStdString();
    const QDir help = QFileInfo(index).dir();
    static const QRegularExpression link(R"re((?:href|src)="([^"#:]+)")re");
    int pages = 0;
    for (const QString& name : help.entryList({"*.html"})) {
        const QString text = QString::fromUtf8(test::readFile(help.filePath(name)));
        EXPECT_TRUE(text.contains("<title>")) << name.toStdString() << " (or unreadable)";
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(help.filePath(target)))
                << name.toStdString() << " links to missing " << target.toStdString();
        }
        ++pages;
    }
    EXPECT_GE(pages, 5);
}

TEST(ProgramFiles, CulvertPicturesComeInExistingAndProposedPairs)
{
    // Existing works are drawn in greys, proposed ones in colour.
    auto coloured = [](const QImage& img) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAbs(img.pixelColor(x, y).red() - img.pixelColor(x, y).blue()) > 40)
                    return true;
        return false;
    };
    const QDir folder(QCoreApplication::applicationDirPath() + "/Culverts");
    for (const char* kind : {"pipe", "slab", "box", "bridge"}) {
        for (const char* state : {"existing", "proposed"}) {
            const QImage picture(folder.filePath(QString("%1_%2.png").arg(kind, state)));
            EXPECT_EQ(picture.size(), QSize(64, 48)) << kind << " " << state;
            EXPECT_EQ(coloured(picture), state[0] == 'p') << kind << " " << state;
        }
    }
}
