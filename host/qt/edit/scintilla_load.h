#pragma once
// A text loaded into a Scintilla document of its own (Scintilla's loader, made for loading on a
// background thread) while the editor keeps showing its current one. Owns that document until
// the editor adopts it.

#include "host/edit_control.h"
#include "sci_call.h"

class ILoader;

namespace orvane {

class ScintillaLoad final : public TextLoad {
public:
    explicit ScintillaLoad(QsciScintillaBase *editor);
    ~ScintillaLoad() override;

    // Makes the document, of exactly this capacity.
    void reserve(qsizetype bytes) override;
    void append(QByteArrayView utf8) override;

    // The loaded document (one reference, for SCI_SETDOCPOINTER and SCI_RELEASEDOCUMENT);
    // the load is empty afterwards.
    void *takeDocument();

private:
    SciCall m_call;
    ILoader *m_loader = nullptr;
    bool m_large = false;
    qsizetype m_length = 0;
};

} // namespace orvane
