#pragma once

#include "messages/messages.h"
#include "site/handover.h"

#include <string>
#include <string_view>

// The handover report of a commissioned site: one HTML page that holds
// everything it shows (its style, no script, nothing fetched), printable on
// A4 in black and white, in the given language.
namespace tarnel::words {

std::string HandoverReport(const site::Handover& handover, const std::string& siteName,
                           const messages::Translation& words = messages::kUserLanguage);

// Whether `page` is a report HandoverReport made, and so may be replaced.
bool IsHandoverReport(std::string_view page);

}  // namespace tarnel::words
