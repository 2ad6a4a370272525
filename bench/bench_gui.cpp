// The window program on Qt's offscreen platform: start-up to the first
// shown window, RefreshMainWindow with 240 channels in use, and a language
// switch. Prints milliseconds per operation.
#include "main_window.h"
#include "pages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

int main(int argc, char **argv)
{
    using namespace vkt;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer startUp;
    startUp.start();
    QApplication app(argc, argv);
    const auto dir = std::filesystem::temp_directory_path() / ("vkt-bench-gui-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);

    AppSession session;
    auto window = std::make_unique<TForm1>(session, (dir / "_config.ini").string());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        std::fprintf(stderr, "the window was not shown\n");
    const double startMs = double(startUp.nsecsElapsed()) / 1e6;

    for (int ch = 1; ch <= kChannelCount; ++ch)
        MakeNewChannel(session.state.data, ch, 144000000 + 12500u * ch, session.state.limits);

    auto msPerOp = [&](int n, auto &&op) {
        op();
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < n; ++i) {
            op();
            QApplication::processEvents(); // let the window repaint, as it would
        }
        return double(t.nsecsElapsed()) / 1e6 / n;
    };
    const double refresh = msPerOp(20, [&] { window->RefreshMainWindow(); });
    // The channel table alone: all 240 rows re-rendered and painted.
    Grid *grid = window->channelPage->StringGrid1;
    const double rows = msPerOp(50, [&] {
        for (int ch = 1; ch <= kChannelCount; ++ch) // every row's text changes
            session.state.data.channels[ch].flags1 ^= 0x10;
        window->channelPage->load();
        grid->viewport()->repaint();
    });
    int lang = 0;
    const double language = msPerOp(20, [&] { window->setLanguage(lang = (lang + 1) % 3); });

    std::printf("window program (offscreen):\n");
    std::printf("  start-up to the first shown window       %8.1f ms\n", startMs);
    std::printf("  RefreshMainWindow, 240 channels in use   %8.1f ms\n", refresh);
    std::printf("  language switch                          %8.1f ms\n", language);
    std::printf("  channel table, all 240 rows redrawn      %8.1f ms\n", rows);
    window.reset();
    std::filesystem::remove_all(dir);
    return 0;
}
