#include "prediction/prediction_engine.h"

#include <device/files.h>

std::u16string RunningProgramFolder() {
  WCHAR path[MAX_PATH] = {};
  GetModuleFileName(nullptr, path, MAX_PATH);
  std::u16string folder(path);
  folder.erase(folder.rfind(u'\\') == std::u16string::npos ? 0 : folder.rfind(u'\\') + 1);
  return folder;
}

PredictionEngine& ThePredictionEngine() {
  static PredictionEngine* engine = [] {
    auto* made = new PredictionEngine;  // lives until exit; never destroyed during static teardown
    made->programFolder = RunningProgramFolder();
    return made;
  }();
  return *engine;
}
