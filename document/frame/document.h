#pragma once
// Our small document/view frame: a document with its path, title and
// modified flag, the views attached to it, observers of its tabs, and the
// new / open / save / save as / close protocol. Every question and file
// dialog goes through Ui(), so all of it runs headless.
//
// The protocol follows the usual document frame: OnNewDocument and
// OnOpenDocument fill a fresh document; DoFileSave saves under the path (or
// asks for one when there is none); DoSave(no path) is Save As;
// SaveModified asks "Save changes to ...?" before a modified document is
// closed. Derived documents override the On... steps.
#include "platform/uiservices.h"
#include "platform/windef.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDocument;

// The kinds of view a document repaints separately.
enum class ViewKind { Design, Preview, Table, Other };

// A view attached to a document.
class CDocView {
public:
    virtual ~CDocView() = default;
    virtual ViewKind GetViewKind() const = 0;
    // Erase and repaint.
    virtual void Invalidate() = 0;
    // Table views: finish an in-place cell edit (storing the typed text)
    // before the document is written.
    virtual void EndInPlaceEdit() {}
    // Table views: the font of the grid; false when the view has no grid.
    virtual bool GetGridFont(LOGFONTA& /*font*/) const { return false; }
    virtual void SetGridFont(const LOGFONTA& /*font*/) {}
};

// The two rows of tabs of a project.
enum class TabKind { Template, Table };

// Told when the document adds, removes or activates a tab. The tab views
// implement it; the document keeps the counts and labels.
class CTabObserver {
public:
    virtual ~CTabObserver() = default;
    virtual void TabAdded(TabKind kind, int index, const std::string& label) = 0;
    virtual void TabRemoved(TabKind kind, int index) = 0;
    virtual void TabActivated(TabKind kind, int index) = 0;
    // The labels of the tabs of that kind were set anew.
    virtual void TabLabelsChanged(TabKind /*kind*/) {}
};

// What a document type shows in file dialogs.
struct DocumentTypeInfo {
    std::string name;      // "Project": new documents are titled name + number
    std::string filter;    // Windows filter form, see FileDialogRequest
    std::string extension; // with the dot: ".proj"
};

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument();
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    virtual const DocumentTypeInfo& GetDocumentType() const;

    // --- path, title, modified flag ------------------------------------------
    const QString& GetPathName() const { return m_pathName; }
    // The file the document shows: its path, or while it has none the file
    // it was opened from (a table file, a damaged project); empty for a new
    // document.
    const QString& GetFileShown() const { return m_pathName.isEmpty() ? m_openedFrom : m_pathName; }
    // Sets the path; the title becomes the file name without its extension.
    void SetPathName(const QString& path);
    void ClearPathName() { m_pathName.clear(); }
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    virtual bool IsModified() const { return m_modified; }
    virtual void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    // --- views and observers ---------------------------------------------------
    // The caller keeps ownership; a view removes itself before it goes.
    void AddView(CDocView* view);
    void RemoveView(CDocView* view);
    const std::vector<CDocView*>& GetViews() const { return m_views; }
    // Repaints every view of that kind.
    void InvalidateViews(ViewKind kind);
    void AddTabObserver(CTabObserver* observer);
    void RemoveTabObserver(CTabObserver* observer);

    // --- protocol ------------------------------------------------------------------
    // A new, empty document: contents deleted, no path, not modified.
    virtual bool OnNewDocument();
    // Fills the document from a file; false when it could not be opened.
    virtual bool OnOpenDocument(const QString& path) = 0;
    // Writes the document to a file; true on success.
    virtual bool OnSaveDocument(const QString& path) = 0;
    virtual void DeleteContents() {}

    // Opens a file into this (fresh) document: OnOpenDocument, then the
    // path becomes the file's unless the document kept it out (see
    // KeepWithoutPath), and the modified flag is cleared in that case only.
    bool Open(const QString& path);
    // Save: under the path, or as Save As when there is none or the file
    // under it would not hold the whole document (SavesWholeDocument).
    bool DoFileSave();
    // Save As (no path) or save under `path`. Without a path the user is
    // asked for one (Ui().AskSaveFileName); with `replace` the document
    // takes the chosen path and title after a successful save of the whole
    // document (SavesWholeDocument).
    virtual bool DoSave(const std::optional<QString>& path, bool replace = true);
    // Whether a save to `path` writes the whole document, so that with
    // `replace` the document takes the path as its own. A file that holds
    // only part of the document is a copy: the document keeps its path,
    // title and modified flag.
    virtual bool SavesWholeDocument(const QString& /*path*/) const { return true; }
    // Before closing: asks "Save changes to <name>?" (Yes / No / Cancel)
    // when the document is modified. True when closing may go on: after No,
    // or after a Yes that saved the whole document.
    virtual bool SaveModified();
    // Closes when SaveModified allows it; the document is then emptied.
    bool Close();

    // The name the Save dialog proposes: the title cut before its first
    // space, '#', '%', ';', '/' or '\', with the type's extension.
    std::string DefaultSaveName() const;

protected:
    // Called by OnOpenDocument when what it opened must not be saved back
    // under the file's name (a file read only in part, a file of another
    // kind): the document gets no path, `title`, and the modified flag.
    void KeepWithoutPath(const std::string& title);
    void NotifyTabAdded(TabKind kind, int index, const std::string& label);
    void NotifyTabRemoved(TabKind kind, int index);
    void NotifyTabActivated(TabKind kind, int index);
    void NotifyTabLabelsChanged(TabKind kind);

private:
    QString m_pathName;
    QString m_openedFrom;
    std::string m_title;
    bool m_modified = false;
    bool m_keepWithoutPath = false;
    std::vector<CDocView*> m_views;
    std::vector<CTabObserver*> m_tabObservers;
};

// Creates documents of one type for File New and File Open.
class CDocTemplate {
public:
    virtual ~CDocTemplate() = default;
    virtual std::unique_ptr<CDocument> CreateDocument() const = 0;

    // File New: a fresh document titled type name + running number
    // ("Project1", "Project2"...); null when OnNewDocument failed.
    std::unique_ptr<CDocument> NewDocument();
    // File Open: asks for a file when `path` is empty; null when cancelled
    // or when the file could not be opened.
    std::unique_ptr<CDocument> OpenDocument(const QString& path = {});
    // File Open's question: the file the user chose; none when cancelled.
    std::optional<QString> AskOpenFileName() const;

private:
    int m_untitledCount = 0;
};
