#include "command_line_help.h"

#include "app_texts.h"

#include <cstring>

namespace orvane {

std::optional<QString> commandLineHelp(int argc, const char *const *argv)
{
    if (argc < 2)
        return std::nullopt;
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)
        return app_texts::usage();
    if (std::strcmp(argv[1], "--version") == 0)
        return app_texts::version(QStringLiteral(ORVANE_VERSION));
    return std::nullopt;
}

} // namespace orvane
