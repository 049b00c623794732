#pragma once

#include <string>

// The built-in help that F1 shows: what each box means, where the template
// is read and the output written (`folder`), and what the port list opens
// (`portSummary`).
std::string ConfigHelpText(const std::string& folder, const std::string& portSummary);
