#pragma once
// The parameters of the plug-in's dialog, which the host stands in for: the texts "task",
// "sdmfile", "sdmfile1" and "sdmfile2", the integer switches of the comparison, and whatever else
// a user sets. The plug-in reads them into 512-byte buffers, so a text holds at most 511
// characters; a text that does not fit is refused, never cut.

#include <cstddef>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace host {

// A parameter value the dialog cannot hold; the text names the parameter and the value.
class ParameterError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kMaxParameterText = 511;

class DialogParameters {
  public:
    // The dialog's own parameters at their defaults: empty texts, switches 0.
    DialogParameters();

    // Sets a parameter. Throws ParameterError when the text is longer than 511 characters or a
    // switch is given something other than a decimal integer; the old value then stays.
    void set(const std::string& name, const std::string& text);

    // The parameter's text, or nothing when the dialog has no such parameter.
    std::optional<std::string> text(const std::string& name) const;
    // The parameter's value as an integer; 0 when it is missing or not an integer.
    int integer(const std::string& name) const;

    // Every parameter, by name.
    const std::map<std::string, std::string>& all() const { return values_; }

    // Whether the dialog holds `name` as an integer switch.
    static bool isSwitch(const std::string& name);

  private:
    std::map<std::string, std::string> values_;
};

// The decimal integer that `text` holds entirely (optional minus sign, digits, 32-bit range).
std::optional<int> parseInteger(const std::string& text);

}  // namespace host
