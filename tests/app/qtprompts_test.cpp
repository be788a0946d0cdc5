#include "app/qtprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

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

TEST(PrepareFileDialogTest, OpenDialogStartsInTheCurrentFolderWithoutAnInitialOne) {
    QFileDialog dialog;
    PrepareFileDialog(
        dialog, {QStringLiteral("Project files (*.prj)|*.PRJ"), QStringLiteral("prj"), {}}, false);
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Project files (*.prj *.PRJ)"});
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("prj"));
    EXPECT_EQ(dialog.directory(), QDir(QDir::currentPath()));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
}

TEST(PrepareFileDialogTest, SaveDialogInTheGivenFolder) {
    QTemporaryDir folder;
    QFileDialog dialog;
    PrepareFileDialog(
        dialog, {QStringLiteral("Dat files (*.dat)|*.DAT"), QStringLiteral("dat"), folder.path()},
        true);
    EXPECT_EQ(dialog.directory(), QDir(folder.path()));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("dat"));
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Dat files (*.dat *.DAT)"});
}
