// Compiled into every executable that links sample_install (an interface source), so that each
// of them hands the sample's description to the device before it starts.
#include "sample_install.h"

namespace sample {

device::InstallDescription InstallDescription() {
  device::InstallDescription description;
  description.programFolder = kProgramFolder;
  description.dataFolders = {kDocumentsFolder};
  description.markerFile = kMarkerFile;
  description.shippedData = {SAMPLE_DATA_DIR};
  description.dataOverrideVariable = kDataVariable;
  description.imageName = "sample";
  // The suite's test tools (fresh screenshot folders, process tests) set TAVREL_SHOTS and
  // TAVREL_DEVICE for every program they run, the sample included.
  description.environmentPrefix = "TAVREL";
  return description;
}

}  // namespace sample

namespace {

const device::InstallRegistration registration{sample::InstallDescription()};

}  // namespace
