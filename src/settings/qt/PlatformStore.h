// The settings store with the platform's per-user store for rtReg: the
// items live in QSettings' native format under $XDG_CONFIG_HOME, in the file
// named by RegDir ("\" or "/" between its parts, ".conf" added), one group
// per section.
#pragma once

#include "settings/RegMng.h"

namespace kelu {

class TPlatformRegManager : public TRegManager {
 public:
  KELU_CLASS_NAME(TPlatformRegManager)
  using TRegManager::TRegManager;

  // The file of a RegDir; empty when RegDir names no file (empty, or with
  // a ".." part).
  static std::string RegistryFileName(const std::string& regDir);

 protected:
  std::unique_ptr<TSettingsStore> CreateRegistryStore(const std::string& regDir) override;
};

}  // namespace kelu
