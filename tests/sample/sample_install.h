// How the sample program installs itself onto the device. The platform's own tests run on this
// description, so that they exercise installing without any application.
#pragma once

#include <device/install.h>

namespace sample {

constexpr char16_t kProgramFolder[] = u"\\Program Files\\Sample";
constexpr char16_t kDocumentsFolder[] = u"\\My Documents\\Samples";
constexpr char16_t kMarkerFile[] = u"sample.txt";
constexpr char kDataVariable[] = "SAMPLE_DATA";

device::InstallDescription InstallDescription();

}  // namespace sample
