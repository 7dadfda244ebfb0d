#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sdm/design_matrix.h"
#include "sdm/io_error.h"
#include "tests/sdm/malformed_sdm_files.h"
#include "tests/sdm/sdm_files.h"

namespace sdm {
namespace {

using Columns = std::vector<std::vector<float>>;

// The example of a file in the layout the host's own tools write.
const std::string kExample =
    "FileVersion:            1\n"
    "\n"
    "NrOfPredictors:         3\n"
    "NrOfDataPoints:         4\n"
    "IncludesConstant:       1\n"
    "FirstConfoundPredictor: 2\n"
    "\n"
    "255 0 0   0 255 0   255 255 255\n"
    "\"Task\" \"Drift\" \"Constant\"\n"
    " 1.000000 -0.750000  1.000000\n"
    " 1.000000 -0.250000  1.000000\n"
    " 0.000000  0.250000  1.000000\n"
    " 0.000000  0.750000  1.000000\n";

std::string crlf(const std::string& text) {
    std::string result;
    for (const char c : text) result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

class SdmReader : public ::testing::Test {
  protected:
    DesignMatrix read(const std::string& content) const {
        return DesignMatrix(dir.write("case.sdm", content));
    }
    test::TempDir dir;
};

TEST_F(SdmReader, ReadsTheExampleCompletely) {
    const std::string path = dir.write("motion.sdm", kExample);
    const DesignMatrix d(path);
    EXPECT_EQ(d.path, path);
    EXPECT_EQ(d.fileVersion.get(), 1);
    EXPECT_EQ(d.nrOfPredictors.get(), 3);
    EXPECT_EQ(d.nrOfDataPoints.get(), 4);
    EXPECT_TRUE(d.includesConstant.get());
    EXPECT_EQ(d.firstConfoundPredictor.get(), 2);
    EXPECT_EQ(d.red, (std::vector<std::int32_t>{255, 0, 255}));
    EXPECT_EQ(d.green, (std::vector<std::int32_t>{0, 255, 255}));
    EXPECT_EQ(d.blue, (std::vector<std::int32_t>{0, 0, 255}));
    EXPECT_EQ(d.predictorNames, (std::vector<std::string>{"Task", "Drift", "Constant"}));
    EXPECT_EQ(d.columns, (Columns{{1, 1, 0, 0}, {-0.75f, -0.25f, 0.25f, 0.75f}, {1, 1, 1, 1}}));
}

struct WellFormedCase {
    std::string name;
    std::string content;
    std::int32_t firstConfound;
    Columns columns;
};

// Files in the styles people and scripts really write, each reading to exact values.
TEST_F(SdmReader, ReadsRealStylesToExactValues) {
    const std::string twoByTwoHeader =
        "FileVersion: 1\nNrOfPredictors: 2\nNrOfDataPoints: 2\nIncludesConstant: 0\n"
        "FirstConfoundPredictor: 2\n";
    const std::vector<WellFormedCase> cases = {
        {"example with CRLF line ends",
         crlf(kExample),
         2,
         {{1, 1, 0, 0}, {-0.75f, -0.25f, 0.25f, 0.75f}, {1, 1, 1, 1}}},
        {"tab separated integers and decimals",
         twoByTwoHeader + "1\t2\t3\t4\t5\t6\n\"A\"\t\"B\"\n1\t-0.5\n0\t0.5\n",
         2,
         {{1, 0}, {-0.5f, 0.5f}}},
        {"blank lines between keys, between rows and after the last row",
         "FileVersion: 1\n\n\nNrOfPredictors: 2\n\nNrOfDataPoints: 2\n\n"
         "FirstConfoundPredictor: 1\n\n1 2 3 4 5 6\n\"A\" \"B\"\n\n 1.5 2.5\n  \n\t\n 3.5 "
         "4.5\n\n\n",
         1,
         {{1.5f, 3.5f}, {2.5f, 4.5f}}},
        {"glued signed values",
         twoByTwoHeader + "\n\"A\" \"B\"\n1.000000-1.000000\n-2.5+0.125\n",
         2,
         {{1, -2.5f}, {-1, 0.125f}}},
        {"integers and exponents as R writes them",
         twoByTwoHeader + "\n\"A\" \"B\"\n1 1e-05\n0 -2.5E+02\n",
         2,
         {{1, 0}, {1e-05f, -250.0f}}},
        {"values of 100 and more, -10 and less",
         twoByTwoHeader + "\n\"A\" \"B\"\n 100.500000 -10.250000\n-12345.678000 999.000000\n",
         2,
         {{100.5f, -12345.678f}, {-10.25f, 999.0f}}},
        {"keys in another order with unknown entries, a value on the next line",
         "NrOfDataPoints: 2 Comment: x IncludesConstant: 0\nNrOfPredictors:\n 1\n"
         "Unknown: 7 FileVersion: 1 FirstConfoundPredictor: 2\n9 9 9\n\"A\"\n0.25\n-0.25\n",
         2,
         {{0.25f, -0.25f}}},
        {"a key given twice keeps its last value",
         "NrOfPredictors: 5 NrOfDataPoints: 1 NrOfPredictors: 1 FirstConfoundPredictor: 1\n"
         "1 2 3\n\"A\"\n7\n",
         1,
         {{7.0f}}},
        {"keys after the header's end are no entries",
         "NrOfPredictors: 1 NrOfDataPoints: 1 FirstConfoundPredictor: 1 NrOfPredictors: 9\n"
         "\"A\"\n7\n",
         1,
         {{7.0f}}},
        {"no colours, an empty name, the last row without a line end",
         "NrOfPredictors: 1\nNrOfDataPoints: 2\nFirstConfoundPredictor: 1\n\"\"\n1\n2",
         1,
         {{1, 2}}},
        {"first confound beyond the predictors: no confounds",
         "NrOfPredictors: 2\nNrOfDataPoints: 2\n"
         "FirstConfoundPredictor: 9\n\n\"A\" \"B\"\n1 2\n3 4\n",
         9,
         {{1, 3}, {2, 4}}},
        {"no predictors: nothing to read whatever the number of data points",
         "NrOfPredictors: 0\nNrOfDataPoints: 300\nFirstConfoundPredictor: 1\n\n\n\n",
         1,
         {}},
        {"no predictors and two billion data points: no values, so nothing held for them",
         "NrOfPredictors: 0\nNrOfDataPoints: 2000000000\nFirstConfoundPredictor: 1\n",
         1,
         {}},
        {"no data points",
         "NrOfPredictors: 2\nNrOfDataPoints: 0\nFirstConfoundPredictor: 2\n",
         2,
         {{}, {}}},
    };
    for (const WellFormedCase& c : cases) {
        SCOPED_TRACE(c.name + "\n" + c.content);
        try {
            const DesignMatrix d = read(c.content);
            EXPECT_EQ(d.nrOfPredictors.get(), static_cast<std::int32_t>(c.columns.size()));
            EXPECT_EQ(d.firstConfoundPredictor.get(), c.firstConfound);
            EXPECT_EQ(d.columns, c.columns);
            EXPECT_EQ(d.red.size(), c.columns.size());
            EXPECT_EQ(d.predictorNames.size(), c.columns.size());
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST_F(SdmReader, MalformedFilesNameFileLineAndFault) {
    for (const test::MalformedCase& c : test::malformedSdmFiles()) {
        SCOPED_TRACE(c.name + "\n" + c.content);
        try {
            read(c.content);
            ADD_FAILURE() << "no error";
        } catch (const IOError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

TEST_F(SdmReader, UnopenablePathsNameThePath) {
    std::vector<std::string> paths{(dir.path() / "missing.sdm").string(), dir.path().string()};
    // A device never ends; reading it as a design would take all memory.
    if (std::filesystem::exists("/dev/zero")) paths.push_back("/dev/zero");
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        try {
            DesignMatrix d(path);
            ADD_FAILURE() << "no error";
        } catch (const OpenFileError& e) {
            EXPECT_EQ(e.what(), "Failed opening for reading: " + path);
        }
    }
}

TEST_F(SdmReader, HeaderEntriesKeepKeyColumnAndPresence) {
    const DesignMatrix d = read(
        "NrOfPredictors:          1\nNrOfDataPoints:\t\t 1\r\nFirstConfoundPredictor:\n "
        "1\n\"A\"\n5\n");
    EXPECT_EQ(d.nrOfPredictors.key, "NrOfPredictors");
    EXPECT_EQ(d.nrOfPredictors.valueColumn, 25u);          // 15 characters and 10 blanks
    EXPECT_EQ(d.nrOfDataPoints.valueColumn, 18u);          // tabs count, like blanks
    EXPECT_EQ(d.firstConfoundPredictor.valueColumn, 23u);  // only blanks on the key's own line
    EXPECT_TRUE(d.nrOfPredictors.present);
    // Without "FileVersion:" the version is -1 and absent.
    EXPECT_EQ(d.fileVersion.get(), -1);
    EXPECT_FALSE(d.fileVersion.present);
    EXPECT_EQ(d.fileVersion.key, "");
    EXPECT_FALSE(d.includesConstant.present);
}

struct LenientCase {
    std::string name;
    std::string colourAndNames;  // what follows the header of three predictors and no rows
    std::vector<std::int32_t> red;
    std::vector<std::int32_t> blue;
    std::vector<std::string> names;
};

// Colours and names are decoration: a short or odd block keeps defaults instead of failing.
TEST_F(SdmReader, ColoursAndNamesAreLenient) {
    const std::vector<LenientCase> cases = {
        {"colours spread over lines",
         "1 2\n3 4 5 6\n7\n8 9\n\"A\" \"B\" \"C\"\n",
         {1, 4, 7},
         {3, 6, 9},
         {"A", "B", "C"}},
        {"a triple cut short keeps 0 0 0",
         "1 2 3 4 5\n\"A\" \"B\" \"C\"\n",
         {1, 0, 0},
         {3, 0, 0},
         {"A", "B", "C"}},
        {"no colours at all", "\"A\" \"B\" \"C\"\n", {0, 0, 0}, {0, 0, 0}, {"A", "B", "C"}},
        {"extra colours on their line",
         "1 2 3 4 5 6 7 8 9 10 11\n\"A\" \"B\" \"C\"\n",
         {1, 4, 7},
         {3, 6, 9},
         {"A", "B", "C"}},
        {"names with blanks, text between quotes ignored",
         "\n\"Task A\" , \" x \"\t\"\"\r\n",
         {0, 0, 0},
         {0, 0, 0},
         {"Task A", " x ", ""}},
        {"fewer names than predictors, unpaired last quote",
         "\"A\" \"B\n",
         {0, 0, 0},
         {0, 0, 0},
         {"A", "NoName", "NoName"}},
        {"more names than predictors",
         "\"A\" \"B\" \"C\" \"D\"\n",
         {0, 0, 0},
         {0, 0, 0},
         {"A", "B", "C"}},
        {"file ends after the header", "", {0, 0, 0}, {0, 0, 0}, {"NoName", "NoName", "NoName"}},
    };
    for (const LenientCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DesignMatrix d = read(
            "NrOfPredictors: 3 NrOfDataPoints: 0 FirstConfoundPredictor: 3\n" + c.colourAndNames);
        EXPECT_EQ(d.red, c.red);
        EXPECT_EQ(d.blue, c.blue);
        EXPECT_EQ(d.green.size(), 3u);
        EXPECT_EQ(d.predictorNames, c.names);
    }
}

}  // namespace
}  // namespace sdm
