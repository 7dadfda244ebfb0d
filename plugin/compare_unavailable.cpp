// The "start" action before the model comparison is part of the build: it fails through the
// normal error path, so the user sees why nothing happened.
#include <stdexcept>

#include "plugin/tandrel.h"

bool tandrel::compareModels() {
    throw std::runtime_error("The model comparison is not available in this build of Tandrel.");
}
