#include "host/demo/nifti_run_writer.h"

#include <nifti1_io.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "host/atomic_file.h"

namespace host::demo {
namespace {

struct NiftiImageFree {
    void operator()(nifti_image* image) const { nifti_image_free(image); }
};

// The header that nifti_clib derives from an image record with our geometry.
nifti_1_header runHeader(const RunGeometry& geometry, const std::string& description) {
    const int dims[8] = {4, geometry.dimX, geometry.dimY, geometry.dimZ, geometry.volumes, 1, 1, 1};
    std::unique_ptr<nifti_image, NiftiImageFree> image(
        nifti_make_new_nim(dims, NIFTI_TYPE_FLOAT32, 0));
    if (!image) throw std::bad_alloc();
    const auto size = static_cast<float>(geometry.voxelSize);
    image->dx = image->dy = image->dz = size;
    image->pixdim[1] = image->pixdim[2] = image->pixdim[3] = size;
    image->dt = image->pixdim[4] = static_cast<float>(geometry.repetitionTime);
    image->xyz_units = NIFTI_UNITS_MM;
    image->time_units = NIFTI_UNITS_SEC;
    image->scl_slope = 1.0f;
    image->scl_inter = 0.0f;
    // Axes along right, anterior and superior, with the centre of the grid at the origin.
    image->qform_code = NIFTI_XFORM_SCANNER_ANAT;
    image->sform_code = NIFTI_XFORM_SCANNER_ANAT;
    image->quatern_b = image->quatern_c = image->quatern_d = 0.0f;
    image->qfac = 1.0f;
    image->qoffset_x = -0.5f * static_cast<float>(geometry.dimX - 1) * size;
    image->qoffset_y = -0.5f * static_cast<float>(geometry.dimY - 1) * size;
    image->qoffset_z = -0.5f * static_cast<float>(geometry.dimZ - 1) * size;
    image->qto_xyz = nifti_quatern_to_mat44(0.0f, 0.0f, 0.0f, image->qoffset_x, image->qoffset_y,
                                            image->qoffset_z, size, size, size, 1.0f);
    image->sto_xyz = image->qto_xyz;
    image->nifti_type = NIFTI_FTYPE_NIFTI1_1;
    image->iname_offset = 352;
    std::strncpy(image->descrip, description.c_str(), sizeof image->descrip - 1);
    image->descrip[sizeof image->descrip - 1] = '\0';
    return nifti_convert_nim2nhdr(image.get());
}

// Bytes on their way into the file, through a gzip stream when the name asks for one.
class Output {
  public:
    Output(AtomicFile& file, bool compress) : file_(file), compress_(compress) {
        // Huffman coding alone: noisy voxel values hold few repeated strings, so searching for
        // them costs several times the time for a few percent. Window bits 15 + 16 select the
        // gzip wrapper, with a zero time stamp: the same data always give the same bytes.
        if (compress_ && deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8,
                                      Z_HUFFMAN_ONLY) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~Output() {
        if (compress_) deflateEnd(&stream_);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void write(const void* data, std::size_t size) {
        if (!compress_) return file_.write(data, size);
        const auto* bytes = static_cast<const Bytef*>(data);
        while (size > 0) {
            const auto chunk = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
            deflateChunk(bytes, chunk, Z_NO_FLUSH);
            bytes += chunk;
            size -= chunk;
        }
    }
    void finish() {
        if (compress_) deflateChunk(nullptr, 0, Z_FINISH);
    }

  private:
    void deflateChunk(const Bytef* data, uInt size, int flush) {
        stream_.next_in = const_cast<Bytef*>(data);
        stream_.avail_in = size;
        int status = Z_OK;
        do {
            stream_.next_out = buffer_.data();
            stream_.avail_out = static_cast<uInt>(buffer_.size());
            status = deflate(&stream_, flush);
            file_.write(buffer_.data(), buffer_.size() - stream_.avail_out);
        } while (stream_.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    }

    AtomicFile& file_;
    bool compress_;
    z_stream stream_{};
    std::vector<Bytef> buffer_ = std::vector<Bytef>(1 << 18);
};

}  // namespace

void writeRunNifti(const RunGeometry& geometry, std::span<const float> timeCourses,
                   const std::filesystem::path& path, const std::string& description) {
    const std::size_t volumeSize = geometry.voxelCount();
    if (geometry.dimX < 1 || geometry.dimY < 1 || geometry.dimZ < 1 || geometry.volumes < 1 ||
        timeCourses.size() != volumeSize * static_cast<std::size_t>(geometry.volumes)) {
        throw std::invalid_argument("cannot write " + path.string() + ": " +
                                    std::to_string(timeCourses.size()) +
                                    " values do not make whole volumes of the run's geometry");
    }
    const nifti_1_header header = runHeader(geometry, description);
    const char extender[4] = {0, 0, 0, 0};

    AtomicFile file(path.string());
    Output output(file, path.extension() == ".gz");
    output.write(&header, sizeof header);
    output.write(extender, sizeof extender);
    output.write(timeCourses.data(), timeCourses.size_bytes());
    output.finish();
    file.commit();
}

}  // namespace host::demo
