#include "sdm/path_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sdm {
namespace {

struct PathCase {
    std::string path;
    std::string fileName;
    std::string stripped;
    std::string inserted;  // insertBeforeExtension(path, "_x")
};

TEST(PathNames, NameStemAndInsertion) {
    const std::vector<PathCase> cases = {
        {"C:\\data\\run1.sdm", "run1.sdm", "C:\\data\\run1", "C:\\data\\run1_x.sdm"},
        {"C:/data/run1.fmr", "run1.fmr", "C:/data/run1", "C:/data/run1_x.fmr"},
        {"run1.sdm", "run1.sdm", "run1", "run1_x.sdm"},
        {"C:/data\\mixed/run1.sdm", "run1.sdm", "C:/data\\mixed/run1", "C:/data\\mixed/run1_x.sdm"},
        {"archive.tar.gz", "archive.tar.gz", "archive.tar", "archive.tar_x.gz"},
        {"C:\\data\\run", "run", "C:\\data\\run", "C:\\data\\run_x"},
        {"C:\\data\\", "", "C:\\data\\", "C:\\data\\_x"},
        {"", "", "", "_x"},
        // A dot in a folder name is no extension: outputs stay in the folder, named after the
        // file.
        {"C:\\data.old\\run", "run", "C:\\data.old\\run", "C:\\data.old\\run_x"},
        {"D:/exp.old/design", "design", "D:/exp.old/design", "D:/exp.old/design_x"},
        {"D:/exp.old/design.sdm", "design.sdm", "D:/exp.old/design", "D:/exp.old/design_x.sdm"},
        {"D:/exp.old/", "", "D:/exp.old/", "D:/exp.old/_x"},
        {"run1.", "run1.", "run1", "run1_x."},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE("path: " + c.path);
        EXPECT_EQ(fileName(c.path), c.fileName);
        EXPECT_EQ(stripExtension(c.path), c.stripped);
        EXPECT_EQ(insertBeforeExtension(c.path, "_x"), c.inserted);
    }
}

}  // namespace
}  // namespace sdm
