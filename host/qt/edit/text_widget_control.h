#pragma once
// The edit control as its widget and accessibility interface see it: the EditControl, plus
// UTF-16 positions, the primary selection and held-back change notifications. Owns nothing.

#include "host/edit_control.h"

#include <QObject>
#include <QPointer>

namespace orvane {

class TextWidgetControl : public QObject, public EditControl {
public:
    using QObject::QObject;

    // Position conversions between the document's UTF-8 bytes and UTF-16 code units. A unit
    // inside a surrogate pair maps to the pair's start; anything past the end to the end.
    virtual qsizetype utf16FromByte(qsizetype byte) const = 0;
    virtual qsizetype byteFromUtf16(qsizetype unit) const = 0;
    virtual qsizetype utf16Length() const = 0;

    // Offers the current selection as the X11 primary selection, without copying its text.
    virtual void offerSelection() = 0;

    // Holds back the change notification until the outermost batch ends, so that a replacement
    // (a delete and an insert) or a key that does several edits notifies once.
    class ChangeBatch {
    public:
        explicit ChangeBatch(TextWidgetControl *control)
            : m_control(control)
        {
            if (m_control)
                m_control->beginBatch();
        }
        ~ChangeBatch()
        {
            if (m_control)
                m_control->endBatch();
        }
        ChangeBatch(const ChangeBatch &) = delete;
        ChangeBatch &operator=(const ChangeBatch &) = delete;

    private:
        QPointer<TextWidgetControl> m_control;
    };

protected:
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;
};

} // namespace orvane
