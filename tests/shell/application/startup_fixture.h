#pragma once
// A temporary machine for start-up tests: installed data, $XDG_DATA_HOME,
// $XDG_DATA_DIRS and the settings store all below one temporary folder,
// and the recording user interface.
#include "document/label/labelfile.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "shell/application/app.h"
#include "shell/application/datafolders.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using testsupport::EnvScope;

class StartupTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString installed = root.filePath("prefix/share");
    QString user = root.filePath("home/.local/share");
    EnvScope dataHome{"XDG_DATA_HOME", QFile::encodeName(user)};
    EnvScope dataDirs{"XDG_DATA_DIRS", QFile::encodeName(root.filePath("system"))};
    CRecordingUi ui;
    CUiServices* previousUi = nullptr;

    void SetUp() override
    {
        datafolders::SetInstalledDataFolder(installed);
        settings::SetStoreFolder(root.filePath("config"));
        previousUi = SetUi(&ui);
    }
    void TearDown() override
    {
        SetUi(previousUi);
        settings::SetStoreFolder({});
        datafolders::SetInstalledDataFolder({});
    }

    QString shippedLabels() const { return datafolders::SubFolder(installed, datafolders::kLabels); }
    QString userLabels() const { return datafolders::SubFolder(user, datafolders::kLabels); }

    // A label definition file written by the program's own writer.
    static void writeLabel(const QString& path, const std::string& family, int32_t widthUm = 70000)
    {
        QDir().mkpath(QFileInfo(path).path());
        CLabelFileNew label;
        label.SetFamilyName(family);
        label.SetWidth(0, widthUm, false);
        label.SetHeight(0, 37000);
        ASSERT_TRUE(label.SaveToFile(QFile::encodeName(path).toStdString()));
    }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Starts the program without showing anything.
    std::unique_ptr<CVorteplanSoftLabelApp> start(const QStringList& arguments = {}, bool* ok = nullptr)
    {
        auto app = std::make_unique<CVorteplanSoftLabelApp>();
        CVorteplanSoftLabelApp::Options options;
        options.showSplash = false;
        options.showWindow = false;
        const bool started = app->InitInstance(arguments, options);
        if (ok)
            *ok = started;
        return app;
    }
};
