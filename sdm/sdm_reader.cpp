// The SDM reader: the DesignMatrix constructor from a path and the header entries' readFrom.
//
// An SDM file holds, in this order: a header of "Key: value" tokens ending with the value of
// "FirstConfoundPredictor:", a colour block of 3·P integers, one line of quoted predictor names,
// and N rows of P decimal numbers, one row per volume of the functional run. The header, colours
// and names are read leniently (any layout, unknown entries, missing names); the numbers are
// read strictly, because a design value read wrongly silently corrupts every fit that uses it.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "sdm/decimal_row.h"
#include "sdm/design_matrix.h"
#include "sdm/io_error.h"
#include "sdm/path_names.h"
#include "sdm/source_text.h"

namespace sdm {
namespace {

constexpr std::string_view kHeaderEnd = "FirstConfoundPredictor:";

// The whole file, read as bytes: line ends are handled by the parsers, which treat a carriage
// return as white space, so files written on Windows read the same everywhere.
std::string readFileContents(const std::string& path) {
    // A folder cannot be read as a file, and a device such as /dev/zero never ends: reading it
    // would fill the memory. Pipes stay readable, so a design may come from a shell's <(...).
    std::error_code ignored;
    const std::filesystem::file_type type = std::filesystem::status(path, ignored).type();
    if (type == std::filesystem::file_type::directory ||
        type == std::filesystem::file_type::character ||
        type == std::filesystem::file_type::block || type == std::filesystem::file_type::socket)
        throw OpenFileError(path);
    std::ifstream file(path, std::ios::binary);
    if (!file) throw OpenFileError(path);
    std::string contents;
    char buffer[1 << 16];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0)
        contents.append(buffer, static_cast<std::size_t>(file.gcount()));
    if (file.bad()) throw IOError(fileName(path) + ": reading failed");
    return contents;
}

std::size_t offsetOf(std::istream& in) {
    return static_cast<std::size_t>(in.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in));
}

// Where each size-giving header value ends, so that a value found wrong once the whole header
// is known can still be pointed at. Offsets, not lines: the line is counted only for a message,
// which keeps a header of many entries linear to read.
struct HeaderEnds {
    std::size_t nrOfPredictors = 0;
    std::size_t nrOfDataPoints = 0;
    std::size_t firstConfoundPredictor = 0;
};

// Reads one header entry and returns the offset just after its value.
template <typename T>
std::size_t readEntry(std::istream& in, const SourceText& text, HeaderField<T>& field,
                      const std::string& token) {
    try {
        field.readFrom(in, token);
    } catch (const IOError& e) {
        throw text.error(text.lineAt(offsetOf(in)), e.what());
    }
    return offsetOf(in);
}

// Scans tokens up to and including the value of "FirstConfoundPredictor:". Unknown tokens are
// skipped, and a key given twice keeps its last value.
HeaderEnds readHeader(std::istream& in, const SourceText& text, DesignMatrix& design) {
    HeaderEnds ends;
    std::string token;
    while (token != kHeaderEnd) {
        if (!(in >> token))
            throw text.error(text.lastLine(),
                             "expected \"FirstConfoundPredictor:\", found the end of the file");
        if (token == "FileVersion:") {
            readEntry(in, text, design.fileVersion, token);
        } else if (token == "NrOfPredictors:") {
            ends.nrOfPredictors = readEntry(in, text, design.nrOfPredictors, token);
        } else if (token == "NrOfDataPoints:") {
            ends.nrOfDataPoints = readEntry(in, text, design.nrOfDataPoints, token);
        } else if (token == "IncludesConstant:") {
            readEntry(in, text, design.includesConstant, token);
        } else if (token == kHeaderEnd) {
            ends.firstConfoundPredictor = readEntry(in, text, design.firstConfoundPredictor, token);
        }
    }
    return ends;
}

