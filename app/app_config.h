// The configuration file "_config.ini" and its values.
//
// The file is a plain INI file read and written by our own small reader
// and writer: key names hold blanks ("U_Tx min"), the file keeps its own
// order, and lines this program does not know survive a rewrite.
#pragma once

#include "radio_data.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vkt {

inline constexpr int kChannelGridRows = 241;
inline constexpr int kChannelGridCols = 12;
inline constexpr int kAddressGridRows = 31;
inline constexpr int kAddressGridCols = 3;
inline constexpr const char *kConfigFileName = "_config.ini";
// At most this much of the file is read; the rest of a larger file is
// ignored (and left out when the file is saved).
inline constexpr std::size_t kConfigReadLimit = 1024 * 1024;

// A parsed INI file that remembers every line, so that a rewrite changes
// only the values it sets and keeps comments, unknown keys and their order.
class IniFile {
public:
    // Parses text of any content: lines end in LF, CRLF or CR; garbage lines
    // are kept as they are; for a key given twice the first one counts.
    // Section and key names compare without regard to case. A UTF-8 byte
    // order mark at the start is skipped and written back.
    void parse(const std::string &text);
    // The text to write back: every line in its order, a changed value
    // rewritten as "key=value". Lines end as the first line end of the
    // parsed text; a new file (or one without any line end) gets CRLF on
    // Windows and LF elsewhere.
    std::string text() const;

    bool has(const std::string &section, const std::string &key) const;
    // The value, or `fallback` when the key is missing.
    std::string get(const std::string &section, const std::string &key, const std::string &fallback) const;
    // An integer value; `fallback` when missing or not a number in range.
    long long getInt(const std::string &section, const std::string &key, long long fallback) const;
    // Sets a value; a new key goes to the end of its section, a new section
    // to the end of the file.
    void set(const std::string &section, const std::string &key, const std::string &value);

private:
    struct Line {
        std::string raw;   // the line without its end, as read or rewritten
        std::string key;   // key name as written (trimmed) on a key line
        std::string value; // its value
    };
    const Line *find(const std::string &section, const std::string &key) const;

    std::vector<Line> lines_;          // in the order read or added
    std::vector<std::size_t> order_;   // output order, indices into lines_
    std::unordered_map<std::string, std::size_t> keys_;       // folded section + key -> first line
    std::unordered_map<std::string, std::size_t> sectionEnd_; // folded section -> last header/key line
#ifdef _WIN32
    std::string eol_ = "\r\n";
#else
    std::string eol_ = "\n";
#endif
    bool bom_ = false;
    bool finalEol_ = true; // the last line ends in a line end
};

struct AppConfig {
    // [config]
    int Port = 1;
    int Language = 0; // kept as read, also outside 0..2
    bool AutoSeachPort = true;
    int ComInitMode = 0;
    // [control]
    std::array<int, kChannelGridRows> channelRowHeights{};
    std::array<int, kChannelGridCols> channelColWidths{};
    std::array<int, kAddressGridRows> addressRowHeights{};
    std::array<int, kAddressGridCols> addressColWidths{};
    // [Band]
    BandLimits limits{};

    AppConfig(); // the defaults
    bool operator==(const AppConfig &) const = default;

    // Whether finding the file may make the folder it is to live in.
    enum class Folders : std::uint8_t { Make, Leave };
    // Where the file lives: the folder of the executable when it can be
    // written there, else the user's configuration folder. The environment
    // variable VKT410_CONFIG_DIR overrides both.
    static std::string DefaultPath(Folders folders = Folders::Make);
    // The file the window and the command-line tool use: `file` (their
    // --config option) when it is not empty, else DefaultPath().
    static std::string FindPath(const std::string &file, Folders folders = Folders::Make);

    // Reads the file at `path` when there is one; a missing or unreadable
    // file leaves every value at its default. Never creates or changes a
    // file. Returns whether the file was there.
    bool read(const std::string &path);

    // Reads the file at `path`. A missing file is created with every key at
    // its default (true is returned in `created`). Missing or unreadable
    // keys take their defaults. Returns false with a plain-words `error`
    // only when a missing file could not be created.
    bool load(const std::string &path, bool &created, std::string &error);
    // Writes the config, control and Band keys into the file (created if
    // absent), keeping its other lines; atomically.
    bool save(const std::string &path, std::string &error) const;

    // Applies the values to an IniFile / reads them from one (for tests and
    // for load/save).
    void writeTo(IniFile &ini, bool includeNameKeys) const;
    void readFrom(const IniFile &ini);
};

} // namespace vkt
