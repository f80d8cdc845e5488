#include "ui/common/ToolbarIcons.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using namespace tarmela;

// Every picture in the resource draws something of its own at toolbar size and larger.
TEST(Icons, EveryPictureDrawsAndNoTwoAreAlike)
{
    ASSERT_FALSE(applicationIcon().isNull());
    const QStringList files = QDir(QStringLiteral(":/icons")).entryList({"*.svg"});
    ASSERT_GE(files.size(), 19);
    QList<QImage> seen;
    for (const QString& file : files) {
        const QString key = file.chopped(4);
        const QIcon icon = key == "Tarmela" ? applicationIcon() : toolbarIcon(key);
        for (int size : {24, 48}) { // how many pixels are not transparent
            const QImage image = icon.pixmap(size, size).toImage();
            int painted = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    painted += qAlpha(image.pixel(x, y)) > 0;
            EXPECT_GT(painted, size * size / 10) << file.toStdString() << " at " << size;
        }
        const QImage image = icon.pixmap(24, 24).toImage();
        EXPECT_FALSE(seen.contains(image)) << file.toStdString() << " looks like another";
        seen << image;
    }
    EXPECT_TRUE(toolbarIcon(QStringLiteral("NoSuchButton")).isNull());
}
