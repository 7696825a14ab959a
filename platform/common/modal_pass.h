// For backends whose waits are not real (the headless gui under a test that skips them): the
// modal pass is due at once, whatever it asked for last. Main thread only.
#pragma once

namespace gui::common {

void MakeModalPassDue();

}  // namespace gui::common
