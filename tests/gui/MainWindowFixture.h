#pragma once
// The real main window against the emulated keyboard, with every report and pause written into
// one transcript ("set 07 FC 01 00 00 00 00 00", "get", "sleep 50").
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "app/AppConfig.h"
#include "app/gui/ProgramClasses.h"
#include "emulator/EmulatedKeyboard.h"
#include "mainwnd/CMainDlg.h"
#include "ui/ModalSeam.h"
#include "ui/ShellNotifyIcon.h"
#include "ui/UiLanguage.h"
#include "ui/WidgetTree.h"

using Transcript = std::vector<std::string>;

class TranscriptBackend : public HidBackend {
public:
    TranscriptBackend(HidBackend& inner, Transcript& log) : inner_(inner), log_(log) {}
    bool failOpen = false;

    std::vector<HidInterfaceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidHandle> OpenPath(const std::string& path) override {
        if (failOpen) return nullptr;
        std::unique_ptr<HidHandle> h = inner_.OpenPath(path);
        return h ? std::make_unique<Handle>(std::move(h), log_) : nullptr;
    }

private:
    class Handle : public HidHandle {
    public:
        Handle(std::unique_ptr<HidHandle> inner, Transcript& log) : inner_(std::move(inner)), log_(log) {}
        int SendFeatureReport(const uint8_t* data, size_t length) override {
            std::string line = "set";
            char b[4];
            for (size_t i = 0; i < length; ++i) {
                std::snprintf(b, sizeof b, " %02X", data[i]);
                line += b;
            }
            log_.push_back(line);
            return inner_->SendFeatureReport(data, length);
        }
        int GetFeatureReport(uint8_t* data, size_t length) override {
            log_.push_back("get");
            return inner_->GetFeatureReport(data, length);
        }
        uint32_t DiagnosticValue() const override { return inner_->DiagnosticValue(); }

    private:
        std::unique_ptr<HidHandle> inner_;
        Transcript& log_;
    };
    HidBackend& inner_;
    Transcript& log_;
};

class RecordingPacer : public Pacer {
public:
    explicit RecordingPacer(Transcript& log) : log_(log) {}
    void Sleep(uint32_t ms) override { log_.push_back("sleep " + std::to_string(ms)); }

private:
    Transcript& log_;
};

class OpenGate : public DeviceGate {
public:
    bool Pass() override { return true; }
};

// The reports and pauses of one read-back.
inline Transcript ReadBackLines() {
    return {"sleep 50", "set 07 FB 01 00 00 00 00 00", "sleep 10", "sleep 10", "get", "sleep 10", "get",
            "sleep 10", "get", "sleep 10", "get"};
}
inline Transcript Join(std::initializer_list<Transcript> parts) {
    Transcript all;
    for (const Transcript& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        AppConfig::instance("../bin/config.xml");
        UiResources::SetCurrent(&SourceResources());
        RegisterProgramClasses();
        // The picture reads its coordinate file relative to the program's folder.
        CoordButtonImage::SetStringResolver(
            [](const QString& text) { return text == "keyboard.xml" ? QStringLiteral("../bin/keyboard.xml") : text; });
        qApp->setStyleSheet(SourceResources().StyleSheet());
    }

    void SetUp() override {
        ModalSeam::Reset();
        UiLanguage::Install(SourceResources(), "lang_en");
    }

    // Builds and initialises the window; the transcript then starts empty.
    void Start(bool clearLog = true) {
        window = std::make_unique<CMainDlg>(SourceResources(), backend, gate, pacer);
        QString error;
        ASSERT_TRUE(window->Create(SourceResources(), &error)) << error.toStdString();
        QString missing;
        ASSERT_TRUE(window->OnInitDialog(&missing)) << missing.toStdString();
        window->SetUrlOpener([this](const QString& url) { openedUrls.push_back(url); });
        window->show();
        QApplication::processEvents();
        if (clearLog) log.clear();
    }

    template <class T = QWidget>
    T* Widget(const char* name, const char* cls = "window") {
        auto* w = qobject_cast<T*>(window->host().FindByName(name, cls));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QString ConnectionText() { return Widget<QLabel>("version", "text")->text(); }
    ShellNotifyIcon* Tray() { return window->trayIcon(); }
    void Click(const char* name) { QTest::mouseClick(Widget(name), Qt::LeftButton, {}, QPoint(8, 8)); }
    // A pick in a combo box as the user makes it.
    void Pick(const char* combo, int index) {
        auto* c = Widget<QComboBox>(combo, "combobox");
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    bool Sent(const std::string& report) const {
        return std::find(log.begin(), log.end(), "set " + report) != log.end();
    }
    std::vector<std::string> Sets() const {
        std::vector<std::string> sets;
        for (const std::string& l : log)
            if (l.rfind("set ", 0) == 0) sets.push_back(l.substr(4));
        return sets;
    }

    Transcript log;
    EmulatedKeyboard keyboard{EmulatorLog()};
    TranscriptBackend backend{keyboard, log};
    OpenGate gate;
    RecordingPacer pacer{log};
    std::unique_ptr<CMainDlg> window;
    std::vector<QString> openedUrls;
};
