#pragma once

class QWidget;

// Gives `edit` a tooltip listing the current port numbering, read afresh
// each time the tooltip shows, so the operator can tell which number is the
// adapter just plugged in.
void ShowPortsInTooltip(QWidget* edit);
