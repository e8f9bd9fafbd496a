// Opening and saving the project document by file extension, and the
// questions before it is closed.
#include "document/project/projectdoc.h"

#include "document/project/projectfile.h"
#include "platform/files.h"
#include "platform/record.h"
#include "platform/uiservices.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The extension without the dot, in small letters.
QString extensionOf(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

std::string localName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

void showError(const std::string& text)
{
    ShowUserMessage(text, {}, MessageIcon::Error);
}

} // namespace

bool CVorteplanSoftLabelDoc::OnOpenDocument(const QString& path)
{
    // The file keeps only the table font's character set; the rest is the
    // font a new project's grids get, so a project looks the same in its
    // grids after it was saved and opened again.
    BuildTableFont();
    const QString ext = extensionOf(path);
    const std::string title = QFile::encodeName(QFileInfo(path).completeBaseName()).toStdString();
    if (ext == QLatin1String("proj")) {
        switch (ReadProjectFile(path)) {
        case ProjectReadStatus::Ok:
            return true;
        case ProjectReadStatus::CannotOpen:
        case ProjectReadStatus::NotAProject:
        case ProjectReadStatus::Incompatible: // nothing was read
            return false;
        case ProjectReadStatus::Corrupt:
            // What was read stays, but never under this file's name: a
            // Save would overwrite the user's file with part of it.
            KeepWithoutPath(title);
            return true;
        }
        return false;
    }
    if (ext == QLatin1String("tbl") || ext == QLatin1String("tbf")) {
        if (!OpenTableFile(path))
            return false;
        m_tableFileDocument = ext == QLatin1String("tbf");
        m_templatesAtOpen = projectImageBesideTables();
        // A table file holds one table: saving the project under its name
        // would replace it, so Save asks for a project name.
        KeepWithoutPath(title);
        return true;
    }
    // No reader for this name: say why rather than fail without a word.
    if (files::ReadRegularFileHead(path, 1))
        showError(localName(path) + " is not a project file.");
    else
        showError("Can not open file " + localName(path));
    return false;
}

bool CVorteplanSoftLabelDoc::OnSaveDocument(const QString& path)
{
    for (CDocView* view : GetViews())
        if (view->GetViewKind() == ViewKind::Table)
            view->EndInPlaceEdit();
    return SaveByExtension(path);
}

bool CVorteplanSoftLabelDoc::SaveByExtension(const QString& path)
{
    const QString ext = extensionOf(path);
    if (ext == QLatin1String("label"))
        return SaveLabelFile(path);
    if (ext == QLatin1String("tpe"))
        return SaveTemplateFile(path);
    if (ext == QLatin1String("tbf"))
        return SaveTable(path);
    if (ext == QLatin1String("proj"))
        return SaveProject(path);
    // A name the user gave an extension of their own is not changed behind
    // their back: another name could replace a file nobody was asked about.
    showError("Can not save file " + localName(path) +
              ": the program saves projects (*.proj), table files (*.tbf), template files (*.tpe) and label "
              "files (*.label).");
    return false;
}

bool CVorteplanSoftLabelDoc::SaveLabelFile(const QString& path)
{
    CTemplate& t = GetCurrentTemplate();
    for (int area = 0; area < kTemplateAreas; ++area) {
        const CGraphCollection* c = t.GetArea(area);
        if (c && !c->IsEmpty()) {
            showError("Document containing template objects can not be saved as a product file (*.label).");
            return false;
        }
    }
    if (tableHoldsData(m_currentTable)) {
        showError("Document containing table data can not be saved as a product file (*.label).");
        return false;
    }
    CLabel* label = t.GetLabel();
    if (!label) {
        showError("Document not containing a product can not be saved as a product file (*.label).");
        return false;
    }
    LabelFileResult result;
    if (!label->SaveToFile(localName(path), &result)) {
        showError(result.message.empty() ? "Can not save file " + localName(path) : result.message);
        return false;
    }
    return true;
}

bool CVorteplanSoftLabelDoc::SaveTemplateFile(const QString& path)
{
    CTemplate& t = GetCurrentTemplate();
    if (!t.GetLabel()) {
        showError("Document not containing a product can not be saved as a template file (*.tpe).");
        return false;
    }
    // A copy of one template: the project's edits are still unsaved.
    return t.SaveFile(localName(path)); // tells the user why
}

