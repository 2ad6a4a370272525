#include "app_config.h"

#include "file_io.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <span>
#include <system_error>
#include <utility>

namespace vkt {

namespace {

constexpr const char *kBom = "\xEF\xBB\xBF";

// The folder of the running program; empty when it cannot be told.
QString ExecutableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
#ifdef __linux__
    // A tool without a QCoreApplication (the command-line tool).
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return QString::fromStdString(exe.parent_path().string());
#endif
    return {};
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimRight(std::string s)
{
    while (!s.empty() && IsBlank(s.back()))
        s.pop_back();
    return s;
}

std::string Trim(const std::string &s)
{
    std::size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return TrimRight(s.substr(b));
}

// Names compare as in Windows INI files: ASCII letters without regard to
// case, every other byte as it is.
void FoldInto(std::string &out, const std::string &s)
{
    for (char c : s)
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Fold(const std::string &s)
{
    std::string f;
    f.reserve(s.size());
    FoldInto(f, s);
    return f;
}

// Neither a section nor a key name can hold a line end, so it separates them.
std::string KeyId(const std::string &section, const std::string &key)
{
    std::string id;
    id.reserve(section.size() + key.size() + 1);
    FoldInto(id, section);
    id += '\n';
    FoldInto(id, key);
    return id;
}

} // namespace

// ---- IniFile ---------------------------------------------------------------

void IniFile::parse(const std::string &text)
{
    *this = IniFile();
    std::size_t pos = 0;
    if (text.starts_with(kBom)) {
        bom_ = true;
        pos = 3;
    }

    std::string section;
    bool eolSeen = false;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (end == std::string::npos) {
            finalEol_ = false;
            pos = text.size();
        } else {
            std::size_t len = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
            if (!eolSeen) {
                eol_ = text.substr(end, len);
                eolSeen = true;
            }
            pos = end + len;
        }

        const std::size_t index = lines_.size();
        Line line{std::move(raw), {}, {}};
        const std::string t = Trim(line.raw);
        if (t.empty() || t[0] == ';' || t[0] == '#') {
            // blank line or comment
        } else if (t[0] == '[') {
            std::size_t close = t.find(']');
            if (close != std::string::npos) {
                section = Trim(t.substr(1, close - 1));
                sectionEnd_[Fold(section)] = index;
            }
        } else if (std::size_t eq = line.raw.find('='); eq != std::string::npos) {
            std::string key = Trim(line.raw.substr(0, eq));
            if (!key.empty()) {
                keys_.emplace(KeyId(section, key), index); // an earlier one stays
                sectionEnd_[Fold(section)] = index;
                line.key = std::move(key);
                line.value = Trim(line.raw.substr(eq + 1));
            }
        }
        lines_.push_back(std::move(line));
        order_.push_back(index);
    }
}

std::string IniFile::text() const
{
    std::string out = bom_ ? kBom : "";
    for (std::size_t i = 0; i < order_.size(); ++i) {
        out += lines_[order_[i]].raw;
        if (i + 1 < order_.size() || finalEol_)
            out += eol_;
    }
    return out;
}

const IniFile::Line *IniFile::find(const std::string &section, const std::string &key) const
{
    auto it = keys_.find(KeyId(section, key));
    return it == keys_.end() ? nullptr : &lines_[it->second];
}

bool IniFile::has(const std::string &section, const std::string &key) const { return find(section, key) != nullptr; }

std::string IniFile::get(const std::string &section, const std::string &key, const std::string &fallback) const
{
    const Line *line = find(section, key);
    return line ? line->value : fallback;
}

long long IniFile::getInt(const std::string &section, const std::string &key, long long fallback) const
{
    const Line *line = find(section, key);
    if (!line)
        return fallback;
    const std::string v = Trim(line->value);
    // A decimal number with an optional sign; from_chars takes a '-' only.
    const std::size_t digits = (v.starts_with('+') || v.starts_with('-')) ? 1 : 0;
    if (digits >= v.size() || v[digits] < '0' || v[digits] > '9')
        return fallback;
    const char *first = v.data() + (v[0] == '+' ? 1 : 0);
    long long result = 0;
    auto [end, ec] = std::from_chars(first, v.data() + v.size(), result, 10);
    return (ec == std::errc() && end == v.data() + v.size()) ? result : fallback;
}

void IniFile::set(const std::string &section, const std::string &key, const std::string &value)
{
    const std::string id = KeyId(section, key);
    if (auto it = keys_.find(id); it != keys_.end()) {
        Line &line = lines_[it->second];
        if (line.value != value) { // an unchanged line keeps its own spelling
            line.value = value;
            line.raw = line.key + "=" + value;
        }
        return;
    }

    const std::string folded = Fold(section);
    std::size_t at = order_.size(); // output position of the new line
    if (auto it = sectionEnd_.find(folded); it != sectionEnd_.end()) {
        // Most keys are added to the section that was added last: look from the end.
        auto anchor = std::find(order_.rbegin(), order_.rend(), it->second);
        at = static_cast<std::size_t>(order_.rend() - anchor);
    } else {
        lines_.push_back(Line{"[" + section + "]", {}, {}});
        order_.push_back(lines_.size() - 1);
        at = order_.size();
    }
    if (at == order_.size())
        finalEol_ = true;

    lines_.push_back(Line{key + "=" + value, key, value});
    const std::size_t index = lines_.size() - 1;
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(at), index);
    keys_[id] = index;
    sectionEnd_[folded] = index;
}

