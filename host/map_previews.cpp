#include "host/map_previews.h"

#include <span>
#include <string_view>

#include "host/preview/preview.h"

namespace host {
namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path without the extension of its file name, as the plug-in forms map names from it.
std::string withoutExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

// Which model a single-model map belongs to: the one whose design path (without extension) starts
// the map's path; the longer when both do. 0 when neither does.
int modelOfMap(const std::string& mapPath, const std::string& model1, const std::string& model2) {
    int found = 0;
    std::size_t longest = 0;
    for (int model = 1; model <= 2; ++model) {
        const std::string stem = withoutExtension(model == 1 ? model1 : model2) + "_";
        if (mapPath.starts_with(stem) && stem.size() > longest) {
            found = model;
            longest = stem.size();
        }
    }
    return found;
}

std::string whatTheMapShows(const std::string& mapPath, const MapHeader& header,
                            const std::string& model1, const std::string& model2) {
    if (header.MapType == kMapTypeF) {
        return "F between the models, df " + std::to_string(header.DF1) + " and " +
               std::to_string(header.DF2);
    }
    const std::string name = fileNameOf(mapPath);
    if (name.find("_tSNR_diff_") != std::string::npos) {
        return "tSNR difference, model 2 minus model 1";
    }
    if (name.find("_R2adj_diff_") != std::string::npos) {
        return "adjusted R2 difference, model 2 minus model 1";
    }
    const int model = modelOfMap(mapPath, model1, model2);
    const std::string ofModel = model == 0 ? "" : " of model " + std::to_string(model);
    if (name.ends_with("_tSNR_residuals.map")) {
        return "tSNR of the confound-cleaned time course" + ofModel;
    }
    if (name.ends_with("_R2adj.map")) return "adjusted R2" + ofModel;
    return "";
}

class MapPreviews : public SaveListener {
  public:
    explicit MapPreviews(Console& console) : console_(console) {}

    std::string role() const override { return "preview"; }

    void mapSaved(const SavedMap& saved) override {
        const MapHeader& header = saved.map.header();
        const std::size_t voxels = saved.run.voxelsPerVolume();
        const preview::PreviewMap map{
            header.DimX,           header.DimY,
            header.DimZ,           std::span<const float>(saved.map.values(), voxels),
            header.LowerThreshold, header.UpperThreshold};
        const std::string path = saved.path + ".png";
        preview::renderPreview(map, previewTitle(saved.path, header, saved.parameters), path);
        console_.note("saved " + path);
    }

    void runSaved(const SavedRun&) override {}

  private:
    Console& console_;
};

}  // namespace

bool previewsAvailable() {
    return true;
}

std::unique_ptr<SaveListener> makeMapPreviews(Console& console) {
    return std::make_unique<MapPreviews>(console);
}

std::string previewTitle(const std::string& mapPath, const MapHeader& header,
                         const DialogParameters& parameters) {
    const std::string model1 = parameters.text("sdmfile1").value_or("");
    const std::string model2 = parameters.text("sdmfile2").value_or("");
    const std::string shows = whatTheMapShows(mapPath, header, model1, model2);
    return fileNameOf(mapPath) + (shows.empty() ? "" : ": " + shows) +
           "\nmodel 1: " + fileNameOf(model1) + "   model 2: " + fileNameOf(model2);
}

}  // namespace host
