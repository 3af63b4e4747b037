#pragma once
// Direct calls into a Scintilla editor: pointer-sized arguments and results on every platform
// (QScintilla's SendScintilla returns long, which cannot hold a pointer on 64-bit Windows).

#include <Qsci/qsciscintillabase.h>

#include <cstdint>

namespace orvane {

class SciCall {
public:
    explicit SciCall(const QsciScintillaBase *editor)
        : m_function(reinterpret_cast<Function>(
            editor->SendScintillaPtrResult(QsciScintillaBase::SCI_GETDIRECTFUNCTION)))
        , m_editor(editor->SendScintillaPtrResult(QsciScintillaBase::SCI_GETDIRECTPOINTER))
    {
    }

    intptr_t operator()(unsigned int message, uintptr_t wParam = 0, intptr_t lParam = 0) const
    {
        return m_function(m_editor, message, wParam, lParam);
    }
    intptr_t operator()(unsigned int message, uintptr_t wParam, const void *lParam) const
    {
        return m_function(m_editor, message, wParam, reinterpret_cast<intptr_t>(lParam));
    }
    const char *pointer(unsigned int message, uintptr_t wParam = 0, intptr_t lParam = 0) const
    {
        return reinterpret_cast<const char *>(m_function(m_editor, message, wParam, lParam));
    }

private:
    using Function = intptr_t (*)(void *, unsigned int, uintptr_t, intptr_t);
    Function m_function;
    void *m_editor;
};

} // namespace orvane
