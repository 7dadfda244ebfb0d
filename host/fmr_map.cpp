#include "host/fmr_map.h"

#include <stdexcept>

#include "host/atomic_file.h"
#include "host/nifti_io.h"

namespace host {

FmrMap::FmrMap(const Geometry& geometry) : values_(geometry.voxelCount(), 0.0f) {
    header_.DimX = geometry.dim[0];
    header_.DimY = geometry.dim[1];
    header_.DimZ = geometry.dim[2];
    header_.MapType = kMapTypeStatistic;
    const std::size_t sliceSize =
        static_cast<std::size_t>(geometry.dim[0]) * static_cast<std::size_t>(geometry.dim[1]);
    slices_.reserve(static_cast<std::size_t>(geometry.dim[2]));
    for (std::int32_t z = 0; z < geometry.dim[2]; ++z) {
        slices_.push_back(values_.data() + static_cast<std::size_t>(z) * sliceSize);
    }
}

void FmrMap::setHeader(const MapHeader& header) {
    if (header.DimX != header_.DimX || header.DimY != header_.DimY || header.DimZ != header_.DimZ) {
        throw std::invalid_argument(
            "the record describes a map of " + std::to_string(header.DimX) + " x " +
            std::to_string(header.DimY) + " x " + std::to_string(header.DimZ) +
            " voxels, the map has " + std::to_string(header_.DimX) + " x " +
            std::to_string(header_.DimY) + " x " + std::to_string(header_.DimZ));
    }
    header_ = header;
}

void saveMap(const FmrMap& map, const Geometry& geometry, const std::string& path) {
    const MapHeader& header = map.header();
    ImageLabels labels;
    labels.calMin = header.LowerThreshold;
    labels.calMax = header.UpperThreshold;
    if (header.MapType == kMapTypeF) {
        labels.intentCode = kIntentFTest;
        labels.intentP1 = static_cast<float>(header.DF1);
        labels.intentP2 = static_cast<float>(header.DF2);
    }
    AtomicFile file(path);
    writeNiftiVolume(file, geometry, map.values(), labels);
    file.commit();
}

}  // namespace host
