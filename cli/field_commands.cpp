// vkt410-cli get and set: the controls of the pages and the cells of their
// grids by name, shown and typed exactly as the window shows and takes them.
#include "cli_internal.h"
#include "project.h"

#include "app_config.h"
#include "field_texts.h"
#include "fields.h"
#include "localisation.h"

#include <QString>

#include <algorithm>
#include <iomanip>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vkt::cli {

const Verb kGetVerb = {
    "get",
    "usage: vkt410-cli get FILE.Dvf [NAME...] [--language 0|1|2] [--config FILE]\n"
    "Opens the project as the window does and prints 'NAME = TEXT' for each named\n"
    "control or grid cell, TEXT being what the window shows there: a list's item\n"
    "(empty without a selection), 1 or 0 for a check box or radio button, an edit\n"
    "field's or a cell's text. A grid's name alone stands for all its cells. Without\n"
    "NAME: every control of every page, then every cell of every grid, in page\n"
    "order, so that two projects can be compared with diff.\n"
    "  --language  0 English (the default), 1 Simplified Chinese, 2 Traditional Chinese\n"
    "  --config    the configuration file whose band limits are in use; by default\n"
    "              the one the window uses (VKT410_CONFIG_DIR names its folder).\n"
    "              A missing file means the default limits; it is never created.\n",
    {"--language", "--config"},
    {},
    1,
    true};

const Verb kSetVerb = {
    "set",
    "usage: vkt410-cli set FILE.Dvf -o OUT.Dvf NAME=TEXT [NAME=TEXT ...] [--config FILE]\n"
    "Opens the project as the window does, types each TEXT into its control or grid\n"
    "cell in turn and leaves it, as in the window (key filters, band limits, raster,\n"
    "corrections), then saves the project as OUT.Dvf. A list takes an item text as\n"
    "the English interface shows it, #N for position N (from 0), or an empty text\n"
    "for leaving it without a choice; a check box 1 or 0; a radio button 1 (it was\n"
    "chosen and left). A cell is GRID[ROW][COLUMN], e.g. StringGrid1[17][1]=145.5.\n"
    "An unknown name, an item a list does not have, a cell outside its grid or a\n"
    "frequency that cannot be read stops with exit code 64 and nothing is written.\n"
    "  --config    as for get\n",
    {"-o", "--config"},
    {},
    2,
    true};

namespace {

// A control of the table of fields or one cell of a grid.
struct Target {
    std::string name;
    const Field *field = nullptr;
    const GridCells *grid = nullptr;
    int row = 0;
    int column = 0;
};

std::string CellName(const GridCells &g, int row, int column)
{
    return std::string(g.name) + "[" + std::to_string(row) + "][" + std::to_string(column) + "]";
}

// "[ROW][COLUMN]" in decimal.
bool ParseCell(std::string_view rest, int &row, int &column)
{
    int *const parts[] = {&row, &column};
    for (int *part : parts) {
        const std::size_t close = rest.find(']');
        if (rest.empty() || rest.front() != '[' || close == std::string_view::npos || close > 7)
            return false;
        unsigned long long v = 0;
        if (!ParseUint(std::string(rest.substr(1, close - 1)), v))
            return false;
        *part = int(v);
        rest.remove_prefix(close + 1);
    }
    return rest.empty();
}

// A control's name or a cell's "GRID[ROW][COLUMN]"; nullopt with `error`.
std::optional<Target> FindTarget(const std::string &name, std::string &error)
{
    if (const Field *f = FindField(name))
        return Target{name, f};
    const std::size_t open = name.find('[');
    const GridCells *grid = FindGrid(std::string_view(name).substr(0, open));
    if (!grid) {
        error = "unknown name '" + name + "' (--help lists the names)";
        return std::nullopt;
    }
    int row = 0, column = 0;
    if (open == std::string::npos || !ParseCell(std::string_view(name).substr(open), row, column)) {
        error = "'" + name + "' does not name a cell; write " + std::string(grid->name) + "[ROW][COLUMN]";
        return std::nullopt;
    }
    if (row < 1 || row >= grid->rows || column < 1 || column >= grid->columns) {
        error = name + " is outside the grid (rows 1 to " + std::to_string(grid->rows - 1) + ", columns 1 to " +
                std::to_string(grid->columns - 1) + ")";
        return std::nullopt;
    }
    return Target{name, nullptr, grid, row, column};
}

QString Shown(const Target &t, const ProgramState &s)
{
    return t.field ? ShownText(*t.field, s) : t.grid->shown(s, t.row, t.column);
}

AssignResult Assign(const Target &t, ProgramState &s, const QString &text)
{
    return t.field ? AssignText(*t.field, s, text) : t.grid->assign(s, t.row, t.column, text);
}

// Every control of every page, then every cell of every grid, in page order.
std::vector<Target> AllTargets()
{
    std::vector<Target> all;
    for (const Field &f : AllFields())
        all.push_back({std::string(f.name), &f});
    for (const GridCells &g : AllGrids())
        for (int row = 1; row < g.rows; ++row)
            for (int column = 1; column < g.columns; ++column)
                all.push_back({CellName(g, row, column), nullptr, &g, row, column});
    return all;
}


void PrintWrapped(std::ostream &out, const char *heading, const std::vector<std::string_view> &names)
{
    if (names.empty())
        return;
    out << "  " << heading << ":\n";
    std::size_t column = 0;
    for (std::string_view n : names) {
        if (column && column + 1 + n.size() > 78) {
            out << "\n";
            column = 0;
        }
        out << (column ? " " : "    ") << n;
        column += (column ? 1 : 4) + n.size();
    }
    out << "\n";
}

} // namespace

