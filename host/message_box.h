#pragma once
// Message boxes with the host's numeric styles and answers.

#include <QString>

namespace orvane {

// Buttons (0, 3, 4, 5) plus one icon (16, 48, 64), added together.
enum MsgBoxStyle : int {
    OkOnly = 0,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Exclamation = 48,
    Information = 64,
};

enum class MsgBoxAnswer : int { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MsgBoxAnswer msgBox(const QString &prompt, int style, const QString &title) = 0;
};

} // namespace orvane
