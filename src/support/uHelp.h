#pragma once

#include <string>

// The section of the help page that describes a window: its anchor, named after its dialog
// template ("prefs-chime-page" for the chime page of the preferences window); "getting-started"
// for a window the help does not describe.
std::string HelpSectionOf(int templateId);

// The address a browser opens a local help page at one of its sections with: the shell cannot hand
// a section to a plain file name.
std::string HelpAddress(const std::string& file, const std::string& section);