// ---- AppConfig -------------------------------------------------------------

namespace {

constexpr std::array<std::pair<const char *, std::uint32_t BandLimits::*>, 8> kBandKeys{{
    {"U_Tx min", &BandLimits::uhfTxMin},
    {"U_Tx max", &BandLimits::uhfTxMax},
    {"U_Rx min", &BandLimits::uhfRxMin},
    {"U_Rx max", &BandLimits::uhfRxMax},
    {"V_Tx min", &BandLimits::vhfTxMin},
    {"V_Tx max", &BandLimits::vhfTxMax},
    {"V_Rx min", &BandLimits::vhfRxMin},
    {"V_Rx max", &BandLimits::vhfRxMax},
}};

// The four size arrays with the prefix of their keys ("ChSG_Row" + index).
template <typename Config>
auto SizeGroups(Config &c)
{
    auto s = [](auto &a) { return std::span(a.data(), a.size()); };
    return std::array{
        std::pair{"ChSG_Row", s(c.channelRowHeights)},
        std::pair{"ChSG_Col", s(c.channelColWidths)},
        std::pair{"DtmfAbSG_Row", s(c.addressRowHeights)},
        std::pair{"DtmfAbSG_Col", s(c.addressColWidths)},
    };
}

constexpr int kMaxSize = 10000; // a larger stored size is taken as damage

int ReadInt(const IniFile &ini, const char *section, const std::string &key, int fallback, long long lo, long long hi)
{
    long long v = ini.getInt(section, key, fallback);
    return v < lo || v > hi ? fallback : static_cast<int>(v);
}

bool ReadBool(const IniFile &ini, const char *section, const char *key, bool fallback)
{
    const std::string v = Fold(Trim(ini.get(section, key, "")));
    if (v == "1" || v == "true")
        return true;
    if (v == "0" || v == "false")
        return false;
    return fallback;
}

} // namespace

AppConfig::AppConfig()
{
    channelRowHeights.fill(20);
    channelColWidths = {35, 100, 100, 80, 80, 70, 80, 80, 90, 100, 80, 80};
    addressRowHeights.fill(20);
    addressColWidths = {30, 70, 130};
}

void AppConfig::readFrom(const IniFile &ini)
{
    const AppConfig d;
    constexpr long long kIntMin = std::numeric_limits<int>::min();
    constexpr long long kIntMax = std::numeric_limits<int>::max();
    Port = ReadInt(ini, "config", "Port", d.Port, kIntMin, kIntMax);
    Language = ReadInt(ini, "config", "Language", d.Language, kIntMin, kIntMax);
    AutoSeachPort = ReadBool(ini, "config", "AutoSeachPort", d.AutoSeachPort);
    ComInitMode = ReadInt(ini, "config", "ComInitMode", d.ComInitMode, kIntMin, kIntMax);

    auto defaults = SizeGroups(d);
    auto groups = SizeGroups(*this);
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (std::size_t i = 0; i < groups[g].second.size(); ++i)
            groups[g].second[i] = ReadInt(ini, "control", groups[g].first + std::to_string(i),
                                          defaults[g].second[i], 0, kMaxSize);

    for (const auto &[key, member] : kBandKeys) {
        long long v = ini.getInt("Band", key, d.limits.*member);
        limits.*member = v < 0 || v > 0xFFFFFFFFll ? d.limits.*member : static_cast<std::uint32_t>(v);
    }
    RecomputeMaxOffsets(limits);
}

