// The compiled-in text tables, generated at build time from the .tsv files
// (see README.md). Internal to the localisation library.
#pragma once

namespace vkt::detail {

struct StringTableData {
    int count;
    // count rows of {English, Simplified, Traditional}, UTF-8.
    const char *const (*texts)[3];
};

extern const StringTableData kMainTable;
extern const StringTableData kExchangeTable;
extern const StringTableData kPortTable;
extern const StringTableData kWarnTable;

} // namespace vkt::detail
