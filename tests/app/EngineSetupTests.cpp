#include <gtest/gtest.h>

#include "kcs/app/Settings.h"
#include "kcs/app/EngineSetup.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::app;
using kcs::test::readFile;
using kcs::test::TempDir;
using kcs::test::writeFile;

TEST(EngineSetup, PreparesTheEngineWritesSystemDBAndFillsThePaths) {
    TempDir program;
    writeFile(program / "kcstest.ini", "[Path]\nFilePath=a:\nSndPath=sounds\n");
    const auto session = prepareStartup(program.path());
    const Paths& state = session.paths;

    EXPECT_EQ(session.engine.DefaultUser, "HWKTest");
    EXPECT_EQ(session.engine.DefaultPassword, "qmvtoza");
    EXPECT_EQ(session.engine.IniPath, program / "kcstest.ini");
    EXPECT_EQ(session.TestWorkspace.Name(), "");
    EXPECT_EQ(session.TestWorkspace.UserName(), "admin");
    EXPECT_EQ(session.settings.IniPath(), program / "kcstest.ini");
    EXPECT_EQ(state.QuestionBankPath, program / "KCS32.MDB");
    EXPECT_EQ(state.SoundPath, "sounds");
    EXPECT_EQ(state.soundFolder("Spanish"), program / "sounds" / "KCSTest" / "sound" / "Spanish");
    EXPECT_EQ(readFile(program / "kcstest.ini"),
              "[Path]\nFilePath=a:\nSndPath=sounds\n[Options]\nSystemDB=" + (program / "hwkltd.mda").string() + "\n");

    // Every start writes it again, in place.
    writeFile(program / "kcstest.ini", "[Options]\nSystemDB=/elsewhere/hwkltd.mda\n");
    const auto again = prepareStartup(program.path());
    EXPECT_EQ(readFile(program / "kcstest.ini"), "[Options]\nSystemDB=" + (program / "hwkltd.mda").string() + "\n");
    EXPECT_EQ(again.paths.SoundPath, "c:");
}

TEST(EngineSetup, TheProgramFolderIsTheExecutablesFolder) {
    const auto folder = executableFolder();
    EXPECT_TRUE(std::filesystem::exists(folder / "kcs_app_tests"));
}

}  // namespace
