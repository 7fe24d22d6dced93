#pragma once

#include <string>

// The current port numbering as a tooltip for the port edit, read afresh
// each time the tooltip shows, so the operator can tell which number is the
// adapter just plugged in.
std::string PortListText();
