// The message each problem reported by the configuration, personal-settings and header models
// is shown with.
#pragma once

#include "frontend/model/emulator_config.h"
#include "frontend/model/header_repair.h"
#include "frontend/model/personal_settings.h"
#include "frontend/model/ui_text.h"

namespace wrenfold {

// MessageId::Count for Ok (nothing to show).
MessageId MessageFor(ConfigStatus status);
MessageId MessageFor(PersonalSettingsStatus status);  // Missing is normal: Count
MessageId MessageFor(HeaderFileStatus status);

}  // namespace wrenfold
