// Where the program keeps its files.
#include "wiring/program_place.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace deskleaf;

TEST(ProgramFolder, BesideTheExecutableUnlessInstalled)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("prefix/bin");
    QDir(dir.path()).mkpath("unpacked here");
    EXPECT_EQ(programFolder(dir.filePath("unpacked here/Tidemark"), dir.filePath("prefix/bin"),
                            "/home/li/.local/share"),
              dir.filePath("unpacked here"));
    EXPECT_EQ(programFolder(dir.filePath("prefix/bin/Tidemark"), dir.filePath("prefix/bin"),
                            "/home/li/.local/share"),
              "/home/li/.local/share/Deskleaf");
}
