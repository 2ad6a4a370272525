// Pieces shared by the verbs of vkt410-cli.
#pragma once

#include "cli.h"
#include "codeplug.h"
#include "program_state.h"

#include <iosfwd>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vkt {
class TAppLang;
}

namespace vkt::cli {

struct Verb {
    const char *name;
    const char *help;
    std::set<std::string> valueOptions; // options that take a value
    std::set<std::string> flagOptions;  // options that stand alone
    std::size_t positionals;            // exact number of positional arguments
    bool morePositionals = false;       // `positionals` is the least number, more may follow
};

struct Parsed {
    std::vector<std::string> positionals;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;
    bool help = false;
};

bool ParseUint(const std::string &s, unsigned long long &v);
// Loads a project over the defaults, as the program's Open does; prints a
// warning for a file of another size. Returns an exit code.
int LoadProject(const std::string &path, ProgramState &state, std::ostream &err);
// Saves bytes atomically; returns an exit code.
int Save(const std::string &path, const void *bytes, std::size_t size, std::ostream &err);
std::unique_ptr<ProgramState> NewState();

// The verbs that talk to a radio or act as one.
extern const Verb kPortsVerb, kReadVerb, kWriteVerb, kSimVerb;
extern const Verb kAdjustReadVerb, kAdjustWriteVerb, kAdjustWriteAllVerb, kStatusVerb, kSetPasswordVerb;
int CmdPorts(const Parsed &p, std::ostream &out, std::ostream &err);
int CmdRead(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);
int CmdWrite(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);
int CmdSim(const Parsed &p, std::ostream &out, std::ostream &err);
int CmdAdjustRead(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);
int CmdAdjustWrite(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);
int CmdAdjustWriteAll(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);
int CmdStatus(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);
int CmdSetPassword(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);

// The verbs on the controls and grid cells of the pages.
extern const Verb kGetVerb, kSetVerb;
int CmdGet(const Parsed &p, std::ostream &out, std::ostream &err);
int CmdSet(const Parsed &p, std::ostream &out, std::ostream &err);
// The names get and set take, printed after their help.
void PrintFieldNames(std::ostream &out);

// The texts are those of one language (0, 1, 2) while a verb runs.
class LanguageScope {
public:
    explicit LanguageScope(int language);
    ~LanguageScope();
    LanguageScope(const LanguageScope &) = delete;
    LanguageScope &operator=(const LanguageScope &) = delete;

private:
    std::unique_ptr<TAppLang> saved_;
};
// The value of --language (0 when it is not given); an exit code.
int ParseLanguage(const Parsed &p, const char *verb, int &language, std::ostream &err);
// The project as the window holds it between Open and Save: the defaults,
// the band limits of the configuration file in use (--config, read, never
// created), and the file named by the first argument loaded over the
// record as Open loads it.
int OpenProject(const Parsed &p, ProgramState &state, std::ostream &err);
int OpenProject(const Parsed &p, const std::string &path, ProgramState &state, std::ostream &err);

// The channel lists as CSV files.
extern const Verb kExportCsvVerb, kImportCsvVerb;
int CmdExportCsv(const Parsed &p, std::ostream &out, std::ostream &err);
int CmdImportCsv(const Parsed &p, std::ostream &out, std::ostream &err);

// The band limits of the configuration file.
extern const Verb kLimitsVerb;
int CmdLimits(const Parsed &p, std::ostream &out, std::ostream &err);

} // namespace vkt::cli