LanguageScope::LanguageScope(LangId id) : saved_(std::make_unique<TAppLang>(TAppLang::instance()))
{
    TAppLang::instance().follow(id);
}

LanguageScope::~LanguageScope() { TAppLang::instance() = *saved_; }

int ParseLanguage(const Parsed &p, const char *verb, LangId &language, std::ostream &err)
{
    language = 0;
    if (const auto l = p.options.find("--language"); l != p.options.end()) {
        if (l->second != "0" && l->second != "1" && l->second != "2") {
            err << "vkt410-cli " << verb << ": --language wants 0, 1 or 2, not '" << l->second << "'\n";
            return kExitUsage;
        }
        language = l->second[0] - '0';
    }
    return kExitOk;
}

// The project as the window holds it between Open and Save: the defaults,
// the band limits of the configuration file in use (read, never created),
// and the file loaded over the record as Open loads it.
int OpenProject(const Parsed &p, ProgramState &state, std::ostream &err)
{
    return OpenProject(p, p.positionals[0], state, err);
}

int OpenProject(const Parsed &p, const std::string &path, ProgramState &state, std::ostream &err)
{
    const auto config = p.options.find("--config");
    AppConfig settings;
    settings.read(AppConfig::FindPath(config == p.options.end() ? std::string() : config->second,
                                      AppConfig::Folders::Leave));
    state.limits = settings.limits;
    if (int rc = LoadProject(path, state, err))
        return rc;
    // What the window's refresh itself stores (an unknown group code
    // becomes 0), so a script sees the record as the window has it.
    RefreshStores(state.data);
    return 0;
}

void PrintFieldNames(std::ostream &out)
{
    out << "\nControls, in page order:\n";
    const std::pair<FieldKind, const char *> kinds[] = {
        {FieldKind::List, "lists (an item text, #N or empty)"},
        {FieldKind::Check, "check boxes (1 or 0)"},
        {FieldKind::Radio, "radio buttons (1)"},
        {FieldKind::Edit, "edit fields and tone lists (a typed text)"},
    };
    for (const auto &[kind, heading] : kinds) {
        std::vector<std::string_view> names;
        for (const Field &f : AllFields())
            if (f.kind == kind)
                names.push_back(f.name);
        PrintWrapped(out, heading, names);
    }
    out << "Grids, a cell written GRID[ROW][COLUMN]:\n";
    std::size_t width = 0;
    for (const GridCells &g : AllGrids())
        width = std::max(width, g.name.size());
    for (const GridCells &g : AllGrids())
        out << "    " << std::left << std::setw(int(width)) << g.name << std::right << "  rows 1 to " << g.rows - 1
            << ", columns 1 to " << g.columns - 1 << "\n";
}

int CmdGet(const Parsed &p, std::ostream &out, std::ostream &err)
{
    LangId language = 0;
    if (int rc = ParseLanguage(p, "get", language, err))
        return rc;

    std::vector<Target> targets;
    if (p.positionals.size() == 1)
        targets = AllTargets();
    for (std::size_t i = 1; i < p.positionals.size(); ++i) {
        const std::string &name = p.positionals[i];
        if (const GridCells *g = FindGrid(name)) { // a whole grid
            for (int row = 1; row < g->rows; ++row)
                for (int column = 1; column < g->columns; ++column)
                    targets.push_back({CellName(*g, row, column), nullptr, g, row, column});
            continue;
        }
        std::string error;
        const std::optional<Target> t = FindTarget(name, error);
        if (!t) {
            err << "vkt410-cli get: " << error << "\n";
            return kExitUsage;
        }
        targets.push_back(*t);
    }

    auto state = NewState();
    if (int rc = OpenProject(p, *state, err))
        return rc;
    const LanguageScope scope(language);
    for (const Target &t : targets)
        out << t.name << " = " << Shown(t, *state).toStdString() << "\n";
    return kExitOk;
}

int CmdSet(const Parsed &p, std::ostream &out, std::ostream &err)
{
    struct Assignment {
        Target target;
        QString text;
    };
    std::vector<Assignment> assignments;
    for (std::size_t i = 1; i < p.positionals.size(); ++i) {
        const std::string &a = p.positionals[i];
        const std::size_t eq = a.find('=');
        if (eq == std::string::npos || eq == 0) {
            err << "vkt410-cli set: '" << a << "' is not NAME=TEXT\n";
            return kExitUsage;
        }
        std::string error;
        std::optional<Target> t = FindTarget(a.substr(0, eq), error);
        if (!t) {
            err << "vkt410-cli set: " << error << "\n";
            return kExitUsage;
        }
        assignments.push_back({std::move(*t), QString::fromStdString(a.substr(eq + 1))});
    }

    auto state = NewState();
    if (int rc = OpenProject(p, *state, err))
        return rc;
    // Each assignment is one step of the project, as in the window.
    auto project = std::make_unique<Project>(*state);
    {
        const LanguageScope scope(0);
        for (const Assignment &a : assignments) {
            const AssignResult r =
                project->edit(a.target.name, [&](ProgramState &s) { return Assign(a.target, s, a.text); });
            if (!r.ok) {
                err << "vkt410-cli set: " << a.target.name << ": " << r.error.toStdString()
                    << " (nothing was written)\n";
                return kExitUsage;
            }
        }
    }
    const std::string &path = p.options.at("-o");
    if (int rc = Save(path, &project->data(), sizeof project->data(), err))
        return rc;
    out << "wrote " << path << "\n";
    return kExitOk;
}

} // namespace vkt::cli
