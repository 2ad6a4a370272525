// The fixture of the window tests: a main window on the offscreen
// platform, in English, with a configuration file of its own in a fresh
// folder that goes with the test.
#pragma once

#include "app_session.h"
#include "localisation.h"
#include "main_window.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace vkt {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("vkt-window-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        TAppLang::instance().setSystemLangId(0x0409);
        session = std::make_unique<AppSession>();
        window = std::make_unique<TForm1>(*session, (dir / "_config.ini").string());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override
    {
        window.reset();
        session.reset();
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    std::unique_ptr<AppSession> session;
    std::unique_ptr<TForm1> window;
};

} // namespace vkt
