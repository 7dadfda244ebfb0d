#include "host/demo/sdm_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "sdm/design_matrix.h"

namespace host::demo {
namespace {

namespace fs = std::filesystem;

Design exampleDesign() {
    return Design{{{"Task", {255, 0, 0}, {1.0, 1.0, 0.0, 0.0}},
                   {"Drift", {0, 255, 0}, {-0.75, -0.25, 0.25, 0.75}},
                   {"Constant", {255, 255, 255}, {1.0, 1.0, 1.0, 1.0}}},
                  2,
                  true};
}

TEST(SdmWriter, WritesTheUsualLayout) {
    EXPECT_EQ(sdmText(exampleDesign()),
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
              " 0.000000  0.750000  1.000000\n");
}

TEST(SdmWriter, ValuesKeepAtMostTwoCharactersBeforeTheDecimalPoint) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0.000000"},         {-4e-7, "0.000000"},           {0.1234567, "0.123457"},
        {-9.5, "-9.500000"},       {99.25, "99.250000"},          {-10.0, "-1.0000000e+01"},
        {199.0, "1.99000000e+02"}, {1199.125, "1.199125000e+03"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(formatSdmValue(c.value), c.text);
        EXPECT_EQ(sdmValue(c.value), std::stod(c.text));
    }
}

// The project's own SDM reader gets back every value as written, narrowed to single precision,
// also where a value needs the exponent form (a raw drift of 0 ... N-1 beside other columns).
TEST(SdmWriter, TheReaderGetsBackWhatWasWritten) {
    Design design = exampleDesign();
    design.predictors[1].values = {0.0, 1.0, 150.0, -1234.5};
    design.predictors[0].values = {0.0123456, -0.5, 12.0, 1.0};
    for (auto& predictor : design.predictors) {
        for (double& v : predictor.values) v = sdmValue(v);
    }
    const fs::path path = fs::path(testing::TempDir()) / "sdm_writer_roundtrip.sdm";
    writeSdm(design, path);
    const sdm::DesignMatrix read(path.string());
    EXPECT_EQ(read.nrOfPredictors.value, 3);
    EXPECT_EQ(read.nrOfDataPoints.value, 4);
    EXPECT_EQ(read.firstConfoundPredictor.value, 2);
    EXPECT_EQ(read.predictorNames, (std::vector<std::string>{"Task", "Drift", "Constant"}));
    EXPECT_EQ(read.green, (std::vector<std::int32_t>{0, 255, 255}));
    for (int p = 0; p < 3; ++p) {
        for (int t = 0; t < 4; ++t) {
            SCOPED_TRACE(testing::Message() << "predictor " << p << " point " << t);
            EXPECT_EQ(read.columns[p][t], static_cast<float>(design.predictors[p].values[t]));
        }
    }
    fs::remove(path);
}

TEST(SdmWriter, RefusesDesignsItCannotWriteFaithfully) {
    const struct {
        const char* fault;
        void (*spoil)(Design&);
        const char* message;
    } cases[] = {
        {"short predictor", [](Design& d) { d.predictors[2].values.pop_back(); },
         "predictor 3 \"Constant\": expected 4 values, found 3"},
        {"quote in a name", [](Design& d) { d.predictors[1].name = "Dr\"ift"; },
         "predictor 2 \"Dr\"ift\": a name cannot hold a quote or a line break"},
        {"line break in a name", [](Design& d) { d.predictors[0].name = "Ta\nsk"; },
         "predictor 1 \"Ta\nsk\": a name cannot hold a quote or a line break"},
        {"not a number", [](Design& d) { d.predictors[1].values[2] = std::nan(""); },
         "predictor 2 \"Drift\", data point 3: value is not finite"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Design design = exampleDesign();
        c.spoil(design);
        try {
            sdmText(design);
            ADD_FAILURE() << "no exception";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(SdmWriter, UnwritableFolderNamesThePath) {
    const fs::path path = fs::path(testing::TempDir()) / "no_such_folder" / "design.sdm";
    try {
        writeSdm(exampleDesign(), path);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot write " + path.string() + ": " + std::strerror(ENOENT));
    }
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace host::demo
