// Tests of the objconv tool as a process: its counts line, the files it writes, and its
// answers to a missing input file and a wrong command line.
#include <gtest/gtest.h>

#include <string>

#include "tests/obj/model_files.h"
#include "tests/support/process.h"

namespace {

using testsupport::ModelFolder;

const std::string kObjconv = std::string(GLIMMER_BINARY_DIR) + "/objconv";

testsupport::ProcessResult runObjconv(const std::string& folder,
                                      std::vector<std::string> arguments) {
    testsupport::ProcessOptions options;
    options.arguments = std::move(arguments);
    options.workingDirectory = folder;
    return testsupport::runProcess(kObjconv, options);
}

TEST(ObjconvTest, PrintsTheCountsAndWritesTheModelBack) {
    ModelFolder folder;
    folder.write("lib.mtl", "newmtl red\nKd 1 0 0\n");
    folder.write("in.obj",
                 "mtllib lib.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                 "usemtl red\nf 1 2 3 4\nl 4 1\n");
    testsupport::ProcessResult result =
        runObjconv(folder.folder(), {"in.obj", "out.obj", "out.mtl"});
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    EXPECT_EQ(result.output, "vertices: 4, surfaces: 1, materials: 1, polygons: 2, lines: 1\n");
    EXPECT_EQ(result.errorText, "");
    std::string text = ModelFolder::read(folder.path("out.obj"));
    EXPECT_EQ(text.substr(0, 15), "mtllib out.mtl\n");
    EXPECT_NE(text.find("usemtl red\nf 1/1/1 2/2/2 3/3/3\nf 1/1/1 3/3/3 4/4/4\nl 4/4/4 1/1/1\n"),
              std::string::npos);
    EXPECT_EQ(ModelFolder::read(folder.path("out.mtl")).substr(0, 11), "newmtl red\n");
}

TEST(ObjconvTest, WithoutOutputPathsOnlyCounts) {
    ModelFolder folder;
    folder.write("in.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    testsupport::ProcessResult result = runObjconv(folder.folder(), {"in.obj"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, "vertices: 3, surfaces: 1, materials: 1, polygons: 1, lines: 0\n");
}

TEST(ObjconvTest, MissingInputIsAnErrorWithStatusOne) {
    ModelFolder folder;
    testsupport::ProcessResult result = runObjconv(folder.folder(), {"absent.obj", "out.obj"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errorText, "objconv: cannot read absent.obj: No such file or directory\n");
    EXPECT_EQ(ModelFolder::read(folder.path("out.obj")), "");

    result = runObjconv(folder.folder(), {"."});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText, "objconv: cannot read .: Is a directory\n");
}

TEST(ObjconvTest, AFailedWriteIsAnErrorWithStatusOne) {
    ModelFolder folder;
    folder.write("in.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    testsupport::ProcessResult result = runObjconv(folder.folder(), {"in.obj", "/dev/full"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText, "objconv: cannot write /dev/full: No space left on device\n");
}

// The disk filling part-way, as a file-size limit makes it, must not cost the old file.
TEST(ObjconvTest, AnExistingFileIsKeptWhenTheDiskFillsPartWay) {
    ModelFolder folder;
    std::string big = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (int i = 0; i < 1000; ++i) big += "f 1 2 3\n";
    folder.write("in.obj", big);
    const std::string old = folder.write("old.obj", "old model\n");
    testsupport::ProcessOptions options;
    options.workingDirectory = folder.folder();
    options.arguments = {"-c", "ulimit -f 8; trap '' XFSZ; exec \"$0\" in.obj old.obj", kObjconv};
    testsupport::ProcessResult result = testsupport::runProcess("/bin/sh", options);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText, "objconv: cannot write old.obj: File too large\n");
    EXPECT_EQ(ModelFolder::read(old), "old model\n");
}

TEST(ObjconvTest, WrongArgumentCountShowsTheUsage) {
    ModelFolder folder;
    testsupport::ProcessResult result = runObjconv(folder.folder(), {});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.errorText, "usage: objconv IN.obj [OUT.obj [OUT.mtl]]\n");
}

}  // namespace
