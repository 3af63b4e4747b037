#include "host/edit_control.h"

namespace orvane {

namespace {

// Collects the blocks for controls that can only take a whole text.
class BufferedLoad final : public TextLoad {
public:
    void reserve(qsizetype bytes) override { utf8.reserve(bytes); }
    void append(QByteArrayView block) override { utf8.append(block); }
    QByteArray utf8;
};

} // namespace

std::unique_ptr<TextBlocks> EditControl::readBlocks() const { return std::make_unique<StringBlocks>(text()); }

std::unique_ptr<TextLoad> EditControl::beginLoad() { return std::make_unique<BufferedLoad>(); }

void EditControl::finishLoad(std::unique_ptr<TextLoad> load, qsizetype utf16Length)
{
    auto *buffered = dynamic_cast<BufferedLoad *>(load.get());
    Q_ASSERT(buffered);
    loadUtf8(buffered->utf8, utf16Length);
}

} // namespace orvane
