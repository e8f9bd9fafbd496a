#pragma once
// Shared set-up of the project tests: a settings store of their own, a
// temporary folder for files, and a recorder of tab events.
#include "document/frame/document.h"
#include "document/label/labelfile.h"
#include "document/template/template.h"
#include "platform/record.h"
#include "platform/recordingui.h"
#include "platform/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace projtest {

// Every test starts with an empty settings store and its own folder.
class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        settings::SetStoreFolder(m_dir.filePath("config"));
    }
    void TearDown() override { settings::SetStoreFolder({}); }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    static void writeFile(const QString& file, const std::string& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    }
    static std::string readFile(const QString& file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll().toStdString();
    }

    CRecordingUi m_ui;
    UiScope m_scope{m_ui};
    QTemporaryDir m_dir;
};

// The record of a new template as the template writer lays it down.
inline std::string newTemplateRecord()
{
    CTemplate t;
    RecordWriter w;
    t.Write(w, true);
    return w.take();
}

struct TabLog : CTabObserver {
    std::vector<std::string> events;
    void TabAdded(TabKind kind, int index, const std::string& label) override
    {
        events.push_back(std::string(kind == TabKind::Template ? "T" : "D") + "+" + std::to_string(index) + ":" +
                         label);
    }
    void TabRemoved(TabKind kind, int index) override
    {
        events.push_back(std::string(kind == TabKind::Template ? "T" : "D") + "-" + std::to_string(index));
    }
    void TabActivated(TabKind kind, int index) override
    {
        events.push_back(std::string(kind == TabKind::Template ? "T" : "D") + "*" + std::to_string(index));
    }
};

} // namespace projtest
