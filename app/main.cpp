// vkt410: the window program.
#include "main_window.h"
#include "pty_radio_host.h"
#include "sample_project.h"
#include "simulated_radio.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <cstring>
#include <memory>
#include <random>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vkt410"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Programming software for the Brelmoran VKT410 radio."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QStringLiteral("Attach a simulated radio (with a small sample "
                                                     "configuration) on a pseudo-terminal and select it."));
    const QCommandLineOption config(QStringLiteral("config"), QStringLiteral("Use this configuration file."),
                                    QStringLiteral("FILE"));
    parser.addOption(simulate);
    parser.addOption(config);
    parser.process(app);

    vkt::AppSession session;
    const std::string configPath = vkt::AppConfig::FindPath(parser.value(config).toStdString());

    std::unique_ptr<vkt::SimulatedRadio> radio;
    std::unique_ptr<vkt::PtyRadioHost> host;
    int simulatedPort = 0;
    if (parser.isSet(simulate)) {
        radio = std::make_unique<vkt::SimulatedRadio>();
        vkt::LoadSampleIntoRadio(*radio);
        host = std::make_unique<vkt::PtyRadioHost>(*radio);
        std::string error;
        if (host->start(error))
            simulatedPort = session.line->portMap().add(QString::fromStdString(host->devicePath()));
        else
            QMessageBox::warning(nullptr, QStringLiteral("vkt410"),
                                 QStringLiteral("The simulated radio could not be started: %1")
                                     .arg(QString::fromStdString(error)));
    }

    vkt::TForm1 window(session, configPath);
    if (simulatedPort > 0)
        window.useTemporaryPort(simulatedPort);
    window.show();
    const int rc = app.exec();
    if (host)
        host->stop();
    return rc;
}
