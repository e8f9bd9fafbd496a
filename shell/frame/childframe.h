#pragma once
// The window of one open project inside the main frame's tabs. It owns
// the project document and the document's command target (the second link
// of the command route); the views that come into it name the active view
// (the first link) with SetActiveView as they are activated.
//
// The active view has the keyboard focus whenever its window is the active
// one: the update handlers that fill the ribbon's boxes do so only while
// their view has the focus, so a view that is active for the command route
// without the focus would leave the boxes empty until a click.
#include "shell/frame/commandrouter.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <memory>

class CVorteplanSoftLabelDoc;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(std::unique_ptr<CVorteplanSoftLabelDoc> document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CVorteplanSoftLabelDoc& Document() const { return *m_document; }
    // Document commands (Save, Save As, Close and those the document's own
    // commands register).
    CCmdTarget& DocumentTarget() { return m_documentTarget; }

    // The view last activated in this window; null when none.
    CCmdTarget* GetActiveView() const { return m_activeView; }
    // A view that is a widget takes the keyboard focus too (at once when the
    // window is the active one, else when it becomes so).
    void SetActiveView(CCmdTarget* view);

    // The project's view takes the place of the empty page (and goes
    // before the document does).
    void SetProjectView(QWidget* view);

    // The tab text: the document's title.
    void UpdateTitle();

    // Closes the window without the question about its changes, which the
    // caller has put already (SaveModified). False when it stayed open.
    bool CloseAnswered();

signals:
    // The document was saved under `path`.
    void documentSaved(const QString& path);
    // The window is asked to close, before it asks about unsaved changes.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The window passes the focus it gets on to its active view.
    void focusInEvent(QFocusEvent* event) override;

private:
    void focusActiveView();
    void save(bool as);
    // Next pane (F6) and previous pane (Shift+F6): the keyboard focus goes
    // to the view of the next (or previous) half of the project window.
    void activateNextPane(bool forward);

    std::unique_ptr<CVorteplanSoftLabelDoc> m_document;
    CCmdTarget m_documentTarget;
    CCmdTarget* m_activeView = nullptr;
    // The active view as a widget; null when it is none.
    QPointer<QWidget> m_activeViewWidget;
    // The question about the changes has been answered (CloseAnswered).
    bool m_closeAnswered = false;
};
