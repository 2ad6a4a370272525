// The four power-on message lines: what their grid shows and what its
// editors store.
//
// Rows 1..4 are message lines 1..4; column 1 the line position, 2 the
// font, 3 the alignment (three lists) and 4 the content (a byte text). The
// window and `vkt410-cli get`/`set` both go through these functions.
#pragma once

#include "radio_data.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vkt {

enum MessageColumn : int {
    kMsgColLine = 1,
    kMsgColFont = 2,
    kMsgColAlignment = 3,
    kMsgColContent = 4,
};
inline constexpr int kMessageGridRows = kMessageLines + 1;
inline constexpr int kMessageGridColumns = 5;

// Line positions 0..7, listed as "1" to "8".
inline constexpr int kMessagePositions = 8;
inline constexpr std::size_t kMessageTextBytes = sizeof(MessageLine::text);

// Main-table texts of the window.
inline constexpr int kTextEnglishOnly = 344; // the window's caption
inline constexpr int kMessageHeadingTexts[4] = {345, 346, 347, 348}; // Line, Font, Alignment, Content
// Items of the font and alignment lists in list order, and the byte each
// stores.
inline constexpr int kFontItemTexts[3] = {357, 356, 355};      // Small, Medium, Large
inline constexpr std::uint8_t kFontValues[3] = {16, 24, 32};
inline constexpr int kAlignmentItemTexts[3] = {352, 353, 354}; // Left, Center, Right
inline constexpr std::uint8_t kAlignmentValues[3] = {253, 254, 255};

// Number of items of the list of column 1, 2 or 3 (0 for other columns).
int MessageListSize(int column);
// The list position that shows the stored byte; -1 when none does (a font
// or alignment byte of another value, a position above 7).
int MessageListIndex(const RadioData &d, int line, int column);
// Stores a chosen position; -1 (no selection) or a position past the list
// leaves the byte unchanged. Lines outside 1..4 are ignored.
void StoreMessageListIndex(RadioData &d, int line, int column, int index);
// The content's bytes up to the first zero.
std::span<const std::uint8_t> MessageTextBytes(const RadioData &d, int line);
// Clears the 16 content bytes and copies in the first (at most 16) bytes.
void StoreMessageText(RadioData &d, int line, std::span<const std::uint8_t> bytes);

} // namespace vkt
