// Shared by the window tests: a scripted desktop installed for each test, and
// helpers to build a card window and cards on disk.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "card/card_file.h"
#include "platform/ui_services.h"
#include "window/card_dialog.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetUi(&ui); }
    void TearDown() override { platform::SetUi(nullptr); }

    // A card window, built and shown (not run modally).
    template <class Window = CCardDialog>
    std::unique_ptr<Window> Open(const std::string& cardPath = {}) {
        auto window = std::make_unique<Window>();
        window->Record().CurrentPath = cardPath;
        window->Create();
        window->show();
        QApplication::processEvents();
        return window;
    }

    std::vector<QString> Messages() const {
        std::vector<QString> texts;
        for (const auto& call : ui.Of("message")) texts.push_back(call.text);
        return texts;
    }

    platform::ScriptedUi ui;
};

// A fresh folder for one test, removed afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes a card with the given record (multi-line fields from the record).
void WriteCard(const std::string& path, CardRecord record);
std::vector<std::uint8_t> FileBytes(const std::string& path);
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string SamplesDir();
