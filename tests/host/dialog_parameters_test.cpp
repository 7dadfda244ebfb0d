#include "host/dialog_parameters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace host {
namespace {

TEST(DialogParameters, StartWithTheDialogsOwnParametersAtTheirDefaults) {
    const DialogParameters parameters;
    EXPECT_EQ(parameters.all().size(), 13u);
    EXPECT_EQ(parameters.text("sdmfile1"), "");
    EXPECT_EQ(parameters.text("residuals2"), "0");
    EXPECT_EQ(parameters.text("colour"), std::nullopt);
    EXPECT_EQ(parameters.integer("colour"), 0);
}

TEST(DialogParameters, SwitchesTakeDecimalIntegersOnly) {
    const std::vector<std::pair<std::string, std::optional<int>>> cases = {
        {"0", 0},
        {"1", 1},
        {"-3", -3},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1.0", std::nullopt},
        {"yes", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(parseInteger(text), value) << "text \"" << text << "\"";
        DialogParameters parameters;
        if (value) {
            parameters.set("Fmap", text);
            EXPECT_EQ(parameters.integer("Fmap"), *value) << "text \"" << text << "\"";
        } else {
            EXPECT_THROW(parameters.set("Fmap", text), ParameterError) << "text \"" << text << "\"";
            EXPECT_EQ(parameters.text("Fmap"), "0");
        }
    }
}

TEST(DialogParameters, TextsHoldUpTo511CharactersAndOtherNamesAnyText) {
    DialogParameters parameters;
    parameters.set("sdmfile2", std::string(511, 'a'));
    parameters.set("colour", "dark blue");
    EXPECT_EQ(parameters.integer("colour"), 0);
    parameters.set("level", "12");
    EXPECT_EQ(parameters.integer("level"), 12);
    try {
        parameters.set("sdmfile2", std::string(512, 'b'));
        FAIL() << "no error";
    } catch (const ParameterError& error) {
        EXPECT_STREQ(error.what(),
                     "parameter \"sdmfile2\": the text has 512 characters; a dialog parameter "
                     "holds at most 511");
    }
    EXPECT_EQ(parameters.text("sdmfile2"), std::string(511, 'a'));
}

}  // namespace
}  // namespace host
