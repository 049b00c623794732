#pragma once

namespace trovik {

// Whether standard error goes to a terminal, where progress lines belong.
bool StandardErrorIsTerminal();

}  // namespace trovik
