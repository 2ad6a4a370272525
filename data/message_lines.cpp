#include "message_lines.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vkt {

namespace {

bool ValidLine(int line) { return line >= 1 && line <= kMessageLines; }

// The byte a list column edits.
const std::uint8_t *ListByte(const MessageLine &m, int column)
{
    switch (column) {
    case kMsgColLine: return &m.line;
    case kMsgColFont: return &m.font;
    case kMsgColAlignment: return &m.alignment;
    default: return nullptr;
    }
}

// The values the positions of a list column store.
std::span<const std::uint8_t> ListValues(int column)
{
    switch (column) {
    case kMsgColFont: return kFontValues;
    case kMsgColAlignment: return kAlignmentValues;
    default: return {};
    }
}

std::uint8_t *ListByte(MessageLine &m, int column)
{
    return const_cast<std::uint8_t *>(ListByte(std::as_const(m), column));
}

} // namespace

int MessageListSize(int column)
{
    if (column == kMsgColLine)
        return kMessagePositions;
    return static_cast<int>(ListValues(column).size());
}

int MessageListIndex(const RadioData &d, int line, int column)
{
    if (!ValidLine(line))
        return -1;
    const std::uint8_t *byte = ListByte(d.messageLines[line - 1], column);
    if (!byte)
        return -1;
    if (column == kMsgColLine)
        return *byte < kMessagePositions ? *byte : -1;
    const std::span<const std::uint8_t> values = ListValues(column);
    const auto at = std::find(values.begin(), values.end(), *byte);
    return at == values.end() ? -1 : static_cast<int>(at - values.begin());
}

void StoreMessageListIndex(RadioData &d, int line, int column, int index)
{
    if (!ValidLine(line) || index < 0 || index >= MessageListSize(column))
        return;
    std::uint8_t *byte = ListByte(d.messageLines[line - 1], column);
    if (!byte)
        return;
    *byte = column == kMsgColLine ? static_cast<std::uint8_t>(index) : ListValues(column)[std::size_t(index)];
}

std::span<const std::uint8_t> MessageTextBytes(const RadioData &d, int line)
{
    if (!ValidLine(line))
        return {};
    const MessageLine &m = d.messageLines[line - 1];
    return {m.text, FieldTextLength(m.text, sizeof m.text)};
}

void StoreMessageText(RadioData &d, int line, std::span<const std::uint8_t> bytes)
{
    if (!ValidLine(line))
        return;
    MessageLine &m = d.messageLines[line - 1];
    std::memset(m.text, 0, sizeof m.text);
    if (!bytes.empty())
        std::memcpy(m.text, bytes.data(), std::min(bytes.size(), sizeof m.text));
}

} // namespace vkt
