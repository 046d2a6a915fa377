// split_ratio's refusals reach the user in a message box, captioned with the
// library's name. Installed while the library loads, before any call.
#include "value_text.h"

#include "win/app.h"
#include "win/text.h"

namespace {

void show_in_message_box(const char* message) { app::message_box(ansi_to_wide(message)); }

[[maybe_unused]] const bool installed = (split_ratio_reporter = show_in_message_box, true);

}  // namespace
