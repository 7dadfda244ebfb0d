#include "tests/host/host_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace host_test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvis-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::vector<std::string> TempFolder::fileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Image makeImage(std::initializer_list<int> sizes, int datatype) {
    int dims[8] = {static_cast<int>(sizes.size()), 1, 1, 1, 1, 1, 1, 1};
    int axis = 1;
    for (int size : sizes) dims[axis++] = size;
    Image image(nifti_make_new_nim(dims, datatype, 1));
    if (!image) throw std::runtime_error("nifti_make_new_nim failed");
    return image;
}

void setTestGeometry(nifti_image& image) {
    image.dx = image.pixdim[1] = 2.0f;
    image.dy = image.pixdim[2] = 3.0f;
    image.dz = image.pixdim[3] = 4.0f;
    image.dt = image.pixdim[4] = 1.5f;
    image.xyz_units = NIFTI_UNITS_MM;
    image.time_units = NIFTI_UNITS_SEC;
    image.qform_code = NIFTI_XFORM_SCANNER_ANAT;
    image.quatern_b = 0.0f;
    image.quatern_c = 0.6f;
    image.quatern_d = 0.8f;
    image.qoffset_x = -90.0f;
    image.qoffset_y = 126.0f;
    image.qoffset_z = -72.0f;
    image.qfac = image.pixdim[0] = -1.0f;
    image.sform_code = NIFTI_XFORM_MNI_152;
    const float srow[3][4] = {
        {-2.0f, 0.1f, 0.0f, 90.0f}, {0.0f, 3.0f, 0.2f, -126.0f}, {0.3f, 0.0f, 4.0f, -72.0f}};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) image.sto_xyz.m[row][column] = srow[row][column];
    }
}

void writeImage(nifti_image& image, const std::string& path) {
    if (nifti_set_filenames(&image, path.c_str(), 0, 1) != 0) {
        throw std::runtime_error("nifti_set_filenames failed for " + path);
    }
    image.nifti_type = NIFTI_FTYPE_NIFTI1_1;
    nifti_image_write(&image);
}

Image readImage(const std::string& path) {
    // nifti_clib picks the format by extension, so a copy with a name it knows is read.
    const std::string copy = path + ".readback.nii";
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    Image image(nifti_image_read(copy.c_str(), 1));
    std::filesystem::remove(copy);
    if (!image) throw std::runtime_error("nifti_clib cannot read " + path);
    return image;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace host_test
