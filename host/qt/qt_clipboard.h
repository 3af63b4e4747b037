#pragma once
// The clipboard adapter over QClipboard, plain text only.

#include "host/clipboard.h"

namespace orvane {

class QtClipboard final : public Clipboard {
public:
    QString getText() const override;
    void setText(const QString &text) override;
};

} // namespace orvane
