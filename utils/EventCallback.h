#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The one report channel of the download and install pipeline: a code grouped
// by thousands (1xxx download, 2xxx installation, 3xxx facts reported by the
// package, 5xxx uninstallation), a value and a text ("" when there is none).
// The text is valid only during the call.
using EventCallback = std::function<void(int32_t code, double value, const std::string& text)>;