bool CVorteplanSoftLabelDoc::SaveTable(const QString& path)
{
    if (!SaveTableFile(path))
        return false;
    if (SavesWholeDocument(path)) {
        DropTableSnapshots(m_currentTable);
        SetModifiedFlag(false);
    }
    return true;
}

bool CVorteplanSoftLabelDoc::SaveProject(const QString& path)
{
    std::string error;
    if (!WriteProjectFile(path, &error)) {
        showError("Can not save file " + localName(path) + ": " + error);
        return false;
    }
    for (int k = 0; k < kDocSlots; ++k) {
        m_templates[size_t(k)].FreeHistory();
        DropTableSnapshots(k);
    }
    m_tableFileDocument = false;
    m_templatesAtOpen.reset();
    SetModifiedFlag(false);
    return true;
}

bool CVorteplanSoftLabelDoc::SavesWholeDocument(const QString& path) const
{
    const QString ext = extensionOf(path);
    if (ext == QLatin1String("proj"))
        return true;
    if (ext != QLatin1String("tbf") || !m_tableFileDocument)
        return false;
    // The file holds the current table only.
    for (int k = 0; k < kDocSlots; ++k)
        if (k != m_currentTable && tableHoldsData(k))
            return false;
    const std::optional<std::string> templates = projectImageBesideTables();
    return templates && templates == m_templatesAtOpen;
}

bool CVorteplanSoftLabelDoc::tableHoldsData(int slot) const
{
    const TableSlot& s = m_tables[size_t(slot)];
    return s.table->GetRowCount() > 0 || s.filter || (s.filtered && s.filtered->GetRowCount() > 0);
}

std::optional<std::string> CVorteplanSoftLabelDoc::projectImageBesideTables() const
{
    RecordWriter w;
    w.i32(m_templateCount);
    for (int k = 0; k < m_templateCount; ++k) {
        const CTemplate& t = m_templates[size_t(k)];
        for (int area = 0; area < kTemplateAreas; ++area)
            if (!t.GetUndoHistory(area)->IsEmpty() || !t.GetRedoHistory(area)->IsEmpty())
                return std::nullopt;
        if (!t.GetMarkerUndo().IsEmpty() || !t.GetMarkerRedo().IsEmpty())
            return std::nullopt;
        // The record of a copy: writing the template itself would give it
        // a label definition and take the modified mark off its definition.
        // The zoom is left out: it is a view setting, not an edit.
        CTemplate copy;
        copy.CopyFrom(t);
        copy.SetPrintLabelBorders(t.IsPrintLabelBorders());
        copy.SetBorderColor(t.GetBorderColor());
        copy.SetBorderWidth(t.GetBorderWidth());
        copy.SetBorderOption(t.GetBorderOption());
        copy.GetJob() = t.GetJob();
        w.boolean8(t.GetLabel() != nullptr);
        if (!copy.Write(w, true))
            return std::nullopt;
    }
    // The rest of what a project file holds beside the tables' contents,
    // none of which a table file keeps: the tabs' names and the number of
    // tables, the table font's character set, the stacked layouts.
    projectfile::WriteArchiveStringArray(w, {m_templateNames.begin(), m_templateNames.begin() + m_templateCount});
    projectfile::WriteArchiveStringArray(w, {m_tableNames.begin(), m_tableNames.begin() + m_tableCount});
    w.i32(m_tableCount);
    w.u8(m_tableFont.lfCharSet);
    w.bytes(m_stackedLayout.data(), m_stackedLayout.size());
    return std::string(w.data());
}

bool CVorteplanSoftLabelDoc::SaveModified()
{
    for (int k = 0; k < kDocSlots; ++k) {
        auto* label = dynamic_cast<CLabelFileNew*>(m_templates[size_t(k)].GetLabel());
        if (!label || !label->IsLoaded() || !label->IsModified())
            continue;
        const std::string name = label->GetDisplayName().empty() ? label->GetFileTitle() : label->GetDisplayName();
        const std::string text = "The standard label " + name + " in the family " + label->GetFamilyName() +
                                 " is modified. Do you want to save it?";
        const MessageAnswer answer =
            Ui().Ask({text, {}, MessageIcon::Question}, MessageButtons::YesNoCancel, MessageAnswer::Cancel);
        if (answer == MessageAnswer::Cancel)
            return false;
        // Asks for a file when it has none. A save that did not happen
        // (the dialog cancelled, a failure already said) stops the close:
        // going on would lose the label's changes.
        if (answer == MessageAnswer::Yes && !label->Save(m_labelsFolder))
            return false;
    }
    return CDocument::SaveModified();
}
