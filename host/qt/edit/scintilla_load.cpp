#include "scintilla_load.h"

#include "sci_call.h"
#include "scintilla_edit_control.h"
#include "scintilla_text_widget.h"
#include "utf16_index.h"

#include <ILoader.h>

#include <QScopedValueRollback>

#include <limits>
#include <new>

namespace orvane {

namespace {

using Sci = QsciScintillaBase;

// Documents from this size on keep 64-bit line positions; smaller ones keep 32-bit ones (half
// the memory for the line index) and can grow to 2 GiB, which a text of this capacity does not
// reach unless its end is far denser than its first block.
constexpr qsizetype kLargeFrom = qsizetype(3) << 29; // 1.5 GiB

} // namespace

ScintillaLoad::ScintillaLoad(QsciScintillaBase *editor)
    : m_call(editor)
{
}

ScintillaLoad::~ScintillaLoad()
{
    if (m_loader)
        m_loader->Release();
}

void ScintillaLoad::reserve(qsizetype bytes)
{
    Q_ASSERT(!m_loader);
    m_large = bytes >= kLargeFrom;
    // Called on the loading thread: with the embedded library's change a loader touches nothing of
    // the editor, and filling its buffer with zeros takes a while for a big file.
    const intptr_t options
        = Sci::SC_DOCUMENTOPTION_STYLES_NONE | (m_large ? Sci::SC_DOCUMENTOPTION_TEXT_LARGE : 0);
    m_loader = reinterpret_cast<ILoader *>(m_call(Sci::SCI_CREATELOADER, uintptr_t(bytes), options));
    if (!m_loader)
        throw std::bad_alloc();
}

void ScintillaLoad::append(QByteArrayView utf8)
{
    if (!m_loader)
        reserve(utf8.size());
    if (!m_large && m_length + utf8.size() > std::numeric_limits<int>::max())
        throw std::bad_alloc(); // past what 32-bit line positions can address
    if (m_loader->AddData(utf8.data(), utf8.size()) != 0)
        throw std::bad_alloc();
    m_length += utf8.size();
}

void *ScintillaLoad::takeDocument()
{
    if (!m_loader)
        reserve(0);
    void *document = m_loader->ConvertToDocument();
    m_loader = nullptr;
    return document;
}

// The control's side: a load of its own kind, and the switch to the loaded document.

std::unique_ptr<TextLoad> ScintillaEditControl::beginLoad()
{
    return std::make_unique<ScintillaLoad>(m_widget);
}

void ScintillaEditControl::finishLoad(std::unique_ptr<TextLoad> load, qsizetype utf16Length)
{
    auto *scintillaLoad = dynamic_cast<ScintillaLoad *>(load.get());
    Q_ASSERT(scintillaLoad);
    ChangeBatch batch(this);
    const SciCall sci(m_widget);
    const QScopedValueRollback loading(m_loading, true);
    // The editor's reference replaces the load's; the old document goes with its own.
    const intptr_t document = reinterpret_cast<intptr_t>(scintillaLoad->takeDocument());
    sci(Sci::SCI_SETDOCPOINTER, 0, document);
    sci(Sci::SCI_RELEASEDOCUMENT, 0, document);
    m_widget->configureDocument();
    sci(Sci::SCI_SETUNDOCOLLECTION, 1);
    m_index->reset();
    m_index->noteLength(utf16Length);
    sci(Sci::SCI_SETSAVEPOINT);
    sci(Sci::SCI_GOTOPOS, 0);
}

} // namespace orvane
