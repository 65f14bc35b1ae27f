#pragma once
// A main window started on a fresh documents folder, its start-up list fill finished.

#include "TestSupport.h"
#include "app/MainWindow.h"
#include "ui/ProgramState.h"
#include "ui/Runtime.h"

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { start(); }
    void TearDown() override {
        ASSERT_TRUE(testsupport::waitForWorkers());
        window.reset();
    }
    // Writes files into the documents folder before calling start() again.
    void start() {
        testsupport::waitForWorkers();
        window.reset();
        window = std::make_unique<app::MainWindow>();
        // Test programs run side by side in one directory: each writes its player page into its
        // own folder rather than beside the program.
        ui::playerPagePath.set(documents.file("岚影目录.htm"));
        window->show();
        ASSERT_TRUE(testsupport::waitForWorkers());
    }
    int listRows() const { return window->超级列表框1->episodes()->rowCount(); }
    int resultRows() const { return window->超级列表框2->episodes()->rowCount(); }

    testsupport::TemporaryDocuments documents;
    std::unique_ptr<app::MainWindow> window;
};