// The header values every later step sizes its data from, checked before anything is sized.
// P·N values need at least P·N bytes, so a size beyond the file's length is refused before it
// could allocate memory that the file can never fill.
void checkHeader(const SourceText& text, const DesignMatrix& design, const HeaderEnds& ends) {
    const std::size_t end = text.lineAt(ends.firstConfoundPredictor);
    const std::size_t pLine = text.lineAt(ends.nrOfPredictors);
    const std::size_t nLine = text.lineAt(ends.nrOfDataPoints);
    if (!design.nrOfPredictors.present)
        throw text.error(end, "expected \"NrOfPredictors:\" before \"FirstConfoundPredictor:\"");
    if (!design.nrOfDataPoints.present)
        throw text.error(end, "expected \"NrOfDataPoints:\" before \"FirstConfoundPredictor:\"");
    const std::int64_t p = design.nrOfPredictors.value;
    const std::int64_t n = design.nrOfDataPoints.value;
    const std::int64_t first = design.firstConfoundPredictor.value;
    if (p < 0)
        throw text.error(pLine, "NrOfPredictors: expected 0 or more, found " + std::to_string(p));
    if (n < 0)
        throw text.error(nLine, "NrOfDataPoints: expected 0 or more, found " + std::to_string(n));
    if (first < 1)
        throw text.error(
            end, "FirstConfoundPredictor: expected 1 or more, found " + std::to_string(first));
    const auto bytes = static_cast<std::int64_t>(text.size());
    if (p > bytes)
        throw text.error(pLine, "NrOfPredictors: expected at most " + std::to_string(bytes) +
                                    " predictors in a file of " + std::to_string(bytes) +
                                    " bytes, found " + std::to_string(p));
    if (p > 0 && n > bytes / p)
        throw text.error(nLine, "NrOfDataPoints: expected at most " + std::to_string(bytes / p) +
                                    " rows of " + std::to_string(p) + " values in a file of " +
                                    std::to_string(bytes) + " bytes, found " + std::to_string(n));
}

// 3·P integers regardless of line structure, predictor by predictor. Lenient: a block that
// stops early leaves the remaining predictors at 0 0 0, and so does a triple cut short, since
// a colour with a missing component is no colour the file gave. The attempt to read one more
// integer after the last triple skips the white space before the names line.
void readColours(std::istream& in, DesignMatrix& design, std::size_t p) {
    design.red.assign(p, 0);
    design.green.assign(p, 0);
    design.blue.assign(p, 0);
    std::int32_t c1 = 0, c2 = 0, c3 = 0;
    in >> c1;
    for (std::size_t i = 0; in.good() && i < p; ++i) {
        if (!(in >> c2 >> c3)) break;
        design.red[i] = c1;
        design.green[i] = c2;
        design.blue[i] = c3;
        in >> c1;
    }
    in.clear();
}

// The names line: the rest of the current line, or the next line when the rest holds no quote.
// Each pair of double quotes encloses one name, taken verbatim; unnamed predictors are "NoName".
void readNames(LineCursor& lines, DesignMatrix& design, std::size_t p) {
    std::string_view line;
    lines.next(line);
    if (line.find('"') == std::string_view::npos) lines.next(line);
    design.predictorNames.assign(p, "NoName");
    std::size_t open = line.find('"');
    for (std::size_t k = 0; k < p && open != std::string_view::npos; ++k) {
        const std::size_t close = line.find('"', open + 1);
        if (close == std::string_view::npos) break;
        design.predictorNames[k] = std::string(line.substr(open + 1, close - open - 1));
        open = line.find('"', close + 1);
    }
}

