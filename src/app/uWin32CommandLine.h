#pragma once

#include <string>
#include <vector>

// The whole run of a start with a command for the running program: it is checked, sent,
// answered, and the reason for a refusal printed on the console of whoever started it.
// Returns the process's exit code (TCommandExitCode).
int SendCommandLine(const std::string& argumentsText, const std::vector<std::string>& arguments);
