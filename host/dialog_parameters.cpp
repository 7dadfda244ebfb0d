#include "host/dialog_parameters.h"

#include <array>
#include <charconv>

namespace host {
namespace {

constexpr std::array<const char*, 4> kTexts = {"task", "sdmfile", "sdmfile1", "sdmfile2"};
constexpr std::array<const char*, 9> kSwitches = {
    "tSNR1", "tSNR2", "tSNR3", "R2adj1", "R2adj2", "R2adj3", "Fmap", "residuals1", "residuals2"};

}  // namespace

std::optional<int> parseInteger(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

DialogParameters::DialogParameters() {
    for (const char* name : kTexts) values_[name] = "";
    for (const char* name : kSwitches) values_[name] = "0";
}

bool DialogParameters::isSwitch(const std::string& name) {
    for (const char* known : kSwitches) {
        if (name == known) return true;
    }
    return false;
}

void DialogParameters::set(const std::string& name, const std::string& text) {
    if (text.size() > kMaxParameterText) {
        throw ParameterError("parameter \"" + name + "\": the text has " +
                             std::to_string(text.size()) +
                             " characters; a dialog parameter holds at most 511");
    }
    if (isSwitch(name) && !parseInteger(text)) {
        throw ParameterError("parameter \"" + name + "\": expected an integer, found \"" + text +
                             "\"");
    }
    values_[name] = text;
}

std::optional<std::string> DialogParameters::text(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

int DialogParameters::integer(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return 0;
    return parseInteger(found->second).value_or(0);
}

}  // namespace host
