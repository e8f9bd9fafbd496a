#pragma once
// What the table view needs from the application around it, so that the
// table workspace does not depend on the shell: the ribbon's character-set
// box, the context menu, printing, the link-image dialog, the main
// window's commands and the status bar. The shell implements it.
#include <QPoint>
#include <QString>

#include <string>

class QWidget;

class CTableViewHost {
public:
    virtual ~CTableViewHost() = default;

    // The text of the ribbon's character-set box (cp1252), and showing one.
    virtual std::string CharSetBoxText() const = 0;
    virtual void ShowCharSetBoxText(const std::string& name) = 0;

    // The table view's context menu at a global point.
    virtual void ShowContextMenu(QWidget* view, QPoint globalPoint) = 0;

    // Runs the print command for the table view.
    virtual void Print(QWidget* view) = 0;

    // The link-image dialog with a file-dialog filter in the Windows form;
    // false when the dialog is not there or was cancelled.
    virtual bool LinkImages(QWidget* view, const std::string& filter) = 0;

    // The main window's "Delete table" and "Show windows stacked" commands.
    virtual void DeleteTable() = 0;
    virtual void ToggleStackedWindows() = 0;
    virtual bool IsStackedWindows() const = 0;

    // The status bar's selection pane.
    virtual void SetSelectionPaneText(const QString& text) = 0;
};
