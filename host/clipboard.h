#pragma once
// The clipboard, plain text only.

#include <QString>

namespace orvane {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empty when the clipboard holds no text.
    virtual QString getText() const = 0;
    virtual void setText(const QString &text) = 0;
};

} // namespace orvane