// Exactly N rows of exactly P numbers; lines of white space alone are skipped wherever they
// stand. A design without predictors has no values to read, whatever N is.
void readRows(LineCursor& lines, const SourceText& text, DesignMatrix& design, std::size_t p,
              std::size_t n) {
    // Column by column: a design without predictors may state any N, and must not cost N floats.
    design.columns.assign(p, std::vector<float>());
    for (std::vector<float>& column : design.columns) column.assign(n, 0.0f);
    std::vector<float> row;
    std::size_t rowsRead = 0;
    std::string_view line;
    while (lines.next(line)) {
        if (isBlankLine(line)) continue;
        if (rowsRead == n) {
            const std::size_t extraLine = lines.lineNumber();
            std::size_t rowsFound = n + 1;
            while (lines.next(line)) rowsFound += isBlankLine(line) ? 0 : 1;
            throw text.error(extraLine, "expected " + counted(n, "data row") + ", found " +
                                            std::to_string(rowsFound));
        }
        parseDecimalRow(line, row, text, lines.lineNumber());
        if (row.size() != p)
            throw text.error(lines.lineNumber(), "expected " + counted(p, "value") + ", found " +
                                                     std::to_string(row.size()));
        for (std::size_t j = 0; j < p; ++j) design.columns[j][rowsRead] = row[j];
        ++rowsRead;
    }
    if (p > 0 && rowsRead < n)
        throw text.error(text.lastLine(), "expected " + counted(n, "data row") + ", found " +
                                              std::to_string(rowsRead));
}

// The value token after a key: a whole decimal integer, optionally signed, in the 32-bit range.
template <typename T>
T parseHeaderValue(const std::string& key, const std::string& token) {
    constexpr bool isFlag = std::is_same_v<T, bool>;
    const std::string expected = isFlag ? "0 or 1" : "an integer";
    const auto fail = [&](const std::string& what) {
        return IOError(key + ": expected " + what + ", found '" + excerpt(token) + "'");
    };
    const std::size_t digitsStart = token[0] == '+' || token[0] == '-' ? 1 : 0;
    if (digitsStart == token.size() ||
        token.find_first_not_of("0123456789", digitsStart) != std::string::npos)
        throw fail(expected);
    const char* first = token.data() + (token[0] == '+' ? 1 : 0);
    std::int32_t value = 0;
    if (std::from_chars(first, token.data() + token.size(), value).ec != std::errc())
        throw fail(isFlag ? expected : "an integer from -2147483648 to 2147483647");
    if constexpr (isFlag) {
        if (value != 0 && value != 1) throw fail(expected);
        return value == 1;
    } else {
        return value;
    }
}

}  // namespace

template <typename T>
void HeaderField<T>::readFrom(std::istream& in, const std::string& token) {
    key = token.substr(0, token.empty() ? 0 : token.size() - 1);
    valueColumn = static_cast<std::uint32_t>(token.size());
    for (int c = in.peek(); c == ' ' || c == '\t'; c = in.peek()) {
        in.get();
        ++valueColumn;
    }
    std::string valueToken;
    if (!(in >> valueToken))
        throw IOError(key + ": expected " + (std::is_same_v<T, bool> ? "0 or 1" : "an integer") +
                      ", found the end of the file");
    value = parseHeaderValue<T>(key, valueToken);
    present = true;
}

template void HeaderField<std::int32_t>::readFrom(std::istream&, const std::string&);
template void HeaderField<bool>::readFrom(std::istream&, const std::string&);

DesignMatrix::DesignMatrix(std::string path) : path(std::move(path)) {
    fileVersion.value = -1;
    const SourceText text(fileName(this->path), readFileContents(this->path));
    std::istringstream in(std::string(text.view()));
    in.imbue(std::locale::classic());  // the host's locale must not change how numbers read
    checkHeader(text, *this, readHeader(in, text, *this));
    const auto p = static_cast<std::size_t>(nrOfPredictors.value);
    const auto n = static_cast<std::size_t>(nrOfDataPoints.value);
    readColours(in, *this, p);
    LineCursor lines(text, offsetOf(in));
    readNames(lines, *this, p);
    readRows(lines, text, *this, p, n);
}

}  // namespace sdm