void AppConfig::writeTo(IniFile &ini, bool includeNameKeys) const
{
    ini.set("config", "Port", std::to_string(Port));
    ini.set("config", "Language", std::to_string(Language));
    ini.set("config", "AutoSeachPort", AutoSeachPort ? "1" : "0");
    ini.set("config", "ComInitMode", std::to_string(ComInitMode));
    for (const auto &[prefix, values] : SizeGroups(*this))
        for (std::size_t i = 0; i < values.size(); ++i)
            ini.set("control", prefix + std::to_string(i), std::to_string(values[i]));
    for (const auto &[key, member] : kBandKeys)
        ini.set("Band", key, std::to_string(limits.*member));
    if (includeNameKeys)
        for (const char *section : {"chs", "cht", "eng"}) {
            ini.set(section, "AppName", " ");
            ini.set(section, "Company", " ");
        }
}

bool AppConfig::load(const std::string &path, bool &created, std::string &error)
{
    created = false;
    error.clear();
    if (read(path))
        return true;

    // A missing file is created with every key at its default.
    IniFile ini;
    writeTo(ini, true);
    const std::string text = ini.text();
    FileWriteResult w = WriteFileAtomic(path, text.data(), text.size());
    if (!w.ok) {
        error = "Could not create the settings file \"" + path + "\": " + w.error + ".";
        return false;
    }
    created = true;
    return true;
}

bool AppConfig::read(const std::string &path)
{
    *this = AppConfig();
    std::error_code ec;
    if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found)
        return false;
    // A file that cannot be read leaves every value at its default.
    FileReadResult r = ReadFilePrefix(path, kConfigReadLimit);
    IniFile ini;
    if (r.opened)
        ini.parse(std::string(r.bytes.begin(), r.bytes.end()));
    readFrom(ini);
    return true;
}

bool AppConfig::save(const std::string &path, std::string &error) const
{
    error.clear();
    IniFile ini;
    std::error_code ec;
    if (std::filesystem::status(path, ec).type() != std::filesystem::file_type::not_found) {
        FileReadResult r = ReadFilePrefix(path, kConfigReadLimit);
        if (!r.opened) { // its other lines would be lost
            error = r.error;
            return false;
        }
        ini.parse(std::string(r.bytes.begin(), r.bytes.end()));
    }
    writeTo(ini, false);
    const std::string text = ini.text();
    FileWriteResult w = WriteFileAtomic(path, text.data(), text.size());
    if (!w.ok) {
        error = "Could not write the settings file \"" + path + "\": " + w.error + ".";
        return false;
    }
    return true;
}

std::string AppConfig::DefaultPath(Folders folders)
{
    const QString file = QString::fromUtf8(kConfigFileName);
    auto in = [&](const QString &dir) {
        if (folders == Folders::Make)
            QDir().mkpath(dir);
        return QDir(dir).filePath(file).toStdString();
    };
    if (!qEnvironmentVariableIsEmpty("VKT410_CONFIG_DIR"))
        return in(qEnvironmentVariable("VKT410_CONFIG_DIR"));

    // QFileInfo::isWritable() does not see every folder permission (on
    // Windows it looks at the read-only flag only), so try to create a file.
    const QString appDir = ExecutableFolder();
    if (!appDir.isEmpty()) {
        QTemporaryFile probe(QDir(appDir).filePath(QStringLiteral(".vkt410-write-test-XXXXXX")));
        if (probe.open())
            return QDir(appDir).filePath(file).toStdString();
    }

    // The application's own folder (".../vkt410") whatever the running
    // program is called, so that the window and the command-line tool share it.
    return in(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                  .filePath(QStringLiteral("vkt410")));
}

std::string AppConfig::FindPath(const std::string &file, Folders folders)
{
    return file.empty() ? DefaultPath(folders) : file;
}

} // namespace vkt
