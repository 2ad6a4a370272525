// The window program on Qt's offscreen platform: start-up to the first
// shown window, RefreshMainWindow with 240 channels in use, and a language
// switch. Prints milliseconds per operation.
#include "channel_edit.h"
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

    {
        ProgramState filled = session.state();
        for (int ch = 1; ch <= kChannelCount; ++ch)
            MakeNewChannel(filled.data, ch, 144000000 + 12500u * ch, filled.limits);
        session.project.reset(filled);
    }

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
        // One step that changes every row's text: the page redraws the
        // rows the step changed.
        session.project.edit("bench", [](ProgramState &s) {
            for (int ch = 1; ch <= kChannelCount; ++ch)
                s.data.channels[ch].flags1 ^= 0x10;
        });
        grid->viewport()->repaint();
    });
    // One cell typed and left, as the user does: the rows it redraws.
    ChannelPage *channels = window->channelPage;
    window->PageControl->setCurrentWidget(channels);
    long rowsBefore = channels->rowsDrawn();
    int cellEdits = 0;
    const double cell = msPerOp(50, [&] {
        channels->placeEditor(5, kColName);
        QTest::keyClicks(channels->activeEditor(), cellEdits++ % 2 ? QStringLiteral("AB") : QStringLiteral("CD"));
        QTest::keyClick(channels->activeEditor(), Qt::Key_Return);
        grid->viewport()->repaint();
    });
    const double rowsPerCell = double(channels->rowsDrawn() - rowsBefore) / double(cellEdits);
    int lang = 0;
    const double language = msPerOp(20, [&] { window->setLanguage(lang = (lang + 1) % 3); });

    std::printf("window program (offscreen):\n");
    std::printf("  start-up to the first shown window       %8.1f ms\n", startMs);
    std::printf("  RefreshMainWindow, 240 channels in use   %8.1f ms\n", refresh);
    std::printf("  language switch                          %8.1f ms\n", language);
    std::printf("  channel table, all 240 rows redrawn      %8.1f ms\n", rows);
    std::printf("  one channel cell typed and stored        %8.2f ms, %.1f rows redrawn per edit\n", cell,
                rowsPerCell);
    window.reset();
    std::filesystem::remove_all(dir);
    return 0;
}
