#pragma once
// Malformed SDM files, one fault each, with the message the reader gives when the file is named
// "case.sdm". The reader's tests read them in process; the hardening tests hand them to the real
// host and plug-in.

#include <string>
#include <vector>

namespace sdm::test {

struct MalformedCase {
    std::string name;
    std::string content;
    std::string message;  // with "{bytes}" replaced by the file's size
};

inline std::vector<MalformedCase> malformedSdmFiles() {
    const std::string header =
        "FileVersion: 1\nNrOfPredictors: 3\nNrOfDataPoints: 2\nIncludesConstant: 0\n"
        "FirstConfoundPredictor: 2\n\n1 2 3 4 5 6 7 8 9\n\"A\" \"B\" \"C\"\n";
    std::vector<MalformedCase> cases = {
        {"row one value short", header + "1 2 3\n4 5\n",
         "case.sdm: line 10: expected 3 values, found 2"},
        {"row one value over", header + "1 2 3 4\n4 5 6\n",
         "case.sdm: line 9: expected 3 values, found 4"},
        {"a row fewer than stated", header + "1 2 3\n\n\n",
         "case.sdm: line 11: expected 2 data rows, found 1"},
        {"no rows, last line without line end", header + "\n ",
         "case.sdm: line 10: expected 2 data rows, found 0"},
        {"rows more than stated", header + "1 2 3\n4 5 6\n\n7 8 9\n\n1 1 1\n",
         "case.sdm: line 12: expected 2 data rows, found 4"},
        {"not a number", header + "1 abc.5 3\n4 5 6\n",
         "case.sdm: line 9: expected a number, found 'abc.5'"},
        {"decimal comma", header + "1 2 3\n4,5 5 6\n",
         "case.sdm: line 10: expected a number, found '4,5'"},
        {"beyond single precision", header + "1 1.0e39 3\n4 5 6\n",
         "case.sdm: line 9: expected a finite single-precision value, found '1.0e39'"},
        {"file ends before the header does", "NrOfPredictors: 3\nNrOfDataPoints: 2\n",
         "case.sdm: line 2: expected \"FirstConfoundPredictor:\", found the end of the file"},
        {"key glued to its value is no key",
         "NrOfPredictors: 1 NrOfDataPoints: 1\nFirstConfoundPredictor:1\n",
         "case.sdm: line 2: expected \"FirstConfoundPredictor:\", found the end of the file"},
        {"empty file", "",
         "case.sdm: line 1: expected \"FirstConfoundPredictor:\", found the end of the file"},
        {"integer that is no number", "FileVersion: 1\n\nNrOfPredictors: x\n",
         "case.sdm: line 3: NrOfPredictors: expected an integer, found 'x'"},
        {"integer with a fraction", "NrOfPredictors: 3.5\n",
         "case.sdm: line 1: NrOfPredictors: expected an integer, found '3.5'"},
        {"integer beyond 32 bits", "NrOfPredictors: 3\nNrOfDataPoints:\n  2147483648\n",
         "case.sdm: line 3: NrOfDataPoints: expected an integer from -2147483648 to 2147483647, "
         "found '2147483648'"},
        {"flag other than 0 or 1", "IncludesConstant: 2\n",
         "case.sdm: line 1: IncludesConstant: expected 0 or 1, found '2'"},
        {"flag that is no number", "IncludesConstant: yes\n",
         "case.sdm: line 1: IncludesConstant: expected 0 or 1, found 'yes'"},
        {"value missing at the end", "NrOfPredictors: 3\nFirstConfoundPredictor:\n",
         "case.sdm: line 2: FirstConfoundPredictor: expected an integer, found the end of the "
         "file"},
        {"no NrOfPredictors", "NrOfDataPoints: 2\nIncludesConstant: 0\nFirstConfoundPredictor: 1\n",
         "case.sdm: line 3: expected \"NrOfPredictors:\" before \"FirstConfoundPredictor:\""},
        {"no NrOfDataPoints", "NrOfPredictors: 2\n\nFirstConfoundPredictor:\n1\n",
         "case.sdm: line 4: expected \"NrOfDataPoints:\" before \"FirstConfoundPredictor:\""},
        {"negative predictors",
         "NrOfPredictors: -1\nNrOfDataPoints: 2\nFirstConfoundPredictor: 1\n",
         "case.sdm: line 1: NrOfPredictors: expected 0 or more, found -1"},
        {"negative data points",
         "NrOfPredictors: 0\nNrOfDataPoints: -2\nFirstConfoundPredictor: 1\n",
         "case.sdm: line 2: NrOfDataPoints: expected 0 or more, found -2"},
        {"first confound below 1",
         "NrOfPredictors: 2\nNrOfDataPoints: 0\nFirstConfoundPredictor: 0\n",
         "case.sdm: line 3: FirstConfoundPredictor: expected 1 or more, found 0"},
        {"more predictors than the file has bytes",
         "NrOfPredictors: 2000000000\nNrOfDataPoints: 0\nFirstConfoundPredictor: 1\n",
         "case.sdm: line 1: NrOfPredictors: expected at most {bytes} predictors in a file of "
         "{bytes} bytes, "
         "found 2000000000"},
        {"more values than the file has bytes",
         "NrOfPredictors: 2\nNrOfDataPoints: 2000000000\nFirstConfoundPredictor: 1\n",
         "case.sdm: line 2: NrOfDataPoints: expected at most 35 rows of 2 values in a file of "
         "{bytes} bytes, found 2000000000"},
        {"values in a design without predictors",
         "NrOfPredictors: 0\nNrOfDataPoints: 2\nFirstConfoundPredictor: 1\n\n\"\"\n1\n",
         "case.sdm: line 6: expected 0 values, found 1"},
        {"a row in a design without data points",
         "NrOfPredictors: 1\nNrOfDataPoints: 0\nFirstConfoundPredictor: 1\n\"A\"\n1\n",
         "case.sdm: line 5: expected 0 data rows, found 1"},
    };
    for (MalformedCase& c : cases) {
        const std::string bytes = std::to_string(c.content.size());
        for (auto at = c.message.find("{bytes}"); at != std::string::npos;
             at = c.message.find("{bytes}"))
            c.message.replace(at, 7, bytes);
    }
    return cases;
}

}  // namespace sdm::test
