#pragma once
// The answers of `orvane --help` and `orvane --version`, given before Qt starts, so that they
// need no display. Owns nothing.

#include <QString>

#include <optional>

namespace orvane {

// The text to print on standard output when the first argument asks for help or the version;
// nothing otherwise (a file named "--help" is opened as ./--help).
std::optional<QString> commandLineHelp(int argc, const char *const *argv);

} // namespace orvane
