#pragma once
// Previews of the maps the plug-in saves: beside each map file, `<map file>.png`, a montage of
// its axial slices coloured by the map's own thresholds, titled with what the map shows and the
// two model files it came from. Previews need libpng; a build without it (the Windows package)
// has none, and says so when asked for them.

#include <memory>
#include <string>

#include "host/console.h"
#include "host/dialog_parameters.h"
#include "host/save_listener.h"
#include "plugin/host_records.h"

namespace host {

// Whether this build of the host can write previews.
bool previewsAvailable();

// A listener that writes the preview of each saved map and notes it on `console`. Throws
// std::logic_error in a build without previews.
std::unique_ptr<SaveListener> makeMapPreviews(Console& console);

// The preview's title: the map's file name with what it shows, then the file names of model 1
// ("sdmfile1") and model 2 ("sdmfile2").
std::string previewTitle(const std::string& mapPath, const MapHeader& header,
                         const DialogParameters& parameters);

}  // namespace host
