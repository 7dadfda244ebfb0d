#pragma once
// Helpers of the host's tests: scratch folders, NIfTI files made and read with nifti_clib (an
// implementation independent of the host's own reader and writer), and running programs.

#include <nifti1_io.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace host_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::string& root() const { return root_; }
    std::string path(const std::string& name) const { return root_ + "/" + name; }
    // The names of the files in the folder, sorted.
    std::vector<std::string> fileNames() const;

  private:
    std::string root_;
};

struct ImageFreer {
    void operator()(nifti_image* image) const { nifti_image_free(image); }
};
using Image = std::unique_ptr<nifti_image, ImageFreer>;

// A zero-filled image of the given sizes (x, y, z[, t, ...]) and nifti data type.
Image makeImage(std::initializer_list<int> sizes, int datatype);
// Gives the image voxel sizes 2 x 3 x 4 mm, a TR of 1.5 s and a qform and an sform that differ
// from each other and from the identity, so geometry that is lost or mixed up shows.
void setTestGeometry(nifti_image& image);
// Writes the image with nifti_clib; the extension (.nii or .nii.gz) decides compression.
void writeImage(nifti_image& image, const std::string& path);
// Reads a NIfTI-1 single file with nifti_clib whatever its extension (.map, .stc, ...).
Image readImage(const std::string& path);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

}  // namespace host_test
