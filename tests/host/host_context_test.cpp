#include "host/host_context.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "host/nifti_io.h"
#include "tests/host/host_test_support.h"

namespace host {
namespace {

using host_test::TempFolder;

// A host context on a console that writes into strings, with or without a small run.
class Host : public testing::Test {
  protected:
    HostContext& make(std::deque<std::string> picks = {}, std::istream* terminal = nullptr,
                      bool withRun = false) {
        std::optional<FmrDocument> document;
        if (withRun) {
            host_test::writeImage(*host_test::makeImage({3, 2, 2, 4}, DT_FLOAT32),
                                  folder.path("run.nii"));
            document.emplace(openDocument(folder.path("run.nii")));
        }
        context.emplace(console, DialogParameters(), std::move(document), std::move(picks),
                        HostVersion{}, terminal);
        return *context;
    }

    TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    Console console{out, err, false};
    std::optional<HostContext> context;
};

TEST_F(Host, FileDialogsTakeThePicksInOrderThenAreCancelled) {
    HostContext& host = make({"first.sdm", "second.sdm"});
    char buffer[512];
    EXPECT_TRUE(host.getOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", buffer));
    EXPECT_STREQ(buffer, "first.sdm");
    EXPECT_TRUE(host.getOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", buffer));
    EXPECT_STREQ(buffer, "second.sdm");
    EXPECT_FALSE(host.getOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(err.str(), "quorvis: file dialog \"Select an SDM:\" cancelled: no --pick answer\n");
    EXPECT_EQ(host.faultCount(), 0);
}

TEST_F(Host, FileDialogsAskATerminal) {
    std::istringstream terminal("typed/design.sdm\n\n" + std::string(512, 'x') + "\n");
    HostContext& host = make({}, &terminal);
    char buffer[512];
    EXPECT_TRUE(host.getOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", buffer));
    EXPECT_STREQ(buffer, "typed/design.sdm");
    EXPECT_FALSE(host.getOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(host.getOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", buffer));
    EXPECT_STREQ(buffer, "");
    const std::string prompt = "Select an SDM: [Design Matrix (*.sdm)] (empty line cancels): ";
    EXPECT_EQ(err.str(), prompt + prompt + prompt +
                             "quorvis: zvGetOpenFileName: the chosen path has 512 characters; a "
                             "file dialog returns at most 511\n");
    EXPECT_EQ(host.faultCount(), 1);
}

TEST_F(Host, ParametersFillTheBufferAndRefuseTextsThatDoNotFit) {
    HostContext& host = make();
    char buffer[512];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_FALSE(host.getStringParameter("unknown", buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(host.setStringParameter("sdmfile", "a.sdm"));
    EXPECT_TRUE(host.getStringParameter("sdmfile", buffer));
    EXPECT_STREQ(buffer, "a.sdm");
    EXPECT_EQ(host.getIntParameter("sdmfile"), 0);

    EXPECT_FALSE(host.setStringParameter("sdmfile", std::string(512, 'y').c_str()));
    EXPECT_TRUE(host.getStringParameter("sdmfile", buffer));
    EXPECT_STREQ(buffer, "a.sdm");
    EXPECT_EQ(err.str(),
              "quorvis: zvSetStringParameter: parameter \"sdmfile\": the text has 512 characters; "
              "a dialog parameter holds at most 511\n");
    EXPECT_EQ(host.faultCount(), 1);
}

TEST_F(Host, UnbalancedBusyCursorsAreFaults) {
    HostContext& host = make();
    host.stopBusyCursor();
    host.showBusyCursor();
    host.showBusyCursor();
    host.stopBusyCursor();
    host.checkBusyCursorStopped();
    EXPECT_EQ(err.str(),
              "quorvis: zvStopBusyCursor: called while the busy cursor is not shown\n"
              "quorvis: zvShowBusyCursor: the busy cursor is still shown at the end (1 call(s) "
              "without zvStopBusyCursor)\n");
    EXPECT_EQ(host.faultCount(), 2);
    EXPECT_EQ(console.busyDepth(), 0);
}

TEST_F(Host, WithoutADocumentTheDocumentServicesFail) {
    HostContext& host = make();
    FMRHeader header{};
    MapHeader map{};
    EXPECT_EQ(host.currentDocumentId(), -1);
    EXPECT_EQ(host.documentType(0), -1);
    EXPECT_FALSE(host.getHeader(&header));
    EXPECT_EQ(host.timeCourses(), nullptr);
    EXPECT_FALSE(host.createMap());
    EXPECT_EQ(host.getMap(&map), nullptr);
    EXPECT_FALSE(host.saveFmrAndStc("a.fmr", "a"));
    EXPECT_EQ(host.faultCount(), 5);
    EXPECT_THAT(err.str(), testing::HasSubstr(
                               "quorvis: zvGetMAPOfCurrentFMR: the current document has no map\n"));
}

TEST_F(Host, MapsAreCreatedFilledAndSavedNewestFirst) {
    HostContext& host = make({}, nullptr, true);
    EXPECT_EQ(host.currentDocumentId(), 0);
    EXPECT_EQ(host.documentType(0), 1);
    ASSERT_TRUE(host.createMap());
    MapHeader header{};
    float** slices = host.getMap(&header);
    ASSERT_NE(slices, nullptr);
    EXPECT_EQ(header.DimX, 3);
    EXPECT_EQ(header.DimZ, 2);
    slices[1][2 * 3 - 1] = 7.0f;  // voxel (2, 1, 1)
    header.MapType = kMapTypeF;
    header.DF1 = 2;
    EXPECT_TRUE(host.setMapParameters(&header));
    EXPECT_TRUE(host.saveMaps(folder.path("f.map").c_str()));
    EXPECT_FALSE(host.saveMaps(folder.path("missing/f.map").c_str()));

    const host_test::Image saved = host_test::readImage(folder.path("f.map"));
    EXPECT_EQ(static_cast<const float*>(saved->data)[2 + 3 * (1 + 2 * 1)], 7.0f);
    EXPECT_EQ(saved->intent_p1, 2.0f);
    EXPECT_EQ(err.str(), "quorvis: saved " + folder.path("f.map") +
                             "\nquorvis: zvSaveMAPsOfCurrentFMR: cannot write " +
                             folder.path("missing/f.map") + ": No such file or directory\n");
    EXPECT_EQ(host.faultCount(), 1);
}

// Records what it hears; fails on the maps whose path contains "refuse".
class RecordingListener : public SaveListener {
  public:
    std::string role() const override { return "record"; }
    void mapSaved(const SavedMap& saved) override {
        heard.push_back("map " + saved.path + " " + std::to_string(saved.map.values()[0]) + " " +
                        saved.parameters.text("sdmfile2").value_or("?"));
        if (saved.path.find("refuse") != std::string::npos) throw WriteError("refused");
    }
    void runSaved(const SavedRun& saved) override {
        heard.push_back("run " + saved.fmrPath + " " + saved.stcPath + " " +
                        std::to_string(saved.volumes));
    }
    std::vector<std::string> heard;
};

TEST_F(Host, ListenersHearEverySaveAndTheirFailuresAreFaults) {
    HostContext& host = make({}, nullptr, true);
    RecordingListener first;
    RecordingListener second;
    host.addListener(first);
    host.addListener(second);
    host.parameters().set("sdmfile2", "full.sdm");
    ASSERT_TRUE(host.createMap());
    MapHeader header{};
    host.getMap(&header)[0][0] = 2.5f;
    const std::string map = folder.path("a.map");
    const std::string refused = folder.path("refuse.map");
    EXPECT_TRUE(host.saveMaps(map.c_str()));
    EXPECT_TRUE(host.saveMaps(refused.c_str()));  // the map is on disk whatever the listener says
    EXPECT_FALSE(host.saveMaps(folder.path("missing/b.map").c_str()));
    EXPECT_TRUE(host.saveFmrAndStc(folder.path("copy.fmr").c_str(), "copy"));

    const std::vector<std::string> expected = {
        "map " + map + " 2.500000 full.sdm", "map " + refused + " 2.500000 full.sdm",
        "run " + folder.path("copy.fmr") + " " + folder.path("copy.stc") + " 4"};
    EXPECT_EQ(first.heard, expected);
    EXPECT_EQ(second.heard, expected);
    EXPECT_TRUE(std::filesystem::exists(refused));
    EXPECT_THAT(err.str(),
                testing::HasSubstr("quorvis: saved " + refused + "\nquorvis: record of " + refused +
                                   ": refused\nquorvis: record of " + refused + ": refused\n"));
    EXPECT_EQ(host.faultCount(), 3);  // two listeners on one map, and the map that was not saved
}

}  // namespace
}  // namespace host
