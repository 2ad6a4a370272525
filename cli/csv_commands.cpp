// export-csv and import-csv: the channel lists as CSV files, as the
// window's File menu writes and reads them.
#include "cli_internal.h"
#include "project.h"

#include "channel_csv.h"
#include "channel_csv_texts.h"

#include <QString>

#include <ostream>

namespace vkt::cli {

const Verb kExportCsvVerb = {
    "export-csv",
    "usage: vkt410-cli export-csv FILE.Dvf -o FILE.csv\n"
    "Writes the channels in use as a CSV channel list (UTF-8, the generic column\n"
    "format of radio programming tools, then this program's BusyLock, SignalSystem,\n"
    "SignalNumber and Scrambling).\n",
    {"-o"},
    {},
    1};

const Verb kImportCsvVerb = {
    "import-csv",
    "usage: vkt410-cli import-csv FILE.csv FILE.Dvf -o OUT.Dvf [--replace] [--language 0|1|2]\n"
    "                              [--config FILE]\n"
    "Reads a CSV channel list into the project and writes it as OUT.Dvf, printing a\n"
    "line for every row skipped or changed. Each row replaces the channel at its\n"
    "Location; the other channels stay.\n"
    "  --replace   delete every channel first\n"
    "  --language  language of the report: 0 English (the default), 1 Simplified\n"
    "              Chinese, 2 Traditional Chinese\n"
    "  --config    configuration file whose band limits apply (default: the one the\n"
    "              program uses)\n"
    "Exit code 0 also when rows were skipped; 65 when the file is no channel list.\n",
    {"-o", "--language", "--config"},
    {"--replace"},
    2};

int CmdExportCsv(const Parsed &p, std::ostream &out, std::ostream &err)
{
    auto state = NewState();
    if (int rc = LoadProject(p.positionals[0], *state, err))
        return rc;
    const std::string &path = p.options.at("-o");
    const FileWriteResult w = ExportChannelsCsvFile(state->data, path, GbkNames());
    if (!w.ok) {
        err << "vkt410-cli: cannot write " << path << ": " << w.error << "\n";
        return kExitCantCreate;
    }
    out << "wrote " << path << " (" << ChannelsInUse(state->data) << " channels)\n";
    return kExitOk;
}

int CmdImportCsv(const Parsed &p, std::ostream &out, std::ostream &err)
{
    int language = 0;
    if (int rc = ParseLanguage(p, "import-csv", language, err))
        return rc;
    auto state = NewState();
    if (int rc = OpenProject(p, p.positionals[1], *state, err))
        return rc;
    const std::string &csvPath = p.positionals[0];
    const CsvImportMode mode = p.flags.count("--replace") ? CsvImportMode::Replace : CsvImportMode::Merge;
    // The import is one step of the project, as in the window.
    auto project = std::make_unique<Project>(*state);
    const CsvFileImport r = project->edit("import-csv", [&](ProgramState &s) {
        return ImportChannelsCsvFile(s.data, s.limits, csvPath, mode, GbkNames());
    });
    if (!r.opened) {
        err << "vkt410-cli: cannot read " << csvPath << ": " << r.error << "\n";
        return kExitNoInput;
    }
    const LanguageScope scope(language);
    if (r.result.problem != CsvFileProblem::None) {
        err << "vkt410-cli import-csv: "
            << CsvProblemText(r.result, QString::fromStdString(csvPath)).toStdString() << "\n";
        return kExitDataErr;
    }
    const std::string &outPath = p.options.at("-o");
    if (int rc = Save(outPath, &project->data(), sizeof project->data(), err))
        return rc;
    for (const QString &line : CsvReportLines(r.result))
        out << line.toStdString() << "\n";
    out << "wrote " << outPath << "\n";
    return kExitOk;
}

} // namespace vkt::cli
