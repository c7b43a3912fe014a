// tintor's own way of saving passes the same table of targets as quor's.
#include <gtest/gtest.h>

#include "palette_builder/file_save.h"
#include "support/save_cases.h"

namespace {

std::string Save(const std::string& path, const std::string& bytes, SaveWriteCall call) {
  try {
    SaveFileBytes(path, bytes, call);
    return {};
  } catch (const SaveError& e) {
    return e.what() + (e.folder().empty() ? std::string() : " folder " + e.folder());
  }
}

}  // namespace

TEST(TintorSave, EveryKindOfTargetIsSavedAsAUserExpects) { save_cases::CheckTargets(&Save); }

TEST(TintorSave, ASignalDuringTheWriteLeavesNoTemporaryFile) { save_cases::CheckSignals(&Save); }
