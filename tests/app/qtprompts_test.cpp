#include "app/qtprompts.h"

#include <gtest/gtest.h>

TEST(QtFileFilter, ProgramFiltersBecomeQtFilters) {
    EXPECT_EQ(QtFileFilter(QStringLiteral("Project files (*.prj)|*.PRJ")),
              QStringLiteral("Project files (*.prj *.PRJ)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Dat files (*.dat)|*.DAT")),
              QStringLiteral("Dat files (*.dat *.DAT)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Text|*.EXT")), QStringLiteral("Text (*.ext *.EXT)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("All|*")), QStringLiteral("All (*)"));
}

TEST(QtFileFilter, SeveralEntriesAndPatterns) {
    EXPECT_EQ(QtFileFilter(QStringLiteral("Pictures|*.BMP;*.png|All files|*.*")),
              QStringLiteral("Pictures (*.bmp *.BMP *.png *.PNG);;All files (*.*)"));
}
